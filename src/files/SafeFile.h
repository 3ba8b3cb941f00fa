// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

class QFile;

// Replaces a file so that at every instant it holds either its previous complete
// content or the new complete content. The new bytes go to a temporary file in the
// same folder, are flushed, synced to disk and closed, and only then renamed over
// the target in one step. A SafeFile that is not committed leaves no trace.
class SafeFile
{
public:
    explicit SafeFile(const QString& target);
    ~SafeFile();
    SafeFile(const SafeFile&) = delete;
    SafeFile& operator=(const SafeFile&) = delete;

    // Writes the whole new content to the temporary file and syncs it.
    bool write(const QByteArray& data);
    // Puts the written content in place of the target.
    bool commit();
    QString errorString() const;

    static bool replace(const QString& target, const QByteArray& data, QString* error = nullptr);
    // Reads the whole source first, so a missing or unreadable source changes nothing.
    static bool copy(const QString& source, const QString& target, QString* error = nullptr);
    static bool readAll(const QString& path, QByteArray* data, QString* error = nullptr);

private:
    bool fail(const QString& what, const QString& reason);
    bool createTemp(QFile* file);
    void discard();

    QString target;
    QString tempName;
    bool written = false;
    QString error;
};
