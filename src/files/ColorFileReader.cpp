// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/ColorFileReader.h"

#include "files/ColorFileWriter.h"
#include "files/FileError.h"
#include "model/AOColors.h"

#include <QXmlStreamReader>
#include <QtGlobal>

#include <algorithm>
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
#include <QStringDecoder>
#include <QStringEncoder>
#else
#include <QTextCodec>
#endif

namespace
{

QString position(QStringView text, qsizetype offset)
{
    qsizetype line = 1;
    qsizetype lineStart = 0;
    for (qsizetype i = 0; i < offset; ++i) {
        if (text.at(i) == QLatin1Char('\n')) {
            ++line;
            lineStart = i + 1;
        }
    }
    return QStringLiteral("line %1, column %2").arg(line).arg(offset - lineStart + 1);
}

bool refuse(QString* error, const QString& where, const QString& why)
{
    return FileError::fail(error, QStringLiteral("refused (%1: %2)").arg(where, why));
}

// ---- Decoding -------------------------------------------------------------------

// How the bytes announce their encoding before any declaration: a byte-order mark,
// which decides whatever a declaration says (Notepad's "Unicode" writes one and may
// keep a declaration of UTF-8), a leading '<' in UTF-16, otherwise UTF-8 as a guess.
struct Detected {
    const char* encoding;
    int bom;
};

Detected detect(const QByteArray& data)
{
    const auto startsWith = [&data](const char* prefix, int size) {
        return data.size() >= size && std::equal(prefix, prefix + size, data.constData());
    };
    if (startsWith("\xef\xbb\xbf", 3))
        return {"UTF-8", 3};
    if (startsWith("\xff\xfe", 2))
        return {"UTF-16LE", 2};
    if (startsWith("\xfe\xff", 2))
        return {"UTF-16BE", 2};
    if (startsWith("<\0", 2))
        return {"UTF-16LE", 0};
    if (startsWith("\0<", 2))
        return {"UTF-16BE", 0};
    return {"UTF-8", 0};
}

// The encoding named in a leading XML declaration: the first quoted text after the
// word "encoding" inside it.
QString declaredEncoding(const QString& text)
{
    if (!text.startsWith(QLatin1String("<?xml")))
        return QString();
    const int close = text.indexOf(QLatin1Char('>'));
    const int word = text.indexOf(QLatin1String("encoding"));
    if (close < 0 || word < 0 || word > close)
        return QString();
    int open = word;
    while (open < close && text.at(open) != QLatin1Char('"') && text.at(open) != QLatin1Char('\''))
        ++open;
    int stop = open + 1;
    while (stop < close && text.at(stop) != QLatin1Char('"') && text.at(stop) != QLatin1Char('\''))
        ++stop;
    return open < close ? text.mid(open + 1, stop - open - 1) : QString();
}

// Whether a declaration names the encoding the bytes already show. "UTF-16" names
// either byte order; a document without a byte-order mark shows which by its '<'.
bool declares(const QString& declared, const QString& detected)
{
    return declared.compare(detected, Qt::CaseInsensitive) == 0 ||
           (detected.startsWith(QLatin1String("UTF-16")) &&
            declared.compare(QLatin1String("UTF-16"), Qt::CaseInsensitive) == 0);
}

// The one place that knows the toolkit's text codecs, which changed between Qt 5 and 6.
// Decoding takes the whole of the bytes (after any byte-order mark, which is not text)
// and tells whether every byte belonged to a character; an encoding the toolkit lacks
// is unknown. Encoding back is compared piece by piece, so that the check costs no
// second copy of a large file.
const qsizetype comparePiece = 1 << 16;

// Where `part`, which the encoder made of the text from byte `done` on, first differs
// from the bytes read; -1 while they agree.
qsizetype difference(const QByteArray& part, const char* data, qsizetype size, qsizetype done)
{
    const qsizetype common = qMin(qsizetype(part.size()), size - done);
    const auto mismatch = std::mismatch(part.constData(), part.constData() + common, data + done);
    if (mismatch.first != part.constData() + common)
        return done + (mismatch.first - part.constData());
    return part.size() > common ? size : -1;
}

#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
// Qt 6 drops a byte-order mark at the start unless told to keep it; the mark read is
// already taken off, so whatever is left is text.
const QStringConverter::Flags decoding =
    QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom;

bool isKnown(const QString& encoding)
{
    return QStringDecoder(encoding.toLatin1().constData(), decoding).isValid();
}

// Qt 6's decoders report a cut-off last character of UTF-8, but not of UTF-16 or
// UTF-32, which they end with U+FFFD; encoding back finds that too.
bool decodeAs(const QString& encoding, const char* data, qsizetype size, QString* text)
{
    QStringDecoder decoder(encoding.toLatin1().constData(), decoding);
    *text = decoder.decode(QByteArrayView(data, size));
    return decoder.isValid() && !decoder.hasError();
}

qsizetype firstDifference(const QString& encoding, const QString& text, const char* data,
                          qsizetype size)
{
    QStringEncoder encoder(encoding.toLatin1().constData());
    qsizetype done = 0;
    for (qsizetype at = 0; at < text.size(); at += comparePiece) {
        const QByteArray part = encoder.encode(QStringView(text).mid(at, comparePiece));
        const qsizetype differs = difference(part, data, size, done);
        if (differs >= 0)
            return differs;
        done += part.size();
    }
    return done == size && !encoder.hasError() ? -1 : done;
}
#else
bool isKnown(const QString& encoding)
{
    return QTextCodec::codecForName(encoding.toLatin1()) != nullptr;
}

// Qt 5's codecs for other encodings than Unicode (through ICU) count no invalid bytes
// at all: only encoding back finds them.
bool decodeAs(const QString& encoding, const char* data, qsizetype size, QString* text)
{
    QTextCodec* codec = QTextCodec::codecForName(encoding.toLatin1());
    if (!codec)
        return false;
    QTextCodec::ConverterState state(QTextCodec::IgnoreHeader);
    *text = codec->toUnicode(data, int(size), &state);
    return state.invalidChars == 0 && state.remainingChars == 0;
}

qsizetype firstDifference(const QString& encoding, const QString& text, const char* data,
                          qsizetype size)
{
    QTextCodec* codec = QTextCodec::codecForName(encoding.toLatin1());
    QTextCodec::ConverterState state(QTextCodec::IgnoreHeader);
    qsizetype done = 0;
    for (qsizetype at = 0; at < text.size(); at += comparePiece) {
        const QByteArray part = codec->fromUnicode(
            text.constData() + at, int(qMin(comparePiece, text.size() - at)), &state);
        const qsizetype differs = difference(part, data, size, done);
        if (differs >= 0)
            return differs;
        done += part.size();
    }
    return done == size && state.invalidChars == 0 ? -1 : done;
}
#endif

// The first character that a refused decoding replaced; a document that held U+FFFD
// of its own before it is pointed at a little early.
QString firstReplaced(const QString& text)
{
    const qsizetype at = text.indexOf(QChar(QChar::ReplacementCharacter));
    return position(text, at < 0 ? text.size() : at);
}

qsizetype loneSurrogate(const QString& text)
{
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < size && text.at(i + 1).isLowSurrogate())
            ++i;
        else if (c.isSurrogate())
            return i;
    }
    return -1;
}

