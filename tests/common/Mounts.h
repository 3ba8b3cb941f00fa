// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Real file systems to fail on: a tiny tmpfs to fill, and a read-only bind mount.
// Both need root; tests skip when the machine refuses the mount.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QtTest>

#include <cerrno>
#include <cstring>

#ifdef Q_OS_LINUX
#include <sys/mount.h>
#endif

class Tmpfs
{
public:
    Tmpfs(const QString& folder, int pages) : folder(folder)
    {
#ifdef Q_OS_LINUX
        const QByteArray options = "size=" + QByteArray::number(pages * 4) + "k";
        mounted = ::mount("tmpfs", QFile::encodeName(folder).constData(), "tmpfs", 0,
                          options.constData()) == 0;
        if (!mounted)
            error = QString::fromLocal8Bit(std::strerror(errno));
#else
        Q_UNUSED(pages)
        error = QStringLiteral("only on Linux");
#endif
    }
    ~Tmpfs()
    {
#ifdef Q_OS_LINUX
        if (mounted)
            ::umount2(QFile::encodeName(folder).constData(), MNT_DETACH);
#endif
    }

    QString folder;
    bool mounted = false;
    QString error;
};

// Fills the file system to the last page and then gives back `pages` pages.
inline void fillLeaving(const QString& folder, int pages)
{
    QFile filler(folder + QStringLiteral("/filler"));
    QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    const QByteArray page(4096, 'f');
    while (filler.write(page) == page.size()) {
    }
    filler.close();
    const qint64 full = QFileInfo(filler.fileName()).size() / 4096 * 4096;
    QVERIFY(filler.resize(full - pages * 4096));
}

// Makes a folder read-only for everyone, root included, for as long as it lives; or,
// given a second folder, shows the first there too, writable (an alias).
class ReadOnlyBind
{
public:
    explicit ReadOnlyBind(const QString& folder, const QString& alias = QString())
        : folder(alias.isEmpty() ? folder : alias)
    {
#ifdef Q_OS_LINUX
        const QByteArray path = QFile::encodeName(this->folder);
        bound = ::mount(QFile::encodeName(folder).constData(), path.constData(), nullptr, MS_BIND,
                        nullptr) == 0;
        if (bound && !alias.isEmpty())
            mounted = true;
        else if (bound)
            mounted = ::mount(nullptr, path.constData(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY,
                              nullptr) == 0;
        if (!mounted)
            error = QString::fromLocal8Bit(std::strerror(errno));
#else
        Q_UNUSED(alias)
        error = QStringLiteral("only on Linux");
#endif
    }
    ~ReadOnlyBind()
    {
#ifdef Q_OS_LINUX
        if (bound)
            ::umount2(QFile::encodeName(folder).constData(), MNT_DETACH);
#endif
    }

    QString folder;
    bool bound = false;
    bool mounted = false;
    QString error;
};
