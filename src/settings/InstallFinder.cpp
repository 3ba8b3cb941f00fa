// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/InstallFinder.h"

#include "files/ColorFolder.h"
#include "files/SafeFile.h"
#include "platform/NativeFile.h"
#include "platform/RegistryInstalls.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>

namespace
{

const QLatin1String gameFolder("Anarchy Online");
const QLatin1String steamGame("steamapps/common/Anarchy Online");

// A library list is a few kilobytes; anything far larger is not one.
const qint64 largestLibraryList = 1024 * 1024;
// More than any player has, and few enough that the folder question opens at once
// however long the lists are that name them.
const int mostLibraries = 64;
const int mostPrefixes = 256;

// Where the game's installers and Steam put it, below a drive or a Wine drive_c.
const char* const programFolders[] = {"Program Files (x86)", "Program Files"};

// A regular file of sensible size, whole; anything else (a pipe that would block the
// start, a folder, a huge file) gives nothing.
QByteArray readSmallFile(const QString& path)
{
    QByteArray data;
    return SafeFile::readAll(path, largestLibraryList, &data) ? data : QByteArray();
}

// One quoted string or brace of Steam's KeyValues text, or nothing at the end.
class VdfTokens
{
public:
    explicit VdfTokens(const QByteArray& text) : text(text) {}

    enum class Kind { End, Open, Close, String };

    Kind next(QByteArray* value)
    {
        skipSpaceAndComments();
        if (at >= text.size())
            return Kind::End;
        const char c = text.at(at++);
        if (c == '{')
            return Kind::Open;
        if (c == '}')
            return Kind::Close;
        if (c != '"')
            return Kind::End; // not Steam's format: stop without guessing
        return readString(value) ? Kind::String : Kind::End;
    }

private:
    void skipSpaceAndComments()
    {
        while (at < text.size()) {
            if (QChar::isSpace(uchar(text.at(at)))) {
                ++at;
            } else if (text.mid(at, 2) == "//") {
                const int end = text.indexOf('\n', at);
                at = end < 0 ? text.size() : end + 1;
            } else {
                return;
            }
        }
    }

    bool readString(QByteArray* value)
    {
        value->clear();
        while (at < text.size()) {
            char c = text.at(at++);
            if (c == '"')
                return true;
            if (c == '\\' && at < text.size()) {
                c = text.at(at++);
                if (c == 'n')
                    c = '\n';
                else if (c == 't')
                    c = '\t';
            }
            value->append(c);
        }
        return false; // unterminated
    }

    const QByteArray& text;
    int at = 0;
};

bool isNumber(const QByteArray& text)
{
    static const QRegularExpression digits(QStringLiteral("^[0-9]+$"));
    return digits.match(QString::fromLatin1(text)).hasMatch();
}

} // namespace

InstallFinder::InstallFinder(const QString& home, const QProcessEnvironment& environment,
                             System system)
    : home(QDir::cleanPath(home)), environment(environment), system(system)
{
}

InstallFinder::System InstallFinder::thisSystem()
{
#ifdef Q_OS_WIN
    return System::Windows;
#else
    return System::Unix;
#endif
}

InstallFinder InstallFinder::forThisUser()
{
    InstallFinder finder(QDir::homePath(), QProcessEnvironment::systemEnvironment());
    // Both are empty away from Windows.
    finder.addInstallCandidates(RegistryInstalls::installFolders());
    finder.addSteamRoots(RegistryInstalls::steamRoots());
    return finder;
}

void InstallFinder::addInstallCandidates(const QStringList& folders)
{
    extraInstalls += folders;
}

void InstallFinder::addSteamRoots(const QStringList& roots)
{
    extraSteamRoots += roots;
}

