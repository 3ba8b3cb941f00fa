// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/GameFixture.h"

#include "common/Files.h"
#include "dialogs/Choosers.h"
#include "dialogs/Messages.h"

#include <QDir>

GameFixture::GameFixture() : previous(QDir::currentPath())
{
    Messages::clearAnswers();
    Choosers::clearResults();
    if (!dir.isValid() || !QDir().mkpath(workFolder()) || !QDir::setCurrent(workFolder()))
        return;
    gameFolder = std::make_unique<GameFolder>(path(QStringLiteral("Anarchy Online")));
}

GameFixture::~GameFixture()
{
    QDir::setCurrent(previous);
    Messages::clearAnswers();
    Choosers::clearResults();
}

bool GameFixture::isValid() const
{
    return gameFolder && QFile::exists(gameFolder->file());
}

QString GameFixture::path(const QString& name) const
{
    return dir.filePath(name);
}

QString GameFixture::workFolder() const
{
    return path(QStringLiteral("work"));
}

const GameFolder& GameFixture::game() const
{
    return *gameFolder;
}

void GameFixture::writePreferences(const QByteArray& text) const
{
    put(workFolder() + QStringLiteral("/Tintwell.cfg"), text);
}
