// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "files/ColorFolder.h"
#include "model/AOColors.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QVBoxLayout;

// The "Settings" tab: the one place the game's install folder is kept while
// Tintwell runs, plus the maintenance actions, the background colour and the mode.
class SettingsDlg : public QWidget
{
    Q_OBJECT

public:
    explicit SettingsDlg(QWidget* parent = nullptr);

    QString aoPath() const;
    bool askAOPath();
    bool checkAOPath();
    bool saveOriginalData();
    void setBackgroundColor(AOColor color);
    // The colour folder the window's colours were last loaded from, as the system
    // resolved it: what the restores replace and Export keeps away from.
    void setLoadedFolder(const ColorFolder& folder);

public slots:
    virtual void setAOPath(const QString& path);
    virtual void setMode(bool mode);

protected slots:
    virtual void browseAOPath();
    virtual void pickBGColor();
    virtual void reloadColors();
    virtual void restoreBackup();
    virtual void restoreBundledData();
    virtual void restoreOriginalData();
    virtual void importColors();
    virtual void exportColors();
    virtual void applyBundledScheme(int index);

signals:
    void pickColor(const QString& color);
    void modeChanged(bool mode);
    void reloadData();
    // A restore put a whole file in place of the colour file; sent before reloadData().
    void restored();
    // A colour scheme read from `file`, for the window to take over.
    void applyScheme(const AOColors& scheme, const QString& file);

private:
    void addLine();
    QString startFolder() const;
    void restoreFrom(const QString& source);
    QString schemeStart(const QString& name) const;
    void nameWidgets();

    QVBoxLayout* layout;
    QHBoxLayout* pathLayout;
    QLabel* pathLabel;
    QLineEdit* pathEdit;
    QPushButton* browseButton;
    QLabel* warningLabel;
    QPushButton* reloadButton;
    QPushButton* restoreBackupButton;
    QPushButton* restoreBundledButton;
    QPushButton* restoreOriginalButton;
    QPushButton* importButton;
    QPushButton* exportButton;
    // The schemes that ship with Tintwell, to start from; the first item only names it.
    QComboBox* schemeBox;
    QHBoxLayout* bgLayout;
    QLabel* bgLabel;
    QPushButton* bgButton;
    QCheckBox* modeCheckBox;
    QString path;
    ColorFolder loadedFolder;
    // Where the last import or export went, for the next one to start there.
    QString schemeFolder;
};
