// SPDX-License-Identifier: GPL-3.0-or-later
#include "basic/AOColorWidget.h"

#include "model/AOColors.h"

#include <QFontMetrics>
#include <QFrame>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPalette>
#include <QPixmap>
#include <QPushButton>
#include <QResizeEvent>
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
    // The row may be narrower than a caption and the narrowest swatch together; the
    // caption is then shortened to fit rather than pushing the swatch out of the window.
    label->setMinimumWidth(1);
    layout->addWidget(label);

    // 25 high where the page has the room, and a little lower rather than cut off where
    // a tall font leaves the page short of height. Its width is set by fitRow().
    button = new QPushButton(this);
    button->setFixedWidth(swatchWidth);
    button->setMinimumHeight(21);
    button->setMaximumHeight(25);
    button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    connect(button, &QPushButton::clicked, this, &AOColorWidget::buttonClicked);
    layout->addWidget(button);
}

void AOColorWidget::setText(const QString& text)
{
    caption = text;
    plainCaption = QTextDocumentFragment::fromHtml(text).toPlainText();
    showCaption(text, QString());
    captionWidth = -1;
    // The button shows only a colour, so screen readers get the caption instead,
    // as plain text with its entities decoded.
    button->setAccessibleName(plainCaption);
    if (layout->geometry().isValid())
        fitRow();
}

void AOColorWidget::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    fitRow();
}

void AOColorWidget::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() != QEvent::FontChange && event->type() != QEvent::StyleChange)
        return;
    captionWidth = -1;
    if (layout->geometry().isValid())
        fitRow();
}

// The swatch is 140 pixels wide where the caption leaves the room. Where it does not,
// the swatch gives up width first, down to what its colour bar needs, so the caption
// stays whole; only a row too narrow even for that shortens the caption, ending it in
// "…" before the colon, with the whole caption as its tooltip. The caption's width is
// measured once for each text and font, and only a caption that does not fit is
// measured again to shorten it.
void AOColorWidget::fitRow()
{
    if (captionWidth < 0) {
        showCaption(caption, QString());
        captionWidth = label->sizeHint().width();
    }
    const int room = width() - layout->spacing();
    button->setFixedWidth(qBound(narrowestSwatch, room - captionWidth, swatchWidth));
    const int excess = captionWidth - (room - button->width());
    if (excess <= 0) {
        showCaption(caption, QString());
        return;
    }
    QFont bold = label->font();
    bold.setBold(true);
    const QFontMetrics metrics(bold);
    const int shortened = metrics.horizontalAdvance(plainCaption) - excess;
    showCaption(
        metrics.elidedText(plainCaption, Qt::ElideRight, qMax(0, shortened)).toHtmlEscaped(),
        plainCaption);
}

// Only an actual change reaches the label, whose every new text is laid out anew.
void AOColorWidget::showCaption(const QString& text, const QString& toolTip)
{
    const QString shown = QStringLiteral("<b>") + text + QStringLiteral(" :</b>");
    if (label->text() != shown)
        label->setText(shown);
    if (label->toolTip() != toolTip)
        label->setToolTip(toolTip);
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
