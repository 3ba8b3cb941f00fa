// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "files/FileStamp.h"

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>

// Whole files, for tests that must prove what a folder holds before and after.

// The bytes of a file, or "<missing>" when there is no readable file at the path.
QByteArray contents(const QString& path);

// The stamp of the file as it is on disk now; an invalid stamp when it cannot be read
// (gone, no longer a file, or larger than `maxSize`).
FileStamp stampOnDisk(const QString& path, qint64 maxSize);

// Writes a whole file, making its folder first; a failure fails the running test.
void put(const QString& path, const QByteArray& data);

// Every entry of a folder (not below it) with its content, "<folder>" for a folder,
// so that "nothing changed" is one comparison.
using Snapshot = QMap<QString, QByteArray>;
Snapshot snapshotFolder(const QString& folder);
// The named files below `root`, by their paths relative to it.
Snapshot snapshot(const QString& root, const QStringList& files);

// Files anywhere below `root` that are not known: neither their path relative to
// `root` nor their name is in `known`, and not Tintwell's kept colors. Left-over
// temporaries show up here.
QStringList leftovers(const QString& root, const QStringList& known);

// A text file's bytes as this system writes them: CR LF on Windows, LF elsewhere.
QByteArray textLines(QByteArray lf);

// A companion the program ships (resources/), or a helper program, found beside the
// test program, where the build puts them.
QString besideTest(const QString& name);
