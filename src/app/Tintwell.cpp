// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Tintwell.h"

#include "app/BaseDlg.h"
#include "platform/DialogFont.h"

#include <QApplication>
#include <QStyle>
#include <QStyleFactory>

void Tintwell::setUpScaling()
{
#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
    QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
    QCoreApplication::setAttribute(Qt::AA_UseHighDpiPixmaps);
#endif
    // Rounding 150% up to 200% would make the fixed window taller than many laptop
    // screens at 150%.
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(
        Qt::HighDpiScaleFactorRoundingPolicy::PassThrough);
}

void Tintwell::identify()
{
    const QString desktopId = QStringLiteral("org.tintwell.Tintwell");
    // Wayland takes the app id from the desktop file name; X11 takes the class of
    // WM_CLASS from the application name.
    QGuiApplication::setDesktopFileName(desktopId);
    QCoreApplication::setApplicationName(desktopId);
    QApplication::setWindowIcon(BaseDlg::programIcon());
}

void Tintwell::applyStyle()
{
    QStyle* style = QStyleFactory::create(QStringLiteral("Plastique"));
    if (!style) {
        qDebug("applyStyle(): Plastique style not available, using Fusion");
        style = QStyleFactory::create(QStringLiteral("Fusion"));
    }
    if (style)
        QApplication::setStyle(style);
    DialogFont::apply();
}

int Tintwell::run()
{
    BaseDlg dialog(nullptr);
    dialog.exec();
    dialog.savePrefs();
    return 0;
}
