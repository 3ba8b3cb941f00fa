// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/SystemError.h"

#include <QDir>

#include <cerrno>
#include <cstring>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

bool SystemError::fail(QString* error, const QString& text)
{
    if (error)
        *error = text;
    return false;
}

bool SystemError::fail(QString* error, const QString& path, const QString& reason)
{
    return fail(error, QDir::toNativeSeparators(path) + QLatin1String(": ") + reason);
}

QString SystemError::fromErrno()
{
    const int code = errno;
    return QString::fromLocal8Bit(std::strerror(code));
}

#ifdef Q_OS_WIN
// FormatMessage's text ends in a line break and often a full stop; the number
// follows it so that two different failures never read the same.
QString SystemError::windowsText(unsigned long code)
{
    wchar_t* buffer = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    QString text;
    if (length > 0 && buffer)
        text = QString::fromWCharArray(buffer, int(length)).trimmed();
    ::LocalFree(buffer);
    while (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    if (text.isEmpty())
        text = QStringLiteral("Unknown error");
    return QStringLiteral("%1 (Windows error %2)").arg(text).arg(code);
}

QString SystemError::lastError()
{
    return windowsText(::GetLastError());
}
#else
QString SystemError::lastError()
{
    return fromErrno();
}
#endif
