// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/AOColor.h"

namespace
{

int hexDigit(QChar c)
{
    const ushort u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    return -1;
}

// Strict base-16 reading: anything but hex digits (signs and blanks included) reads
// as 0, so a component never leaves the range 0-255.
int hexPiece(const QString& piece)
{
    int result = 0;
    for (const QChar c : piece) {
        const int digit = hexDigit(c);
        if (digit < 0)
            return 0;
        result = result * 16 + digit;
    }
    return result;
}

} // namespace

AOColor::AOColor() = default;

AOColor::AOColor(const AOColor& other) : name(other.name)
{
    setValue(other.value);
}

AOColor& AOColor::operator=(const AOColor& other) = default;

AOColor::~AOColor() = default;

void AOColor::setValue(const QString& text)
{
    value = text;
    if (value.startsWith(QLatin1String("0x"))) {
        const QString digits = value.mid(value.lastIndexOf(QLatin1Char('x')) + 1);
        if (digits.size() > 6) {
            // The first pair of an eight-digit text is not a colour component.
            format = Hex8;
            readComponents(digits, 2);
        } else {
            format = Hex6;
            readComponents(digits, 0);
        }
    } else if (value.startsWith(QLatin1Char('#'))) {
        format = Hex6;
        readComponents(value.mid(value.lastIndexOf(QLatin1Char('#')) + 1), 0);
    } else {
        format = Named;
    }
}

void AOColor::readComponents(const QString& digits, int redAt)
{
    red = hexPiece(digits.mid(redAt, 2));
    green = hexPiece(digits.mid(redAt + 2, 2));
    blue = hexPiece(digits.right(2));
}

void AOColor::setColor(const QColor& color)
{
    if (format == Named)
        format = Hex6;
    red = color.red();
    green = color.green();
    blue = color.blue();
    const QString digits = QString::asprintf("%02x%02x%02x", red, green, blue);
    value = (format == Hex8 ? QLatin1String("0x00") : QLatin1String("0x")) + digits;
}

QColor AOColor::toQColor() const
{
    if (format == Named) {
        QColor color;
        color.setNamedColor(value);
        return color;
    }
    return QColor(red, green, blue);
}
