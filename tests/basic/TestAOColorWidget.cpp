// SPDX-License-Identifier: GPL-3.0-or-later
#include "basic/AOColorWidget.h"

#include "common/ColorTable.h"
#include "common/Pixels.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

namespace
{

// A row has one caption and one button.
QLabel* labelOf(const AOColorWidget& row)
{
    return row.findChild<QLabel*>();
}

QPushButton* buttonOf(const AOColorWidget& row)
{
    return row.findChild<QPushButton*>();
}

AOColor colorOf(const QString& text)
{
    AOColor color;
    color.setValue(text);
    return color;
}

const QColor chat(0x33, 0xcc, 0x66);
const QColor later(0xee, 0x22, 0x99);
const QColor backdrop(0x1e, 0x2a, 0x3c);

} // namespace

class TestAOColorWidget : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void rowIsBuiltAsDesigned();
    void clickSendsExactlyItsNames_data();
    void clickSendsExactlyItsNames();
    void captionAndSwatchShowTheChatColour();
    void missingFirstNameShowsInvalidColour();
    void colourChangesOnlyOnUpdate();
    void buttonIsNamedAfterCaption();
    void swatchGivesWayBeforeTheCaption_data();
    void swatchGivesWayBeforeTheCaption();
};

void TestAOColorWidget::init()
{
    aoColors.clear();
}

void TestAOColorWidget::rowIsBuiltAsDesigned()
{
    AOColorWidget row;
    QCOMPARE(row.QWidget::layout()->spacing(), 3);
    QCOMPARE(row.QWidget::layout()->contentsMargins(), QMargins(0, 0, 0, 0));
    QCOMPARE(row.QWidget::layout()->indexOf(labelOf(row)), 0);
    QCOMPARE(row.QWidget::layout()->indexOf(buttonOf(row)), 1);
    QCOMPARE(labelOf(row)->frameStyle(), 50);
    QCOMPARE(labelOf(row)->indent(), 5);
    QVERIFY(labelOf(row)->autoFillBackground());
    QVERIFY(buttonOf(row)->text().isEmpty());

    row.setText(QString());
    QCOMPARE(labelOf(row)->text(), QStringLiteral("<b> :</b>"));
    row.setText(QStringLiteral("Guild chat"));
    QCOMPARE(labelOf(row)->text(), QStringLiteral("<b>Guild chat :</b>"));

    // The swatch keeps its size; the caption takes whatever width is left.
    row.resize(600, 40);
    row.show();
    QVERIFY(QTest::qWaitForWindowExposed(&row));
    QCOMPARE(buttonOf(row)->size(), QSize(140, 25));
    QCOMPARE(labelOf(row)->width(), 600 - 140 - 3);
}

void TestAOColorWidget::clickSendsExactlyItsNames_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::newRow("none") << QStringList();
    QTest::newRow("one") << QStringList{QStringLiteral("ctch_pgroup")};
    QTest::newRow("two") << QStringList{QStringLiteral("ctch_clan"), QStringLiteral("CCClanColor")};
    QTest::newRow("three") << QStringList{QStringLiteral("ct_itell"), QStringLiteral("ctch_tell"),
                                          QStringLiteral("CCTellColor")};
    QTest::newRow("repeated") << QStringList{QStringLiteral("a"), QStringLiteral("a")};
}

void TestAOColorWidget::clickSendsExactlyItsNames()
{
    QFETCH(QStringList, names);
    AOColorWidget row;
    for (const QString& name : names)
        row.addColorGroup(name);
    QSignalSpy spy(&row, &AOColorWidget::clicked);

    QTest::mouseClick(buttonOf(row), Qt::LeftButton);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toStringList(), names);
}

void TestAOColorWidget::captionAndSwatchShowTheChatColour()
{
    setColorTable({{QStringLiteral("ctch_clan"), QStringLiteral("0x33CC66")}});
    AOColorWidget row;
    row.setText(QStringLiteral("Guild chat"));
    row.addColorGroup(QStringLiteral("ctch_clan"));
    row.resize(320, 30);

    // Either call may come first; the other's effect must survive.
    row.updateColor();
    row.setBackgroundColor(colorOf(QStringLiteral("0x1e2a3c")));
    const QImage image = Pixels::render(&row);
    const QRect caption = labelOf(row)->geometry();

    QVERIFY2(Pixels::count(image, chat, caption) > 20, "caption not drawn in the chat colour");
    QVERIFY(Pixels::count(image, backdrop, caption) > caption.width() * caption.height() / 2);
    QVERIFY(Pixels::hasBlock(image, chat, QSize(12, 3), buttonOf(row)->geometry()));

    row.setBackgroundColor(colorOf(QStringLiteral("#203040")));
    const QImage again = Pixels::render(&row);
    QVERIFY(Pixels::count(again, chat, caption) > 20);
    QCOMPARE(Pixels::count(again, backdrop, caption), 0);
    QVERIFY(Pixels::count(again, QColor(0x20, 0x30, 0x40), caption) > 0);
}

