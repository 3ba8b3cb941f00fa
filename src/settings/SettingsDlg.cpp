// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/SettingsDlg.h"

#include "dialogs/Choosers.h"
#include "dialogs/FolderAccess.h"
#include "dialogs/Messages.h"
#include "files/ColorFile.h"
#include "files/ColorFolder.h"
#include "files/SafeFile.h"
#include "settings/FolderPath.h"
#include "settings/InstallFinder.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QSpacerItem>
#include <QVBoxLayout>

namespace
{

// The copy of the game's file that ships with Tintwell, looked up in the folder
// Tintwell was started from.
const QLatin1String bundledFile("TextColors.orig");

// What a scheme to share is saved as by default, so it never reads as the game's file.
const QLatin1String schemeName("TextColors-scheme.xml");

QString schemeFilter()
{
    return QStringLiteral("Color files (*.xml *.orig *.bak);;All files (*)");
}

} // namespace

SettingsDlg::SettingsDlg(QWidget* parent) : QWidget(parent)
{
    layout = new QVBoxLayout(this);
    layout->setSpacing(3);
    layout->setContentsMargins(5, 5, 5, 5);

    pathLayout = new QHBoxLayout();
    pathLabel = new QLabel(QStringLiteral("AO Install Dir:"), this);
    pathEdit = new QLineEdit(this);
    browseButton = new QPushButton(QStringLiteral("..."), this);
    browseButton->setFixedWidth(30);
    pathLayout->addWidget(pathLabel);
    pathLayout->addWidget(pathEdit);
    pathLayout->addWidget(browseButton);
    layout->addLayout(pathLayout);

    warningLabel = new QLabel(QStringLiteral("<font color=red><b>Selected path is not a valid AO "
                                             "installation!</b></font>"),
                              this);
    layout->addWidget(warningLabel);
    reloadButton = new QPushButton(QStringLiteral("Reload Chat color data"), this);
    layout->addWidget(reloadButton);
    addLine();

    restoreBackupButton = new QPushButton(QStringLiteral("Restore last backup"), this);
    restoreOriginalButton = new QPushButton(QStringLiteral("Restore original data"), this);
    restoreBundledButton =
        new QPushButton(QStringLiteral("Restore original data from bundled file"), this);
    layout->addWidget(restoreBackupButton);
    layout->addWidget(restoreOriginalButton);
    layout->addWidget(restoreBundledButton);
    importButton = new QPushButton(QStringLiteral("&Import colors..."), this);
    exportButton = new QPushButton(QStringLiteral("E&xport colors..."), this);
    layout->addWidget(importButton);
    layout->addWidget(exportButton);
    addLine();

    bgLayout = new QHBoxLayout();
    bgLabel = new QLabel(QStringLiteral("Background color"), this);
    bgLabel->setIndent(5);
    bgButton = new QPushButton(this);
    bgLayout->addWidget(bgLabel);
    bgLayout->addWidget(bgButton);
    layout->addLayout(bgLayout);
    addLine();

    modeCheckBox = new QCheckBox(QStringLiteral("Advanced mode"), this);
    layout->addWidget(modeCheckBox);
    layout->addItem(new QSpacerItem(20, 20, QSizePolicy::Minimum, QSizePolicy::Expanding));

    nameWidgets();

    connect(pathEdit, &QLineEdit::textChanged, this, &SettingsDlg::setAOPath);
    connect(browseButton, &QPushButton::clicked, this, &SettingsDlg::browseAOPath);
    connect(reloadButton, &QPushButton::clicked, this, &SettingsDlg::restoreData);
    connect(restoreBackupButton, &QPushButton::clicked, this, &SettingsDlg::restoreBackup);
    connect(restoreOriginalButton, &QPushButton::clicked, this, &SettingsDlg::restoreOriginalData);
    connect(restoreBundledButton, &QPushButton::clicked, this, &SettingsDlg::restoreBundledData);
    connect(importButton, &QPushButton::clicked, this, &SettingsDlg::importColors);
    connect(exportButton, &QPushButton::clicked, this, &SettingsDlg::exportColors);
    connect(bgButton, &QPushButton::clicked, this, &SettingsDlg::pickBGColor);
    connect(modeCheckBox, &QCheckBox::toggled, this, &SettingsDlg::setMode);
}