QStringList InstallFinder::installs() const
{
    entriesLeft = mostEntries;
    // Steam's libraries are bounded by their count and the size of Steam's list, so
    // only the search of the prefixes, whose number nothing bounds, is timed: a slow
    // disk or a busy machine must not hide the install in Steam's own library.
    clock.invalidate();
    QStringList candidates = extraInstalls;
    const QStringList libraries = steamLibraries();
    clock.start();
    for (const QString& library : libraries)
        candidates.append(library + QLatin1Char('/') + steamGame);
    if (system == System::Windows) {
        candidates += windowsFolders();
    } else {
        for (const QString& prefix : winePrefixes(libraries))
            candidates += gameFoldersInPrefix(prefix);
    }

    QStringList found;
    QSet<QString> seen;
    // The places named from elsewhere and the Steam libraries are few (at most 64
    // libraries) and looked at even when the search of the prefixes used up its share
    // of entries or time: a slow disk must not hide the install in Steam's own library.
    const int named = int(extraInstalls.size() + libraries.size());
    for (int i = 0; i < candidates.size(); ++i) {
        const QString& candidate = candidates.at(i);
        if (i >= named && !spend())
            break;
        if (candidate.isEmpty() || !ColorFolder(candidate).hasColorFile())
            continue;
        // ~/.steam/steam is usually a link to ~/.local/share/Steam: one install, once.
        const QString real = QFileInfo(candidate).canonicalFilePath();
        if (seen.contains(real))
            continue;
        seen.insert(real);
        found.append(QDir::toNativeSeparators(QDir::cleanPath(candidate)));
    }
    return found;
}

bool InstallFinder::spend(int entries) const
{
    if (entriesLeft <= 0 || (clock.isValid() && clock.hasExpired(mostTime))) {
        entriesLeft = 0;
        return false;
    }
    entriesLeft -= entries;
    return true;
}

// The folders that exist, each once however many names and links lead to it, and no
// more than `most` of them.
QStringList InstallFinder::distinctFolders(const QStringList& folders, int most) const
{
    QStringList distinct;
    QSet<QString> named;
    QSet<QString> seen;
    for (const QString& folder : folders) {
        if (distinct.size() == most || !spend())
            break;
        QString real;
        if (named.contains(folder) || !QFileInfo(folder).isDir() ||
            !NativeFile::realPath(folder, &real))
            continue;
        named.insert(folder);
        if (seen.contains(real))
            continue;
        seen.insert(real);
        distinct.append(folder);
    }
    return distinct;
}

// Read entry by entry, so that a folder of thousands costs no more than the search
// may still spend.
QStringList InstallFinder::subfolders(const QString& parent) const
{
    QStringList found;
    QDirIterator entries(parent, QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden);
    while (entries.hasNext() && spend())
        found.append(entries.next());
    return found;
}

// The usual install folders inside one Wine prefix.
QStringList InstallFinder::gameFoldersInPrefix(const QString& prefix) const
{
    const QString driveC = prefix + QStringLiteral("/drive_c/");
    QStringList found{driveC + QStringLiteral("Funcom/") + gameFolder};
    for (const char* programs : programFolders) {
        const QString root = driveC + QLatin1String(programs) + QLatin1Char('/');
        found << root + QStringLiteral("Funcom/") + gameFolder << root + gameFolder
              << root + QStringLiteral("Steam/") + steamGame;
    }
    for (const QString& user : subfolders(driveC + QStringLiteral("users")))
        found << user + QStringLiteral("/AppData/Local/Funcom/") + gameFolder;
    return found;
}

QStringList InstallFinder::steamRoots() const
{
    QStringList roots = extraSteamRoots;
    if (system == System::Windows) {
        for (const char* programs : {"ProgramFiles(x86)", "ProgramFiles"}) {
            const QString folder = variable(QLatin1String(programs));
            if (!folder.isEmpty())
                roots.append(folder + QStringLiteral("/Steam"));
        }
        return roots;
    }
    const QString dataHome = variable(QStringLiteral("XDG_DATA_HOME"));
    if (!dataHome.isEmpty())
        roots.append(dataHome + QStringLiteral("/Steam"));
    // The real folder before Steam's links to it, so the player sees the plain path.
    roots << homePath(QStringLiteral(".local/share/Steam"))
          << homePath(QStringLiteral(".steam/debian-installation"))
          << homePath(QStringLiteral(".steam/steam")) << homePath(QStringLiteral(".steam/root"))
          << homePath(QStringLiteral(".var/app/com.valvesoftware.Steam/.local/share/Steam"));
    return roots;
}

QStringList InstallFinder::steamLibraries() const
{
    QStringList libraries;
    for (const QString& root : steamRoots()) {
        if (!QFileInfo(root).isDir())
            continue;
        libraries.append(root);
        const QByteArray list =
            readSmallFile(root + QStringLiteral("/steamapps/libraryfolders.vdf"));
        for (const QString& path : libraryPaths(list))
            libraries.append(QDir::fromNativeSeparators(path));
    }
    return distinctFolders(libraries, mostLibraries);
}

