// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// How a folder chosen in the folder dialog is stored. On Windows the game's own
// habit: backslashes and a capital drive letter. Elsewhere (the game under Wine or
// Proton) a native path, because backslashes would break every Linux path.
class FolderPath
{
public:
    enum class Style { Windows, Native };

    static QString fromDialog(const QString& chosen, Style style = platformStyle());
    static Style platformStyle();
};