// Names for tests and accessibility tools to find the widgets by.
void SettingsDlg::nameWidgets()
{
    pathEdit->setObjectName(QStringLiteral("pathEdit"));
    browseButton->setObjectName(QStringLiteral("browseButton"));
    warningLabel->setObjectName(QStringLiteral("warningLabel"));
    reloadButton->setObjectName(QStringLiteral("reloadButton"));
    restoreBackupButton->setObjectName(QStringLiteral("restoreBackupButton"));
    restoreBundledButton->setObjectName(QStringLiteral("restoreBundledButton"));
    restoreOriginalButton->setObjectName(QStringLiteral("restoreOriginalButton"));
    importButton->setObjectName(QStringLiteral("importButton"));
    exportButton->setObjectName(QStringLiteral("exportButton"));
    bgButton->setObjectName(QStringLiteral("bgButton"));
    modeCheckBox->setObjectName(QStringLiteral("modeCheckBox"));
}

void SettingsDlg::addLine()
{
    auto* line = new QFrame(this);
    line->setFrameStyle(QFrame::HLine | QFrame::Sunken);
    layout->addWidget(line);
}

QString SettingsDlg::aoPath() const
{
    return path;
}

void SettingsDlg::setAOPath(const QString& path)
{
    this->path = path;
    // Setting the same text again would move the cursor to the end while the
    // player types in the middle of the folder.
    if (pathEdit->text() != path)
        pathEdit->setText(path);
    const bool valid = ColorFolder(path).hasColorFile();
    warningLabel->setVisible(!valid);
    reloadButton->setVisible(valid);
}

bool SettingsDlg::askAOPath()
{
    const QString chosen = Choosers::chooseFolder(
        this, tr("Select the folder where Anarchy Online is installed:"), startFolder());
    if (chosen.isEmpty())
        return false;
    setAOPath(FolderPath::fromDialog(chosen));
    return true;
}

// A valid folder opens as it is, for browsing elsewhere. Otherwise the question opens
// on an install found on this computer, so that OK takes it; failing that on the folder
// the player last named, if it exists, or else at home, where hidden folders such as
// ~/.steam are listed.
QString SettingsDlg::startFolder() const
{
    if (!path.isEmpty() && ColorFolder(path).hasColorFile())
        return path;
    const QStringList installs = InstallFinder::forThisUser().installs();
    if (!installs.isEmpty())
        return installs.first();
    if (!path.isEmpty() && QFileInfo(path).isDir())
        return path;
    return QDir::homePath();
}

bool SettingsDlg::checkAOPath()
{
    while (path.isEmpty() || !ColorFolder(path).hasColorFile()) {
        if (!askAOPath())
            return false;
    }
    return true;
}

void SettingsDlg::setMode(bool mode)
{
    modeCheckBox->setChecked(mode);
    emit modeChanged(mode);
}

void SettingsDlg::browseAOPath()
{
    askAOPath();
}

void SettingsDlg::pickBGColor()
{
    emit pickColor(QStringLiteral("background"));
}

void SettingsDlg::setBackgroundColor(AOColor color)
{
    QPixmap swatch(60, 15);
    swatch.fill(color.toQColor());
    bgButton->setIcon(QIcon(swatch));
}

void SettingsDlg::restoreData()
{
    if (Messages::askYesNo(this, tr("Reload saved data? All changes will be lost.")))
        emit reloadData();
}

