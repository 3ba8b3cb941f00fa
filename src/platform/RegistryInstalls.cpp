// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/RegistryInstalls.h"

#include <QSettings>

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

QStringList RegistryInstalls::installFolders()
{
    QStringList folders;
#ifdef Q_OS_WIN
    for (const char* key : uninstallKeys) {
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
        QSettings steam(QLatin1String(key), QSettings::NativeFormat);
        const QString root = steamRoot(steam);
        if (!root.isEmpty())
            roots.append(root);
    }
#endif
    return roots;
}
