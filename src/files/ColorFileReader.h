// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

class AOColors;

// Reads the "HTMLColor" entries of a colour file with Qt's streaming XML reader, which
// expands nothing it has not been asked for and keeps no tree. Documents that could
// make a read slow or unbounded are refused before the reader sees them, and every
// refusal names the line and column where it has one.
//
// Two things are done here by hand, because Qt does neither:
// - Decoding. Qt 5's reader turns bytes that are invalid in the document's encoding
//   into U+FFFD and reads on, which would lose the text at the next save; Qt 5's
//   codecs for encodings other than Unicode never report such bytes at all, and both
//   versions pass half of a surrogate pair through. So the bytes are decoded here,
//   the text is trusted only when it encodes back to exactly the bytes read, and the
//   reader is given the text.
// - A pass that finds the tags before the reader starts. Qt's reader compares every
//   attribute of an element with every earlier one once the tag is complete, and reads
//   a document type's internal subset (entity declarations, parameter entities and
//   what they expand to) in full before it reports it; 10,000 attributes take seconds.
//   The pass only counts attributes and looks for an internal subset that is not
//   empty; whether the document is well-formed is left to the reader.
class ColorFileReader
{
public:
    // Elements open at the same time, the root included.
    static constexpr int maxDepth = 256;
    // Attributes of one element; the game's entries have two.
    static constexpr int maxAttributes = 32;
    // "HTMLColor" entries: room for 200,000 colours.
    static constexpr int maxEntries = 200000;

    // Replaces the table's entries with one per "HTMLColor" element of the document,
    // in document order. The table is empty when the document is refused, which it also
    // is when Tintwell would write its table larger than ColorFileWriter::maxSize. Bytes handed
    // over with std::move are freed once decoded, so a large file is not held as bytes,
    // as text and as a table at once.
    static bool read(QByteArray data, AOColors* table, QString* error = nullptr);
};
