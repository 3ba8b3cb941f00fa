// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/DialogFont.h"

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

QFont DialogFont::resolved(const QFont& font)
{
    if (QFontInfo(font).family().compare(font.family(), Qt::CaseInsensitive) == 0)
        return font;
    const QString real = substitute(font.family());
    if (real.isEmpty())
        return font;
    QFont fixed = font;
    fixed.setFamily(real);
    return fixed;
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
