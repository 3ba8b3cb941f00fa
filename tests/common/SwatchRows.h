// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

// The basic page as the player sees it: 28 swatches, seven on each of four tabs, each
// with its caption and the colour names it changes, the first of which it shows.
// Written out here once, independently of the page, so the tests can hold it to it.
struct SwatchRow {
    int tab;
    int row;
    QString caption;
    QStringList names;
};

const QVector<SwatchRow>& swatchRows();
