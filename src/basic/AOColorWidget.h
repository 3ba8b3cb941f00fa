// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/AOColor.h"

#include <QStringList>
#include <QWidget>

class QHBoxLayout;
class QLabel;
class QPushButton;

// One chat group of the basic page: a caption drawn in the group's colour and a
// button showing that colour. The first colour group decides what is shown; a click
// reports every group, so they can all be given the new colour together.
class AOColorWidget : public QWidget
{
    Q_OBJECT

public:
    explicit AOColorWidget(QWidget* parent = nullptr);

    void setText(const QString& text);
    void addColorGroup(const QString& name);
    void setBackgroundColor(AOColor color);
    void updateColor();

protected slots:
    virtual void buttonClicked();

signals:
    void clicked(const QStringList& cgs);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

    QHBoxLayout* layout;
    QLabel* label;
    QPushButton* button;
    QStringList colorGroups;

private:
    void fitRow();
    void showCaption(const QString& text, const QString& toolTip);

    // The swatch's width where the row has the room, and the least it gives up to.
    static constexpr int swatchWidth = 140;
    static constexpr int narrowestSwatch = 60;

    // The caption as given to setText, entities and all, and as the player reads it.
    QString caption;
    QString plainCaption;
    // The width the label needs for the whole caption in its font; -1 until measured.
    int captionWidth = -1;
};
