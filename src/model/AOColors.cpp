// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/AOColors.h"

#include <QHash>
#include <QSet>

AOColors aoColors;

AOColors::~AOColors() = default;

int AOColors::indexOfName(const QString& name) const
{
    for (int i = 0; i < size(); ++i) {
        if (at(i).name == name)
            return i;
    }
    return -1;
}

AOColor AOColors::find(QString name) const
{
    const int i = indexOfName(name);
    return i < 0 ? AOColor() : at(i);
}

bool AOColors::update(AOColor color)
{
    const int i = indexOfName(color.name);
    if (i < 0)
        return false;
    (*this)[i] = color;
    return true;
}

QList<AOColor> AOColors::firstOf(const QStringList& names) const
{
    QSet<QString> wanted(names.begin(), names.end());
    QList<AOColor> entries;
    for (int i = 0; i < size() && !wanted.isEmpty(); ++i) {
        if (wanted.remove(at(i).name))
            entries.append(at(i));
    }
    return entries;
}

void AOColors::setValues(const QList<AOColor>& entries)
{
    QHash<QString, QString> values;
    for (const AOColor& entry : entries)
        values.insert(entry.name, entry.value);
    for (int i = 0; i < size() && !values.isEmpty(); ++i) {
        const auto found = values.constFind(at(i).name);
        if (found == values.constEnd())
            continue;
        (*this)[i].setValue(*found);
        // Only the first entry of a name takes the text.
        values.erase(found);
    }
}

QList<AOColor> AOColors::shareFirstColor(const QStringList& group)
{
    QList<AOColor> entries;
    if (group.isEmpty())
        return entries;
    const AOColor first = find(group.first());
    entries.append(first);
    // A first name the table does not hold has no colour to give: copying its empty
    // text would wipe the colours of the other names.
    const bool hasColor = first.name == group.first();
    for (int i = 1; i < group.size(); ++i) {
        AOColor working = find(group.at(i));
        if (hasColor) {
            working.setValue(first.value);
            // A name the table lacks must not colour the file's nameless entry.
            if (working.name == group.at(i))
                update(working);
        }
        entries.append(working);
    }
    return entries;
}

QList<AOColor> AOColors::schemeChanges(const AOColors& scheme, int* shared, int* unknown) const
{
    QHash<QString, QString> offered;
    // A nameless entry (a misspelt NAME=) names nothing: taken over, it would recolour
    // the game's own nameless entry.
    for (const AOColor& entry : scheme) {
        if (!entry.name.isEmpty() && !offered.contains(entry.name))
            offered.insert(entry.name, entry.value);
    }
    QList<AOColor> changes;
    QSet<QString> seen;
    for (const AOColor& entry : *this) {
        if (seen.contains(entry.name))
            continue;
        seen.insert(entry.name);
        const auto found = offered.constFind(entry.name);
        if (found == offered.constEnd())
            continue;
        if (*found != entry.value) {
            AOColor change;
            change.name = entry.name;
            change.value = *found;
            changes.append(change);
        }
    }
    int both = 0;
    for (auto it = offered.constBegin(); it != offered.constEnd(); ++it)
        both += seen.contains(it.key()) ? 1 : 0;
    *shared = both;
    *unknown = int(offered.size()) - both;
    return changes;
}
