// SPDX-License-Identifier: GPL-3.0-or-later
// Any colour text, from the colour file or the preferences, must leave the entry in
// a state the pages can paint and the writer can store.
#include "FuzzCheck.h"

#include "model/AOColor.h"

#include <QColor>
#include <QRegularExpression>

namespace
{

bool isHex(int format)
{
    return format == AOColor::Hex6 || format == AOColor::Hex8;
}

QString describe(const AOColor& entry)
{
    return QStringLiteral("value '%1' format %2 rgb %3,%4,%5")
        .arg(entry.value)
        .arg(entry.format)
        .arg(entry.red)
        .arg(entry.green)
        .arg(entry.blue);
}

void requireComponents(const AOColor& entry)
{
    for (int component : {entry.red, entry.green, entry.blue})
        fuzz::require(component >= 0 && component <= 255, "hex component outside 0-255",
                      describe(entry));
    const QColor color = entry.toQColor();
    fuzz::require(color.isValid() && color.alpha() == 255, "hex colour not a valid opaque colour",
                  describe(entry));
    fuzz::require(color.red() == entry.red && color.green() == entry.green &&
                      color.blue() == entry.blue,
                  "display colour differs from the components", describe(entry));
}

// The entry starts from a picked colour, so a text that is no hex colour must be seen
// to leave the components alone.
void checkRead(const QString& text)
{
    AOColor entry;
    entry.setColor(QColor(1, 2, 3));
    entry.setValue(text);
    fuzz::require(entry.value == text, "setValue changed the text", describe(entry));
    fuzz::require(entry.format >= AOColor::Named && entry.format <= AOColor::Hex8,
                  "format outside 0-2", describe(entry));
    const bool hexPrefix =
        text.startsWith(QLatin1String("0x")) || text.startsWith(QLatin1Char('#'));
    fuzz::require(isHex(entry.format) == hexPrefix, "format does not follow the prefix",
                  describe(entry));
    if (isHex(entry.format)) {
        requireComponents(entry);
    } else {
        fuzz::require(entry.red == 1 && entry.green == 2 && entry.blue == 3,
                      "a named text changed the components", describe(entry));
        entry.toQColor();
    }

    const AOColor copy(entry);
    fuzz::require(copy.value == entry.value && copy.format == entry.format,
                  "a copy reads the text differently", describe(copy));
    if (isHex(copy.format))
        fuzz::require(copy.red == entry.red && copy.green == entry.green && copy.blue == entry.blue,
                      "a copy reads other components", describe(copy));
}

// A picked colour is always written in one of the two forms the game reads, and that
// text reads back to the same colour.
void checkPick(const QString& text, const QColor& picked)
{
    AOColor entry;
    entry.setValue(text);
    const int before = entry.format;
    entry.setColor(picked);
    const int expected = before == AOColor::Hex8 ? AOColor::Hex8 : AOColor::Hex6;
    fuzz::require(entry.format == expected, "setColor gave the wrong format", describe(entry));
    static const QRegularExpression hex6(QStringLiteral("\\A0x[0-9a-f]{6}\\z"));
    static const QRegularExpression hex8(QStringLiteral("\\A0x00[0-9a-f]{6}\\z"));
    const QRegularExpression& form = expected == AOColor::Hex8 ? hex8 : hex6;
    fuzz::require(form.match(entry.value).hasMatch(), "setColor wrote an unexpected text",
                  describe(entry));
    fuzz::require(entry.red == picked.red() && entry.green == picked.green() &&
                      entry.blue == picked.blue(),
                  "setColor kept other components", describe(entry));

    AOColor reread;
    reread.setValue(entry.value);
    fuzz::require(reread.format == entry.format && reread.red == entry.red &&
                      reread.green == entry.green && reread.blue == entry.blue,
                  "the written text reads back differently", describe(reread));
}

QColor pickedFrom(const QByteArray& data)
{
    uint hash = 2166136261u;
    for (const char byte : data)
        hash = (hash ^ uchar(byte)) * 16777619u;
    return QColor(int(hash & 0xff), int((hash >> 8) & 0xff), int((hash >> 16) & 0xff));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::quiet();
    const QByteArray input = fuzz::bytes(data, size);
    const QColor picked = pickedFrom(input);
    for (const QString& text : {fuzz::fromUtf8(input), fuzz::fromLatin1(input)}) {
        checkRead(text);
        checkPick(text, picked);
    }
    return 0;
}
