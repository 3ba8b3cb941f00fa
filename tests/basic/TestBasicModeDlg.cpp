// SPDX-License-Identifier: GPL-3.0-or-later
#include "basic/BasicModeDlg.h"

#include "basic/AOColorWidget.h"
#include "common/ColorTable.h"
#include "common/Find.h"
#include "common/Pixels.h"
#include "common/SwatchRows.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpacerItem>
#include <QTabWidget>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QVBoxLayout>
#include <QtTest>

namespace
{

QTabWidget* tabsOf(const BasicModeDlg& page)
{
    return find<QTabWidget>(&page, QStringLiteral("tabs"));
}

AOColorWidget* swatchAt(const BasicModeDlg& page, int tab, int row)
{
    return qobject_cast<AOColorWidget*>(tabsOf(page)->widget(tab)->layout()->itemAt(row)->widget());
}

QList<AOColorWidget*> swatchesOf(const BasicModeDlg& page)
{
    QList<AOColorWidget*> all;
    for (const SwatchRow& row : swatchRows())
        all.append(swatchAt(page, row.tab, row.row));
    return all;
}

QLabel* captionOf(AOColorWidget* swatch)
{
    return swatch->findChild<QLabel*>();
}

QPushButton* buttonOf(AOColorWidget* swatch)
{
    return swatch->findChild<QPushButton*>();
}

AOColor colorOf(const QString& text)
{
    AOColor color;
    color.setValue(text);
    return color;
}

QColor rowColor(int row)
{
    return QColor(40 + row * 7, 200 - row * 5, 60 + row * 6);
}

const QColor backdrop(0x1e, 0x2a, 0x3c);

} // namespace

class TestBasicModeDlg : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void pageIsBuiltAsDesigned();
    void rowsStandInTableOrder_data();
    void rowsStandInTableOrder();
    void backgroundReachesEverySwatch();
    void updateShowsFirstNamesEverywhere();
    void towersCaptionShowsAnAmpersand();
};

void TestBasicModeDlg::init()
{
    aoColors.clear();
}

void TestBasicModeDlg::pageIsBuiltAsDesigned()
{
    BasicModeDlg page;
    auto* layout = qobject_cast<QVBoxLayout*>(page.QWidget::layout());
    auto* tabs = tabsOf(page);
    auto* label = find<QLabel>(&page, QStringLiteral("helpLabel"));
    QVERIFY(layout);
    QCOMPARE(layout->spacing(), 3);
    QCOMPARE(layout->contentsMargins(), QMargins(5, 5, 5, 5));
    QCOMPARE(layout->count(), 3);
    QCOMPARE(layout->itemAt(0)->widget(), tabs);
    QSpacerItem* spacer = layout->itemAt(1)->spacerItem();
    QVERIFY(spacer);
    QCOMPARE(spacer->sizeHint(), QSize(1, 1));
    QCOMPARE(spacer->sizePolicy().horizontalPolicy(), QSizePolicy::Minimum);
    QCOMPARE(spacer->sizePolicy().verticalPolicy(), QSizePolicy::Expanding);
    QCOMPARE(layout->itemAt(2)->widget(), label);
    QVERIFY(label->wordWrap());
    QCOMPARE(
        label->text(),
        QStringLiteral("<b><u>Changing your chatcolors:</u></b><br />Change the colors you "
                       "want.<br />Click <b>Save</b> to save the data.<br />Launch Anarchy "
                       "Online.<br /><br />If you allready have AO running, do this to see your "
                       "changes:<br />Press <b>CTRL + SHIFT + F7</b>.<br />Make the <b>Actions</b> "
                       "tab active by clicking on it.<br />Click <b>Reload menus</b>."));

    const QStringList titles = {"Basic Chat", "NPC Chat", "Combat", "Misc."};
    QCOMPARE(tabs->count(), titles.size());
    for (int tab = 0; tab < titles.size(); ++tab) {
        QCOMPARE(tabs->tabText(tab), titles.at(tab));
        auto* tabLayout = qobject_cast<QVBoxLayout*>(tabs->widget(tab)->layout());
        QVERIFY(tabLayout);
        QCOMPARE(tabLayout->spacing(), 3);
        QCOMPARE(tabLayout->contentsMargins(), QMargins(5, 5, 5, 5));
        // Seven swatches and nothing else, not even a stretch.
        QCOMPARE(tabLayout->count(), 7);
        for (int row = 0; row < 7; ++row)
            QVERIFY(swatchAt(page, tab, row));
    }
}

