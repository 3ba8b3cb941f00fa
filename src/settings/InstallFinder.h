// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QElapsedTimer>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

// Looks for the game where players usually have it, so the first folder question
// can open on it: Steam libraries (native, Flatpak and every library Steam lists),
// Wine prefixes (WINEPREFIX, ~/.wine, Lutris, Bottles, Proton) and, on Windows, the
// Program Files folders and what the registry names. A folder counts only when it
// holds the game's colour file.
//
// Everything it looks at comes from the home folder and environment it is given, so
// a test can hand it a fake home. Nothing here can fail: an unreadable or broken
// Steam list just adds no libraries.
//
// The search is bounded by its work, not only by what it finds: it looks at no more
// than `mostEntries` folder entries and files and stops the search of the prefixes
// after `mostTime`, so the folder question opens at once on any home, however many
// prefixes or links it holds. What was found by then is offered.
class InstallFinder
{
public:
    enum class System { Windows, Unix };

    static const int mostEntries = 4096;
    static const int mostTime = 1000; // milliseconds

    InstallFinder(const QString& home, const QProcessEnvironment& environment,
                  System system = thisSystem());

    // Folders known from elsewhere (on Windows: the registry), tried first.
    void addInstallCandidates(const QStringList& folders);
    // Steam installs known from elsewhere, whose libraries are searched too.
    void addSteamRoots(const QStringList& roots);

    // Every install found, most likely first, each once.
    QStringList installs() const;

    // The finder for the player running Tintwell, registry included on Windows.
    static InstallFinder forThisUser();
    static System thisSystem();

    // The library folders a Steam "libraryfolders.vdf" lists. Steam's KeyValues text
    // has no reader in Qt; this small tokenizer takes the "path" values (and the old
    // numbered entries) and ignores everything else, stopping quietly at bad input.
    static QStringList libraryPaths(const QByteArray& vdf);

private:
    // Counts work done; false once the search has used all it may.
    bool spend(int entries = 1) const;
    QStringList subfolders(const QString& parent) const;
    QStringList distinctFolders(const QStringList& folders, int most) const;
    QStringList gameFoldersInPrefix(const QString& prefix) const;
    QStringList steamRoots() const;
    QStringList steamLibraries() const;
    QStringList winePrefixes(const QStringList& steamLibraries) const;
    QStringList lutrisPrefixes() const;
    QStringList windowsFolders() const;
    QString homePath(const QString& relative) const;
    QString variable(const QString& name) const;

    QString home;
    QProcessEnvironment environment;
    System system;
    QStringList extraInstalls;
    QStringList extraSteamRoots;
    mutable int entriesLeft = 0;
    mutable QElapsedTimer clock;
};
