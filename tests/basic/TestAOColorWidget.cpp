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

// Opens the row's parts to the test.
class OpenWidget : public AOColorWidget
{
public:
    using AOColorWidget::button;
    using AOColorWidget::label;
    using AOColorWidget::layout;
};

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
    void captionTooLongIsShortenedWithItsWholeTextAsTooltip();
};

void TestAOColorWidget::init()
{
    aoColors.clear();
}

void TestAOColorWidget::rowIsBuiltAsDesigned()
{
    OpenWidget row;
    QCOMPARE(row.layout->spacing(), 3);
    QCOMPARE(row.layout->contentsMargins(), QMargins(0, 0, 0, 0));
    QCOMPARE(row.layout->indexOf(row.label), 0);
    QCOMPARE(row.layout->indexOf(row.button), 1);
    QCOMPARE(row.label->frameStyle(), 50);
    QCOMPARE(row.label->indent(), 5);
    QVERIFY(row.label->autoFillBackground());
    QVERIFY(row.button->text().isEmpty());

    row.setText(QString());
    QCOMPARE(row.label->text(), QStringLiteral("<b> :</b>"));
    row.setText(QStringLiteral("Guild chat"));
    QCOMPARE(row.label->text(), QStringLiteral("<b>Guild chat :</b>"));

    // The swatch keeps its size; the caption takes whatever width is left.
    row.resize(600, 40);
    row.show();
    QVERIFY(QTest::qWaitForWindowExposed(&row));
    QCOMPARE(row.button->size(), QSize(100, 25));
    QCOMPARE(row.label->width(), 600 - 100 - 3);
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
    OpenWidget row;
    for (const QString& name : names)
        row.addColorGroup(name);
    QSignalSpy spy(&row, &AOColorWidget::clicked);

    QTest::mouseClick(row.button, Qt::LeftButton);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toStringList(), names);
}

void TestAOColorWidget::captionAndSwatchShowTheChatColour()
{
    setColorTable({{QStringLiteral("ctch_clan"), QStringLiteral("0x33CC66")}});
    OpenWidget row;
    row.setText(QStringLiteral("Guild chat"));
    row.addColorGroup(QStringLiteral("ctch_clan"));
    row.resize(320, 30);

    // Either call may come first; the other's effect must survive.
    row.updateColor();
    row.setBackgroundColor(colorOf(QStringLiteral("0x1e2a3c")));
    const QImage image = Pixels::render(&row);
    const QRect caption = row.label->geometry();

    QVERIFY2(Pixels::count(image, chat, caption) > 20, "caption not drawn in the chat colour");
    QVERIFY(Pixels::count(image, backdrop, caption) > caption.width() * caption.height() / 2);
    QVERIFY(Pixels::hasBlock(image, chat, QSize(12, 3), row.button->geometry()));

    row.setBackgroundColor(colorOf(QStringLiteral("#203040")));
    const QImage again = Pixels::render(&row);
    QVERIFY(Pixels::count(again, chat, caption) > 20);
    QCOMPARE(Pixels::count(again, backdrop, caption), 0);
    QVERIFY(Pixels::count(again, QColor(0x20, 0x30, 0x40), caption) > 0);
}

void TestAOColorWidget::missingFirstNameShowsInvalidColour()
{
    setColorTable({{QStringLiteral("ctch_tell"), QStringLiteral("0xee2299")}});
    OpenWidget row;
    row.setText(QStringLiteral("Private tells"));
    row.addColorGroup(QStringLiteral("ct_itell"));
    row.addColorGroup(QStringLiteral("ctch_tell"));
    row.resize(320, 30);
    row.updateColor();

    QVERIFY(!row.label->palette().color(QPalette::WindowText).isValid());
    QVERIFY(!row.label->palette().color(QPalette::Text).isValid());
    QVERIFY(!row.button->icon().isNull());
    QCOMPARE(Pixels::count(Pixels::render(&row), later), 0);

    QSignalSpy spy(&row, &AOColorWidget::clicked);
    QTest::mouseClick(row.button, Qt::LeftButton);
    QCOMPARE(spy.at(0).at(0).toStringList(),
             (QStringList{QStringLiteral("ct_itell"), QStringLiteral("ctch_tell")}));
}

void TestAOColorWidget::colourChangesOnlyOnUpdate()
{
    OpenWidget empty;
    empty.updateColor();
    QVERIFY(empty.button->icon().isNull());

    setColorTable({{QStringLiteral("ctch_clan"), QStringLiteral("0x33cc66")}});
    OpenWidget row;
    row.addColorGroup(QStringLiteral("ctch_clan"));
    row.updateColor();
    QCOMPARE(row.label->palette().color(QPalette::WindowText), chat);

    setColorTable({{QStringLiteral("ctch_clan"), QStringLiteral("0xee2299")}});
    QCOMPARE(row.label->palette().color(QPalette::WindowText), chat);
    row.updateColor();
    QCOMPARE(row.label->palette().color(QPalette::WindowText), later);
    QCOMPARE(row.button->icon().pixmap(QSize(60, 15)).toImage().pixelColor(30, 7), later);
}

void TestAOColorWidget::buttonIsNamedAfterCaption()
{
    OpenWidget row;
    row.setText(QStringLiteral("Towers &amp; Org. Msg."));
    QCOMPARE(row.button->accessibleName(), QStringLiteral("Towers & Org. Msg."));
    QVERIFY(row.button->text().isEmpty());
    QCOMPARE(row.label->text(), QStringLiteral("<b>Towers &amp; Org. Msg. :</b>"));
}

// A row narrower than its caption shows the caption's start, "…" and the colon, and
// the whole caption as a tooltip; given the room again, the caption is whole.
void TestAOColorWidget::captionTooLongIsShortenedWithItsWholeTextAsTooltip()
{
    OpenWidget row;
    row.setText(QStringLiteral("Towers &amp; Org. Msg. and a long tail"));
    row.resize(260, 30);
    row.show();
    QVERIFY(QTest::qWaitForWindowExposed(&row));
    QVERIFY2(row.label->text().startsWith(QStringLiteral("<b>Towers &amp; ")),
             qPrintable(row.label->text()));
    QVERIFY2(row.label->text().endsWith(QStringLiteral("\u2026 :</b>")),
             qPrintable(row.label->text()));
    QCOMPARE(row.label->toolTip(), QStringLiteral("Towers & Org. Msg. and a long tail"));
    QVERIFY(row.label->sizeHint().width() <= row.label->width());
    QCOMPARE(row.button->width(), 100);

    row.resize(700, 30);
    QTRY_COMPARE(row.label->text(),
                 QStringLiteral("<b>Towers &amp; Org. Msg. and a long tail :</b>"));
    QCOMPARE(row.label->toolTip(), QString());
}

QTEST_MAIN(TestAOColorWidget)
#include "TestAOColorWidget.moc"
