// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/HelpLabel.h"

#include <QEvent>
#include <QStyle>
#include <QTextOption>
#include <QtMath>

// A layout gives a wrapped text its width and asks heightForWidth() for the height at
// that width; the least it can have is the height of its own lines, which no width
// makes fewer. An unwrapped text has the sizes QLabel gives it.
QSize HelpLabel::sizeHint() const
{
    return wordWrap() ? minimumSizeHint() : QLabel::sizeHint();
}

QSize HelpLabel::minimumSizeHint() const
{
    return wordWrap() ? QSize(0, heightForWidth(QWIDGETSIZE_MAX)) : QLabel::minimumSizeHint();
}

int HelpLabel::heightForWidth(int width) const
{
    if (text() != measuredText) {
        heights.clear();
        measuredText = text();
    }
    const auto known = heights.constFind(width);
    if (known != heights.constEnd())
        return *known;
    const int height = isRich() ? measure(width) : QLabel::heightForWidth(width);
    heights.insert(width, height);
    return height;
}

void HelpLabel::changeEvent(QEvent* event)
{
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange ||
        event->type() == QEvent::ContentsRectChange)
        heights.clear();
}

bool HelpLabel::isRich() const
{
    return textFormat() == Qt::RichText ||
           (textFormat() == Qt::AutoText && Qt::mightBeRichText(text()));
}

// The text laid out as QLabel lays it out: in the label's font and alignment, without
// a document margin, at the width its margins and indent leave. The document is read
// once for each text and font, and laid out once for each width.
int HelpLabel::measure(int width) const
{
    if (heights.isEmpty()) {
        document.setDefaultFont(font());
        document.setDocumentMargin(0);
        QTextOption option = document.defaultTextOption();
        option.setAlignment(alignment());
        option.setWrapMode(wordWrap() ? QTextOption::WordWrap : QTextOption::ManualWrap);
        document.setDefaultTextOption(option);
        document.setHtml(text());
    }

    int across = 2 * margin();
    int down = across;
    int shift = indent();
    if (shift < 0 && frameWidth() > 0)
        shift = fontMetrics().horizontalAdvance(QLatin1Char('x')) - 2 * margin();
    if (shift > 0) {
        const Qt::Alignment align = QStyle::visualAlignment(layoutDirection(), alignment());
        if (align & (Qt::AlignLeft | Qt::AlignRight))
            across += shift;
        if (align & (Qt::AlignTop | Qt::AlignBottom))
            down += shift;
    }
    const QMargins margins = contentsMargins();
    width = qMax(width, minimumWidth());
    document.setTextWidth(qMax(width - across - margins.left() - margins.right(), 0));
    const int height = qCeil(document.size().height()) + down + margins.top() + margins.bottom();
    return qMax(height, minimumHeight());
}
