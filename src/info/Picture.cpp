// SPDX-License-Identifier: GPL-3.0-or-later
#include "info/Picture.h"

#include <QImage>
#include <QImageReader>

QPixmap Picture::fromPng(const QString& path)
{
    QImageReader reader(path, "png");
    reader.setAutoDetectImageFormat(false);
    const QImage image = reader.read();
    return image.isNull() ? QPixmap(path) : QPixmap::fromImage(image);
}
