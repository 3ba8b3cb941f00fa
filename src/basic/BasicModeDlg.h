// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/AOColor.h"

#include <QStringList>
#include <QWidget>

#include <array>
#include <functional>

class AOColorWidget;
class QLabel;
class QTabWidget;
class QVBoxLayout;

// The curated page of chat groups shown in basic mode: 28 swatches on four tabs,
// each changing the one to three colour names that the game uses for one kind of
// chat text.
class BasicModeDlg : public QWidget
{
    Q_OBJECT

public:
    explicit BasicModeDlg(QWidget* parent = nullptr);

    void setBackgroundColor(AOColor color);
    void updateColors();
    // The caption of the chat group whose swatch changes `name`, as the player knows
    // it ("Guild chat"); empty for a name of no group.
    static QString groupCaption(const QString& name);

protected slots:
    virtual void buttonClicked(const QStringList& cgs);

signals:
    void pickColor(const QStringList& cgs);

protected:
    bool event(QEvent* event) override;

    static constexpr int swatchesPerTab = 7;
    using Swatches = std::array<AOColorWidget*, swatchesPerTab>;

    QVBoxLayout* layout;
    QTabWidget* tabs;
    QWidget* basicChatPage;
    QVBoxLayout* basicChatLayout;
    Swatches basicChatSwatches;
    QWidget* npcChatPage;
    QVBoxLayout* npcChatLayout;
    Swatches npcChatSwatches;
    QWidget* combatPage;
    QVBoxLayout* combatLayout;
    Swatches combatSwatches;
    QWidget* miscPage;
    QVBoxLayout* miscLayout;
    Swatches miscSwatches;
    QLabel* label;

private:
    void showContent(bool shown);
    void showRows(int tab);
    void buildTab(int tab, QWidget*& page, QVBoxLayout*& pageLayout, Swatches& swatches);
    AOColorWidget* buildSwatch(int tab, int row, QWidget* page);
    void forEachSwatch(const std::function<void(AOColorWidget*)>& action);
};
