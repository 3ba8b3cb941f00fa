// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Tintwell.h"

#include "app/BaseDlg.h"
#include "app/DialogFont.h"
#include "app/ProgramIconEngine.h"
#include "dialogs/Messages.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
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
    // Settings Qt keeps for Tintwell go under Tintwell's own key (HKCU\Software\Tintwell on
    // Windows), which the uninstaller removes. Qt's file dialogs name their own
    // organisation; QtDialogState moves their state there.
    QCoreApplication::setOrganizationName(QStringLiteral("Tintwell"));
    QApplication::setWindowIcon(ProgramIconEngine::icon());
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

// Started from inside the ZIP, Explorer extracts the program alone into a temporary
// folder: the pages would then stay blank without a word, and the settings would be
// written where they are lost. Each companion is named with what it is for.
void Tintwell::warnOfMissingCompanions()
{
    const struct {
        const char* name;
        const char* use;
    } companions[] = {
        {"LICENSE.GPL", "the license on the License tab"},
        {"Tintwell.png", "the picture on the About tab"},
        {"TextColors.orig", "for \"Restore original data from bundled file\""},
    };
    QString missing;
    for (const auto& companion : companions) {
        if (!QFileInfo(QLatin1String(companion.name)).isFile())
            missing += QStringLiteral("%1 (%2)\n")
                           .arg(QLatin1String(companion.name), QLatin1String(companion.use));
    }
    if (missing.isEmpty())
        return;
    Messages::warn(
        nullptr,
        QStringLiteral("Tintwell cannot find these files of its own in the folder it was "
                       "started from,\n%1:\n\n%2\nIf you started it from inside its ZIP file, "
                       "extract all files into a folder first and start it there: Tintwell "
                       "keeps its settings (Tintwell.cfg) in that folder too. Colors can "
                       "still be changed and saved as usual.")
            .arg(QDir::toNativeSeparators(QDir::currentPath()), missing));
}

int Tintwell::run()
{
    warnOfMissingCompanions();
    BaseDlg dialog(nullptr);
    if (!dialog.started())
        return -1;
    dialog.exec();
    dialog.savePrefs();
    return 0;
}
