// SPDX-License-Identifier: GPL-3.0-or-later
#include "info/LicenseDlg.h"

#include <QFile>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextStream>
#include <QVBoxLayout>

LicenseDlg::LicenseDlg(QWidget* parent) : QWidget(parent)
{
    layout = new QVBoxLayout(this);
    layout->setSpacing(3);
    layout->setContentsMargins(5, 5, 5, 5);

    // The licence keeps its own line breaks and indentation: no wrapping, and tab
    // stops wide enough for its indented paragraphs.
    textEdit = new QTextEdit(this);
    textEdit->setReadOnly(true);
    textEdit->setLineWrapMode(QTextEdit::NoWrap);
    textEdit->setTabStopDistance(30);
    qDebug("TabStop at %d", int(textEdit->tabStopDistance()));
    layout->addWidget(textEdit);

    loadText();
}

// A missing licence file leaves the page empty rather than stopping the program.
void LicenseDlg::loadText()
{
    QFile file(QStringLiteral("LICENSE.GPL"));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return;
    QTextStream stream(&file);
    // Laying out the whole licence took longer than the rest of the window's start-up,
    // for a page that is not on screen then. A document with a null page size is not
    // laid out; the edit gives it its page size, and so its layout, when it is first
    // resized, which is when the page is first shown.
    textEdit->document()->setPageSize(QSizeF(0, 0));
    textEdit->setPlainText(stream.readAll());
    file.close();
}
