// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QLabel>
#include <QTextDocument>

// A page's help text, wrapped to the width its page gives it and as high as the text
// needs at that width.
//
// QLabel measures a wrapped rich text by laying the whole text out about a dozen times
// before the window first shows: nine times for its size hints (at the proportion it
// finds best, on one line, and one word to a line), and twice for every width a layout
// asks about (at that width, then back at its own). That cost more than the rest of the
// page. In the fixed window a wrapped text takes the width it is given, so its hints
// give only the height of its own lines, and each width's height is measured once, in
// a document of its own laid out as QLabel lays out its text.
class HelpLabel : public QLabel
{
    Q_OBJECT

public:
    explicit HelpLabel(QWidget* parent = nullptr) : QLabel(parent) {}

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    int heightForWidth(int width) const override;

protected:
    void changeEvent(QEvent* event) override;

private:
    bool isRich() const;
    int measure(int width) const;

    // The heights measured by width, for the text they were measured with; a new
    // font, style or margin forgets them.
    mutable QString measuredText;
    mutable QHash<int, int> heights;
    mutable QTextDocument document;
};
