// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/BaseDlg.h"

#include "advanced/AdvancedModeDlg.h"
#include "app/ColorHistory.h"
#include "app/ProgramIconEngine.h"
#include "app/SchemeMerge.h"
#include "basic/BasicModeDlg.h"
#include "dialogs/Choosers.h"
#include "dialogs/FolderAccess.h"
#include "dialogs/Messages.h"
#include "files/ColorFile.h"
#include "files/ColorFolder.h"
#include "files/KeptColors.h"
#include "files/Preferences.h"
#include "files/SafeFile.h"
#include "info/AboutDlg.h"
#include "info/LicenseDlg.h"
#include "model/AOColors.h"
#include "platform/NativeFile.h"
#include "settings/SettingsDlg.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QIcon>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QScreen>
#include <QSpacerItem>
#include <QStackedWidget>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

BaseDlg::BaseDlg(QWidget* parent) : QDialog(parent)
{
    buildWindow();
    buildPages();
    buildButtons();
    buildUndo();
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
    undoAction->setObjectName(QStringLiteral("undoAction"));
    redoAction->setObjectName(QStringLiteral("redoAction"));
}

void BaseDlg::buildWindow()
{
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint);
    setWindowTitle(Messages::title());
    setWindowIcon(ProgramIconEngine::icon());
    setFixedSize(360, 430);
    capFontSize();

    layout = new QVBoxLayout(this);
    layout->setSpacing(4);
    layout->setContentsMargins(6, 6, 6, 6);
}

