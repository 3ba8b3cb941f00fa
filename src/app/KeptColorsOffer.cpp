// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/KeptColorsOffer.h"

#include "dialogs/Messages.h"
#include "files/ColorFolder.h"
#include "files/KeptColors.h"
#include "model/AOColors.h"

#include <QDir>
#include <QLocale>

bool KeptColorsOffer::ask(QWidget* parent, const ColorFolder& folder, const FileStamp& loaded,
                          const AOColors& table, AOColors* scheme, QString* file)
{
    KeptColors kept(folder.installPath());
    const int differing = kept.differences(loaded, table, scheme);
    if (differing == 0)
        return false;
    const QString question =
        tr("The color file\n%1\nis not the one Tintwell saved there on %2: %3 %4 from the "
           "colors you saved. A game update or repair may have replaced it.\n\n"
           "Apply your saved colors again? Nothing is written until you press Save.")
            .arg(QDir::toNativeSeparators(folder.colorFile()),
                 QLocale().toString(kept.savedAt().toLocalTime(), QLocale::ShortFormat))
            .arg(differing)
            .arg(differing == 1 ? tr("color differs") : tr("colors differ"));
    if (!Messages::ask(parent, question)) {
        kept.decline(loaded);
        return false;
    }
    *file = kept.file();
    return true;
}
