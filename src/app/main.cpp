// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Tintwell.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    Tintwell::setUpScaling();
    QApplication app(argc, argv);
    Tintwell::applyStyle();
    Tintwell::identify();
    return Tintwell::run();
}
