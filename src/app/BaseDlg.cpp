// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/BaseDlg.h"

#include "advanced/AdvancedModeDlg.h"
#include "app/ColorHistory.h"
#include "app/KeptColorsOffer.h"
#include "app/ProgramIconEngine.h"
#include "app/SchemeMerge.h"
#include "app/UndoKeys.h"
#include "app/WindowPlacement.h"
#include "basic/BasicModeDlg.h"
#include "dialogs/Choosers.h"
#include "dialogs/FolderAccess.h"
#include "dialogs/Messages.h"
#include "files/ColorFile.h"
#include "files/KeptColors.h"
#include "files/Preferences.h"
#include "files/SafeFile.h"
#include "info/AboutDlg.h"
#include "info/LicenseDlg.h"
#include "model/AOColors.h"
#include "settings/SettingsDlg.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPushButton>
#include <QSpacerItem>
#include <QStackedWidget>
#include <QTabWidget>
#include <QVBoxLayout>

BaseDlg::BaseDlg(QWidget* parent) : QDialog(parent)
{
    buildWindow();
    buildPages();
    buildButtons();
    history = new ColorHistory(this);
    new UndoKeys(history, this);
    connect(history, &ColorHistory::saveTipChanged, saveButton, &QPushButton::setToolTip);
    nameWidgets();
    startUp();
}

// Names for tests and accessibility tools to find the widgets by.
void BaseDlg::nameWidgets()
{
    tabWidget->setObjectName(QStringLiteral("tabWidget"));
    modeStack->setObjectName(QStringLiteral("modeStack"));
    basicPage->setObjectName(QStringLiteral("basicPage"));
    advancedPage->setObjectName(QStringLiteral("advancedPage"));
    settingsPage->setObjectName(QStringLiteral("settingsPage"));
    aboutPage->setObjectName(QStringLiteral("aboutPage"));
    licensePage->setObjectName(QStringLiteral("licensePage"));
    saveButton->setObjectName(QStringLiteral("saveButton"));
    closeButton->setObjectName(QStringLiteral("closeButton"));
}

void BaseDlg::buildWindow()
{
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint);
    setWindowTitle(Messages::title());
    setWindowIcon(ProgramIconEngine::icon());
    setFixedSize(360, 430);
    WindowPlacement::capFontSize(this);

    layout = new QVBoxLayout(this);
    layout->setSpacing(4);
    layout->setContentsMargins(6, 6, 6, 6);
}

void BaseDlg::buildPages()
{
    tabWidget = new QTabWidget(this);
    modeStack = new QStackedWidget();
    tabWidget->addTab(modeStack, QStringLiteral("Chat Colors"));

    basicPage = new BasicModeDlg(modeStack);
    connect(basicPage, &BasicModeDlg::pickColor, this,
            qOverload<const QStringList&>(&BaseDlg::pickColor));
    modeStack->addWidget(basicPage);

    advancedPage = new AdvancedModeDlg(modeStack);
    connect(advancedPage, qOverload<const QString&>(&AdvancedModeDlg::pickColor), this,
            qOverload<const QString&>(&BaseDlg::pickColor));
    modeStack->addWidget(advancedPage);

    settingsPage = new SettingsDlg();
    connect(this, &BaseDlg::colorsChanged, advancedPage, &AdvancedModeDlg::updateColors);
    connect(this, &BaseDlg::colorsChanged, basicPage, &BasicModeDlg::updateColors);
    connect(this, &BaseDlg::backgroundChanged, advancedPage, &AdvancedModeDlg::setBackgroundColor);
    connect(this, &BaseDlg::backgroundChanged, basicPage, &BasicModeDlg::setBackgroundColor);
    connect(this, &BaseDlg::backgroundChanged, settingsPage, &SettingsDlg::setBackgroundColor);
    connect(settingsPage, &SettingsDlg::pickColor, this,
            qOverload<const QString&>(&BaseDlg::pickColor));
    connect(settingsPage, &SettingsDlg::reloadData, this, &BaseDlg::loadData);
    connect(settingsPage, &SettingsDlg::modeChanged, this, &BaseDlg::modeChanged);
    connect(settingsPage, &SettingsDlg::applyScheme, this, &BaseDlg::applyScheme);
    connect(settingsPage, &SettingsDlg::restored, this,
            [this] { KeptColors(loadedFolder.installPath()).keepColorFile(); });
    tabWidget->addTab(settingsPage, QStringLiteral("Settings"));

    aboutPage = new AboutDlg();
    tabWidget->addTab(aboutPage, QStringLiteral("About..."));
    licensePage = new LicenseDlg();
    tabWidget->addTab(licensePage, QStringLiteral("License"));

    layout->addWidget(tabWidget);
}

