// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Which file or folder a path leads to, as the system tells it: the device and inode
// (on Windows the volume serial number and the file index) of what is there once every
// link is followed. Two paths lead to one file exactly when their identities agree,
// however they are spelt: through links, bind mounts, "..", another case of the letters
// on a file system that ignores case, or a short 8.3 name on Windows.
//
// Names that are not there yet have no identity; whether two of them would become one
// file is judged by their folders' identities and by the way that folder's file system
// compares names (see sameEntry()).
class FileIdentity
{
public:
    enum class Kind { None, File, Folder, Other };

    FileIdentity() = default;
    // What the path leads to now; Kind::None when nothing is there (or a link to nothing).
    explicit FileIdentity(const QString& path);

    Kind kind() const;
    bool exists() const;
    bool operator==(const FileIdentity& other) const;
    bool operator!=(const FileIdentity& other) const;

    // Splits the path at its last separator as text, without cleaning "..": the
    // system, not the text, decides where "link/.." leads. A relative path is taken
    // from the current folder.
    static void split(const QString& path, QString* folder, QString* name);
    // Whether the folder's file system takes names that differ only in case for one
    // name. Asked of the system: a name in the folder with its case flipped is looked up
    // and compared by identity. Windows' file systems do, unless the system says not.
    static bool foldsCase(const QString& folder);
    // Whether the two names are one in the folder: equal after the trailing dots and
    // blanks Windows drops, and ignoring case where the folder does.
    static bool sameName(const QString& folder, const QString& a, const QString& b);
    // Whether the two paths name one entry: the same existing file, or the same name
    // in the same folder (for names not there yet).
    static bool sameEntry(const QString& a, const QString& b);

private:
    Kind type = Kind::None;
    quint64 device = 0;
    quint64 index = 0;
};
