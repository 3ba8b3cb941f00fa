// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/BaseDlg.h"
#include "common/GameFolder.h"
#include "common/WorkFolder.h"

#include <QByteArray>
#include <QString>

#include <memory>
#include <optional>

// What a test of the main window starts from: a fresh temporary folder holding the
// working folder "work", entered for as long as the fixture lives, and beside it the
// game folder "Anarchy Online". No answer or chooser result survives from an earlier
// test.
class GameFixture
{
public:
    GameFixture();
    ~GameFixture();
    GameFixture(const GameFixture&) = delete;
    GameFixture& operator=(const GameFixture&) = delete;

    bool isValid() const;
    // A path in the temporary folder, beside the game and working folders.
    QString path(const QString& name) const;
    QString workFolder() const;
    const GameFolder& game() const;

    // Tintwell.cfg in the working folder, naming the game folder (see
    // GameFolder::preferences).
    void writePreferences(const QByteArrayList& settings = GameFolder::usualSettings,
                          const QByteArray& lineEnd = "\n") const;
    // An empty home folder "home" beside the others, which HOME names until the fixture
    // ends: the installs Tintwell finds on the computer are then the test's alone.
    QString fakeHome();

    // Opens the main window the way a later start does: the preferences name the
    // game folder, whose colour file holds `colors`.
    template <typename Dialog = BaseDlg>
    std::unique_ptr<Dialog> open(const QByteArray& colors = GameFolder::oneColor) const
    {
        writePreferences();
        gameFolder->write(QStringLiteral("TextColors.xml"), colors);
        return std::make_unique<Dialog>();
    }

private:
    WorkFolder folder{QStringLiteral("work")};
    // HOME as it was before fakeHome(), if it was set; restored at the end.
    std::optional<QByteArray> realHome;
    bool homeFaked = false;
    std::unique_ptr<GameFolder> gameFolder;
};
