// SPDX-License-Identifier: GPL-3.0-or-later
#include "basic/AOColorWidget.h"

#include "model/AOColors.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPalette>
#include <QPixmap>
#include <QPushButton>
#include <QTextDocumentFragment>

namespace
{

void setRoleColor(QWidget* widget, QPalette::ColorRole role, const QColor& color)
{
    QPalette palette = widget->palette();
    palette.setBrush(QPalette::All, role, QBrush(color));
    widget->setPalette(palette);
}

} // namespace

AOColorWidget::AOColorWidget(QWidget* parent) : QWidget(parent)
{
    layout = new QHBoxLayout(this);
    layout->setSpacing(3);
    layout->setContentsMargins(0, 0, 0, 0);

    label = new QLabel(this);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setIndent(5);
    label->setAutoFillBackground(true);
    layout->addWidget(label);

    button = new QPushButton(this);
    button->setFixedSize(140, 25);
    connect(button, &QPushButton::clicked, this, &AOColorWidget::buttonClicked);
    layout->addWidget(button);
}

void AOColorWidget::setText(const QString& text)
{
    label->setText(QStringLiteral("<b>") + text + QStringLiteral(" :</b>"));
    // The button shows only a colour, so screen readers get the caption instead,
    // as plain text with its entities decoded.
    button->setAccessibleName(QTextDocumentFragment::fromHtml(text).toPlainText());
}

void AOColorWidget::addColorGroup(const QString& name)
{
    colorGroups.append(name);
}

void AOColorWidget::setBackgroundColor(AOColor color)
{
    const QColor display = color.toQColor();
    setRoleColor(label, QPalette::Window, display);
    setRoleColor(button, QPalette::Button, display);
}

void AOColorWidget::updateColor()
{
    if (colorGroups.isEmpty())
        return;
    const QColor color = aoColors.find(colorGroups.first()).toQColor();

    QPixmap swatch(60, 15);
    swatch.fill(color);
    button->setIcon(QIcon(swatch));

    // A label draws rich text with its foreground role (WindowText), not with Text,
    // so both carry the chat colour.
    QPalette palette = label->palette();
    palette.setBrush(QPalette::All, QPalette::Text, QBrush(color));
    palette.setBrush(QPalette::All, QPalette::WindowText, QBrush(color));
    label->setPalette(palette);
}

void AOColorWidget::buttonClicked()
{
    emit clicked(colorGroups);
}