void TestAOColorWidget::missingFirstNameShowsInvalidColour()
{
    setColorTable({{QStringLiteral("ctch_tell"), QStringLiteral("0xee2299")}});
    AOColorWidget row;
    row.setText(QStringLiteral("Private tells"));
    row.addColorGroup(QStringLiteral("ct_itell"));
    row.addColorGroup(QStringLiteral("ctch_tell"));
    row.resize(320, 30);
    row.updateColor();

    QVERIFY(!labelOf(row)->palette().color(QPalette::WindowText).isValid());
    QVERIFY(!labelOf(row)->palette().color(QPalette::Text).isValid());
    QVERIFY(!buttonOf(row)->icon().isNull());
    QCOMPARE(Pixels::count(Pixels::render(&row), later), 0);

    QSignalSpy spy(&row, &AOColorWidget::clicked);
    QTest::mouseClick(buttonOf(row), Qt::LeftButton);
    QCOMPARE(spy.at(0).at(0).toStringList(),
             (QStringList{QStringLiteral("ct_itell"), QStringLiteral("ctch_tell")}));
}

void TestAOColorWidget::colourChangesOnlyOnUpdate()
{
    AOColorWidget empty;
    empty.updateColor();
    QVERIFY(buttonOf(empty)->icon().isNull());

    setColorTable({{QStringLiteral("ctch_clan"), QStringLiteral("0x33cc66")}});
    AOColorWidget row;
    row.addColorGroup(QStringLiteral("ctch_clan"));
    row.updateColor();
    QCOMPARE(labelOf(row)->palette().color(QPalette::WindowText), chat);

    setColorTable({{QStringLiteral("ctch_clan"), QStringLiteral("0xee2299")}});
    QCOMPARE(labelOf(row)->palette().color(QPalette::WindowText), chat);
    row.updateColor();
    QCOMPARE(labelOf(row)->palette().color(QPalette::WindowText), later);
    QCOMPARE(buttonOf(row)->icon().pixmap(QSize(60, 15)).toImage().pixelColor(30, 7), later);
}

void TestAOColorWidget::buttonIsNamedAfterCaption()
{
    AOColorWidget row;
    row.setText(QStringLiteral("Towers &amp; Org. Msg."));
    QCOMPARE(buttonOf(row)->accessibleName(), QStringLiteral("Towers & Org. Msg."));
    QVERIFY(buttonOf(row)->text().isEmpty());
    QCOMPARE(labelOf(row)->text(), QStringLiteral("<b>Towers &amp; Org. Msg. :</b>"));
}

void TestAOColorWidget::swatchGivesWayBeforeTheCaption_data()
{
    QTest::addColumn<int>("swatchRoom"); // the row's width beyond the caption and spacing
    QTest::addColumn<int>("swatch");
    QTest::addColumn<bool>("shortened");

    QTest::newRow("room to spare") << 200 << 140 << false;
    QTest::newRow("swatch gives way") << 100 << 100 << false;
    QTest::newRow("swatch at its narrowest") << 60 << 60 << false;
    QTest::newRow("caption shortened") << 30 << 60 << true;
}

// The swatch gives up width before the caption does. A row too narrow even for the
// narrowest swatch shows the caption's start, "…" and the colon, and the whole caption
// as a tooltip; given the room again, the caption is whole and the swatch full width.
void TestAOColorWidget::swatchGivesWayBeforeTheCaption()
{
    QFETCH(int, swatchRoom);
    QFETCH(int, swatch);
    QFETCH(bool, shortened);
    const QString whole = QStringLiteral("<b>Towers &amp; Org. Msg. and a long tail :</b>");
    AOColorWidget row;
    row.setText(QStringLiteral("Towers &amp; Org. Msg. and a long tail"));
    row.resize(800, 30);
    row.show();
    QVERIFY(QTest::qWaitForWindowExposed(&row));
    const int need = labelOf(row)->sizeHint().width();

    row.resize(need + 3 + swatchRoom, 30);
    QTRY_COMPARE(labelOf(row)->width(), row.width() - 3 - swatch);
    QCOMPARE(buttonOf(row)->size(), QSize(swatch, 25));
    QVERIFY(labelOf(row)->sizeHint().width() <= labelOf(row)->width());
    const QString text = labelOf(row)->text();
    if (shortened) {
        QVERIFY2(text.startsWith(QStringLiteral("<b>Towers &amp; ")), qPrintable(text));
        QVERIFY2(text.endsWith(QStringLiteral("\u2026 :</b>")), qPrintable(text));
        QCOMPARE(labelOf(row)->toolTip(), QStringLiteral("Towers & Org. Msg. and a long tail"));
    } else {
        QCOMPARE(text, whole);
        QCOMPARE(labelOf(row)->toolTip(), QString());
    }

    row.resize(800, 30);
    QTRY_COMPARE(labelOf(row)->text(), whole);
    QCOMPARE(labelOf(row)->toolTip(), QString());
    QCOMPARE(buttonOf(row)->width(), 140);
}

QTEST_MAIN(TestAOColorWidget)
#include "TestAOColorWidget.moc"
