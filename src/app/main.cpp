// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Tintwell.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    Tintwell::applyStyle();
    return Tintwell::run();
}
