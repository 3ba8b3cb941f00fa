// SPDX-License-Identifier: GPL-3.0-or-later
// Any file the reader accepts must survive being written back: the written document
// reads to the same names and colour texts, in the same order.
#include "FuzzCheck.h"

#include "model/AOColors.h"
#include "model/ColorFile.h"

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

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::quiet();
    AOColors table;
    QString error;
    if (!ColorFile::read(fuzz::bytes(data, size), &table, &error)) {
        fuzz::require(table.isEmpty(), "a refused document left entries", describe(table));
        fuzz::require(!error.isEmpty(), "a refused document without a reason");
        return 0;
    }
    const QByteArray written = ColorFile::toXml(table);
    AOColors reread;
    fuzz::require(ColorFile::read(written, &reread, &error), "the written document is refused",
                  error + QLatin1Char('\n') + QString::fromUtf8(written));
    fuzz::require(sameEntries(table, reread), "the written document reads back differently",
                  describe(table) + QStringLiteral("\n  read back: ") + describe(reread));
    fuzz::require(ColorFile::toXml(reread) == written, "writing the same table twice differs",
                  QString::fromUtf8(written));
    return 0;
}
