// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QString>
#include <QStringList>

// Windows names its dialog font by an alias, "MS Shell Dlg 2", that GDI maps to a real
// font through the FontSubstitutes registry key (Tahoma under Wine, Segoe UI or Tahoma
// on Windows). When GDI cannot map it, as in a Wine prefix without Wine's own fonts,
// Qt falls back to whatever family sorts first among the host's fonts (a maths font
// with very tall lines), which squeezes every page of the fixed-size window. Qt has no
// call for this, so the family is resolved here: first through the same registry key
// GDI reads (see FontSubstitutes), then to the first plain sans-serif family the system
// has.
class DialogFont
{
public:
    // The application font with its family resolved, when Qt could not find it.
    // Elsewhere, and whenever Qt found the family, the font is returned unchanged.
    static QFont resolved(const QFont& font);
    // Resolves the application's font (after the QApplication exists).
    static void apply();
    // The families tried, in order, for a font whose own family is missing.
    static QStringList candidates(const QString& family);

private:
    static bool found(const QString& family);
};