void BaseDlg::buildButtons()
{
    buttonLayout = new QHBoxLayout();
    buttonLayout->setSpacing(4);
    buttonLayout->setContentsMargins(0, 0, 0, 0);

    saveButton = new QPushButton(QStringLiteral("&Save"), this);
    saveButton->setDefault(true);
    connect(saveButton, &QPushButton::clicked, this, &BaseDlg::saveData);
    buttonLayout->addWidget(saveButton);

    buttonLayout->addItem(new QSpacerItem(20, 20, QSizePolicy::Expanding, QSizePolicy::Minimum));

    closeButton = new QPushButton(QStringLiteral("&Close"), this);
    connect(closeButton, &QPushButton::clicked, this, &BaseDlg::accept);
    buttonLayout->addWidget(closeButton);

    layout->addLayout(buttonLayout);
}

void BaseDlg::startUp()
{
    WindowPlacement::placeOnScreen(this);
    const bool hadPrefs = loadPrefs();
    if (!settingsPage->checkAOPath()) {
        startCancelled = true;
        return;
    }
    if (!hadPrefs)
        settingsPage->saveOriginalData();
    loadData();
    SafeFile::removeLeftovers(loadedFolder.colorFile());
}

void BaseDlg::modeChanged(bool mode)
{
    advancedMode = mode;
    modeStack->setCurrentIndex(mode ? 1 : 0);
}

void BaseDlg::updateBackgroundColor()
{
    emit backgroundChanged(bgColor);
}

void BaseDlg::updateColors()
{
    emit colorsChanged();
}

bool BaseDlg::loadPrefs()
{
    Preferences::Values prefs;
    const bool read = Preferences::read(&prefs);
    if (prefs.hasAOPath)
        settingsPage->setAOPath(prefs.aoPath);
    advancedMode = prefs.advancedMode;
    bgColor = prefs.background;
    // The background and the page are set once, from the last line of their key:
    // every background recolours each swatch of both pages, and switching pages lays
    // out the one coming into view.
    updateBackgroundColor();
    if (read)
        settingsPage->setMode(advancedMode);
    return read;
}

void BaseDlg::savePrefs()
{
    Preferences::write(settingsPage->aoPath(), advancedMode, bgColor.value);
}

void BaseDlg::loadData()
{
    // What is on disk now replaces every change: none of them can be taken back.
    history->clear();
    loadError.clear();
    loadedFolder = ColorFolder::resolved(settingsPage->aoPath(), &loadError);
    settingsPage->setLoadedFolder(loadedFolder);
    const QString file = loadedFolder.colorFile();
    qDebug("loadData(): file: %s", qPrintable(file));
    loadedStamp = FileStamp();
    aoColors.clear();
    dataLoaded =
        loadedFolder.isResolved() && ColorFile::load(file, &aoColors, &loadError, &loadedStamp);
    if (!dataLoaded)
        qDebug("loadData(): not read: %s", qPrintable(loadError));
    updateColors();
    // Every install keeps the game's own colours once, whenever it was chosen.
    if (dataLoaded && !QFileInfo::exists(loadedFolder.originalFile()))
        settingsPage->saveOriginalData();
    AOColors kept;
    QString keptFile;
    if (dataLoaded &&
        KeptColorsOffer::ask(this, loadedFolder, loadedStamp, aoColors, &kept, &keptFile))
        applyScheme(kept, keptFile);
    if (!dataLoaded)
        FolderAccess::warnIfInUse(this, file);
    if (FolderAccess::checkAtLoad(this, QFileInfo(file).path(), [this] { savePrefs(); }))
        QMetaObject::invokeMethod(this, &QDialog::reject, Qt::QueuedConnection);
}

