// SPDX-License-Identifier: GPL-3.0-or-later
// Runs one of Tintwell's file operations the way a player would, in the current
// working folder, answering every question with Yes and every warning with OK, and
// printing what each box said. The fault-injection test runs it again and again under
// the failing shim.
//
// usage: fault_scenario save|resave|restoreBackup|restoreOriginal|restoreBundled|firstStart|prefs
//        [game folder, for firstStart]
#include "app/BaseDlg.h"
#include "dialogs/Choosers.h"
#include "dialogs/Messages.h"
#include "model/AOColors.h"
#include "settings/SettingsDlg.h"

#include <QApplication>
#include <QMetaObject>

#include <cstdio>

namespace
{

// Opens the dialog's protected operations to the scenario.
class ScenarioDlg : public BaseDlg
{
public:
    using BaseDlg::bgColor;
    using BaseDlg::saveData;
    using BaseDlg::settingsPage;
};

// Restores are confirmed; whether an existing one-time copy may be overwritten is
// the scenario's choice (SCENARIO_ANSWER=yes), since a start that cannot read its
// preferences takes itself for the first one and asks.
Messages::Answer answer(const QString& text)
{
    std::printf("%s\n", qPrintable(text));
    const bool overwrite = text.contains(QLatin1String("Overwrite?"));
    return !overwrite || qgetenv("SCENARIO_ANSWER") == "yes" ? Messages::Answer::Yes
                                                             : Messages::Answer::No;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: fault_scenario OPERATION [GAME FOLDER]\n");
        return 2;
    }
    const QString operation = args.at(1);
    const QString gameFolder = args.value(2);

    Messages::setResponder(answer);
    // The folder question at a start without preferences gets the game folder. The
    // folder always holds the colour file, so a second question would be a fault: it
    // is cancelled and the scenario ends with -1 instead of waiting for a player.
    Choosers::setNextFolder(gameFolder);
    Choosers::setNextFolder(QString());

    ScenarioDlg dialog;
    if (operation == QLatin1String("save")) {
        // A real change, so the new file differs from the old one.
        if (!aoColors.isEmpty()) {
            AOColor first = aoColors.first();
            first.setColor(QColor(0x12, 0x34, 0x56));
            aoColors.update(first);
        }
        dialog.saveData();
    } else if (operation == QLatin1String("resave")) {
        dialog.saveData();
    } else if (operation == QLatin1String("prefs")) {
        dialog.bgColor.setColor(QColor(0x65, 0x43, 0x21));
    } else if (operation != QLatin1String("firstStart")) {
        const QByteArray slot =
            operation == QLatin1String("restoreOriginal")  ? "restoreOriginalData"
            : operation == QLatin1String("restoreBundled") ? "restoreBundledData"
                                                           : operation.toLatin1();
        if (!QMetaObject::invokeMethod(dialog.settingsPage, slot.constData())) {
            std::fprintf(stderr, "no such operation: %s\n", slot.constData());
            return 2;
        }
    }
    dialog.savePrefs();
    return 0;
}
