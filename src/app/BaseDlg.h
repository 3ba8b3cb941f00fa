// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "files/ColorFolder.h"
#include "files/FileStamp.h"
#include "model/AOColor.h"

#include <QDialog>
#include <QStringList>

class AOColors;
class AboutDlg;
class AdvancedModeDlg;
class BasicModeDlg;
class ColorHistory;
class LicenseDlg;
class QHBoxLayout;
class QPushButton;
class QStackedWidget;
class QTabWidget;
class QVBoxLayout;
class SettingsDlg;

// The one application window. It owns every page, runs start-up, and every change
// of colour passes through it.
class BaseDlg : public QDialog
{
    Q_OBJECT

public:
    explicit BaseDlg(QWidget* parent = nullptr);

    void savePrefs();
    // False when the player declined to choose a game folder at start-up: the window
    // then holds no colours and is not to be shown.
    bool started() const { return !startCancelled; }

signals:
    // Every page that shows colours follows these.
    void colorsChanged();
    void backgroundChanged(const AOColor& color);

protected slots:
    virtual void pickColor(const QString& name);
    virtual void pickColor(const QStringList& groups);
    virtual void loadData();
    virtual void saveData();
    virtual void modeChanged(bool mode);
    void applyScheme(const AOColors& scheme, const QString& file);

protected:
    bool loadPrefs();
    void updateBackgroundColor();
    void updateColors();

    QVBoxLayout* layout;
    QTabWidget* tabWidget;
    QStackedWidget* modeStack;
    BasicModeDlg* basicPage;
    AdvancedModeDlg* advancedPage;
    SettingsDlg* settingsPage;
    AboutDlg* aboutPage;
    LicenseDlg* licensePage;
    QHBoxLayout* buttonLayout;
    QPushButton* saveButton;
    QPushButton* closeButton;
    // Every colour change is a step the player can take back, from any page.
    ColorHistory* history;
    AOColor bgColor;
    bool advancedMode = false;

private:
    void buildWindow();
    void buildPages();
    void buildButtons();
    void nameWidgets();
    void startUp();
    void recordStep(const QString& text, const QList<AOColor>& before, const QList<AOColor>& after);

    // Whether the table holds what the colour file held at the last load; when it
    // does not, saving would put an empty or partial table over the player's file.
    bool dataLoaded = false;
    bool startCancelled = false;
    // While a swatch's names change together: their change is one step, also when the
    // chooser was cancelled but the names were made to agree.
    bool pickingGroup = false;
    QString loadError;
    // The colour folder of the last load as the system resolved it: Save and the
    // restores write there whatever the folder field says since.
    ColorFolder loadedFolder;
    // What the colour file held when it was last read or written by this window.
    FileStamp loadedStamp;
};
