// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <functional>

class QWidget;

// What Tintwell tells a player whose game files the system keeps from it. A folder it
// may not write, such as a game below Program Files, which Windows leaves to
// administrators, is named at once when the colours are loaded, rather than after the
// player's work at Save; the same advice comes with a failed Save or first-start copy;
// and, where it helps, the offer to start again as administrator. A file another
// program holds open is named too.
class FolderAccess
{
public:
    // Starts the program again with more rights; false, with the reason, when it did
    // not start.
    using Restart = std::function<bool(QString* error)>;

    // Paragraphs that say the folder may not be written and what to do, to add to a
    // message; empty when the folder may be written (or does not exist).
    static QString advice(const QString& folder);
    // When `folder` may not be written, says so and, where `restart` is given, offers
    // to restart as administrator: `beforeRestart` runs first (it keeps what the next
    // start needs), then `restart`. True when the restart was started and this
    // instance should close. The default restart is Windows' own, where it can help.
    static bool checkAtLoad(QWidget* parent, const QString& folder,
                            const std::function<void()>& beforeRestart,
                            const Restart& restart = administratorRestart());
    // When another program holds `file` so that Tintwell cannot read it, says so.
    static void warnIfInUse(QWidget* parent, const QString& file);
    // Elevation::restartAsAdministrator where Elevation::possible(), else none.
    static Restart administratorRestart();
};
