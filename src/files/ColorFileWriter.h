// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

class AOColor;
class AOColors;

// How Tintwell writes a colour file, and so how large what it writes can grow: the one
// place that knows both, so the reader can refuse a document whose table would be
// written larger than any colour file is read, and everything written reads again.
//
// The text is printed directly rather than built as a DOM first: the document is
// always the same simple shape, and building it node by node took most of the time of
// a save. It is what Qt's DOM prints with an indentation of 4, with the attributes
// always in the order "name", "color".
class ColorFileWriter
{
public:
    // Thousands of times any colour file the game ships; bigger files are refused
    // unread. 200,000 entries with names of 32 characters outside ASCII come to 28 MB.
    static constexpr qint64 maxSize = 32 * 1024 * 1024;
    // The bytes of "<Root>" and "</Root>" on lines of their own.
    static constexpr qint64 rootSize = 15;

    // A new document with one "HTMLColor" element per entry below the root "Root",
    // without an XML declaration, in UTF-8.
    static QByteArray toXml(const AOColors& table);
    // The most bytes that toXml() takes for the entry, now or after a colour is picked
    // for it.
    static qint64 sizeBound(const AOColor& entry);
};
