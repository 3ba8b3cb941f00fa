// SPDX-License-Identifier: GPL-3.0-or-later
// One Tintwell saving the colour file again and again while another does the same:
// for the given number of seconds it reloads the file, gives its first colour a value
// that names this instance and the save, and saves. The question about a file changed
// by the other instance is answered Yes through the message seam. Prints what it did;
// exits 1 when any save warned.
//
// usage: save_race INSTANCE(1-15) SECONDS   (in a working folder with Tintwell.cfg)
#include "app/BaseDlg.h"
#include "dialogs/Messages.h"
#include "model/AOColors.h"

#include <QApplication>
#include <QElapsedTimer>

#include <cstdio>

namespace
{

class RaceDlg : public BaseDlg
{
public:
    using BaseDlg::loadData;
    using BaseDlg::saveData;
};

const QString changedQuestion = QStringLiteral(
    "TextColors.xml was changed by another program since Tintwell read it. Overwrite it?");

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    const int instance = args.value(1).toInt();
    const int seconds = args.value(2).toInt();
    if (instance < 1 || instance > 15 || seconds < 1) {
        std::fprintf(stderr, "usage: save_race INSTANCE(1-15) SECONDS\n");
        return 2;
    }
    // A file the other instance wrote after this one kept its colors is offered those
    // colors at a load; declined, the race goes on. The other instance may have saved
    // before this one has started, so its start-up is answered too.
    const auto decline = [](const QString&) { return Messages::Answer::No; };
    Messages::setResponder(decline);
    RaceDlg dialog;
    int saves = 0;
    int questions = 0;
    int warnings = 0;
    QElapsedTimer timer;
    timer.start();
    for (int count = 1; timer.elapsed() < seconds * 1000; ++count) {
        Messages::setResponder(decline);
        dialog.loadData();
        if (aoColors.isEmpty()) {
            std::fprintf(stderr, "instance %d: the colour file read empty\n", instance);
            return 1;
        }
        AOColor first = aoColors.first();
        first.setColor(QColor(instance << 4 | (count >> 16 & 15), count >> 8 & 255, count & 255));
        aoColors.update(first);
        Messages::answerNext(Messages::Answer::Yes);
        Messages::answerNext(Messages::Answer::Ok);
        dialog.saveData();
        bool warned = false;
        for (const QString& text : Messages::takeShown()) {
            if (text == changedQuestion) {
                ++questions;
            } else if (text.contains(QLatin1String("Apply your saved colors again?"))) {
                continue;
            } else {
                warned = true;
                std::fprintf(stderr, "instance %d, save %d: %s\n", instance, count,
                             qPrintable(text));
            }
        }
        Messages::clearAnswers();
        warned ? ++warnings : ++saves;
    }
    dialog.savePrefs();
    std::printf("instance %d: %d saves, %d questions about the other's changes, %d warnings\n",
                instance, saves, questions, warnings);
    return warnings == 0 ? 0 : 1;
}