// The fixed window holds its texts at the small dialog font Windows uses and most
// desktops offer (9 points); a larger desktop font would cut them off. Larger text
// comes from the screen's scale, which enlarges the window with it.
void BaseDlg::capFontSize()
{
    const qreal largest = 9;
    QFont text = font();
    if (text.pointSizeF() <= largest)
        return;
    text.setPointSizeF(largest);
    setFont(text);
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

// The window's own shortcuts, so they work on every page. Redo answers to both keys
// players know from other programs.
void BaseDlg::buildUndo()
{
    history = new ColorHistory(this);
    undoAction = history->createUndoAction(this);
    undoAction->setShortcut(QKeySequence(QStringLiteral("Ctrl+Z")));
    redoAction = history->createRedoAction(this);
    redoAction->setShortcuts(
        {QKeySequence(QStringLiteral("Ctrl+Shift+Z")), QKeySequence(QStringLiteral("Ctrl+Y"))});
    // Inside a text field the keys edit its text, as everywhere on the desktop; the field
    // takes the keys of its own platform itself, the others come here.
    connect(undoAction, &QAction::triggered, this, [this] { takeStep(false); });
    connect(redoAction, &QAction::triggered, this, [this] { takeStep(true); });
    addAction(undoAction);
    addAction(redoAction);
    connect(history, &ColorHistory::saveTipChanged, saveButton, &QPushButton::setToolTip);
}

void BaseDlg::takeStep(bool redo)
{
    if (auto* field = qobject_cast<QLineEdit*>(QApplication::focusWidget()))
        redo ? field->redo() : field->undo();
    else
        redo ? history->redo() : history->undo();
}

bool BaseDlg::started() const
{
    return !startCancelled;
}

void BaseDlg::startUp()
{
    placeWindow();
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

// Start-up may ask for the game folder and about the first-run copy before the window
// shows. A question is centred on its parent's window, so the window takes its place
// first, in the middle of the screen the player is working on; once shown it stays
// there, and every question stands over it. A window larger than the screen's free
// area (a small desktop at 200%) starts at its top left, so its title bar stays on the
// screen to move it by: the position moved to is that of the frame.
void BaseDlg::placeWindow()
{
    QScreen* screen = QGuiApplication::screenAt(QCursor::pos());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect available = screen->availableGeometry();
    QRect place(QPoint(), size());
    place.moveCenter(available.center());
    move(std::max(place.left(), available.left()), std::max(place.top(), available.top()));
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
    if (dataLoaded)
        offerKeptColors();
    // On Windows the running game may hold its file so that nothing else reads it.
    if (!dataLoaded && NativeFile::inUse(file, NativeFile::Use::Reading))
        Messages::warn(this, QStringLiteral("Tintwell cannot read the chat colors from\n%1\n\n"
                                            "Another program has the file open, probably the "
                                            "game. Please close the game, then choose \"Reload "
                                            "Chat color data\" on the Settings tab.")
                                 .arg(QDir::toNativeSeparators(file)));
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
    const ColorFolder& folder = loadedFolder;
    FileStamp expected = loadedStamp;
    for (;;) {
        FileStamp found;
        QString error;
        switch (ColorFile::save(folder, aoColors, expected, &found, &error)) {
        case ColorFile::Outcome::Saved:
            loadedStamp = found;
            KeptColors(loadedFolder.installPath()).keep(aoColors, found);
            return;
        case ColorFile::Outcome::Unconfirmed:
            loadedStamp = found;
            KeptColors(loadedFolder.installPath()).keep(aoColors, found);
            Messages::warn(this,
                           QStringLiteral("The colors may not be on disk yet.\n\n%1.").arg(error));
            return;
        case ColorFile::Outcome::Changed:
            // Whatever the other program wrote becomes the backup when the player goes
            // ahead; a file changed yet again meanwhile is asked about again.
            if (!mayOverwrite(folder.colorFile(), expected, found))
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
            Messages::warn(
                this, QStringLiteral("The colors could not be saved. TextColors.xml "
                                     "is unchanged.\n\nReason: %1%2")
                          .arg(error, FolderAccess::advice(QFileInfo(folder.colorFile()).path())));
            return;
        }
    }
}

// The game put its own file back (a patch, a repair, a reinstall), or the player edited
// it by hand: the colours they last saved are offered again, as an import would take
// them, once for each content of the file.
void BaseDlg::offerKeptColors()
{
    KeptColors kept(loadedFolder.installPath());
    AOColors scheme;
    const int differing = kept.differences(loadedStamp, aoColors, &scheme);
    if (differing == 0)
        return;
    const QString question =
        tr("The color file\n%1\nis not the one Tintwell saved there on %2: %3 %4 from the "
           "colors you saved. A game update or repair may have replaced it.\n\n"
           "Apply your saved colors again? Nothing is written until you press Save.")
            .arg(QDir::toNativeSeparators(loadedFolder.colorFile()),
                 QLocale().toString(kept.savedAt().toLocalTime(), QLocale::ShortFormat))
            .arg(differing)
            .arg(differing == 1 ? tr("color differs") : tr("colors differ"));
    if (Messages::ask(this, question))
        applyScheme(scheme, kept.file());
    else
        kept.decline(loadedStamp);
}

// The game or a second Tintwell may have rewritten the file since it was read; its
// changes are only overwritten when the player says so. Even then they are not lost:
// the save keeps them as the backup.
bool BaseDlg::mayOverwrite(const QString& file, const FileStamp& expected, const FileStamp& found)
{
    qDebug("saveData(): %s changed since it was read: then %s, now %s", qPrintable(file),
           qPrintable(expected.describe()), qPrintable(found.describe()));
    return Messages::askYesNo(this, QStringLiteral("TextColors.xml was changed by another program "
                                                   "since Tintwell read it. Overwrite it?"));
}

void BaseDlg::pickColor(const QString& name)
{
    const bool background = name == QLatin1String("background");
    AOColor working;
    working = background ? bgColor : aoColors.find(name);
    const QColor chosen = Choosers::chooseColor(working.toQColor(), this);
    if (!chosen.isValid())
        return;
    if (background) {
        const QList<AOColor> before{bgColor};
        bgColor.setColor(chosen);
        updateBackgroundColor();
        recordStep(QStringLiteral("background color"), before, {bgColor}, true);
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
        recordStep(ColorHistory::stepName(name), before, aoColors.firstOf({name}), false);
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
    copyColorToGroup(groups);
    updateColors();
    // A cancelled chooser still made the names agree; Ctrl+Z must bring back what that
    // replaced, or Save would write it away unasked. No change makes no step.
    recordStep(ColorHistory::stepName(groups.first()), before, aoColors.firstOf(groups), false);
}

// Runs after the chooser whatever its outcome, so a cancel still makes the group's
// names agree. A first name the table does not hold has no colour to give: copying
// its empty text would wipe the colours of the other names.
void BaseDlg::copyColorToGroup(const QStringList& groups)
{
    const AOColor first = aoColors.find(groups.first());
    qDebug("BaseDlg::pickColor( const QStringList& groups ): Color 0 is '%s' (%s)",
           qPrintable(first.name), qPrintable(first.value));
    const bool hasColor = first.name == groups.first();
    for (int i = 1; i < groups.size(); ++i) {
        AOColor working = aoColors.find(groups.at(i));
        if (hasColor) {
            working.setValue(first.value);
            // A name the table lacks must not colour the file's nameless entry.
            if (working.name == groups.at(i))
                aoColors.update(working);
        }
        qDebug("BaseDlg::pickColor( const QStringList& groups ): Color %d is '%s' (%s)", i,
               qPrintable(working.name), qPrintable(working.value));
    }
}

void BaseDlg::recordStep(const QString& text, const QList<AOColor>& before,
                         const QList<AOColor>& after, bool background)
{
    history->record(text, before, after, [this, background](const QList<AOColor>& texts) {
        if (background) {
            bgColor.setValue(texts.value(0).value);
            updateBackgroundColor();
        } else {
            aoColors.setValues(texts);
            updateColors();
        }
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
        recordStep(merge.stepName(), before, merge.changes(), false);
    }
    Messages::inform(this, merge.report());
}
