// SPDX-License-Identifier: GPL-3.0-or-later
#include "info/LicenseDlg.h"

#include "files/SafeFile.h"

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

// A missing or oversized licence file leaves the page empty rather than stopping the
// program.
void LicenseDlg::loadText()
{
    QByteArray data;
    if (!SafeFile::readAll(QStringLiteral("LICENSE.GPL"), maxSize, &data))
        return;
    // As a file read as text: every carriage return dropped, the bytes in the locale's
    // encoding unless they begin with a byte-order mark.
    data.replace('\r', QByteArray());
    QTextStream stream(data);
    // Laying out the whole licence took longer than the rest of the window's start-up,
    // for a page that is not on screen then. A document with a null page size is not
    // laid out; the edit gives it its page size, and so its layout, when it is first
    // resized, which is when the page is first shown.
    textEdit->document()->setPageSize(QSizeF(0, 0));
    textEdit->setPlainText(stream.readAll());
}
