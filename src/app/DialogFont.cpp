// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/DialogFont.h"

#include <QApplication>
#include <QFontInfo>
#include <QGuiApplication>
#include <QSettings>

QString DialogFont::substitute(const QString& family)
{
#ifdef Q_OS_WIN
    const QSettings substitutes(
        QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\"
                       "FontSubstitutes"),
        QSettings::NativeFormat);
    return substitutes.value(family).toString();
#else
    Q_UNUSED(family)
    return QString();
#endif
}

QStringList DialogFont::candidates(const QString& family)
{
    QStringList families;
    const QString real = substitute(family);
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
