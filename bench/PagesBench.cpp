// SPDX-License-Identifier: GPL-3.0-or-later
// Times the pages' refreshes on colour tables of growing size: the advanced page's
// whole rebuild, the basic page's 28 swatches, and one colour pick with the refresh
// that follows it. Run by hand: PagesBench [runs-at-10000]
#include "advanced/AdvancedModeDlg.h"
#include "basic/BasicModeDlg.h"
#include "files/ColorFile.h"
#include "model/AOColors.h"

#include <QApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace
{

QList<AOColor> readDemoTable()
{
    AOColors table;
    QString error;
    if (!ColorFile::load(QStringLiteral(TINTWELL_DEMO_COLORS), &table, &error))
        qFatal("cannot read %s", qPrintable(error));
    return table;
}

// The demo file first, so the basic page finds its names near the top as in the
// game's file, then generated groups. `palette` is how many distinct colours the
// generated part uses; now and then a colour name or an unreadable text.
void fillTable(const QList<AOColor>& demo, int size, int palette)
{
    aoColors.clear();
    aoColors.reserve(size);
    for (const AOColor& color : demo)
        aoColors.append(color);
    for (int i = aoColors.size(); i < size; ++i) {
        AOColor color;
        color.name = QString::asprintf("ctch_generated_%06d", i);
        if (i % 50 == 0)
            color.value = QStringLiteral("white");
        else if (i % 97 == 0)
            color.value = QStringLiteral("no colour");
        else
            color.value = QString::asprintf("0x%06X", (i % palette) * 0x2F1B7 & 0xFFFFFF);
        aoColors.append(color);
    }
}

double medianMs(int runs, const std::function<void()>& work)
{
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        work();
        times.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

struct Pages {
    Pages()
    {
        AOColor background;
        background.setValue(QStringLiteral("black"));
        basic.setBackgroundColor(background);
        advanced.setBackgroundColor(background);
        // Advanced mode: its page is on screen, the basic page hidden but kept current.
        advanced.resize(350, 380);
        advanced.show();
        QApplication::processEvents();
    }

    // What the user waits for: the rebuild and the repaint of the page on screen.
    void refresh()
    {
        advanced.updateColors();
        basic.updateColors();
        advanced.repaint();
    }

    // A colour chosen for one name, as the main dialog applies it.
    void pick(const QString& name, int run)
    {
        AOColor entry = aoColors.find(name);
        entry.setColor(QColor::fromRgb(run * 40 % 256, 90, 200));
        aoColors.update(entry);
        refresh();
    }

    AdvancedModeDlg advanced;
    BasicModeDlg basic;
};

void measure(Pages& pages, const QList<AOColor>& demo, int size, int palette, int runs)
{
    fillTable(demo, size, palette);
    pages.refresh();
    int run = 0;
    const double advanced = medianMs(runs, [&] { pages.advanced.updateColors(); });
    const double painted = medianMs(runs, [&] {
        pages.advanced.updateColors();
        pages.advanced.repaint();
    });
    const double basic = medianMs(runs, [&] { pages.basic.updateColors(); });
    const double pickNear = medianMs(runs, [&] { pages.pick(QStringLiteral("ctch_clan"), ++run); });
    const QString last = aoColors.last().name;
    const double pickLast = medianMs(runs, [&] { pages.pick(last, ++run); });
    std::printf("%8d %8d %5d | %10.2f %10.2f %10.3f | %10.2f %10.2f\n", size, palette, runs,
                advanced, painted, basic, pickNear, pickLast);
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 15;
    const QList<AOColor> demo = readDemoTable();
    Pages pages;

    std::printf("median milliseconds; refresh = advanced updateColors + basic updateColors\n");
    std::printf("%8s %8s %5s | %10s %10s %10s | %10s %10s\n", "entries", "colours", "runs",
                "advanced", "adv+paint", "basic", "pick+refr", "pick last");
    measure(pages, demo, 250, 1024, runs * 2);
    measure(pages, demo, 10000, 1024, runs);
    measure(pages, demo, 10000, 10000, runs);
    measure(pages, demo, 200000, 1024, std::max(3, runs / 3));
    measure(pages, demo, 200000, 200000, std::max(3, runs / 3));
    return 0;
}
