// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

// Stands between a file and Qt's DOM parser, which overflows the stack on deeply
// nested documents and expands entities without a total limit. The document is
// decoded here, scanned once without recursion, and only handed on when its depth
// and entity expansion stay within bounds that no real colour file comes near.
// The scan refuses whatever it cannot follow; it never accepts a document whose
// markup it has misread. Nor does it pass half of a surrogate pair, raw or as a
// character reference, which the parser would accept although no file can hold it.
class XmlGuard
{
public:
    // Elements open at the same time, the root included.
    static const int maxDepth = 256;
    // Elements, attributes, comments, processing instructions, character data
    // sections and entity references together: each becomes a node of the DOM, whose
    // time and memory grow with their number. A file of 200,000 colours has 600,000;
    // at this bound the DOM still reads a file in well under two seconds.
    static const int maxNodes = 650000;
    // Attributes of one element: the DOM slows down on elements with very many.
    static const int maxAttributes = 1024;
    // Characters that all entity references together may add to the document; each
    // reference costs referenceCost more, so a flood of references to an empty entity
    // is bounded too.
    static const qint64 maxExpansion = 1000000;
    static const qint64 referenceCost = 16;
    // Entities whose replacement refers to further entities, one inside the other.
    static const int maxEntityNesting = 32;

    // The text the way Qt's XML parser reads the bytes: UTF-16 when they start with
    // a byte-order mark or with '<' in UTF-16, otherwise UTF-8; an encoding
    // declaration naming a codec Qt knows wins. A byte-order mark is dropped.
    static QString decode(const QByteArray& data);

    // True when the text may go to the DOM parser; otherwise false with the reason.
    static bool check(const QString& text, QString* reason = nullptr);

private:
    struct Entity {
        QString replacement;
        bool external = false;
        qint64 length = -1;
        bool visiting = false;
    };

    explicit XmlGuard(const QString& text);

    bool run();
    bool scanMarkup();
    bool scanStartTag();
    bool scanAttributeValue();
    bool scanEndTag();
    bool scanDoctype();
    bool scanInternalSubset();
    bool scanEntityDeclaration();
    bool checkCharacterReferences(const QString& literal);
    bool scanReference(QChar kind);
    bool skipPast(int opening, const QString& terminator, const char* what);
    bool skipDeclaration();
    bool readQuoted(QString* value);
    void skipSpaces();
    QString readName();
    bool skipName();
    bool startsWith(const char* markup) const;
    bool countNode();
    bool addExpansion(qint64 characters);
    qint64 expansion(Entity* entity, int level);
    qint64 referencesIn(const QString& replacement, int level);
    bool refuse(const QString& why);

    const QString& text;
    const QChar* begin;
    const QChar* at;
    const QChar* end;
    int depth = 0;
    int nodes = 0;
    qint64 expanded = 0;
    QHash<QString, Entity> general;
    QHash<QString, Entity> parameter;
    QString reason;
};
