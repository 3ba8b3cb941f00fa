// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/AOColors.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

class FileStamp;

// The player's colours as Tintwell last wrote them into one install, kept in Tintwell's
// own folder, where a game patch, a repair or a reinstall that puts the game's own
// TextColors.xml back cannot reach them.
//
// Each install has one kept scheme, found by its folder as the system resolves it, so
// two installs (or one reached by two paths) never share or mix colours. The scheme is
// written as Export writes a file to share, so a player can open or import it, beside a
// few lines of state: which folder it belongs to, when it was saved, the content of the
// colour file Tintwell wrote, and the content the player last declined to replace.
// A colour file with Tintwell's own content holds the kept colours: nothing to ask.
class KeptColors
{
public:
    // Schemes of installs the player has not saved for longest go first.
    static constexpr int maxKept = 20;
    // A thousand times the game's own file; a larger table is not kept.
    static constexpr qint64 maxSize = 4 * 1024 * 1024;

    // Below the working folder, beside Tintwell.cfg.
    static QString defaultStore();

    // The kept scheme of the install folder `aoPath` in `store`. An install folder the
    // system cannot resolve keeps nothing.
    explicit KeptColors(const QString& aoPath, const QString& store = defaultStore());

    bool isValid() const;
    // The kept scheme, whether or not it exists yet.
    QString file() const;
    // When the player last saved this install; invalid when nothing is kept.
    QDateTime savedAt() const;

    // After Tintwell wrote `table` as the install's colour file, whose content is now
    // `written`: the scheme and its state replace the kept ones, each in one step.
    bool keep(const AOColors& table, const FileStamp& written, QString* error = nullptr);
    // The same for a colour file Tintwell put in place whole (a restore): read from disk.
    bool keepColorFile(QString* error = nullptr);
    // For a colour file just loaded: how many colours of the names it shares with the
    // kept scheme differ, with the scheme in `scheme`. Nothing differs for the file
    // Tintwell last wrote or one the player declined to replace.
    int differences(const FileStamp& loaded, const AOColors& table, AOColors* scheme) const;
    // The player keeps the file with this content as it is: not asked about it again.
    bool decline(const FileStamp& loaded, QString* error = nullptr);

private:
    bool replaceKept(const AOColors& table, const FileStamp& written, QString* error);
    QString stateFile() const;
    bool readState();
    bool writeState(QString* error);
    void prune() const;

    QString storeFolder;
    QString folder;
    QString base;
    QDateTime saved;
    QByteArray written;
    QByteArray declined;
};
