// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QImage>
#include <QPixmap>
#include <QRect>
#include <QWidget>

// What a widget really puts on screen, for tests that must not trust the palette
// they set themselves.
namespace Pixels
{

inline QImage render(QWidget* widget)
{
    return widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// Pixels of exactly `color` inside `area` (the whole image when empty).
inline int count(const QImage& image, const QColor& color, QRect area = QRect())
{
    area = area.isNull() ? image.rect() : area.intersected(image.rect());
    const QRgb wanted = color.rgb();
    int found = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (image.pixel(x, y) == wanted)
                ++found;
        }
    }
    return found;
}

// Whether some `size` block inside `area` is filled with `color` and nothing else.
inline bool hasBlock(const QImage& image, const QColor& color, const QSize& size,
                     QRect area = QRect())
{
    area = area.isNull() ? image.rect() : area.intersected(image.rect());
    for (int y = area.top(); y + size.height() - 1 <= area.bottom(); ++y) {
        for (int x = area.left(); x + size.width() - 1 <= area.right(); ++x) {
            if (count(image, color, QRect(QPoint(x, y), size)) == size.width() * size.height())
                return true;
        }
    }
    return false;
}

} // namespace Pixels
