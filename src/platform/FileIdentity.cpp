// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/FileIdentity.h"

#include "platform/NativeFile.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <sys/stat.h>
#endif

namespace
{

// Enough entries to meet a name with letters in any colour folder, few enough that a
// folder of thousands is not read through.
const int namesTried = 64;

QString flippedCase(const QString& name)
{
    QString flipped = name;
    for (QChar& c : flipped)
        c = c.isUpper() ? c.toLower() : c.toUpper();
    return flipped;
}

QString withoutTrailingDots(QString name)
{
    while (name.endsWith(QLatin1Char('.')) || name.endsWith(QLatin1Char(' ')))
        name.chop(1);
    return name;
}

bool isSeparator(QChar c)
{
#ifdef Q_OS_WIN
    if (c == QLatin1Char('\\'))
        return true;
#endif
    return c == QLatin1Char('/');
}

} // namespace

FileIdentity::FileIdentity(const QString& path)
{
#ifdef Q_OS_WIN
    const HANDLE handle =
        ::CreateFileW(NativeFile::widePath(path).c_str(), 0,
                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                      OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return;
    BY_HANDLE_FILE_INFORMATION info;
    const bool known = ::GetFileInformationByHandle(handle, &info) != 0;
    // Pipes and consoles open here too; only what lives in a folder has a file index.
    const DWORD fileType = ::GetFileType(handle);
    ::CloseHandle(handle);
    if (!known)
        return;
    device = info.dwVolumeSerialNumber;
    index = (quint64(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    if (fileType != FILE_TYPE_DISK)
        type = Kind::Other;
    else
        type = (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? Kind::Folder : Kind::File;
#else
    struct stat status;
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return;
    device = quint64(status.st_dev);
    index = quint64(status.st_ino);
    type = S_ISREG(status.st_mode)   ? Kind::File
           : S_ISDIR(status.st_mode) ? Kind::Folder
                                     : Kind::Other;
#endif
}

FileIdentity::Kind FileIdentity::kind() const
{
    return type;
}

bool FileIdentity::exists() const
{
    return type != Kind::None;
}

bool FileIdentity::operator==(const FileIdentity& other) const
{
    return exists() && type == other.type && device == other.device && index == other.index;
}

bool FileIdentity::operator!=(const FileIdentity& other) const
{
    return !(*this == other);
}

void FileIdentity::split(const QString& path, QString* folder, QString* name)
{
    int at = int(path.size()) - 1;
    while (at >= 0 && !isSeparator(path.at(at)))
        --at;
    *name = path.mid(at + 1);
    if (at < 0)
        *folder = QDir::currentPath();
    else if (at == 0)
        *folder = path.left(1);
    else
        *folder = path.left(at);
#ifdef Q_OS_WIN
    // "C:" alone is the drive's current folder, not its root.
    if (folder->size() == 2 && folder->at(1) == QLatin1Char(':'))
        *folder += QLatin1Char('/');
#endif
    if (at >= 0 && QDir::isRelativePath(*folder))
        *folder = QDir::currentPath() + QLatin1Char('/') + *folder;
}

bool FileIdentity::foldsCase(const QString& folder)
{
    QDirIterator entries(folder,
                         QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (int tried = 0; entries.hasNext() && tried < namesTried; ++tried) {
        entries.next();
        const QString base = entries.fileName();
        const QString flipped = flippedCase(base);
        if (flipped == base)
            continue;
        // A link to nothing has no identity to compare.
        const FileIdentity entry(folder + QLatin1Char('/') + base);
        if (entry.exists())
            return entry == FileIdentity(folder + QLatin1Char('/') + flipped);
    }
#ifdef Q_OS_WIN
    return true;
#else
    return false;
#endif
}

bool FileIdentity::sameName(const QString& folder, const QString& a, const QString& b)
{
    const QString plainA = withoutTrailingDots(a);
    const QString plainB = withoutTrailingDots(b);
    if (plainA == plainB)
        return true;
    return plainA.compare(plainB, Qt::CaseInsensitive) == 0 && foldsCase(folder);
}

bool FileIdentity::sameEntry(const QString& a, const QString& b)
{
    const FileIdentity fileA(a);
    if (fileA.exists() && fileA == FileIdentity(b))
        return true;
    QString folderA, nameA, folderB, nameB;
    split(a, &folderA, &nameA);
    split(b, &folderB, &nameB);
    const FileIdentity inA(folderA);
    return inA.kind() == Kind::Folder && inA == FileIdentity(folderB) &&
           sameName(folderB, nameA, nameB);
}
