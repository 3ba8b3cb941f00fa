// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/AOColor.h"

#include <QCoreApplication>
#include <QList>
#include <QString>
#include <QStringList>

class AOColors;

// An imported scheme's colours merged into the game's table: the scheme's colours go
// to the names this game's file has, its other names are left out, and every other
// colour stays. The report tells the player what changed, by the chat groups they know.
class SchemeMerge
{
    Q_DECLARE_TR_FUNCTIONS(SchemeMerge)

public:
    SchemeMerge(const AOColors& table, const AOColors& scheme, const QString& file);

    // False when the scheme names no colour of this game's file: nothing is to change.
    bool sharesNames() const;
    // The new texts of the names whose colour the scheme changes.
    const QList<AOColor>& changes() const;
    QStringList changedNames() const;
    // The name of the step that takes the import back.
    QString stepName() const;
    QString report() const;

    static QString changedGroups(const QList<AOColor>& changes);

private:
    // Counted by the merge that fills `found`, so declared before it.
    int shared = 0;
    int unknown = 0;
    QList<AOColor> found;
    QString file;
};
