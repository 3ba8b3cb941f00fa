// SPDX-License-Identifier: GPL-3.0-or-later
#include "info/Picture.h"

#include "files/SafeFile.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <QResource>

QPixmap Picture::fromPng(const QString& path)
{
    // Without a picture the page shows its empty frame: nothing to report.
    QByteArray data;
    return SafeFile::readAll(path, maxFileSize, &data) ? decoded(data) : QPixmap();
}

QPixmap Picture::fromResource(const QString& resource)
{
    const QResource built(resource);
    return built.isValid() ? decoded(built.uncompressedData()) : QPixmap();
}

// The size is read from the picture's header before any pixel is decoded.
QPixmap Picture::decoded(const QByteArray& data)
{
    for (const QByteArray& format : {QByteArray("png"), QByteArray()}) {
        QBuffer buffer;
        buffer.setData(data);
        buffer.open(QIODevice::ReadOnly);
        QImageReader reader(&buffer, format);
        reader.setAutoDetectImageFormat(format.isEmpty());
        const QSize size = reader.size();
        if (!size.isValid())
            continue;
        if (qint64(size.width()) * size.height() > maxPixels)
            return QPixmap();
        const QImage image = reader.read();
        if (!image.isNull())
            return QPixmap::fromImage(image);
    }
    return QPixmap();
}