void TestBasicModeDlg::rowsStandInTableOrder_data()
{
    QTest::addColumn<int>("tab");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QStringList>("names");

    for (const SwatchRow& row : swatchRows())
        QTest::newRow(qPrintable(row.caption)) << row.tab << row.row << row.caption << row.names;
}

void TestBasicModeDlg::rowsStandInTableOrder()
{
    QFETCH(int, tab);
    QFETCH(int, row);
    QFETCH(QString, caption);
    QFETCH(QStringList, names);

    BasicModeDlg page;
    AOColorWidget* swatch = swatchAt(page, tab, row);
    QCOMPARE(captionOf(swatch)->text(), QStringLiteral("<b>") + caption + QStringLiteral(" :</b>"));

    // The click travels through the page unchanged, exactly once.
    QSignalSpy spy(&page, &BasicModeDlg::pickColor);
    QTest::mouseClick(buttonOf(swatch), Qt::LeftButton);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toStringList(), names);
}

void TestBasicModeDlg::backgroundReachesEverySwatch()
{
    BasicModeDlg page;
    page.resize(350, 380);
    page.setBackgroundColor(colorOf(QStringLiteral("0x1e2a3c")));

    const QList<AOColorWidget*> swatches = swatchesOf(page);
    QCOMPARE(swatches.size(), 28);
    QVERIFY(!swatches.contains(nullptr));
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    QVERIFY(find<QLabel>(&page, QStringLiteral("helpLabel"))->isVisible());
    for (int tab = 0; tab < tabsOf(page)->count(); ++tab) {
        tabsOf(page)->setCurrentIndex(tab);
        for (int row = 0; row < 7; ++row) {
            QLabel* caption = captionOf(swatchAt(page, tab, row));
            const QImage image = Pixels::render(caption);
            QVERIFY2(Pixels::count(image, backdrop) > image.width() * image.height() / 2,
                     qPrintable(caption->text()));
            QCOMPARE(buttonOf(swatchAt(page, tab, row))->palette().color(QPalette::Button),
                     backdrop);
        }
    }
}

void TestBasicModeDlg::updateShowsFirstNamesEverywhere()
{
    QVector<QPair<QString, QString>> table;
    for (int row = 0; row < swatchRows().size(); ++row)
        table.append({swatchRows().at(row).names.first(), rowColor(row).name()});
    // The other names of "Private tells" must not influence its swatch.
    table.append({QStringLiteral("ctch_tell"), QStringLiteral("0xff0000")});
    table.append({QStringLiteral("CCTellColor"), QStringLiteral("0x0000ff")});
    setColorTable(table);

    BasicModeDlg page;
    page.resize(350, 380);
    page.setBackgroundColor(colorOf(QStringLiteral("0x1e2a3c")));
    // Refreshed while the page is hidden and only the first tab is current.
    page.updateColors();
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));

    for (int tab = 0; tab < 4; ++tab) {
        tabsOf(page)->setCurrentIndex(tab);
        QApplication::processEvents();
        for (int row = 0; row < 7; ++row) {
            AOColorWidget* swatch = swatchAt(page, tab, row);
            const QColor wanted = rowColor(tab * 7 + row);
            const QImage image = Pixels::render(swatch);
            QVERIFY2(Pixels::count(image, wanted, captionOf(swatch)->geometry()) > 20,
                     qPrintable(captionOf(swatch)->text()));
            QVERIFY(Pixels::count(image, wanted, buttonOf(swatch)->geometry()) > 20);
            QCOMPARE(Pixels::count(image, Qt::red), 0);
            QCOMPARE(Pixels::count(image, Qt::blue), 0);
        }
    }
}

void TestBasicModeDlg::towersCaptionShowsAnAmpersand()
{
    BasicModeDlg page;
    QLabel* caption = captionOf(swatchAt(page, 3, 1));
    QVERIFY(Qt::mightBeRichText(caption->text()));
    QCOMPARE(caption->textFormat(), Qt::AutoText);
    QCOMPARE(QTextDocumentFragment::fromHtml(caption->text()).toPlainText(),
             QStringLiteral("Towers & Org. Msg. :"));
    QCOMPARE(buttonOf(swatchAt(page, 3, 1))->accessibleName(),
             QStringLiteral("Towers & Org. Msg."));
}

QTEST_MAIN(TestBasicModeDlg)
#include "TestBasicModeDlg.moc"
