// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Elevation.h"

#include "platform/SystemError.h"

#include <QCoreApplication>
#include <QDir>
#include <QStringList>

#ifdef Q_OS_WIN
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>
#endif

namespace
{
#ifdef Q_OS_WIN
// One argument as CommandLineToArgvW reads it back: quoted when it holds a space, a
// tab or a quote, with the backslashes before a quote doubled.
QString quoted(const QString& argument)
{
    if (!argument.isEmpty() && !argument.contains(QLatin1Char(' ')) &&
        !argument.contains(QLatin1Char('\t')) && !argument.contains(QLatin1Char('"')))
        return argument;
    QString text = QStringLiteral("\"");
    int backslashes = 0;
    for (const QChar c : argument) {
        if (c == QLatin1Char('\\')) {
            ++backslashes;
            continue;
        }
        text +=
            QString(c == QLatin1Char('"') ? 2 * backslashes + 1 : backslashes, QLatin1Char('\\'));
        text += c;
        backslashes = 0;
    }
    return text + QString(2 * backslashes, QLatin1Char('\\')) + QLatin1Char('"');
}
#endif
} // namespace

bool Elevation::possible()
{
#ifdef Q_OS_WIN
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
        return false;
    TOKEN_ELEVATION elevation{};
    DWORD size = 0;
    const bool known =
        GetTokenInformation(token, TokenElevation, &elevation, sizeof elevation, &size);
    CloseHandle(token);
    return known && !elevation.TokenIsElevated;
#else
    return false;
#endif
}

bool Elevation::restartAsAdministrator(QString* error)
{
#ifdef Q_OS_WIN
    const QString program = QDir::toNativeSeparators(QCoreApplication::applicationFilePath());
    QStringList arguments;
    for (const QString& argument : QCoreApplication::arguments().mid(1))
        arguments << quoted(argument);
    const QString parameters = arguments.join(QLatin1Char(' '));
    const QString folder = QDir::toNativeSeparators(QDir::currentPath());
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOASYNC;
    info.lpVerb = L"runas";
    info.lpFile = reinterpret_cast<const wchar_t*>(program.utf16());
    info.lpParameters = reinterpret_cast<const wchar_t*>(parameters.utf16());
    info.lpDirectory = reinterpret_cast<const wchar_t*>(folder.utf16());
    info.nShow = SW_SHOWNORMAL;
    if (ShellExecuteExW(&info))
        return true;
    return SystemError::fail(error, program, SystemError::lastError());
#else
    return SystemError::fail(error,
                             QStringLiteral("Restarting as administrator is for Windows only"));
#endif
}
