// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ProgramIconEngine.h"

#include "info/Picture.h"

#include <QApplication>
#include <QGuiApplication>
#include <QIcon>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>

#include <algorithm>

#include "tintwell_icon.xpm"

// Outside any namespace, as Qt's macro requires; the icons live in the static library,
// whose resources are linked in only when something refers to them.
static void initIconResources()
{
    Q_INIT_RESOURCE(icons);
}

QIcon ProgramIconEngine::icon()
{
    initIconResources();
    return QIcon(new ProgramIconEngine());
}

QPixmap ProgramIconEngine::pixmap(const QSize& size, QIcon::Mode mode, QIcon::State)
{
    QPixmap picture = pictureFor(size);
    if (picture.width() > size.width() || picture.height() > size.height())
        picture = picture.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    if (mode == QIcon::Normal || mode == QIcon::Active)
        return picture;
    QStyleOption option;
    option.palette = QGuiApplication::palette();
    return QApplication::style()->generatedIconPixmap(mode, picture, &option);
}

void ProgramIconEngine::paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
                              QIcon::State state)
{
    const qreal scale = painter->device()->devicePixelRatioF();
    painter->drawPixmap(rect, pixmap(rect.size() * scale, mode, state));
}

QSize ProgramIconEngine::actualSize(const QSize& size, QIcon::Mode, QIcon::State)
{
    const int side = qMin(sideFor(size), qMin(size.width(), size.height()));
    return QSize(side, side);
}

QIconEngine* ProgramIconEngine::clone() const
{
    return new ProgramIconEngine(*this);
}

#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
QList<QSize> ProgramIconEngine::availableSizes(QIcon::Mode, QIcon::State)
{
    return sizes();
}
#else
void ProgramIconEngine::virtual_hook(int id, void* data)
{
    if (id == QIconEngine::AvailableSizesHook)
        static_cast<AvailableSizesArgument*>(data)->sizes = sizes();
    else
        QIconEngine::virtual_hook(id, data);
}
#endif

QList<QSize> ProgramIconEngine::sizes()
{
    QList<QSize> all;
    for (int side : sides)
        all.append(QSize(side, side));
    return all;
}

// The smallest picture at least as large as asked for, or the largest.
int ProgramIconEngine::sideFor(const QSize& size)
{
    const int wanted = qMax(size.width(), size.height());
    const auto fits =
        std::find_if(sides.begin(), sides.end(), [wanted](int side) { return side >= wanted; });
    return fits == sides.end() ? sides.back() : *fits;
}

QPixmap ProgramIconEngine::pictureFor(const QSize& size)
{
    const int side = sideFor(size);
    QPixmap& picture = pictures[side];
    if (picture.isNull())
        picture = side == sides.front()
                      ? QPixmap(tintwell_icon_xpm)
                      : Picture::fromResource(QStringLiteral(":/icons/%1x%1.png").arg(side));
    return picture;
}
