// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/DialogFont.h"

#include "platform/FontSubstitutes.h"

#include <QApplication>
#include <QFontInfo>
#include <QGuiApplication>

QStringList DialogFont::candidates(const QString& family)
{
    QStringList families;
    const QString real = FontSubstitutes::of(family);
    if (!real.isEmpty())
        families << real;
#ifdef Q_OS_WIN
    // Windows' own dialog fonts first; the last two are what a Linux host lends a Wine
    // prefix that has none of them.
    families << QStringLiteral("Tahoma") << QStringLiteral("Segoe UI") << QStringLiteral("Arial")
             << QStringLiteral("DejaVu Sans") << QStringLiteral("Liberation Sans");
#endif
    return families;
}

bool DialogFont::found(const QString& family)
{
    return QFontInfo(QFont(family)).family().compare(family, Qt::CaseInsensitive) == 0;
}

QFont DialogFont::resolved(const QFont& font)
{
    // Asking whether a family is there builds the toolkit's whole font list; where
    // there is nothing to fall back to (on Linux fontconfig finds its own), it is
    // not asked at all.
    const QStringList families = candidates(font.family());
    if (families.isEmpty() || found(font.family()))
        return font;
    for (const QString& family : families) {
        if (found(family)) {
            QFont fixed = font;
            fixed.setFamily(family);
            return fixed;
        }
    }
    return font;
}

void DialogFont::apply()
{
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return;
    const QFont font = QApplication::font();
    const QFont fixed = resolved(font);
    if (fixed.family() != font.family())
        QApplication::setFont(fixed);
}
