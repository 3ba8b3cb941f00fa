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
    void windowStaysReachableOnTheScreen_data();
    void windowStaysReachableOnTheScreen();
    void largeDesktopFontIsCapped_data();
    void largeDesktopFontIsCapped();
};

// A window that fits stands in the middle of the free area; along a side where it does
// not fit, it starts at that side's beginning, so its title bar can be reached.
void TestWindowPlacement::windowStaysReachableOnTheScreen_data()
{
    QTest::addColumn<QSize>("extra");
    QTest::addColumn<bool>("centredAcross");
    QTest::addColumn<bool>("centredDown");
    // The size is the free area's plus `extra`, so every row means the same on any screen.
    QTest::newRow("fits") << QSize(-200, -200) << true << true;
    QTest::newRow("wider than the screen") << QSize(100, -200) << false << true;
    QTest::newRow("larger than the screen") << QSize(100, 100) << false << false;
}

void TestWindowPlacement::windowStaysReachableOnTheScreen()
{
    QFETCH(QSize, extra);
    QFETCH(bool, centredAcross);
    QFETCH(bool, centredDown);
    QScreen* screen = QGuiApplication::primaryScreen();
    QVERIFY(screen);
    const QRect available = screen->availableGeometry();
    QWidget window;
    window.resize(available.size() + extra);
    WindowPlacement::placeOnScreen(&window);

    const QRect placed(window.pos(), window.size());
    if (centredAcross)
        QVERIFY(qAbs(placed.center().x() - available.center().x()) <= 1);
    else
        QCOMPARE(placed.left(), available.left());
    if (centredDown)
        QVERIFY(qAbs(placed.center().y() - available.center().y()) <= 1);
    else
        QCOMPARE(placed.top(), available.top());
}

void TestWindowPlacement::largeDesktopFontIsCapped_data()
{
    QTest::addColumn<qreal>("desktop");
    QTest::addColumn<qreal>("shown");
    QTest::newRow("large") << qreal(14) << qreal(9);
    QTest::newRow("the dialog size") << qreal(9) << qreal(9);
    QTest::newRow("small") << qreal(7.5) << qreal(7.5);
}

void TestWindowPlacement::largeDesktopFontIsCapped()
{
    QFETCH(qreal, desktop);
    QFETCH(qreal, shown);
    QWidget window;
    QFont font = window.font();
    font.setPointSizeF(desktop);
    window.setFont(font);
    WindowPlacement::capFontSize(&window);
    QCOMPARE(window.font().pointSizeF(), shown);
}

QTEST_MAIN(TestWindowPlacement)
#include "TestWindowPlacement.moc"