// The encoding is chosen as the XML reader chooses it, except that a byte-order mark
// outranks a declaration: a mark, or a leading '<' in UTF-16, then a declared
// encoding, otherwise UTF-8. The declaration is ASCII, so it is found in any decoding
// of the bytes as the first guess.
//
// Text is only trusted when it encodes back to exactly the bytes read. Decoders
// replace bytes they cannot read with U+FFFD, or with a character that stands for
// several byte sequences, without always saying so; either would be written back as
// something else than the file held.
bool decode(const QByteArray& data, QString* text, QString* error)
{
    const Detected detected = detect(data);
    const char* body = data.constData() + detected.bom;
    const qsizetype size = data.size() - detected.bom;
    QString encoding = QLatin1String(detected.encoding);
    bool valid = decodeAs(encoding, body, size, text);
    const QString declared = detected.bom == 0 ? declaredEncoding(*text) : QString();
    if (!declared.isEmpty() && !declares(declared, encoding)) {
        if (!isKnown(declared))
            return refuse(error, position(*text, 0),
                          QStringLiteral("the encoding '%1' is unknown").arg(declared));
        encoding = declared;
        valid = decodeAs(encoding, body, size, text);
    }
    const qsizetype differs = firstDifference(encoding, *text, body, size);
    if (!valid || differs >= 0) {
        QString before;
        if (differs >= 0)
            decodeAs(encoding, body, differs, &before);
        return refuse(error, differs >= 0 ? position(*text, before.size()) : firstReplaced(*text),
                      QStringLiteral("bytes that are not valid %1").arg(encoding));
    }
    if (text->startsWith(QChar(QChar::ByteOrderMark)))
        text->remove(0, 1);
    const qsizetype lone = loneSurrogate(*text);
    if (lone >= 0)
        return refuse(error, position(*text, lone), QStringLiteral("half of a surrogate pair"));
    return true;
}

// ---- The pass over the tags ---------------------------------------------------------

// Where the text from `from` on holds `terminator`, just past it; otherwise the end.
qsizetype pastTerminator(QStringView text, qsizetype from, QLatin1String terminator)
{
    const qsizetype at = text.indexOf(terminator, from);
    return at < 0 ? text.size() : at + terminator.size();
}

// Past the ']' of an internal subset that opens at `open` and declares nothing, as
// "[]" or "[ ]"; -1 when it holds anything.
qsizetype pastEmptySubset(QStringView text, qsizetype open)
{
    qsizetype close = open + 1;
    while (close < text.size() && text.at(close).isSpace())
        ++close;
    return close < text.size() && text.at(close) == QLatin1Char(']') ? close + 1 : -1;
}

