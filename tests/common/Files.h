// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QtTest>

// The bytes of a file, or "<missing>" when there is no readable file at the path.
inline QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// Writes a whole file, making its folder first.
inline void put(const QString& path, const QByteArray& data)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
    QCOMPARE(file.write(data), qint64(data.size()));
}

// A text file's bytes as this system writes them: CR LF on Windows, LF elsewhere.
inline QByteArray textLines(QByteArray lf)
{
#ifdef Q_OS_WIN
    lf.replace("\n", "\r\n");
#endif
    return lf;
}

// A companion the program ships (resources/), or a helper program, found beside the
// test program, where the build puts them.
inline QString besideTest(const QString& name)
{
    return QCoreApplication::applicationDirPath() + QLatin1Char('/') + name;
}
