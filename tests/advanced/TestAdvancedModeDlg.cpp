// SPDX-License-Identifier: GPL-3.0-or-later
#include "advanced/AdvancedModeDlg.h"

#include "common/ColorTable.h"
#include "common/Pixels.h"

#include <QApplication>
#include <QFontDatabase>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QtTest>

namespace
{

// Opens the page's parts to the test.
class OpenPage : public AdvancedModeDlg
{
public:
    using AdvancedModeDlg::backgroundColor;
    using AdvancedModeDlg::button;
    using AdvancedModeDlg::label;
    using AdvancedModeDlg::layout;
    using AdvancedModeDlg::tree;

    QStringList column(int column) const
    {
        QStringList texts;
        for (int row = 0; row < tree->topLevelItemCount(); ++row)
            texts.append(tree->topLevelItem(row)->text(column));
        return texts;
    }
    void doubleClick(int row, int column)
    {
        const QRect cell = tree->visualRect(tree->model()->index(row, column));
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, cell.center());
    }
};

AOColor colorOf(const QString& text)
{
    AOColor color;
    color.setValue(text);
    return color;
}

const QColor backdrop(0x1e, 0x2a, 0x3c);

} // namespace

class TestAdvancedModeDlg : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void pageIsBuiltAsDesigned();
    void helpTextNeedsWhatALabelNeeds_data();
    void helpTextNeedsWhatALabelNeeds();
    void rowsKeepTableOrderAndDuplicates();
    void rowRoles_data();
    void rowRoles();
    void doubleClickSendsTheName();
    void buttonSendsTheCurrentRowOnly();
    void renderedRowsShowTheirColours();
};

// Under Wine the offscreen platform knows only the host's fonts, and its fallback for
// Windows' dialog font has lines far taller than its letters: the page is measured in
// the font the Linux run uses.
void TestAdvancedModeDlg::initTestCase()
{
#ifdef Q_OS_WIN
    if (QFontDatabase().families().contains(QStringLiteral("DejaVu Sans")))
        QApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), 9));
#endif
}

void TestAdvancedModeDlg::init()
{
    aoColors.clear();
}

void TestAdvancedModeDlg::pageIsBuiltAsDesigned()
{
    OpenPage page;
    QCOMPARE(page.layout->spacing(), 3);
    QCOMPARE(page.layout->contentsMargins(), QMargins(5, 5, 5, 5));
    QCOMPARE(page.layout->indexOf(page.tree), 0);
    QCOMPARE(page.layout->indexOf(page.button), 1);
    QCOMPARE(page.layout->indexOf(page.label), 2);

    QCOMPARE(page.tree->columnCount(), 2);
    QCOMPARE(page.tree->headerItem()->text(0), QStringLiteral("Color group"));
    QCOMPARE(page.tree->headerItem()->text(1), QStringLiteral("Color"));
    QCOMPARE(page.tree->header()->sectionSize(0), 200);
    QCOMPARE(page.tree->header()->sectionSize(1), 100);
    QVERIFY(!page.tree->rootIsDecorated());
    QVERIFY(!page.tree->isSortingEnabled());
    QCOMPARE(page.tree->topLevelItemCount(), 0);

    QCOMPARE(page.button->text(), QStringLiteral("Change s&elected color"));
    QVERIFY(!page.button->autoDefault());
    // Wrapped, so the whole help text is readable in the fixed window.
    QVERIFY(page.label->wordWrap());
    QCOMPARE(
        page.label->text(),
        QStringLiteral("<b><u>Color groups explained:</u></b><br />* The top 15 or so groups are "
                       "just definitions for standard colors.<br />\tIt's best to just leave these "
                       "alone...<br />* The groups starting with <font color=red>ct_</font> are "
                       "internal colors. Do as above.<br />* Groups starting with <font "
                       "color=red>CC</font> are used in various dialogs and<br /> other parts of "
                       "the GUI\t(i.e. <font color=red>CCNPCChatColorEmote</font>)<br />* Groups "
                       "starting with <font color=red>ctch_</font> are the various chat groups.<br "
                       "/>\t(i.e. <font color=red>ctch_clan</font> is your guild channel etc.)"));
}

// The help text is measured once for each width; a new text or font is measured anew,
// as a plain label would be.
void TestAdvancedModeDlg::helpTextNeedsWhatALabelNeeds_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("pointSize");
    QTest::newRow("as built") << QString() << 0;
    QTest::newRow("a new text") << QStringLiteral("<b>Two</b> words") << 0;
    QTest::newRow("a larger font") << QString() << 20;
}

