// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/SettingsDlg.h"

#include "dialogs/Choosers.h"
#include "dialogs/FolderAccess.h"
#include "dialogs/Messages.h"
#include "files/ColorFile.h"
#include "files/ColorFileReader.h"
#include "files/ColorFileWriter.h"
#include "files/ColorFolder.h"
#include "files/ExportTarget.h"
#include "files/Preferences.h"
#include "files/SafeFile.h"
#include "settings/FolderPath.h"
#include "settings/InstallFinder.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QResource>
#include <QSpacerItem>
#include <QVBoxLayout>

// Outside any namespace, as Qt's macro requires; the schemes live in the static library,
// whose resources are linked in only when something refers to them.
static void initSchemeResources()
{
    Q_INIT_RESOURCE(schemes);
}

namespace
{

const QLatin1String schemeResources(":/schemes/");

// The copy of the game's file that ships with Tintwell, looked up in the folder
// Tintwell was started from.
const QLatin1String bundledFile("TextColors.orig");

QString bundledPath()
{
    return QDir::current().absoluteFilePath(bundledFile);
}

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
    initSchemeResources();
    schemeBox = new QComboBox(this);
    schemeBox->addItem(tr("Start from a color scheme..."));
    for (const QString& file : QDir(schemeResources).entryList(QDir::Files, QDir::Name))
        schemeBox->addItem(QFileInfo(file).completeBaseName(), QString(schemeResources + file));
    layout->addWidget(schemeBox);
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
    connect(reloadButton, &QPushButton::clicked, this, &SettingsDlg::reloadColors);
    connect(restoreBackupButton, &QPushButton::clicked, this, &SettingsDlg::restoreBackup);
    connect(restoreOriginalButton, &QPushButton::clicked, this, &SettingsDlg::restoreOriginalData);
    connect(restoreBundledButton, &QPushButton::clicked, this, &SettingsDlg::restoreBundledData);
    connect(importButton, &QPushButton::clicked, this, &SettingsDlg::importColors);
    connect(exportButton, &QPushButton::clicked, this, &SettingsDlg::exportColors);
    connect(schemeBox, qOverload<int>(&QComboBox::activated), this,
            &SettingsDlg::applyBundledScheme);
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
    schemeBox->setObjectName(QStringLiteral("schemeBox"));
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

// A folder the preferences cannot keep would be lost at the next start, and the
// question would come back; the player is told why and asked again.
bool SettingsDlg::askAOPath()
{
    for (;;) {
        const QString chosen = Choosers::chooseFolder(
            this, tr("Select the folder where Anarchy Online is installed:"), startFolder());
        if (chosen.isEmpty())
            return false;
        const QString folder = FolderPath::fromDialog(chosen);
        const QString problem = Preferences::cannotKeep(folder);
        if (problem.isEmpty()) {
            setAOPath(folder);
            return true;
        }
        Messages::warn(this, tr("Tintwell cannot use this folder:\n%1\n\n%2 Please rename the "
                                "folder or choose another one.")
                                 .arg(QDir::toNativeSeparators(chosen), problem));
    }
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

// A refused folder is named with what it lacks, so the question coming back is not
// taken for the same question still open.
bool SettingsDlg::checkAOPath()
{
    while (path.isEmpty() || !ColorFolder(path).hasColorFile()) {
        if (!askAOPath())
            return false;
        if (!ColorFolder(path).hasColorFile())
            Messages::warn(this, tr("%1 is not an Anarchy Online install folder: it has no "
                                    "cd_image%2gui%2default%2TextColors.xml below it.")
                                     .arg(QDir::toNativeSeparators(path), QDir::separator()));
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

void SettingsDlg::reloadColors()
{
    if (Messages::askYesNo(this, tr("Reload saved data? All changes will be lost.")))
        emit reloadData();
}

void SettingsDlg::setLoadedFolder(const ColorFolder& folder)
{
    loadedFolder = folder;
}

bool SettingsDlg::saveOriginalData()
{
    QString error;
    const ColorFolder folder = ColorFolder::resolved(path, &error);
    if (!folder.isResolved()) {
        qDebug("saveOriginalData(): %s", qPrintable(error));
        return false;
    }
    if (QFileInfo::exists(folder.originalFile()) &&
        !Messages::askYesNo(this, QStringLiteral("File TextColors.xml.orig exists. Overwrite?")))
        return false;
    // Replaced in one step, so a failed copy never costs the player an older good copy.
    if (SafeFile::copy(folder.colorFile(), folder.originalFile(), ColorFileWriter::maxSize, &error))
        return true;
    qDebug("saveOriginalData(): %s", qPrintable(error));
    Messages::warn(this, QStringLiteral("Tintwell could not keep a copy of the game's own colors "
                                        "as TextColors.xml.orig, so \"Restore original data\" "
                                        "has nothing to restore.\n\nReason: %1%2")
                             .arg(error, FolderAccess::advice(folder.path())));
    return false;
}

void SettingsDlg::restoreBackup()
{
    if (Messages::askYesNo(this, tr("Restore last backup? All changes will be lost.")))
        restoreFrom(loadedFolder.backupFile());
}

void SettingsDlg::restoreBundledData()
{
    if (Messages::askYesNo(this, tr("Reload original data? All changes will be lost.")))
        restoreFrom(bundledPath());
}

void SettingsDlg::restoreOriginalData()
{
    if (Messages::askYesNo(this, tr("Reload original data? All changes will be lost.")))
        restoreFrom(loadedFolder.originalFile());
}

// The source is read whole and checked before anything is replaced, and then put in
// place in one atomic step, so the player's TextColors.xml is never lost to a source
// that is missing, unreadable or no colour file at all. The reload follows even after
// a failure: it rereads the unchanged file, so the view shows what is on disk, as the
// question announced. The folder is the one the colours were loaded from, as the
// system found it then; a folder typed since counts after Reload.
void SettingsDlg::restoreFrom(const QString& source)
{
    QString reason;
    bool inPlace = false;
    if (!loadedFolder.isResolved())
        reason = tr("No game folder was loaded to restore into; choose the install folder and "
                    "reload the chat colors first");
    else
        ColorFile::restore(loadedFolder, source, &reason, &inPlace);
    if (!reason.isEmpty())
        qDebug("restore: %s", qPrintable(reason));
    if (inPlace)
        emit restored();
    if (inPlace && !reason.isEmpty())
        Messages::warn(this, tr("TextColors.xml was restored, but it may not be on disk yet."
                                "\n\n%1.")
                                 .arg(reason));
    else if (!reason.isEmpty())
        Messages::warn(this, tr("TextColors.xml was left as it was, because it could not be "
                                "restored.\n\n%1.")
                                 .arg(reason));
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
    // The table it makes must still be a file Tintwell can read once saved.
    AOColors after = aoColors;
    int shared = 0;
    int unknown = 0;
    if (ColorFile::readSource(file, &data, &reason, &scheme))
        after.setValues(aoColors.schemeChanges(scheme, &shared, &unknown));
    if (!reason.isEmpty() || !ColorFile::fitsReader(after, &reason)) {
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
    QString reason;
    QString target;
    QByteArray xml;
    // Both the folder the colours came from and the one in the field are the game's.
    if (aoColors.isEmpty())
        reason = tr("TextColors.xml could not be read, so there are no colors to export");
    else
        target =
            ExportTarget::check(file, {loadedFolder, ColorFolder(path)}, bundledPath(), &reason);
    if (!target.isEmpty()) {
        xml = ColorFileWriter::toXml(aoColors);
        if (!ColorFile::fitsReader(xml, &reason))
            target.clear();
    }
    if (!target.isEmpty() && QFileInfo::exists(target) &&
        !Messages::askYesNo(
            this, tr("%1 already exists. Replace it?").arg(QDir::toNativeSeparators(file))))
        return;
    bool inPlace = false;
    if (!target.isEmpty() &&
        SafeFile::replace(target, xml, &reason, SafeFile::Links::Replace, &inPlace))
        Messages::inform(this, tr("Exported %1 %2 to\n%3")
                                   .arg(aoColors.size())
                                   .arg(aoColors.size() == 1 ? tr("color") : tr("colors"),
                                        QDir::toNativeSeparators(file)));
    else if (inPlace)
        Messages::warn(this, tr("The colors were exported to\n%1\nbut may not be on disk yet."
                                "\n\n%2.")
                                 .arg(QDir::toNativeSeparators(file), reason));
    else if (!reason.isEmpty())
        Messages::warn(this, tr("The colors were not exported.\n\n%1.").arg(reason));
}

// A bundled scheme is taken over as an import takes a file: one step, nothing written
// until Save. The box then names its purpose again, so the same scheme can be chosen
// again after an undo.
void SettingsDlg::applyBundledScheme(int index)
{
    const QString resource = schemeBox->itemData(index).toString();
    schemeBox->setCurrentIndex(0);
    if (resource.isEmpty())
        return;
    // Built into the program, so no file is read and its size is known.
    const QResource bundled(resource);
    AOColors scheme;
    QString reason;
    if (!bundled.isValid() ||
        !ColorFileReader::read(bundled.uncompressedData(), &scheme, &reason) || scheme.isEmpty()) {
        Messages::warn(this, tr("No color was changed: the scheme %1 could not be read. %2")
                                 .arg(schemeBox->itemText(index), reason));
        return;
    }
    emit applyScheme(scheme, tr("the scheme \"%1\"").arg(schemeBox->itemText(index)));
}

QString SettingsDlg::schemeStart(const QString& name) const
{
    const QString folder = schemeFolder.isEmpty() ? QDir::homePath() : schemeFolder;
    return name.isEmpty() ? folder : QDir(folder).filePath(name);
}
