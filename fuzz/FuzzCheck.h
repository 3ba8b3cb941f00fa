// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

// What every fuzz target shares: a violated invariant stops the run with the input
// saved by libFuzzer, and the readers' debug lines stay out of its output.

namespace fuzz
{

// The input bytes as they are, NULs included; QByteArray's own conversions would stop
// at the first NUL and hide everything behind it from the code under test.
inline QByteArray bytes(const uint8_t* data, size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), int(size));
}

inline QString fromUtf8(const QByteArray& data)
{
    return QString::fromUtf8(data.constData(), data.size());
}

inline QString fromLatin1(const QByteArray& data)
{
    return QString::fromLatin1(data.constData(), data.size());
}

[[noreturn]] inline void fail(const char* what, const QString& detail)
{
    std::fprintf(stderr, "invariant violated: %s\n  %s\n", what,
                 detail.toUtf8().toPercentEncoding(" ()<>/\\=,:;#\"'").constData());
    std::abort();
}

inline void require(bool holds, const char* what, const QString& detail = QString())
{
    if (!holds)
        fail(what, detail);
}

inline void dropDebugLines(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtDebugMsg || type == QtInfoMsg)
        return;
    std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
    if (type == QtFatalMsg)
        std::abort();
}

inline void quiet()
{
    static const bool installed = (qInstallMessageHandler(dropDebugLines), true);
    Q_UNUSED(installed)
}

} // namespace fuzz