void TestAdvancedModeDlg::helpTextNeedsWhatALabelNeeds()
{
    QFETCH(QString, text);
    QFETCH(int, pointSize);
    OpenPage page;
    const QList<int> widths = {120, 334};
    for (int width : widths)
        page.label->heightForWidth(width);
    if (!text.isEmpty())
        page.label->setText(text);
    if (pointSize > 0) {
        QFont larger = page.label->font();
        larger.setPointSize(pointSize);
        page.label->setFont(larger);
    }
    QLabel plain(page.label->text());
    plain.setFont(page.label->font());
    plain.setWordWrap(true);
    for (int width : widths)
        QCOMPARE(page.label->heightForWidth(width), plain.heightForWidth(width));
    QCOMPARE(page.label->minimumSizeHint().height(), plain.minimumSizeHint().height());
}

void TestAdvancedModeDlg::rowsKeepTableOrderAndDuplicates()
{
    setColorTable({{"zeta", "0x112233"},
                   {"alpha", "black"},
                   {"ctch_clan", "0x00FF8000"},
                   {"alpha", "#ffffff"},
                   {"beta", "nonsense"}});
    OpenPage page;
    page.resize(600, 500);
    page.updateColors();
    const QStringList names = {"zeta", "alpha", "ctch_clan", "alpha", "beta"};
    const QStringList values = {"0x112233", "black", "0x00FF8000", "#ffffff", "nonsense"};
    QCOMPARE(page.column(0), names);
    QCOMPARE(page.column(1), values);

    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    QHeaderView* header = page.tree->header();
    for (int section = 0; section < 2; ++section) {
        const QPoint middle(header->sectionViewportPosition(section) + 20, header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, middle);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, middle);
    }
    QCOMPARE(page.column(0), names);

    // Each refresh rebuilds from the table instead of adding to what is there.
    page.updateColors();
    page.setBackgroundColor(colorOf(QStringLiteral("white")));
    QCOMPARE(page.column(0), names);

    // Both rows of a repeated name send that name.
    QSignalSpy spy(&page, qOverload<const QString&>(&AdvancedModeDlg::pickColor));
    page.doubleClick(1, 0);
    page.doubleClick(3, 0);
    QCOMPARE(spy.count(), 2);
    QCOMPARE(spy.at(0).at(0).toString(), QStringLiteral("alpha"));
    QCOMPARE(spy.at(1).at(0).toString(), QStringLiteral("alpha"));

    aoColors.clear();
    page.updateColors();
    QCOMPARE(page.tree->topLevelItemCount(), 0);
}

void TestAdvancedModeDlg::rowRoles_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QColor>("color"); // invalid: the row keeps the view's defaults

    QTest::newRow("hex6") << "0xFF8000" << QColor(255, 128, 0);
    QTest::newRow("hex8") << "0x80FF8000" << QColor(255, 128, 0);
    QTest::newRow("hash") << "#12ab34" << QColor(0x12, 0xab, 0x34);
    QTest::newRow("known name") << "black" << QColor(Qt::black);
    QTest::newRow("unknown name") << "nonsense" << QColor();
    QTest::newRow("capital X") << "0XFF8000" << QColor();
    QTest::newRow("empty") << "" << QColor();
}

void TestAdvancedModeDlg::rowRoles()
{
    QFETCH(QString, text);
    QFETCH(QColor, color);
    setColorTable({{QStringLiteral("group"), text}});
    OpenPage page;
    page.setBackgroundColor(colorOf(QStringLiteral("0x1e2a3c")));
    QCOMPARE(page.tree->topLevelItemCount(), 1);
    QTreeWidgetItem* row = page.tree->topLevelItem(0);
    QCOMPARE(row->type(), int(QTreeWidgetItem::Type));
    QCOMPARE(row->text(1), text);

    for (int column = 0; column < 2; ++column) {
        const QFont font = row->font(column);
        QCOMPARE(font.family(), QStringLiteral("Helvetica"));
        QCOMPARE(font.pointSize(), 9);
        QCOMPARE(font.weight(), QFont::Black);
        QVERIFY(!font.italic());
        QCOMPARE(row->background(column).color(), backdrop);
        QCOMPARE(row->data(column, Qt::ForegroundRole).isValid(), color.isValid());
        if (color.isValid())
            QCOMPARE(row->foreground(column).color(), color);
    }
    QVERIFY(row->icon(0).isNull());
    QCOMPARE(row->icon(1).isNull(), !color.isValid());
    if (color.isValid()) {
        QCOMPARE(row->icon(1).availableSizes(), QList<QSize>{QSize(15, 15)});
        const QImage icon = row->icon(1).pixmap(15, 15).toImage();
        QCOMPARE(Pixels::count(icon.convertToFormat(QImage::Format_RGB32), color), 15 * 15);
    }
}

