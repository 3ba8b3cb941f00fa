// SPDX-License-Identifier: GPL-3.0-or-later
// Any preferences file must be read into whole lines without losing or inventing a
// character, and every line must split the way the keys are looked up.
#include "FuzzCheck.h"

#include "files/Preferences.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace
{

const QLatin1String separator(" = ");

// The file is read by its bare name from the working folder, so every process gets
// a folder of its own, entered once.
void enterOwnFolder()
{
    static QTemporaryDir folder(QDir::tempPath() + QStringLiteral("/tintwell-fuzz-XXXXXX"));
    static const bool entered = folder.isValid() && QDir::setCurrent(folder.path());
    fuzz::require(entered, "cannot enter a temporary folder", folder.path());
}

// A new file each time: rewriting a truncated one makes some file systems flush it to
// disk on close, which slows the run down a hundredfold.
void writeFile(const QByteArray& data)
{
    QFile file(Preferences::fileName());
    file.remove();
    fuzz::require(file.open(QIODevice::WriteOnly) && file.write(data) == data.size(),
                  "cannot write the preferences file", file.errorString());
}

QStringList readBack()
{
    // Left-overs in the list must not survive a read.
    QStringList lines{QStringLiteral("stale")};
    fuzz::require(Preferences::readLines(&lines), "an existing file was not read");
    return lines;
}

QString withoutLineEnds(QString text)
{
    text.remove(QLatin1Char('\r'));
    text.remove(QLatin1Char('\n'));
    return text;
}

void checkLines(const QByteArray& data, const QStringList& lines)
{
    for (const QString& line : lines)
        fuzz::require(!line.contains(QLatin1Char('\n')) && !line.contains(QLatin1Char('\r')),
                      "a line holds a line end", line);
    const QString text = QString::fromLocal8Bit(data.constData(), data.size());
    fuzz::require(lines.join(QString()) == withoutLineEnds(text),
                  "the lines do not hold exactly the file's characters",
                  lines.join(QLatin1Char('|')));
}

void checkSplit(const QString& line)
{
    QString key = QStringLiteral("stale key");
    QString value = QStringLiteral("stale value");
    if (!Preferences::splitLine(line, &key, &value)) {
        fuzz::require(!line.contains(separator), "a line with the separator was refused", line);
        return;
    }
    // The value is everything after the first separator, so a folder named "AO = old"
    // reads back whole.
    fuzz::require(key + separator + value == line, "key and value are not the line", line);
    fuzz::require(!key.contains(separator), "the key holds the separator", line);
}

bool survivesFile(const QString& text)
{
    return !text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r')) &&
           QString::fromLocal8Bit(text.toLocal8Bit()) == text;
}

// What the program writes it must read back: the first two lines of the input
// become the folder and the background colour of a written file.
void checkRoundTrip(const QStringList& lines, bool advancedMode)
{
    const QString aoPath = lines.value(0);
    const QString bgColor = lines.value(1);
    if (!survivesFile(aoPath) || !survivesFile(bgColor))
        return;
    writeFile(Preferences::format(aoPath, advancedMode, bgColor));
    const QStringList written = readBack();
    fuzz::require(written.size() == 4, "a written file does not read back as four lines",
                  written.join(QLatin1Char('|')));
    const QStringList keys{QStringLiteral("AODir"), QStringLiteral("AdvancedMode"),
                           QStringLiteral("BGColor")};
    const QStringList values{aoPath, QLatin1String(advancedMode ? "1" : "0"), bgColor};
    for (int i = 0; i < 3; ++i) {
        QString key;
        QString value;
        fuzz::require(Preferences::splitLine(written.at(i + 1), &key, &value) &&
                          key == keys.at(i) && value == values.at(i),
                      "a written setting reads back differently", written.at(i + 1));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::quiet();
    enterOwnFolder();
    const QByteArray input = fuzz::bytes(data, size);
    writeFile(input);
    const QStringList lines = readBack();
    checkLines(input, lines);
    for (const QString& line : lines)
        checkSplit(line);
    checkRoundTrip(lines, size % 2 == 1);
    return 0;
}
