// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/ColorFileReader.h"

#include "files/ColorFile.h"
#include "model/AOColors.h"

#include <QXmlStreamReader>
#include <QtGlobal>

#include <utility>
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
#include <QStringDecoder>
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
    if (error)
        *error = QStringLiteral("refused (%1: %2)").arg(where, why);
    return false;
}

// ---- Decoding -------------------------------------------------------------------

enum class Encoding { Utf8, Utf16, Utf16LE, Utf16BE };

// What the XML reader would take the bytes for before it sees a declaration.
Encoding detectedEncoding(const QByteArray& data)
{
    if (data.size() < 2)
        return Encoding::Utf8;
    const uchar first = uchar(data.at(0));
    const uchar second = uchar(data.at(1));
    if ((first == 0xfe && second == 0xff) || (first == 0xff && second == 0xfe))
        return Encoding::Utf16;
    if (first == '<' && second == 0)
        return Encoding::Utf16LE;
    if (first == 0 && second == '<')
        return Encoding::Utf16BE;
    return Encoding::Utf8;
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

// The one place that knows the toolkit's text codecs, which changed between Qt 5 and 6.
// Each decodes the whole of the data and tells whether every byte belonged to a
// character; a codec of that name that the toolkit lacks gives false and valid false.
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
QStringDecoder decoderFor(Encoding encoding)
{
    switch (encoding) {
    case Encoding::Utf16:
        return QStringDecoder(QStringConverter::Utf16, QStringConverter::Flag::Stateless);
    case Encoding::Utf16LE:
        return QStringDecoder(QStringConverter::Utf16LE, QStringConverter::Flag::Stateless);
    case Encoding::Utf16BE:
        return QStringDecoder(QStringConverter::Utf16BE, QStringConverter::Flag::Stateless);
    default:
        return QStringDecoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    }
}

// Qt 6's decoders report a cut-off last character of UTF-8, but not of UTF-16 or
// UTF-32, which they end with U+FFFD.
bool decodeWith(QStringDecoder decoder, const QByteArray& data, QString* text)
{
    *text = decoder.decode(data);
    const QLatin1String name(decoder.name());
    const int unit = name.startsWith(QLatin1String("UTF-16"))   ? 2
                     : name.startsWith(QLatin1String("UTF-32")) ? 4
                                                                : 1;
    return !decoder.hasError() && data.size() % unit == 0;
}

bool decodeAs(Encoding encoding, const QByteArray& data, QString* text)
{
    return decodeWith(decoderFor(encoding), data, text);
}

bool decodeAs(const QString& name, const QByteArray& data, QString* text, bool* known)
{
    QStringDecoder decoder(name.toLatin1().constData(), QStringConverter::Flag::Stateless);
    *known = decoder.isValid();
    return *known && decodeWith(std::move(decoder), data, text);
}
#else
bool decodeWith(QTextCodec* codec, const QByteArray& data, QString* text)
{
    QTextCodec::ConverterState state;
    *text = codec->toUnicode(data.constData(), data.size(), &state);
    return state.invalidChars == 0 && state.remainingChars == 0;
}

bool decodeAs(Encoding encoding, const QByteArray& data, QString* text)
{
    static const int mibs[] = {106, 1015, 1014, 1013};
    return decodeWith(QTextCodec::codecForMib(mibs[int(encoding)]), data, text);
}

bool decodeAs(const QString& name, const QByteArray& data, QString* text, bool* known)
{
    QTextCodec* codec = QTextCodec::codecForName(name.toLatin1());
    *known = codec != nullptr;
    return *known && decodeWith(codec, data, text);
}
#endif

QString encodingName(Encoding encoding)
{
    static const char* const names[] = {"UTF-8", "UTF-16", "UTF-16LE", "UTF-16BE"};
    return QString::fromLatin1(names[int(encoding)]);
}

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

// The encoding is chosen as the XML reader chooses it: a byte-order mark or a leading
// '<' in UTF-16, then a declared encoding, otherwise UTF-8. The declaration is ASCII, so
// it is found in any decoding of the bytes as the first guess.
bool decode(const QByteArray& data, QString* text, QString* error)
{
    const Encoding detected = detectedEncoding(data);
    QString encoding = encodingName(detected);
    bool valid = decodeAs(detected, data, text);
    const QString declared = declaredEncoding(*text);
    if (!declared.isEmpty() && declared.compare(encoding, Qt::CaseInsensitive) != 0) {
        bool known = false;
        valid = decodeAs(declared, data, text, &known);
        if (!known)
            return refuse(error, position(*text, 0),
                          QStringLiteral("the encoding '%1' is unknown").arg(declared));
        encoding = declared;
    }
    if (!valid)
        return refuse(error, firstReplaced(*text),
                      QStringLiteral("bytes that are not valid %1").arg(encoding));
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

// A start tag, end tag or document type declaration from its '<': past its '>', or -1
// when it holds more attributes than allowed or an internal subset. Quotes inside a
// tag only ever delimit attribute values, so a '=' outside them starts an attribute.
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
        } else if (doctype
                       ? c == QLatin1Char('[')
                       : c == QLatin1Char('=') && ++attributes > ColorFileReader::maxAttributes) {
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
    qint64 written = ColorFile::rootSize;
};

bool Entries::take(const QXmlStreamReader& reader, QString* why)
{
    switch (reader.tokenType()) {
    case QXmlStreamReader::DTD:
        // Never reached while the pass over the tags refuses internal subsets.
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
        *why = QStringLiteral("more than %1 colours").arg(ColorFileReader::maxEntries);
        return false;
    }
    AOColor entry;
    entry.name = reader.attributes().value(QLatin1String("name")).toString();
    entry.value = reader.attributes().value(QLatin1String("color")).toString();
    written += ColorFile::sizeBound(entry);
    if (written > ColorFile::maxSize) {
        *why = QStringLiteral("colours that would take more than %1 bytes to write")
                   .arg(ColorFile::maxSize);
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

bool ColorFileReader::read(const QByteArray& data, AOColors* table, QString* error)
{
    table->clear();
    QString text;
    if (!decode(data, &text, error) || !checkTags(text, error))
        return false;

    QXmlStreamReader reader(text);
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
        if (error)
            *error = QStringLiteral("not well-formed XML (%1: %2)")
                         .arg(position(reader), reader.errorString());
        return false;
    }
    return true;
}