void BaseDlg::saveData()
{
    if (!dataLoaded) {
        Messages::warn(this, QStringLiteral("The colors were not saved: TextColors.xml could "
                                            "not be read when it was last loaded, so there is "
                                            "nothing to write. TextColors.xml and "
                                            "TextColors.xml.bak are unchanged.\n\nReason: %1")
                                 .arg(loadError));
        return;
    }
    // The table belongs to the folder it was read from. A folder typed since then
    // (Return in the folder field presses Save) must not receive another install's
    // colours in place of its own.
    if (!loadedFolder.isFolderOf(settingsPage->aoPath())) {
        Messages::warn(this, QStringLiteral("The colors were not saved: they were read from "
                                            "%1, but the install folder is now %2. Reload the "
                                            "chat colors from the new folder first. No file "
                                            "was changed.")
                                 .arg(QDir::toNativeSeparators(loadedFolder.installPath()),
                                      QDir::toNativeSeparators(settingsPage->aoPath())));
        return;
    }
    FileStamp expected = loadedStamp;
    for (;;) {
        FileStamp found;
        QString error;
        const auto outcome = ColorFile::save(loadedFolder, aoColors, expected, &found, &error);
        switch (outcome) {
        case ColorFile::Outcome::Saved:
        case ColorFile::Outcome::Unconfirmed:
            loadedStamp = found;
            KeptColors(loadedFolder.installPath()).keep(aoColors, found);
            if (outcome == ColorFile::Outcome::Unconfirmed)
                Messages::warn(
                    this, QStringLiteral("The colors may not be on disk yet.\n\n%1.").arg(error));
            return;
        case ColorFile::Outcome::Changed:
            // The game or a second Tintwell rewrote the file since it was read; its
            // changes are only overwritten when the player says so, and then kept as the
            // backup. A file changed yet again meanwhile is asked about again.
            qDebug("saveData(): %s changed since it was read: then %s, now %s",
                   qPrintable(loadedFolder.colorFile()), qPrintable(expected.describe()),
                   qPrintable(found.describe()));
            if (!Messages::askYesNo(this, QStringLiteral("TextColors.xml was changed by another "
                                                         "program since Tintwell read it. "
                                                         "Overwrite it?")))
                return;
            expected = found;
            break;
        case ColorFile::Outcome::Locked:
            Messages::warn(this, QStringLiteral("The colors were not saved: another program "
                                                "has TextColors.xml open, probably the game. "
                                                "Please close the game and save again. No file "
                                                "was changed.\n\n%1")
                                     .arg(error));
            return;
        case ColorFile::Outcome::Failed:
            Messages::warn(this, QStringLiteral("The colors could not be saved. TextColors.xml "
                                                "is unchanged.\n\nReason: %1%2")
                                     .arg(error, FolderAccess::advice(
                                                     QFileInfo(loadedFolder.colorFile()).path())));
            return;
        }
    }
}

void BaseDlg::pickColor(const QString& name)
{
    const bool background = name == QLatin1String("background");
    AOColor working = background ? bgColor : aoColors.find(name);
    const QColor chosen = Choosers::chooseColor(working.toQColor(), this);
    if (!chosen.isValid())
        return;
    if (background) {
        const QList<AOColor> before{bgColor};
        bgColor.setColor(chosen);
        updateBackgroundColor();
        history->record(QStringLiteral("background color"), before, {bgColor},
                        [this](const QList<AOColor>& texts) {
                            bgColor.setValue(texts.value(0).value);
                            updateBackgroundColor();
                        });
        return;
    }
    const QList<AOColor> before = aoColors.firstOf({name});
    working.setColor(chosen);
    // A name the table lacks gives the nameless default entry, whose update would
    // colour whichever entry of the file has no name.
    if (working.name == name)
        aoColors.update(working);
    updateColors();
    if (!pickingGroup)
        recordStep(ColorHistory::stepName(name), before, aoColors.firstOf({name}));
}

void BaseDlg::pickColor(const QStringList& groups)
{
    if (groups.isEmpty())
        return;
    qDebug("BaseDlg::pickColor( const QStringList& groups ): list has %d members",
           int(groups.size()));
    const QList<AOColor> before = aoColors.firstOf(groups);
    pickingGroup = true;
    pickColor(groups.first());
    pickingGroup = false;
    // Whatever the chooser's outcome, so a cancel still makes the group's names agree.
    const QList<AOColor> given = aoColors.shareFirstColor(groups);
    for (int i = 0; i < given.size(); ++i)
        qDebug("BaseDlg::pickColor( const QStringList& groups ): Color %d is '%s' (%s)", i,
               qPrintable(given.at(i).name), qPrintable(given.at(i).value));
    updateColors();
    // A cancelled chooser still made the names agree; Ctrl+Z must bring back what that
    // replaced, or Save would write it away unasked. No change makes no step.
    recordStep(ColorHistory::stepName(groups.first()), before, aoColors.firstOf(groups));
}

void BaseDlg::recordStep(const QString& text, const QList<AOColor>& before,
                         const QList<AOColor>& after)
{
    history->record(text, before, after, [this](const QList<AOColor>& texts) {
        aoColors.setValues(texts);
        updateColors();
    });
}

// Nothing is written until Save.
void BaseDlg::applyScheme(const AOColors& scheme, const QString& file)
{
    const SchemeMerge merge(aoColors, scheme, file);
    if (merge.sharesNames()) {
        const QList<AOColor> before = aoColors.firstOf(merge.changedNames());
        aoColors.setValues(merge.changes());
        updateColors();
        recordStep(merge.stepName(), before, merge.changes());
    }
    Messages::inform(this, merge.report());
}
