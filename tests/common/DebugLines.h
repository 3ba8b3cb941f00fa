// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>
#include <QtGlobal>

// The debug lines written while it lives, in order. The handler before it (the test
// framework's own) goes back in place at the end, so later tests can still expect
// messages.
class DebugLines
{
public:
    DebugLines() : previous(qInstallMessageHandler(record)) { recording = &lines; }
    ~DebugLines()
    {
        qInstallMessageHandler(previous);
        recording = nullptr;
    }
    DebugLines(const DebugLines&) = delete;
    DebugLines& operator=(const DebugLines&) = delete;

    QStringList lines;

private:
    static void record(QtMsgType type, const QMessageLogContext&, const QString& message)
    {
        if (type == QtDebugMsg && recording)
            recording->append(message);
    }

    inline static QStringList* recording = nullptr;
    QtMessageHandler previous;
};
