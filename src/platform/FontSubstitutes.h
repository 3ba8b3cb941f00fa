// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The aliases Windows gives its fonts, such as "MS Shell Dlg 2" for the dialog font, and
// the real families GDI maps them to, as the FontSubstitutes registry key lists them.
class FontSubstitutes
{
public:
    // The family Windows substitutes for `family`, or an empty text when it names none.
    // Always empty when not built for Windows: no other system has such aliases.
    static QString of(const QString& family);
};
