// SPDX-License-Identifier: GPL-3.0-or-later
// Measures how long a program takes from its start to its first top-level window being
// mapped on the X display, and its peak memory. Runs pairs of a program and a floor
// program alternately and prints each run, the median ratio and the pairs' spread.
//
// usage: MeasureStartup <runs> <workdir> <program> <floor program>
#include <X11/Xlib.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace
{

struct Run {
    double milliseconds = -1;
    long peakKiB = 0;
};

bool waitForMap(Display* display, pid_t child, std::chrono::steady_clock::time_point deadline)
{
    while (std::chrono::steady_clock::now() < deadline) {
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == MapNotify && !event.xmap.override_redirect)
                return true;
        }
        if (waitpid(child, nullptr, WNOHANG) == child)
            return false;
        usleep(200);
    }
    return false;
}

Run measure(Display* display, const std::string& workdir, const std::string& program)
{
    Run run;
    XSync(display, True);
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        if (chdir(workdir.c_str()) != 0)
            _exit(127);
        execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    if (waitForMap(display, child, start + std::chrono::seconds(20)))
        run.milliseconds =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count();
    // Let the window settle so the peak includes its first paint.
    usleep(300 * 1000);
    kill(child, SIGKILL);
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    run.peakKiB = usage.ru_maxrss;
    return run;
}

// The value below which `share` of the values lie, interpolated between neighbours.
double quantile(std::vector<double> values, double share)
{
    std::sort(values.begin(), values.end());
    const double at = share * double(values.size() - 1);
    const size_t below = size_t(at);
    const size_t above = std::min(below + 1, values.size() - 1);
    return values[below] + (values[above] - values[below]) * (at - double(below));
}

double median(const std::vector<double>& values)
{
    return quantile(values, 0.5);
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc != 5) {
        std::fprintf(stderr, "usage: %s <runs> <workdir> <program> <floor program>\n", argv[0]);
        return 2;
    }
    const int runs = std::atoi(argv[1]);
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "no X display\n");
        return 2;
    }
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);

    std::vector<double> ratios, times, floorTimes, peaks, floorPeaks;
    for (int i = 0; i < runs; ++i) {
        const Run tintwell = measure(display, argv[2], argv[3]);
        const Run floor = measure(display, argv[2], argv[4]);
        if (tintwell.milliseconds < 0 || floor.milliseconds < 0) {
            std::fprintf(stderr, "run %d: a window was never mapped\n", i + 1);
            return 1;
        }
        std::printf("run %2d: program %7.1f ms %6ld KiB   floor %7.1f ms %6ld KiB   ratio %.3f\n",
                    i + 1, tintwell.milliseconds, tintwell.peakKiB, floor.milliseconds,
                    floor.peakKiB, tintwell.milliseconds / floor.milliseconds);
        ratios.push_back(tintwell.milliseconds / floor.milliseconds);
        times.push_back(tintwell.milliseconds);
        floorTimes.push_back(floor.milliseconds);
        peaks.push_back(tintwell.peakKiB);
        floorPeaks.push_back(floor.peakKiB);
    }
    std::printf("median: program %.1f ms, floor %.1f ms, ratio %.3f; peak memory: program %.0f "
                "KiB, floor %.0f KiB (%.2fx)\n",
                median(times), median(floorTimes), median(ratios), median(peaks),
                median(floorPeaks), median(peaks) / median(floorPeaks));
    std::printf("spread of the ratios: quartiles %.3f-%.3f, range %.3f-%.3f; program %.1f-%.1f "
                "ms, floor %.1f-%.1f ms\n",
                quantile(ratios, 0.25), quantile(ratios, 0.75), quantile(ratios, 0),
                quantile(ratios, 1), quantile(times, 0), quantile(times, 1),
                quantile(floorTimes, 0), quantile(floorTimes, 1));
    XCloseDisplay(display);
    return 0;
}