// A start tag, end tag or document type declaration from its '<': past its '>', or -1
// when it holds more attributes than allowed or an internal subset that declares
// anything. Quotes inside a tag only ever delimit attribute values, so a '=' outside
// them starts an attribute.
qsizetype pastTag(QStringView text, qsizetype from, bool doctype)
{
    int attributes = 0;
    QChar quote;
    for (qsizetype i = from + 1; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            quote = c;
        } else if (c == QLatin1Char('>')) {
            return i + 1;
        } else if (doctype && c == QLatin1Char('[')) {
            const qsizetype past = pastEmptySubset(text, i);
            if (past < 0)
                return -1;
            i = past - 1;
        } else if (!doctype && c == QLatin1Char('=') &&
                   ++attributes > ColorFileReader::maxAttributes) {
            return -1;
        }
    }
    return text.size();
}

bool checkTags(QStringView text, QString* error)
{
    qsizetype at = text.indexOf(QLatin1Char('<'));
    while (at >= 0) {
        const QStringView rest = text.mid(at);
        qsizetype next;
        if (rest.startsWith(QLatin1String("<!--"))) {
            next = pastTerminator(text, at + 4, QLatin1String("-->"));
        } else if (rest.startsWith(QLatin1String("<![CDATA["))) {
            next = pastTerminator(text, at + 9, QLatin1String("]]>"));
        } else if (rest.startsWith(QLatin1String("<?"))) {
            next = pastTerminator(text, at + 2, QLatin1String("?>"));
        } else {
            const bool doctype = rest.startsWith(QLatin1String("<!"));
            next = pastTag(text, at, doctype);
            if (next < 0)
                return refuse(error, position(text, at),
                              doctype ? QStringLiteral("a document type declaration with an "
                                                       "internal subset")
                                      : QStringLiteral("an element with more than %1 attributes")
                                            .arg(ColorFileReader::maxAttributes));
        }
        at = text.indexOf(QLatin1Char('<'), next);
    }
    return true;
}

// ---- Reading ------------------------------------------------------------------------

class Entries
{
public:
    explicit Entries(AOColors* table) : table(table) {}

    // False with the reason when the document goes beyond a limit here.
    bool take(const QXmlStreamReader& reader, QString* why);

private:
    AOColors* table;
    int depth = 0;
    qint64 written = ColorFileWriter::rootSize;
};

bool Entries::take(const QXmlStreamReader& reader, QString* why)
{
    switch (reader.tokenType()) {
    case QXmlStreamReader::DTD:
        // Only an empty internal subset gets here: the pass over the tags refuses others.
        if (!reader.entityDeclarations().isEmpty()) {
            *why = QStringLiteral("entity declarations");
            return false;
        }
        return true;
    case QXmlStreamReader::EndElement:
        --depth;
        return true;
    case QXmlStreamReader::StartElement:
        break;
    default:
        return true;
    }
    if (++depth > ColorFileReader::maxDepth) {
        *why = QStringLiteral("elements nested more than %1 deep").arg(ColorFileReader::maxDepth);
        return false;
    }
    if (reader.qualifiedName() != QLatin1String("HTMLColor"))
        return true;
    if (table->size() == ColorFileReader::maxEntries) {
        *why = QStringLiteral("more than %1 colors").arg(ColorFileReader::maxEntries);
        return false;
    }
    AOColor entry;
    entry.name = reader.attributes().value(QLatin1String("name")).toString();
    entry.value = reader.attributes().value(QLatin1String("color")).toString();
    written += ColorFileWriter::sizeBound(entry);
    if (written > ColorFileWriter::maxSize) {
        *why = QStringLiteral("colors that would take more than %1 bytes to write")
                   .arg(ColorFileWriter::maxSize);
        return false;
    }
    table->append(entry);
    return true;
}

QString position(const QXmlStreamReader& reader)
{
    return QStringLiteral("line %1, column %2")
        .arg(reader.lineNumber())
        .arg(reader.columnNumber() + 1);
}

} // namespace

bool ColorFileReader::read(QByteArray data, AOColors* table, QString* error)
{
    table->clear();
    QString text;
    if (!decode(data, &text, error))
        return false;
    data = QByteArray();
    if (!checkTags(text, error))
        return false;

    // The reader keeps a copy of its own.
    QXmlStreamReader reader(text);
    text = QString();
    // Elements and attributes are matched by the names they are written with.
    reader.setNamespaceProcessing(false);
    Entries entries(table);
    QString why;
    while (!reader.atEnd()) {
        reader.readNext();
        if (!entries.take(reader, &why)) {
            table->clear();
            return refuse(error, position(reader), why);
        }
    }
    if (reader.hasError()) {
        table->clear();
        return FileError::fail(error, QStringLiteral("not well-formed XML (%1: %2)")
                                          .arg(position(reader), reader.errorString()));
    }
    return true;
}
