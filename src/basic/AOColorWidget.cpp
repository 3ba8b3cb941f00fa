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
    // The row may be narrower than a caption; the caption is then shortened to fit
    // rather than pushing the swatch out of the window.
    label->setMinimumWidth(1);
    layout->addWidget(label);

    // Narrow enough that the longest caption ("n00b got hit by other n00b") stays
    // whole beside it in the fixed window; the colour bar needs 60 pixels. It is 25
    // high where the page has the room, and a little lower rather than cut off where
    // a tall font leaves the page short of height.
    button = new QPushButton(this);
    button->setFixedWidth(100);
    button->setMinimumHeight(21);
    button->setMaximumHeight(25);
    button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    connect(button, &QPushButton::clicked, this, &AOColorWidget::buttonClicked);
    layout->addWidget(button);
}

void AOColorWidget::setText(const QString& text)
{
    caption = text;
    label->setText(QStringLiteral("<b>") + text + QStringLiteral(" :</b>"));
    label->setToolTip(QString());
    fitCaption();
    // The button shows only a colour, so screen readers get the caption instead,
    // as plain text with its entities decoded.
    button->setAccessibleName(QTextDocumentFragment::fromHtml(text).toPlainText());
}

void AOColorWidget::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    fitCaption();
}

// A caption too long for its room ends in "…" before the colon, and the whole caption
// becomes its tooltip. Measured against the label's own need, so a caption that fits
// is left exactly as given.
void AOColorWidget::fitCaption()
{
    const QString whole = QStringLiteral("<b>") + caption + QStringLiteral(" :</b>");
    if (label->text() != whole) {
        label->setText(whole);
        label->setToolTip(QString());
    }
    const int excess = label->sizeHint().width() - label->width();
    if (excess <= 0 || !layout->geometry().isValid())
        return;
    const QString plain = QTextDocumentFragment::fromHtml(caption).toPlainText();
    QFont bold = label->font();
    bold.setBold(true);
    const QFontMetrics metrics(bold);
    const int room = metrics.horizontalAdvance(plain) - excess;
    const QString shortened = metrics.elidedText(plain, Qt::ElideRight, qMax(0, room));
    label->setText(QStringLiteral("<b>") + shortened.toHtmlEscaped() + QStringLiteral(" :</b>"));
    label->setToolTip(plain);
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
