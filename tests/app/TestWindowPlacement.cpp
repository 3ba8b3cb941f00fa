// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QtTest>

class TestWindowPlacement : public QObject
{
    Q_OBJECT

private slots:
    void windowStaysReachable_data();
    void windowStaysReachable();
    void largeFontIsCapped();
};

// Along each side where the window fits it stands in the middle of the free area; where
// it does not, it starts at the free area's beginning, so its title bar can be reached.
// Sizes are the free area's plus `extra`, so each row means the same on any screen.
void TestWindowPlacement::windowStaysReachable_data()
{
    QTest::addColumn<QSize>("extra");
    QTest::newRow("fits") << QSize(-200, -200);
    QTest::newRow("wider than the screen") << QSize(100, -200);
    QTest::newRow("larger than the screen") << QSize(100, 100);
}

void TestWindowPlacement::windowStaysReachable()
{
    QFETCH(QSize, extra);
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    QWidget window;
    window.resize(available.size() + extra);
    WindowPlacement::placeOnScreen(&window);
    const QRect placed(window.pos(), window.size());
    const QPoint offCentre = placed.center() - available.center();
    QVERIFY(extra.width() > 0 ? placed.left() == available.left() : qAbs(offCentre.x()) <= 1);
    QVERIFY(extra.height() > 0 ? placed.top() == available.top() : qAbs(offCentre.y()) <= 1);
}

void TestWindowPlacement::largeFontIsCapped()
{
    for (const qreal desktop : {14.0, 9.0, 7.5}) {
        QWidget window;
        QFont font = window.font();
        font.setPointSizeF(desktop);
        window.setFont(font);
        WindowPlacement::capFontSize(&window);
        QCOMPARE(window.font().pointSizeF(), desktop > 9 ? 9.0 : desktop);
    }
}

QTEST_MAIN(TestWindowPlacement)
#include "TestWindowPlacement.moc"
