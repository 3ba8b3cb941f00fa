// SPDX-License-Identifier: GPL-3.0-or-later
// Times loading and saving the colour file against the bare cost of Qt's streaming
// reader going through the same bytes, which no reader built on it can beat.
//
//   ColorFileBench                   the 250-, 10,000- and 200,000-entry files
//   ColorFileBench --write N FILE    writes the N-entry file, for measuring memory
//   ColorFileBench FILE...           loads each file once and tells how long it took
#include "files/ColorFile.h"
#include "files/ColorFileWriter.h"
#include "files/ColorFolder.h"
#include "model/AOColors.h"

#include "common/ColorTable.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace
{

// Median milliseconds of `samples` runs of `repeats` calls each, per call.
double medianMs(int samples, int repeats, const std::function<void()>& work)
{
    QVector<double> times;
    for (int s = 0; s < samples; ++s) {
        QElapsedTimer timer;
        timer.start();
        for (int r = 0; r < repeats; ++r)
            work();
        times.append(timer.nsecsElapsed() / 1e6 / repeats);
    }
    std::sort(times.begin(), times.end());
    return times.at(times.size() / 2);
}

bool writeFile(const QString& path, const QByteArray& data)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
}

int compare(int entries, int samples, int repeats)
{
    QTemporaryDir dir;
    const QString game = dir.path();
    const ColorFolder folder(game);
    QDir().mkpath(folder.path());
    const QByteArray data = generatedColorFile(entries);
    if (!writeFile(folder.colorFile(), data))
        return 1;

    const double floor = medianMs(samples, repeats, [&] {
        QXmlStreamReader reader(data);
        while (!reader.atEnd())
            reader.readNext();
    });

    AOColors table;
    bool ok = true;
    const double loadSave = medianMs(samples, repeats, [&] {
        ok = ColorFile::load(folder.colorFile(), &table) && ok;
        ok = saveTable(folder, table) && ok;
    });
    const double loadOnly =
        medianMs(samples, repeats, [&] { ok = ColorFile::load(folder.colorFile(), &table) && ok; });
    // The same work without the disk: what is left of a save once the two files no
    // longer have to be written and synced.
    const double inMemory = medianMs(samples, repeats, [&] {
        ok = ColorFile::load(folder.colorFile(), &table) && ok;
        const QByteArray xml = ColorFileWriter::toXml(table);
        Q_UNUSED(xml)
    });

    AOColors reread;
    QString error;
    const bool complete = ColorFile::load(folder.colorFile(), &reread, &error) &&
                          reread.size() == entries && reread.last().name == table.last().name;
    std::printf("%d entries, %lld bytes (median of %d runs):\n"
                "  floor (QXmlStreamReader, no entries) %9.2f ms\n"
                "  load + save (two files synced)       %9.2f ms  %.2fx the floor\n"
                "  load + printing, without the disk    %9.2f ms  %.2fx the floor\n"
                "  load alone                           %9.2f ms\n"
                "  every entry saved: %s %s\n",
                entries, qint64(data.size()), samples, floor, loadSave, loadSave / floor, inMemory,
                inMemory / floor, loadOnly, complete && ok ? "yes" : "NO", qPrintable(error));
    return complete && ok ? 0 : 1;
}

int loadEach(const QStringList& files)
{
    for (const QString& file : files) {
        AOColors table;
        QString error;
        QElapsedTimer timer;
        timer.start();
        const bool ok = ColorFile::load(file, &table, &error);
        std::printf("%8.1f ms  %s  %d entries  %s\n", timer.nsecsElapsed() / 1e6,
                    ok ? "read   " : "refused", int(table.size()), qPrintable(ok ? file : error));
    }
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList files = app.arguments().mid(1);
    if (files.size() == 3 && files.at(0) == QLatin1String("--write"))
        return writeFile(files.at(2), generatedColorFile(files.at(1).toInt())) ? 0 : 1;
    if (!files.isEmpty())
        return loadEach(files);
    return compare(250, 9, 50) | compare(10000, 9, 3) | compare(200000, 5, 1);
}