void TestAdvancedModeDlg::doubleClickSendsTheName()
{
    setColorTable({{"ctch_clan", "0x00FF8000"}, {"ctch_team", "0x0000ff"}});
    OpenPage page;
    page.resize(600, 500);
    page.updateColors();
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));

    // The receiver refreshes the pages, as the main dialog does, which deletes the
    // clicked row while the tree is still handling the double-click.
    QStringList sent;
    connect(&page, qOverload<const QString&>(&AdvancedModeDlg::pickColor), &page,
            [&](const QString& color) {
                sent.append(color);
                page.updateColors();
            });
    page.doubleClick(1, 1);
    page.doubleClick(0, 0);
    QCOMPARE(sent, (QStringList{"ctch_team", "ctch_clan"}));
    QCOMPARE(page.tree->topLevelItemCount(), 2);
}

void TestAdvancedModeDlg::buttonSendsTheCurrentRowOnly()
{
    OpenPage page;
    page.updateColors();
    QSignalSpy spy(&page, qOverload<const QString&>(&AdvancedModeDlg::pickColor));
    QTest::mouseClick(page.button, Qt::LeftButton);
    QCOMPARE(spy.count(), 0);

    setColorTable({{"ctch_clan", "0x00FF8000"}, {"ctch_team", "0x0000ff"}});
    page.updateColors();
    QVERIFY(!page.tree->currentItem());
    QTest::mouseClick(page.button, Qt::LeftButton);
    QCOMPARE(spy.count(), 0);

    page.tree->setCurrentItem(page.tree->topLevelItem(1), 1);
    QTest::mouseClick(page.button, Qt::LeftButton);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toString(), QStringLiteral("ctch_team"));

    // A refresh takes the current row away with all the others.
    page.updateColors();
    QTest::mouseClick(page.button, Qt::LeftButton);
    QCOMPARE(spy.count(), 1);
}

void TestAdvancedModeDlg::renderedRowsShowTheirColours()
{
    const QColor orange(255, 128, 0);
    const QColor green(0x33, 0xcc, 0x66);
    setColorTable({{"odd", "nonsense"}, {"ctch_clan", "0x00FF8000"}, {"ctch_team", "#33cc66"}});
    OpenPage page;
    page.resize(600, 500);
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    QVERIFY(page.label->isVisible());
    // Focus would make the first row current, which the style draws highlighted.
    page.button->setFocus();
    page.setBackgroundColor(colorOf(QStringLiteral("0x1e2a3c")));

    const QImage image = Pixels::render(page.tree->viewport());
    const auto cell = [&](int row, int column) {
        return page.tree->visualRect(page.tree->model()->index(row, column));
    };
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 2; ++column) {
            const QRect area = cell(row, column);
            QVERIFY(Pixels::count(image, backdrop, area) > area.width() * area.height() / 2);
        }
    }
    QVERIFY(Pixels::count(image, orange, cell(1, 0)) > 10);
    QVERIFY(Pixels::hasBlock(image, orange, QSize(15, 15), cell(1, 1)));
    QVERIFY(Pixels::count(image, green, cell(2, 0)) > 10);
    QVERIFY(Pixels::hasBlock(image, green, QSize(15, 15), cell(2, 1)));
    QCOMPARE(Pixels::count(image, orange, cell(0, 0).united(cell(0, 1))), 0);
    QCOMPARE(Pixels::count(image, orange, cell(2, 0).united(cell(2, 1))), 0);
    // The first row has no colour square and is as high as the rows with one.
    for (int row = 0; row < 3; ++row)
        QCOMPARE(cell(row, 1).height(), page.tree->sizeHintForRow(1));

    // A new background reaches every row at once.
    page.setBackgroundColor(colorOf(QStringLiteral("white")));
    const QImage white = Pixels::render(page.tree->viewport());
    QCOMPARE(Pixels::count(white, backdrop), 0);
    for (int row = 0; row < 3; ++row)
        QVERIFY(Pixels::count(white, Qt::white, cell(row, 1)) > 0);
}

QTEST_MAIN(TestAdvancedModeDlg)
#include "TestAdvancedModeDlg.moc"
