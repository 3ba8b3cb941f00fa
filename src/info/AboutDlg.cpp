// SPDX-License-Identifier: GPL-3.0-or-later
#include "info/AboutDlg.h"

#include "info/Picture.h"

#include "Version.h"

#include <QLabel>
#include <QPixmap>
#include <QScrollArea>
#include <QSpacerItem>
#include <QVBoxLayout>

namespace
{

QString aboutText()
{
    return QStringLiteral("<font color=blue><center><b>Tintwell v%1</b><br />"
                          "by the Tintwell developers<br /></center></font>"
                          "This tool was made to help Anarchy Online<br />"
                          "players change their chat text colors easily,<br />"
                          "without editing the XML file by hand.<br />"
                          "<br />"
                          "<b><u>Credits:</u></b><br />"
                          "Thanks to our testers for suggesting the name.<br />"
                          "<br />"
                          "<b>Note:</b> Tintwell changes <u>only</u> what <u>you</u> see<br />"
                          "on your own screen. It has nothing to do with<br />"
                          "what anyone else sees. If you want your chat to<br />"
                          "look colorful to others, this is not your tool.")
        .arg(QLatin1String(Version::shown));
}

} // namespace

AboutDlg::AboutDlg(QWidget* parent) : QWidget(parent)
{
    layout = new QVBoxLayout(this);
    layout->setSpacing(3);
    layout->setContentsMargins(5, 5, 5, 5);

    // The picture ships beside the program; without it the framed area stays empty.
    pictureLabel = new QLabel(this);
    pictureLabel->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    pictureLabel->setFixedSize(334, 145);
    pictureLabel->setFrameShape(QFrame::Box);
    pictureLabel->setFrameShadow(QFrame::Plain);
    pictureLabel->setLineWidth(1);
    pictureLabel->setPixmap(Picture::fromPng(QStringLiteral("Tintwell.png")));
    pictureLabel->setScaledContents(false);
    pictureLabel->setIndent(0);
    layout->addWidget(pictureLabel);

    // The text is taller than the fixed window leaves room for with common Linux
    // fonts, so it scrolls rather than being cut off. Tintwell has no web site of its
    // own, so the text names none. The text goes into its scroll area, and is so
    // measured, when the page is first shown: the page is not on screen at start-up,
    // and a hidden widget takes no room in a layout.
    textLabel = new QLabel(aboutText(), this);
    textLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    textLabel->hide();
    scroller = new QScrollArea(this);
    scroller->setFrameShape(QFrame::NoFrame);
    scroller->setWidgetResizable(true);
    scroller->hide();
    layout->addWidget(scroller);

    layout->addItem(new QSpacerItem(1, 1, QSizePolicy::Minimum, QSizePolicy::Expanding));

    // Names for tests and accessibility tools to find the widgets by.
    pictureLabel->setObjectName(QStringLiteral("pictureLabel"));
    textLabel->setObjectName(QStringLiteral("textLabel"));
}

void AboutDlg::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (scroller->widget())
        return;
    // Shown first, so the text is fitted to the room the page gives it.
    scroller->show();
    scroller->setWidget(textLabel);
}