QStringList InstallFinder::libraryPaths(const QByteArray& vdf)
{
    QStringList paths;
    VdfTokens tokens(vdf);
    QByteArray key;
    QByteArray value;
    bool haveKey = false;
    int depth = 0;
    for (;;) {
        switch (tokens.next(&value)) {
        case VdfTokens::Kind::End:
            return paths;
        case VdfTokens::Kind::Open:
            ++depth;
            haveKey = false;
            break;
        case VdfTokens::Kind::Close:
            if (--depth < 0)
                return paths;
            haveKey = false;
            break;
        case VdfTokens::Kind::String:
            if (!haveKey) {
                key = value;
                haveKey = true;
                break;
            }
            haveKey = false;
            // Today's lists say "path" inside a numbered block; old ones gave the
            // folder as the numbered entry's value.
            if (key.toLower() == "path" || (depth == 1 && isNumber(key)))
                paths.append(QString::fromUtf8(value));
            break;
        }
    }
}

// Lutris keeps each game's prefix in ~/Games/<game> by default and names any other in
// the game's settings file as "prefix: <folder>"; Bottles keeps one folder per bottle.
QStringList InstallFinder::winePrefixes(const QStringList& steamLibraries) const
{
    QStringList prefixes;
    const QString winePrefix = variable(QStringLiteral("WINEPREFIX"));
    if (!winePrefix.isEmpty())
        prefixes.append(winePrefix);
    prefixes.append(homePath(QStringLiteral(".wine")));
    prefixes += lutrisPrefixes();
    prefixes += subfolders(homePath(QStringLiteral("Games")));
    prefixes += subfolders(homePath(QStringLiteral(".local/share/bottles/bottles")));
    prefixes += subfolders(
        homePath(QStringLiteral(".var/app/com.usebottles.bottles/data/bottles/bottles")));
    // Proton gives every game it runs a prefix of its own. Libraries may share one
    // folder of prefixes through links; it is read once.
    QSet<QString> listed;
    for (const QString& library : steamLibraries) {
        const QString compatdata = library + QStringLiteral("/steamapps/compatdata");
        const QString real = NativeFile::resolvedPath(compatdata);
        if (!spend() || real.isEmpty() || listed.contains(real))
            continue;
        listed.insert(real);
        for (const QString& game : subfolders(compatdata))
            prefixes.append(game + QStringLiteral("/pfx"));
    }
    return distinctFolders(prefixes, mostPrefixes);
}

QStringList InstallFinder::lutrisPrefixes() const
{
    QString config = variable(QStringLiteral("XDG_CONFIG_HOME"));
    if (config.isEmpty())
        config = homePath(QStringLiteral(".config"));
    QStringList prefixes;
    const QDir games(config + QStringLiteral("/lutris/games"));
    for (const QString& name : games.entryList({QStringLiteral("*.yml")}, QDir::Files)) {
        const QByteArray settings = readSmallFile(games.filePath(name));
        for (const QByteArray& line : settings.split('\n')) {
            const QByteArray trimmed = line.trimmed();
            if (!trimmed.startsWith("prefix:"))
                continue;
            QString prefix = QString::fromUtf8(trimmed.mid(7).trimmed());
            if (prefix.size() >= 2 &&
                (prefix.startsWith(QLatin1Char('\'')) || prefix.startsWith(QLatin1Char('"'))))
                prefix = prefix.mid(1, prefix.size() - 2);
            if (prefix.startsWith(QStringLiteral("~/")))
                prefix = homePath(prefix.mid(2));
            prefixes.append(prefix);
        }
    }
    return prefixes;
}

QStringList InstallFinder::windowsFolders() const
{
    QStringList folders;
    for (const char* name : {"ProgramFiles(x86)", "ProgramFiles", "ProgramW6432"}) {
        const QString programs = variable(QLatin1String(name));
        if (programs.isEmpty())
            continue;
        folders << programs + QStringLiteral("/Funcom/") + gameFolder
                << programs + QLatin1Char('/') + gameFolder;
    }
    QString drive = variable(QStringLiteral("SystemDrive"));
    if (drive.isEmpty())
        drive = QStringLiteral("C:");
    folders << drive + QStringLiteral("/Funcom/") + gameFolder;
    const QString localData = variable(QStringLiteral("LOCALAPPDATA"));
    if (!localData.isEmpty())
        folders << localData + QStringLiteral("/Funcom/") + gameFolder;
    return folders;
}

QString InstallFinder::homePath(const QString& relative) const
{
    return home + QLatin1Char('/') + relative;
}

QString InstallFinder::variable(const QString& name) const
{
    return QDir::fromNativeSeparators(environment.value(name));
}
