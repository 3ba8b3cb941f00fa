// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/SettingsDlg.h"

#include "app/Messages.h"
#include "model/ColorFolder.h"
#include "settings/FolderPath.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QSpacerItem>
#include <QVBoxLayout>

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
    const QString chosen = QFileDialog::getExistingDirectory(
        this, tr("Select the folder where Anarchy Online is installed:"), path,
        QFileDialog::ShowDirsOnly);
    if (chosen.isEmpty())
        return false;
    setAOPath(FolderPath::fromDialog(chosen));
    return true;
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
    // The one-time copy of the game's file comes with the backup work.
    return false;
}

void SettingsDlg::restoreBackup() {}

void SettingsDlg::restoreBundledData() {}

void SettingsDlg::restoreOriginalData() {}
