// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIconEngine>
#include <QMap>
#include <QPixmap>

#include <array>

// The window's picture at the sizes window managers draw it (in title bars, task bars
// and task switchers, up to 32 pixels at 200%), each read the first time it is asked
// for: the 16-pixel original from the XPM lines, the larger ones from the painted
// files. Windows asks for two of them; X11 takes every size offered, and reading and
// sending the 128- and 256-pixel pictures at every start took longer than building a
// page. Larger pictures of the program come from the installed icon theme. Qt's own
// engines read every file they are given up front, hence an engine of our own.
class ProgramIconEngine : public QIconEngine
{
public:
    // The program's icon, for the application and its window.
    static QIcon icon();

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override;
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override;
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override;
    QIconEngine* clone() const override;

#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override;
#else
    void virtual_hook(int id, void* data) override;
#endif

private:
    static constexpr std::array<int, 6> sides = {16, 22, 24, 32, 48, 64};

    static QList<QSize> sizes();
    static int sideFor(const QSize& size);
    QPixmap pictureFor(const QSize& size);

    QMap<int, QPixmap> pictures;
};
