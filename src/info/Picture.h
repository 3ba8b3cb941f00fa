// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPixmap>
#include <QString>

// Tintwell's own pictures, read as the PNG files they are.
//
// Asked to read a file of unknown format, Qt first offers it to every image plugin
// installed (GIF, ICO, JPEG, ...), loading each plugin and the libraries behind it; at
// start-up that took as long as decoding the pictures. Told the format, it reads PNG
// itself and loads no plugin. A file that is no PNG is still read, the usual way.
class Picture
{
public:
    // The picture in `path`, or a null pixmap when there is none.
    static QPixmap fromPng(const QString& path);
};
