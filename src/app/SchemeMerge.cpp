// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/SchemeMerge.h"

#include "basic/BasicModeDlg.h"
#include "model/AOColors.h"

#include <QDir>
#include <QFileInfo>

namespace
{

QString counted(int count, const char* one, const char* many)
{
    return QStringLiteral("%1 %2").arg(count).arg(QLatin1String(count == 1 ? one : many));
}

} // namespace

SchemeMerge::SchemeMerge(const AOColors& table, const AOColors& scheme, const QString& file)
    : found(table.schemeChanges(scheme, &shared, &unknown)), file(file)
{
}

bool SchemeMerge::sharesNames() const
{
    return shared > 0;
}

const QList<AOColor>& SchemeMerge::changes() const
{
    return found;
}

QStringList SchemeMerge::changedNames() const
{
    QStringList names;
    for (const AOColor& change : found)
        names.append(change.name);
    return names;
}

QString SchemeMerge::stepName() const
{
    return tr("import of %1").arg(QFileInfo(file).fileName());
}

QString SchemeMerge::report() const
{
    const QString from = QDir::toNativeSeparators(file);
    if (shared == 0)
        return tr("None of the color names in\n%1\nis in this game's "
                  "TextColors.xml, so no color was changed.")
            .arg(from);
    QString report =
        found.isEmpty()
            ? tr("No color changed: this game's colors already are those of\n%1").arg(from)
            : tr("Imported %1 from\n%2\n\nChanged: %3.")
                  .arg(counted(int(found.size()), "color", "colors"), from, changedGroups(found));
    if (unknown > 0)
        report +=
            tr("\n\n%1 of that file %2 not in this game's TextColors.xml and %3 left out.")
                .arg(counted(unknown, "name", "names"), QLatin1String(unknown == 1 ? "is" : "are"),
                     QLatin1String(unknown == 1 ? "was" : "were"));
    if (!found.isEmpty())
        report += tr("\n\nSave keeps the new colors; Ctrl+Z takes them back.");
    return report;
}

// The first few groups an import changed, as the player knows them, and how many more.
QString SchemeMerge::changedGroups(const QList<AOColor>& changes)
{
    const int shown = 4;
    // Chat groups first: those are the names a player knows.
    QStringList groups;
    QStringList names;
    for (const AOColor& change : changes) {
        const QString group = BasicModeDlg::groupCaption(change.name);
        if (group.isEmpty())
            names.append(change.name);
        else if (!groups.contains(group))
            groups.append(group);
    }
    groups += names;
    if (groups.size() <= shown + 1)
        return groups.join(QLatin1String(", "));
    return tr("%1 and %2 more")
        .arg(groups.mid(0, shown).join(QLatin1String(", ")))
        .arg(groups.size() - shown);
}