bool SettingsDlg::saveOriginalData()
{
    const ColorFolder folder(path);
    if (QFileInfo::exists(folder.originalFile()) &&
        !Messages::askYesNo(this, QStringLiteral("File TextColors.xml.orig exists. Overwrite?")))
        return false;
    // Replaced in one step, so a failed copy never costs the player an older good copy.
    QString error;
    if (SafeFile::copy(folder.colorFile(), folder.originalFile(), ColorFile::maxSize, &error))
        return true;
    qDebug("saveOriginalData(): %s", qPrintable(error));
    Messages::warn(this, QStringLiteral("Tintwell could not keep a copy of the game's own colours "
                                        "as TextColors.xml.orig, so \"Restore original data\" "
                                        "has nothing to restore.\n\nReason: %1%2")
                             .arg(error, FolderAccess::advice(folder.path())));
    return false;
}

void SettingsDlg::restoreBackup()
{
    if (Messages::askYesNo(this, tr("Restore last backup? All changes will be lost.")))
        restoreFrom(ColorFolder(path).backupFile());
}

void SettingsDlg::restoreBundledData()
{
    if (Messages::askYesNo(this, tr("Reload original data? All changes will be lost.")))
        restoreFrom(bundledFile);
}

void SettingsDlg::restoreOriginalData()
{
    if (Messages::askYesNo(this, tr("Reload original data? All changes will be lost.")))
        restoreFrom(ColorFolder(path).originalFile());
}

// The source is read whole and checked before anything is replaced, and then put in
// place in one atomic step, so the player's TextColors.xml is never lost to a source
// that is missing, unreadable or no colour file at all. The reload follows even after
// a failure: it rereads the unchanged file, so the view shows what is on disk, as the
// question announced.
void SettingsDlg::restoreFrom(const QString& source)
{
    QString reason;
    if (!ColorFile::restore(ColorFolder(path), QFileInfo(source).absoluteFilePath(), &reason)) {
        qDebug("restore: %s", qPrintable(reason));
        Messages::warn(this, tr("TextColors.xml was left as it was, because it could not be "
                                "restored.\n\n%1.")
                                 .arg(reason));
    }
    emit reloadData();
}

// A scheme is read as carefully as a restore source, but replaces nothing on disk: the
// window takes over the colours of the names both files have, and Save writes them.
void SettingsDlg::importColors()
{
    const QString file =
        Choosers::chooseOpenFile(this, tr("Import colors"), schemeStart(QString()), schemeFilter());
    if (file.isEmpty())
        return;
    schemeFolder = QFileInfo(file).absolutePath();
    QByteArray data;
    AOColors scheme;
    QString reason;
    if (!ColorFile::readSource(QFileInfo(file).absoluteFilePath(), &data, &reason, &scheme)) {
        Messages::warn(this, tr("No color was imported.\n\n%1.").arg(reason));
        return;
    }
    emit applyScheme(scheme, file);
}

// The table as it stands, unsaved picks included, written the way Save writes it. The
// game's own files are Save's alone.
void SettingsDlg::exportColors()
{
    const QString file = Choosers::chooseSaveFile(this, tr("Export colors"),
                                                  schemeStart(schemeName), schemeFilter());
    if (file.isEmpty())
        return;
    schemeFolder = QFileInfo(file).absolutePath();
    const QString shown = QDir::toNativeSeparators(file);
    QString reason;
    if (aoColors.isEmpty())
        reason = tr("TextColors.xml could not be read, so there are no colors to export");
    else if (ColorFolder(path).holds(file))
        reason = tr("%1 is one of the game's own color files. Export writes a copy to share; "
                    "use Save to write the game's colors")
                     .arg(shown);
    if (reason.isEmpty() && QFileInfo::exists(file) &&
        !Messages::askYesNo(this, tr("%1 already exists. Replace it?").arg(shown)))
        return;
    if (reason.isEmpty())
        SafeFile::replace(file, ColorFile::toXml(aoColors), &reason);
    if (!reason.isEmpty())
        Messages::warn(this, tr("The colors were not exported.\n\n%1.").arg(reason));
}

QString SettingsDlg::schemeStart(const QString& name) const
{
    const QString folder = schemeFolder.isEmpty() ? QDir::homePath() : schemeFolder;
    return name.isEmpty() ? folder : QDir(folder).filePath(name);
}
