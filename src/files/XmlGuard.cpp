// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/XmlGuard.h"

#include <QHash>
#include <QtGlobal>
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
#include <QStringDecoder>
#else
#include <QTextCodec>
#endif

#include <algorithm>

namespace
{

const int utf8Mib = 106;
const int utf16BeMib = 1013;
const int utf16LeMib = 1014;
const int utf16Mib = 1015;

int detectedMib(const QByteArray& data)
{
    if (data.size() < 2)
        return utf8Mib;
    const uchar first = uchar(data.at(0));
    const uchar second = uchar(data.at(1));
    if ((first == 0xfe && second == 0xff) || (first == 0xff && second == 0xfe))
        return utf16Mib;
    if (first == '<' && second == 0)
        return utf16LeMib;
    if (first == 0 && second == '<')
        return utf16BeMib;
    return utf8Mib;
}

// The encoding named in a leading XML declaration, read as loosely as Qt reads it:
// the first quoted text after the word "encoding" inside the declaration.
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

bool isSpace(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n') ||
           c == QLatin1Char('\r');
}

bool isNameStart(QChar c)
{
    return c.isLetter() || c == QLatin1Char('_') || c == QLatin1Char(':') || c.unicode() > 0x7f;
}

// Characters that end a name in every place the scan reads one.
bool endsName(QChar c)
{
    switch (c.unicode()) {
    case ' ':
    case '\t':
    case '\n':
    case '\r':
    case '<':
    case '>':
    case '&':
    case '%':
    case ';':
    case '=':
    case '/':
    case '?':
    case '!':
    case '"':
    case '\'':
    case '[':
    case ']':
        return true;
    default:
        return false;
    }
}

int digitValue(QChar c, int base)
{
    const ushort u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (base == 16 && u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    if (base == 16 && u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    return -1;
}

// The character that the digits of a reference ("x1F600" or "128512") name, or -1
// when they name none. XML has no characters in the surrogate range nor beyond
// U+10FFFF; Qt's parser would cut such a number to 16 bits and read half of a
// surrogate pair, which no file can store, or another character altogether.
qint64 referencedCharacter(const QString& digits)
{
    const bool hex = digits.startsWith(QLatin1Char('x'));
    const int base = hex ? 16 : 10;
    const int first = hex ? 1 : 0;
    if (digits.size() <= first)
        return -1;
    qint64 code = 0;
    for (int i = first; i < digits.size(); ++i) {
        const int digit = digitValue(digits.at(i), base);
        if (digit < 0)
            return -1;
        code = code * base + digit;
        if (code > 0x10ffff)
            return -1;
    }
    if (code >= 0xd800 && code <= 0xdfff)
        return -1;
    return code;
}

// Where the text holds half of a surrogate pair, or -1.
int loneSurrogateAt(const QString& text)
{
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            ++i;
        else if (c.isSurrogate())
            return i;
    }
    return -1;
}

// Character references in an entity's literal are replaced when it is declared; what
// they produce is read again as markup wherever the entity is used. The literal's
// references have been checked before.
QString replaceCharacterReferences(const QString& literal)
{
    QString result;
    int from = 0;
    for (int at = literal.indexOf(QLatin1String("&#")); at >= 0;
         at = literal.indexOf(QLatin1String("&#"), from)) {
        const int semicolon = literal.indexOf(QLatin1Char(';'), at);
        if (semicolon < 0)
            break;
        const qint64 code = referencedCharacter(literal.mid(at + 2, semicolon - at - 2));
        result.append(QStringView(literal).mid(from, at - from));
        if (code >= 0) {
            const uint character = uint(code);
            result += QString::fromUcs4(&character, 1);
        } else {
            result.append(QStringView(literal).mid(at, semicolon + 1 - at));
        }
        from = semicolon + 1;
    }
    result.append(QStringView(literal).mid(from));
    return result;
}

} // namespace

XmlGuard::XmlGuard(const QString& text)
    : text(text), begin(text.constData()), at(begin), end(begin + text.size())
{
}

bool XmlGuard::refuse(const QString& why)
{
    const int line = 1 + int(std::count(begin, qMin(at, end), QLatin1Char('\n')));
    reason = QStringLiteral("line %1: %2").arg(line).arg(why);
    return false;
}

bool XmlGuard::run()
{
    const int nul = text.indexOf(QChar(0));
    if (nul >= 0) {
        at = begin + nul;
        return refuse(QStringLiteral("a NUL character"));
    }
    const int surrogate = loneSurrogateAt(text);
    if (surrogate >= 0) {
        at = begin + surrogate;
        return refuse(QStringLiteral("half of a surrogate pair, which is no character"));
    }
    while (at < end) {
        if (*at == QLatin1Char('<')) {
            if (!scanMarkup())
                return false;
        } else if (*at == QLatin1Char('&')) {
            if (!scanReference(QLatin1Char('&')))
                return false;
        } else {
            ++at;
        }
    }
    return true;
}

bool XmlGuard::startsWith(const char* markup) const
{
    for (const QChar* p = at; *markup; ++markup, ++p) {
        if (p >= end || *p != QLatin1Char(*markup))
            return false;
    }
    return true;
}

bool XmlGuard::scanMarkup()
{
    if (startsWith("<!--"))
        return countNode() && skipPast(4, QStringLiteral("-->"), "comment");
    if (startsWith("<![CDATA["))
        return countNode() && skipPast(9, QStringLiteral("]]>"), "character data section");
    if (startsWith("<?"))
        return countNode() && skipPast(2, QStringLiteral("?>"), "processing instruction");
    if (startsWith("<!DOCTYPE"))
        return scanDoctype();
    if (startsWith("</"))
        return scanEndTag();
    if (end - at > 1 && isNameStart(at[1]))
        return scanStartTag();
    return refuse(QStringLiteral("a '<' that starts no markup"));
}

// The terminator is looked for only after the opening, so that "<!-->" does not
// pass for a whole comment: the parser reads on, and so must the scan.
bool XmlGuard::skipPast(int opening, const QString& terminator, const char* what)
{
    const int found = text.indexOf(terminator, int(at - begin) + opening);
    if (found < 0)
        return refuse(QStringLiteral("unterminated %1").arg(QLatin1String(what)));
    at = begin + found + terminator.size();
    return true;
}

bool XmlGuard::countNode()
{
    if (++nodes > XmlGuard::maxNodes)
        return refuse(QStringLiteral("more than %1 elements, attributes and other nodes")
                          .arg(XmlGuard::maxNodes));
    return true;
}

void XmlGuard::skipSpaces()
{
    while (at < end && isSpace(*at))
        ++at;
}

QString XmlGuard::readName()
{
    const QChar* start = at;
    while (at < end && !endsName(*at))
        ++at;
    return QString(start, int(at - start));
}

bool XmlGuard::skipName()
{
    const QChar* start = at;
    while (at < end && !endsName(*at))
        ++at;
    return at > start;
}

bool XmlGuard::scanStartTag()
{
    ++at;
    skipName();
    if (!countNode())
        return false;
    for (int attributes = 0;; ++attributes) {
        if (attributes > XmlGuard::maxAttributes)
            return refuse(QStringLiteral("an element with more than %1 attributes")
                              .arg(XmlGuard::maxAttributes));
        skipSpaces();
        if (at >= end)
            return refuse(QStringLiteral("unterminated start tag"));
        if (*at == QLatin1Char('>')) {
            ++at;
            if (++depth > XmlGuard::maxDepth)
                return refuse(
                    QStringLiteral("elements nested more than %1 deep").arg(XmlGuard::maxDepth));
            return true;
        }
        if (startsWith("/>")) {
            at += 2;
            return true;
        }
        if (!skipName())
            return refuse(QStringLiteral("unexpected character in a start tag"));
        skipSpaces();
        if (at >= end || *at != QLatin1Char('='))
            return refuse(QStringLiteral("an attribute without '='"));
        ++at;
        skipSpaces();
        if (!countNode() || !scanAttributeValue())
            return false;
    }
}

bool XmlGuard::scanAttributeValue()
{
    if (at >= end || (*at != QLatin1Char('"') && *at != QLatin1Char('\'')))
        return refuse(QStringLiteral("an attribute value without quotes"));
    const QChar quote = *at++;
    while (at < end && *at != quote) {
        if (*at == QLatin1Char('<'))
            return refuse(QStringLiteral("a '<' inside an attribute value"));
        if (*at == QLatin1Char('&')) {
            if (!scanReference(QLatin1Char('&')))
                return false;
        } else {
            ++at;
        }
    }
    if (at >= end)
        return refuse(QStringLiteral("unterminated attribute value"));
    ++at;
    return true;
}

bool XmlGuard::scanEndTag()
{
    const int close = text.indexOf(QLatin1Char('>'), int(at - begin));
    if (close < 0)
        return refuse(QStringLiteral("unterminated end tag"));
    at = begin + close + 1;
    if (depth > 0)
        --depth;
    return true;
}

bool XmlGuard::scanReference(QChar kind)
{
    ++at;
    if (kind == QLatin1Char('&') && at < end && *at == QLatin1Char('#')) {
        const QChar* start = ++at;
        while (at < end && *at != QLatin1Char(';') && at - start < 12)
            ++at;
        if (at >= end || *at != QLatin1Char(';'))
            return refuse(QStringLiteral("a broken character reference"));
        if (referencedCharacter(QString(start, int(at - start))) < 0)
            return refuse(QStringLiteral("a character reference to no character"));
        ++at;
        return true;
    }
    const QString name = readName();
    if (name.isEmpty() || at >= end || *at != QLatin1Char(';'))
        return refuse(QStringLiteral("a '%1' that starts no reference").arg(kind));
    ++at;
    static const QStringList predefined = {QStringLiteral("amp"), QStringLiteral("lt"),
                                           QStringLiteral("gt"), QStringLiteral("quot"),
                                           QStringLiteral("apos")};
    QHash<QString, Entity>& entities = kind == QLatin1Char('&') ? general : parameter;
    const auto found = entities.find(name);
    if (found == entities.end()) {
        if (kind == QLatin1Char('&') && predefined.contains(name))
            return true;
        return refuse(QStringLiteral("a reference to the undeclared entity '%1'").arg(name));
    }
    return countNode() && addExpansion(XmlGuard::referenceCost + expansion(&found.value(), 0));
}

bool XmlGuard::addExpansion(qint64 characters)
{
    expanded += characters;
    if (expanded > XmlGuard::maxExpansion)
        return refuse(QStringLiteral("entities that would expand to more than %1 characters")
                          .arg(XmlGuard::maxExpansion));
    return true;
}

// The characters one reference to the entity adds, references inside it included.
// An entity that refers to itself, or nests too deep, counts as over the limit.
qint64 XmlGuard::expansion(Entity* entity, int level)
{
    if (entity->external)
        return 0;
    if (entity->length >= 0)
        return entity->length;
    if (entity->visiting || level > XmlGuard::maxEntityNesting)
        return XmlGuard::maxExpansion + 1;
    entity->visiting = true;
    const qint64 length = entity->replacement.size() + referencesIn(entity->replacement, level);
    entity->visiting = false;
    entity->length = qMin(length, XmlGuard::maxExpansion + 1);
    return entity->length;
}

qint64 XmlGuard::referencesIn(const QString& replacement, int level)
{
    qint64 total = 0;
    for (int i = 0; i < replacement.size() && total <= XmlGuard::maxExpansion; ++i) {
        const QChar kind = replacement.at(i);
        if (kind != QLatin1Char('&') && kind != QLatin1Char('%'))
            continue;
        int stop = i + 1;
        while (stop < replacement.size() && !endsName(replacement.at(stop)))
            ++stop;
        if (stop == i + 1 || stop >= replacement.size() || replacement.at(stop) != QLatin1Char(';'))
            continue;
        QHash<QString, Entity>& entities = kind == QLatin1Char('&') ? general : parameter;
        const auto found = entities.find(replacement.mid(i + 1, stop - i - 1));
        if (found != entities.end())
            total += XmlGuard::referenceCost + expansion(&found.value(), level + 1);
        i = stop;
    }
    return total;
}

bool XmlGuard::scanDoctype()
{
    at += 9;
    while (at < end) {
        if (*at == QLatin1Char('"') || *at == QLatin1Char('\'')) {
            QString ignored;
            if (!readQuoted(&ignored))
                return false;
        } else if (*at == QLatin1Char('[')) {
            ++at;
            if (!scanInternalSubset())
                return false;
        } else if (*at == QLatin1Char('>')) {
            ++at;
            return true;
        } else {
            ++at;
        }
    }
    return refuse(QStringLiteral("unterminated document type declaration"));
}

bool XmlGuard::scanInternalSubset()
{
    for (;;) {
        skipSpaces();
        if (at >= end)
            return refuse(QStringLiteral("unterminated document type declaration"));
        bool ok = true;
        if (*at == QLatin1Char(']')) {
            ++at;
            return true;
        } else if (*at == QLatin1Char('%')) {
            ok = scanReference(QLatin1Char('%'));
        } else if (startsWith("<!--")) {
            ok = skipPast(4, QStringLiteral("-->"), "comment");
        } else if (startsWith("<?")) {
            ok = skipPast(2, QStringLiteral("?>"), "processing instruction");
        } else if (startsWith("<!ENTITY")) {
            ok = scanEntityDeclaration();
        } else if (startsWith("<!")) {
            ok = skipDeclaration();
        } else {
            ok = refuse(QStringLiteral("unexpected text in the document type declaration"));
        }
        if (!ok)
            return false;
    }
}

bool XmlGuard::readQuoted(QString* value)
{
    const QChar quote = *at++;
    const QChar* start = at;
    while (at < end && *at != quote)
        ++at;
    if (at >= end)
        return refuse(QStringLiteral("unterminated quoted text"));
    *value = QString(start, int(at - start));
    ++at;
    return true;
}

// Quoted text in a declaration may be an attribute's default value, whose entity
// references the parser expands like those of any attribute.
bool XmlGuard::skipDeclaration()
{
    while (at < end && *at != QLatin1Char('>')) {
        if (*at == QLatin1Char('"') || *at == QLatin1Char('\'')) {
            QString literal;
            if (!readQuoted(&literal) || !addExpansion(referencesIn(literal, 0)))
                return false;
        } else {
            ++at;
        }
    }
    if (at >= end)
        return refuse(QStringLiteral("unterminated declaration"));
    ++at;
    return true;
}

bool XmlGuard::checkCharacterReferences(const QString& literal)
{
    for (int from = literal.indexOf(QLatin1String("&#")); from >= 0;
         from = literal.indexOf(QLatin1String("&#"), from + 2)) {
        const int semicolon = literal.indexOf(QLatin1Char(';'), from);
        if (semicolon < 0)
            return refuse(QStringLiteral("a broken character reference in an entity"));
        if (referencedCharacter(literal.mid(from + 2, semicolon - from - 2)) < 0)
            return refuse(QStringLiteral("a character reference to no character in an entity"));
    }
    return true;
}

// The first declaration of a name is the one that counts, as in every XML parser.
bool XmlGuard::scanEntityDeclaration()
{
    at += 8;
    skipSpaces();
    const bool isParameter = at < end && *at == QLatin1Char('%');
    if (isParameter) {
        ++at;
        skipSpaces();
    }
    const QString name = readName();
    if (name.isEmpty())
        return refuse(QStringLiteral("an entity declaration without a name"));
    skipSpaces();
    Entity entity;
    if (at < end && (*at == QLatin1Char('"') || *at == QLatin1Char('\''))) {
        QString literal;
        // References that the literal's own references spell out are read again where
        // the entity is used, so they must name characters too.
        if (!readQuoted(&literal) || !checkCharacterReferences(literal))
            return false;
        entity.replacement = replaceCharacterReferences(literal);
        if (!checkCharacterReferences(entity.replacement))
            return false;
        if (!isParameter && entity.replacement.contains(QLatin1Char('<')))
            return refuse(QStringLiteral("the entity '%1' holds markup").arg(name));
    } else {
        entity.external = true;
    }
    QHash<QString, Entity>& entities = isParameter ? parameter : general;
    if (!entities.contains(name))
        entities.insert(name, entity);
    return skipDeclaration();
}

// The one place that knows the toolkit's text codecs, which changed between Qt 5 and 6.
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
namespace
{

QStringConverter::Encoding encodingOfMib(int mib)
{
    switch (mib) {
    case utf16Mib:
        return QStringConverter::Utf16;
    case utf16LeMib:
        return QStringConverter::Utf16LE;
    case utf16BeMib:
        return QStringConverter::Utf16BE;
    default:
        return QStringConverter::Utf8;
    }
}

} // namespace

QString XmlGuard::decode(const QByteArray& data)
{
    const QStringConverter::Encoding detected = encodingOfMib(detectedMib(data));
    QString text = QStringDecoder(detected).decode(data);
    const QString declared = declaredEncoding(text);
    if (!declared.isEmpty()) {
        QStringDecoder decoder(declared.toLatin1().constData());
        const auto named = QStringConverter::encodingForName(declared.toLatin1().constData());
        if (decoder.isValid() && (!named || *named != detected))
            text = decoder.decode(data);
    }
    if (text.startsWith(QChar(0xfeff)))
        text.remove(0, 1);
    return text;
}
#else
QString XmlGuard::decode(const QByteArray& data)
{
    const int mib = detectedMib(data);
    QString text = QTextCodec::codecForMib(mib)->toUnicode(data);
    const QString declared = declaredEncoding(text);
    if (!declared.isEmpty()) {
        QTextCodec* codec = QTextCodec::codecForName(declared.toLatin1());
        if (codec && codec->mibEnum() != mib)
            text = codec->toUnicode(data);
    }
    if (text.startsWith(QChar(0xfeff)))
        text.remove(0, 1);
    return text;
}
#endif

bool XmlGuard::check(const QString& text, QString* reason)
{
    XmlGuard scanner(text);
    if (scanner.run())
        return true;
    if (reason)
        *reason = scanner.reason;
    return false;
}
