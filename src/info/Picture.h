// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QPixmap>
#include <QString>

// Tintwell's own pictures, read as the PNG files they are.
//
// Asked to read a file of unknown format, Qt first offers it to every image plugin
// installed (GIF, ICO, JPEG, ...), loading each plugin and the libraries behind it; at
// start-up that took as long as decoding the pictures. Told the format, it reads PNG
// itself and loads no plugin. A file that is no PNG is still read, the usual way.
//
// A picture beside the program is read through the bounded reader, like every file:
// a pipe of that name would otherwise hold the window forever, and a small file may
// declare a picture too large for the computer's memory.
class Picture
{
public:
    // Far above the pictures Tintwell ships (a few kilobytes, 334 by 145 pixels).
    static constexpr qint64 maxFileSize = 4 * 1024 * 1024;
    static constexpr qint64 maxPixels = 4096 * 4096;

    // The picture in the file at `path`, or a null pixmap when there is none or it is
    // larger than the limits.
    static QPixmap fromPng(const QString& path);
    // A picture built into the program.
    static QPixmap fromResource(const QString& resource);

private:
    static QPixmap decoded(const QByteArray& data);
};
