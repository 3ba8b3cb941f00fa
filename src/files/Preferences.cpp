// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/Preferences.h"

#include "files/SafeFile.h"

#include <QFileInfo>

#include <algorithm>

namespace
{

const QLatin1String separator(" = ");
const QByteArray utf8Mark("\xEF\xBB\xBF");

bool isAscii(const QByteArray& data)
{
    return std::all_of(data.cbegin(), data.cend(), [](char c) { return uchar(c) < 0x80; });
}

// Qt replaces every malformed sequence, so only valid UTF-8 survives the round trip.
bool isUtf8(const QByteArray& data)
{
    return QString::fromUtf8(data.constData(), data.size()).toUtf8() == data;
}

} // namespace

QString Preferences::fileName()
{
    return QStringLiteral("Tintwell.cfg");
}

bool Preferences::readLines(QStringList* lines)
{
    const QString name = fileName();
    qDebug("loadPrefs(): file: %s", qPrintable(name));
    // Line ends are translated here rather than by text mode, which would drop a lone
    // CR and join two lines. CR LF, LF and CR are line ends on every system. A pipe or
    // device in the file's place is refused rather than waited on.
    QByteArray data;
    QString error;
    if (!SafeFile::readAll(name, maxSize, &data, &error)) {
        qDebug("loadPrefs(): not read: %s", qPrintable(error));
        return false;
    }
    QString text = decode(data);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    if (text.endsWith(QLatin1Char('\n')))
        text.chop(1);
    *lines = text.isEmpty() ? QStringList() : text.split(QLatin1Char('\n'));
    return true;
}

bool Preferences::splitLine(const QString& line, QString* key, QString* value)
{
    const int at = line.indexOf(separator);
    if (at < 0)
        return false;
    *key = line.left(at);
    *value = line.mid(at + separator.size());
    return true;
}

QString Preferences::cannotKeep(const QString& folder)
{
    if (folder.contains(QLatin1Char('\n')) || folder.contains(QLatin1Char('\r')))
        return QStringLiteral("Its name holds a line break, which Tintwell.cfg cannot keep.");
    // Qt gives bytes that are no text in the system's encoding as U+FFFD, which leads
    // to no folder on the disk: the name as read is not the folder's name.
    if (folder.contains(QChar::ReplacementCharacter) && !QFileInfo(folder).isDir())
        return QStringLiteral("Its name holds bytes that are not text in the system's "
                              "encoding, so Tintwell cannot name it.");
    return QString();
}

QByteArray Preferences::encode(const QString& text)
{
    // A name the code page cannot hold (C:\Игры under code page 1252) would come back
    // as question marks, and the folder question with it at every start. The check
    // reads back through decode(), so local bytes that happen to look like UTF-8 are
    // not taken for it either.
    const QByteArray local = text.toLocal8Bit();
    return decode(local) == text ? local : utf8Mark + text.toUtf8();
}

// Decoded with the lengths: the QByteArray overloads stop at the first NUL, which
// would silently drop every setting after a stray NUL byte.
QString Preferences::decode(const QByteArray& data)
{
    // Qt's UTF-8 decoder drops exactly one leading mark itself; cutting it here too
    // would drop a second one that belongs to the text.
    if (data.startsWith(utf8Mark) || (!isAscii(data) && isUtf8(data)))
        return QString::fromUtf8(data.constData(), data.size());
    return QString::fromLocal8Bit(data.constData(), data.size());
}

Preferences::Values::Values()
{
    background.name = QStringLiteral("Tintwell background");
    background.value = QStringLiteral("black");
}

bool Preferences::read(Values* values)
{
    QStringList lines;
    if (!readLines(&lines))
        return false;
    for (const QString& line : qAsConst(lines)) {
        qDebug("loadPrefs(): line: %s", qPrintable(line));
        apply(line, values);
    }
    return true;
}

void Preferences::apply(const QString& line, Values* values)
{
    QString key;
    QString value;
    if (!splitLine(line, &key, &value))
        return;
    if (key == QLatin1String("AODir")) {
        qDebug("loadPrefs(): setting AOPath to %s", qPrintable(value));
        values->hasAOPath = true;
        values->aoPath = value;
    }
    if (key == QLatin1String("AdvancedMode")) {
        const int mode = value.toInt();
        qDebug("loadPrefs(): setting Advanced mode to %d", mode);
        values->advancedMode = mode != 0;
    }
    if (key == QLatin1String("BGColor")) {
        qDebug("loadPrefs():setting BGColor to %s", qPrintable(value));
        values->background.setValue(value);
    }
}

QByteArray Preferences::format(const QString& aoPath, bool advancedMode, const QString& bgColor)
{
    QString text;
    text += QLatin1String("## Tintwell Configuration ##\n");
    text += QLatin1String("AODir = ") + aoPath + QLatin1Char('\n');
    text += QLatin1String("AdvancedMode = ") + QLatin1String(advancedMode ? "1" : "0") +
            QLatin1Char('\n');
    text += QLatin1String("BGColor = ") + bgColor + QLatin1Char('\n');
#ifdef Q_OS_WIN
    text.replace(QLatin1String("\n"), QLatin1String("\r\n"));
#endif
    return encode(text);
}

bool Preferences::write(const QString& aoPath, bool advancedMode, const QString& bgColor)
{
    QString error;
    // A linked preferences file stays linked; its content is replaced where it leads.
    if (SafeFile::replace(fileName(), format(aoPath, advancedMode, bgColor), &error,
                          SafeFile::Links::Follow))
        return true;
    qDebug("savePrefs(): %s", qPrintable(error));
    return false;
}
