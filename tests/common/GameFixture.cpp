// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/GameFixture.h"

#include "common/Files.h"
#include "dialogs/Choosers.h"
#include "dialogs/Messages.h"

#include <QDir>

GameFixture::GameFixture()
{
    Messages::clearAnswers();
    Choosers::clearResults();
    if (!folder.isValid())
        return;
    gameFolder = std::make_unique<GameFolder>(path(QStringLiteral("Anarchy Online")));
}

GameFixture::~GameFixture()
{
    if (homeFaked && realHome)
        qputenv("HOME", *realHome);
    else if (homeFaked)
        qunsetenv("HOME");
    Messages::clearAnswers();
    Choosers::clearResults();
}

bool GameFixture::isValid() const
{
    return gameFolder && QFile::exists(gameFolder->file());
}

QString GameFixture::path(const QString& name) const
{
    return folder.path(name);
}

QString GameFixture::workFolder() const
{
    return folder.work();
}

const GameFolder& GameFixture::game() const
{
    return *gameFolder;
}

void GameFixture::writePreferences(const QByteArrayList& settings, const QByteArray& lineEnd) const
{
    put(workFolder() + QStringLiteral("/Tintwell.cfg"), gameFolder->preferences(settings, lineEnd));
}

QString GameFixture::fakeHome()
{
    const QString home = path(QStringLiteral("home"));
    QDir().mkpath(home);
    if (!homeFaked && qEnvironmentVariableIsSet("HOME"))
        realHome = qgetenv("HOME");
    homeFaked = true;
    qputenv("HOME", QFile::encodeName(home));
    return home;
}
