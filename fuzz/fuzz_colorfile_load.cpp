// SPDX-License-Identifier: GPL-3.0-or-later
// Any file the reader accepts must survive being written back: the written document
// reads to the same names and colour texts, in the same order. So must any table of
// texts that a document can give. And no accepted document may nest deeper than the
// guard lets through.
#include "FuzzCheck.h"

#include "model/AOColors.h"
#include "files/ColorFile.h"
#include "files/XmlGuard.h"

#include <QDomDocument>

namespace
{

QString describe(const AOColors& table)
{
    QStringList pairs;
    for (const AOColor& entry : table)
        pairs << entry.name + QLatin1Char('=') + entry.value;
    return pairs.join(QLatin1Char('|'));
}

bool sameEntries(const AOColors& one, const AOColors& other)
{
    if (one.size() != other.size())
        return false;
    for (int i = 0; i < one.size(); ++i) {
        if (one.at(i).name != other.at(i).name || one.at(i).value != other.at(i).value)
            return false;
    }
    return true;
}

void checkWrittenReadsBack(const AOColors& table)
{
    const QByteArray written = ColorFile::toXml(table);
    AOColors reread;
    QString error;
    fuzz::require(ColorFile::read(written, &reread, &error), "the written document is refused",
                  error + QLatin1Char('\n') + QString::fromUtf8(written));
    fuzz::require(sameEntries(table, reread), "the written document reads back differently",
                  describe(table) + QStringLiteral("\n  read back: ") + describe(reread));
    fuzz::require(ColorFile::toXml(reread) == written, "writing the same table twice differs",
                  QString::fromUtf8(written));
}

bool deeperThan(const QDomNode& element, int levels)
{
    int depth = 0;
    for (QDomNode node = element; !node.isNull(); node = node.parentNode()) {
        if (node.isElement() && ++depth > levels)
            return true;
    }
    return false;
}

// The guard counts the nesting on its own scan of the text; a document it accepted
// must not be deeper in the parser's eyes, or the guard has misread its markup.
void checkDepth(const QByteArray& input)
{
    QDomDocument document;
    if (!document.setContent(XmlGuard::decode(input)))
        return;
    QDomNode node = document.firstChild();
    while (!node.isNull()) {
        fuzz::require(!node.isElement() || !deeperThan(node, XmlGuard::maxDepth),
                      "the parser nests an accepted document deeper than the guard allows",
                      QString::fromUtf8(input.left(200)));
        if (node.hasChildNodes()) {
            node = node.firstChild();
            continue;
        }
        while (!node.isNull() && node.nextSibling().isNull())
            node = node.parentNode();
        if (!node.isNull())
            node = node.nextSibling();
    }
}

void checkDocument(const QByteArray& input)
{
    AOColors table;
    QString error;
    if (!ColorFile::read(input, &table, &error)) {
        fuzz::require(table.isEmpty(), "a refused document left entries", describe(table));
        fuzz::require(!error.isEmpty(), "a refused document without a reason");
        return;
    }
    checkDepth(input);
    checkWrittenReadsBack(table);
}

// References let a document give an entry any text of whole characters, so the
// writer must store every such table. Names and colour texts are cut from the input
// at 0xff bytes, which UTF-8 never holds. Only inputs with one, and only their start,
// are used: every table goes through the whole parser, which would otherwise take
// most of the run's time from the document check.
void checkAnyTable(const QByteArray& input)
{
    const QByteArray start = input.left(256);
    if (!start.contains('\xff'))
        return;
    const QList<QByteArray> pieces = start.split('\xff');
    AOColors table;
    for (int i = 0; i < pieces.size(); i += 2) {
        AOColor entry;
        entry.name = fuzz::fromUtf8(pieces.at(i));
        entry.value = fuzz::fromUtf8(pieces.value(i + 1));
        table.append(entry);
    }
    checkWrittenReadsBack(table);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::quiet();
    const QByteArray input = fuzz::bytes(data, size);
    checkDocument(input);
    checkAnyTable(input);
    return 0;
}
