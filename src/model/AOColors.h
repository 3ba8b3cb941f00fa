// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/AOColor.h"

#include <QList>
#include <QStringList>

// The colour table in the order of the colour file. Names may repeat; lookups
// always act on the first entry of a name.
class AOColors : public QList<AOColor>
{
public:
    virtual ~AOColors();

    AOColor find(QString name) const;
    bool update(AOColor color);

    // The first entry of each of the names, as it is now; names the table lacks are
    // left out. What an undo step keeps to put the texts back.
    QList<AOColor> firstOf(const QStringList& names) const;
    // Gives the first entry of each entry's name that entry's colour text, read again,
    // in one pass over the table: an import may set thousands of names at once.
    void setValues(const QList<AOColor>& entries);
    // Gives every name of `group` after the first the colour text of the first name's
    // entry, as one swatch shows them. Returns each name's entry as it now is; a name the
    // table lacks appears as the nameless default entry with the text it was offered.
    QList<AOColor> shareFirstColor(const QStringList& group);
    // What taking a shared colour scheme over changes: the first entry of every name
    // the table shares with `scheme`, carrying the scheme's text (of its first entry of
    // that name), wherever the two texts differ. `shared` counts the names both have,
    // `unknown` the names of the scheme that the table lacks. The scheme's nameless
    // entries name nothing and count as neither.
    QList<AOColor> schemeChanges(const AOColors& scheme, int* shared, int* unknown) const;

private:
    int indexOfName(const QString& name) const;
};

// The one program-wide table.
extern AOColors aoColors;
