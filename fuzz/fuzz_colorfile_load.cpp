// SPDX-License-Identifier: GPL-3.0-or-later
// Any file the reader accepts must survive being written back: the written document
// reads to the same names and colour texts, in the same order, and is no larger than
// the reader accepts. So must any table of texts that a document can give.
#include "FuzzCheck.h"

#include "files/ColorFileReader.h"
#include "files/ColorFileWriter.h"
#include "model/AOColors.h"

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
    const QByteArray written = ColorFileWriter::toXml(table);
    fuzz::require(written.size() <= ColorFileWriter::maxSize,
                  "the written document is too large to read", QString::number(written.size()));
    AOColors reread;
    QString error;
    fuzz::require(ColorFileReader::read(written, &reread, &error),
                  "the written document is refused",
                  error + QLatin1Char('\n') + QString::fromUtf8(written));
    fuzz::require(sameEntries(table, reread), "the written document reads back differently",
                  describe(table) + QStringLiteral("\n  read back: ") + describe(reread));
    fuzz::require(ColorFileWriter::toXml(reread) == written, "writing the same table twice differs",
                  QString::fromUtf8(written));
}

void checkDocument(const QByteArray& input)
{
    AOColors table;
    QString error;
    if (!ColorFileReader::read(input, &table, &error)) {
        fuzz::require(table.isEmpty(), "a refused document left entries", describe(table));
        fuzz::require(!error.isEmpty(), "a refused document without a reason");
        return;
    }
    checkWrittenReadsBack(table);
}

// Characters an XML document can hold, raw or as a reference; invalid UTF-8 has
// become U+FFFD, which is one of them.
QString documentCharacters(const QByteArray& piece)
{
    const QString text = fuzz::fromUtf8(piece);
    QString kept;
    for (const QChar c : text) {
        const ushort u = c.unicode();
        if (u >= 0x20 ? u < 0xfffe : (u == '\t' || u == '\n' || u == '\r'))
            kept += c;
    }
    return kept;
}

// References let a document give an entry any text of whole characters that XML
// allows, so the writer must store every such table. Names and colour texts are cut
// from the input at 0xff bytes, which UTF-8 never holds. Only inputs with one, and only
// their start, are used: every table goes through the whole parser, which would
// otherwise take most of the run's time from the document check.
void checkAnyTable(const QByteArray& input)
{
    const QByteArray start = input.left(256);
    if (!start.contains('\xff'))
        return;
    const QList<QByteArray> pieces = start.split('\xff');
    AOColors table;
    for (int i = 0; i < pieces.size(); i += 2) {
        AOColor entry;
        entry.name = documentCharacters(pieces.at(i));
        entry.value = documentCharacters(pieces.value(i + 1));
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
