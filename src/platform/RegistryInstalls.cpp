// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/RegistryInstalls.h"

#include <QSettings>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

#ifdef Q_OS_WIN
namespace
{

const char* const uninstallKeys[] = {
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall",
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall",
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall",
};

const char* const steamKeys[] = {
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\WOW6432Node\\Valve\\Steam",
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Valve\\Steam",
    "HKEY_CURRENT_USER\\Software\\Valve\\Steam",
};

} // namespace
#endif

QStringList RegistryInstalls::installFolders(QSettings& uninstall)
{
    QStringList folders;
    for (const QString& entry : uninstall.childGroups()) {
        uninstall.beginGroup(entry);
        const QString name = uninstall.value(QStringLiteral("DisplayName")).toString();
        const QString folder =
            plainFolder(uninstall.value(QStringLiteral("InstallLocation")).toString());
        uninstall.endGroup();
        if (name.contains(QLatin1String("Anarchy Online"), Qt::CaseInsensitive) &&
            !folder.isEmpty())
            folders.append(folder);
    }
    return folders;
}

QString RegistryInstalls::steamRoot(QSettings& steam)
{
    // The machine key says InstallPath; the per-user key says SteamPath.
    const QString install = plainFolder(steam.value(QStringLiteral("InstallPath")).toString());
    return install.isEmpty() ? plainFolder(steam.value(QStringLiteral("SteamPath")).toString())
                             : install;
}

QString RegistryInstalls::plainFolder(const QString& value)
{
    QString folder = value.trimmed();
    if (folder.size() >= 2 && folder.startsWith(QLatin1Char('"')) &&
        folder.endsWith(QLatin1Char('"')))
        folder = folder.mid(1, folder.size() - 2).trimmed();
    const int driveRoot = 3; // the length of "C:\", which keeps its separator
    while (folder.size() > driveRoot &&
           (folder.endsWith(QLatin1Char('\\')) || folder.endsWith(QLatin1Char('/'))))
        folder.chop(1);
    return folder;
}

#ifdef Q_OS_WIN
namespace
{
// QSettings opens a key for writing where it may, and so makes it when it is missing:
// reading Steam's key would leave an empty one behind for every player without Steam.
bool keyExists(const char* key)
{
    const QString path = QLatin1String(key);
    const int root = path.indexOf(QLatin1Char('\\'));
    const HKEY hive = path.startsWith(QLatin1String("HKEY_LOCAL_MACHINE\\")) ? HKEY_LOCAL_MACHINE
                                                                             : HKEY_CURRENT_USER;
    HKEY handle = nullptr;
    if (RegOpenKeyExW(hive, reinterpret_cast<const wchar_t*>(path.mid(root + 1).utf16()), 0,
                      KEY_READ, &handle) != ERROR_SUCCESS)
        return false;
    RegCloseKey(handle);
    return true;
}
} // namespace
#endif

QStringList RegistryInstalls::installFolders()
{
    QStringList folders;
#ifdef Q_OS_WIN
    for (const char* key : uninstallKeys) {
        if (!keyExists(key))
            continue;
        QSettings uninstall(QLatin1String(key), QSettings::NativeFormat);
        folders += installFolders(uninstall);
    }
#endif
    return folders;
}

QStringList RegistryInstalls::steamRoots()
{
    QStringList roots;
#ifdef Q_OS_WIN
    for (const char* key : steamKeys) {
        if (!keyExists(key))
            continue;
        QSettings steam(QLatin1String(key), QSettings::NativeFormat);
        const QString root = steamRoot(steam);
        if (!root.isEmpty())
            roots.append(root);
    }
#endif
    return roots;
}
