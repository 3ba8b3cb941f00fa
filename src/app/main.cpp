// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CommandLine.h"
#include "app/Tintwell.h"
#include "platform/RunningMark.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    const int answered = CommandLine::answerOnConsole(argc, argv);
    if (answered >= 0)
        return answered;
    Tintwell::setUpScaling();
    QApplication app(argc, argv);
    Tintwell::applyStyle();
    Tintwell::identify();
    RunningMark::hold();
    return Tintwell::run();
}
