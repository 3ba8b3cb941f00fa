// SPDX-License-Identifier: GPL-3.0-or-later
// Every word of the window readable at the screen scale this run is given
// (QT_SCALE_FACTOR, set by CTest to 1, 1.5 and 2): each caption, help text and button
// text fits the room its widget has, whole, and lies wholly inside the window. With
// TINTWELL_SHOTS=<folder> every page is also saved as a picture for a person to look at.
#include "app/BaseDlg.h"

#include "app/Tintwell.h"
#include "basic/AOColorWidget.h"
#include "settings/SettingsDlg.h"

#include "common/Files.h"
#include "common/GameFolder.h"
#include "common/TestRegistry.h"
#include "common/WorkFolder.h"

#include <QAbstractScrollArea>
#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFontInfo>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QScreen>
#include <QStackedWidget>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTextDocument>
#include <QTextEdit>
#include <QToolButton>
#include <QtTest>

namespace
{

class OpenDlg : public BaseDlg
{
public:
    using BaseDlg::settingsPage;
    using BaseDlg::tabWidget;
};

QString describe(const QWidget* widget, const QString& text)
{
    return QStringLiteral("%1 \"%2\"")
        .arg(QString::fromLatin1(widget->metaObject()->className()), text.left(60));
}

// Inside a scrolled view a text may run on; it is read by scrolling.
bool scrolls(const QWidget* widget)
{
    for (const QWidget* w = widget->parentWidget(); w; w = w->parentWidget()) {
        if (qobject_cast<const QAbstractScrollArea*>(w))
            return true;
    }
    return false;
}

QString plainText(const QString& text)
{
    QTextDocument document;
    document.setHtml(text);
    return document.toPlainText();
}

} // namespace

class TestReadable : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void everyTextFits_data();
    void everyTextFits();
    void windowKeepsItsSizeAndTitleBarOnScreen();

private:
    void checkLabel(QLabel* label);
    void checkButton(QAbstractButton* button);
    void checkTabBar(QTabBar* bar);
    void checkSwatch(AOColorWidget* row);
    void checkTextEdit(QTextEdit* edit);
    void checkWhole(QWidget* widget, const QString& what);
    void checkPage(QWidget* window, const QString& name);
    void shoot(QWidget* window, const QString& name);

    std::unique_ptr<WorkFolder> dir;
    std::unique_ptr<OpenDlg> dialog;
};

void TestReadable::initTestCase()
{
    dir = std::make_unique<WorkFolder>();
    QVERIFY(dir->isValid());
    QFile bundled(besideTest(QStringLiteral("TextColors.orig")));
    QVERIFY(bundled.open(QIODevice::ReadOnly));
    const GameFolder folder(dir->path(QStringLiteral("Anarchy Online")), bundled.readAll());
    for (const char* companion : {"LICENSE.GPL", "Tintwell.png"})
        QVERIFY(QFile::copy(besideTest(QLatin1String(companion)), QLatin1String(companion)));
    put(QStringLiteral("Tintwell.cfg"), folder.preferences());
    dialog = std::make_unique<OpenDlg>();
    dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
    const QFontInfo font(dialog->font());
    qInfo("scale factor %.2f, font %s %.2f pt", dialog->devicePixelRatioF(),
          qPrintable(font.family()), font.pointSizeF());
}

void TestReadable::cleanupTestCase()
{
    dialog.reset();
    dir.reset();
}

// One row per page a player can look at: the four tabs of the basic page, the
// advanced page, and the three other tabs.
void TestReadable::everyTextFits_data()
{
    QTest::addColumn<bool>("advanced");
    QTest::addColumn<int>("tab");
    QTest::addColumn<int>("basicTab");
    for (int basic = 0; basic < 4; ++basic)
        QTest::addRow("basic page, tab %d", basic + 1) << false << 0 << basic;
    QTest::newRow("advanced page") << true << 0 << 0;
    QTest::newRow("settings") << false << 1 << 0;
    QTest::newRow("about") << false << 2 << 0;
    QTest::newRow("license") << false << 3 << 0;
}

void TestReadable::everyTextFits()
{
    QFETCH(bool, advanced);
    QFETCH(int, tab);
    QFETCH(int, basicTab);
    dialog->settingsPage->setMode(advanced);
    dialog->tabWidget->setCurrentIndex(tab);
    const auto tabs = dialog->findChildren<QTabWidget*>();
    for (QTabWidget* inner : tabs) {
        if (inner != dialog->tabWidget)
            inner->setCurrentIndex(basicTab);
    }
    QApplication::processEvents();
    checkPage(dialog.get(), QString::fromLatin1(QTest::currentDataTag()));
}

// At 200% the offscreen screen leaves 400 x 300 for the 360 x 430 window.
void TestReadable::windowKeepsItsSizeAndTitleBarOnScreen()
{
    QCOMPARE(dialog->size(), QSize(360, 430));
    QCOMPARE(dialog->minimumSize(), dialog->maximumSize());
    const QRect available = dialog->screen()->availableGeometry();
    const QRect frame = dialog->frameGeometry();
    QVERIFY2(available.contains(frame.topLeft()) && available.contains(frame.topRight()),
             qPrintable(QStringLiteral("frame at %1,%2").arg(frame.x()).arg(frame.y())));
}

void TestReadable::checkPage(QWidget* window, const QString& name)
{
    shoot(window, name);
    const auto widgets = window->findChildren<QWidget*>();
    for (QWidget* widget : widgets) {
        if (!widget->isVisible() || scrolls(widget))
            continue;
        if (auto* label = qobject_cast<QLabel*>(widget))
            checkLabel(label);
        else if (auto* button = qobject_cast<QAbstractButton*>(widget))
            checkButton(button);
        else if (auto* bar = qobject_cast<QTabBar*>(widget))
            checkTabBar(bar);
        else if (auto* row = qobject_cast<AOColorWidget*>(widget))
            checkSwatch(row);
        else if (auto* edit = qobject_cast<QTextEdit*>(widget))
            checkTextEdit(edit);
        if (QTest::currentTestFailed())
            return;
    }
}

// A label's size hint is the room its text needs (frame, indent and margins
// included); a wrapped label needs the height its text takes at its width.
void TestReadable::checkLabel(QLabel* label)
{
    if (label->text().isEmpty())
        return;
    const QString what = describe(label, label->text());
    if (label->wordWrap()) {
        QVERIFY2(label->heightForWidth(label->width()) <= label->height(), qPrintable(what));
    } else {
        const QSize need = label->sizeHint();
        QVERIFY2(need.width() <= label->width() && need.height() <= label->height(),
                 qPrintable(QStringLiteral("%1 needs %2x%3, has %4x%5")
                                .arg(what)
                                .arg(need.width())
                                .arg(need.height())
                                .arg(label->width())
                                .arg(label->height())));
    }
    // Shortening is the last resort for fonts wider than any tried here: in this
    // window every caption, "n00b got hit by other n00b" included, is whole.
    QVERIFY2(!plainText(label->text()).contains(QChar(0x2026)) && label->toolTip().isEmpty(),
             qPrintable(what + QStringLiteral(" is shortened")));
    checkWhole(label, what);
}

// Measured against the part of the button the style draws its text into.
void TestReadable::checkButton(QAbstractButton* button)
{
    const QString what = describe(button, button->text());
    checkWhole(button, what);
    if (button->text().isEmpty())
        return;
    if (auto* box = qobject_cast<QCheckBox*>(button)) {
        QVERIFY2(box->sizeHint().width() <= box->width(), qPrintable(what));
    } else if (auto* push = qobject_cast<QPushButton*>(button)) {
        QStyleOptionButton option;
        option.initFrom(push);
        option.text = push->text();
        const QRect room =
            push->style()->subElementRect(QStyle::SE_PushButtonContents, &option, push);
        QString text = push->text();
        text.remove(QLatin1Char('&'));
        const int need = push->fontMetrics().horizontalAdvance(text) +
                         (push->icon().isNull() ? 0 : push->iconSize().width() + 4);
        QVERIFY2(need <= room.width() && push->fontMetrics().height() <= room.height(),
                 qPrintable(
                     QStringLiteral("%1 needs %2, has %3").arg(what).arg(need).arg(room.width())));
    }
}

// Tabs that do not fit turn into a strip with scroll arrows.
void TestReadable::checkTabBar(QTabBar* bar)
{
    for (int i = 0; i < bar->count(); ++i)
        QVERIFY2(bar->tabRect(i).right() < bar->width(),
                 qPrintable(describe(bar, bar->tabText(i))));
    // The bar's hint is the width of every tab at its full text.
    QVERIFY2(bar->sizeHint().width() <= bar->width(), qPrintable(describe(bar, bar->tabText(0))));
    const auto arrows = bar->findChildren<QToolButton*>();
    for (QToolButton* arrow : arrows)
        QVERIFY2(!arrow->isVisible(), "the tabs scroll");
}

// The swatch is 140 x 25 wherever its row has the room: it gives up only the width its
// caption needs and the height a tall font leaves the page short of.
void TestReadable::checkSwatch(AOColorWidget* row)
{
    const QLabel* caption = row->findChild<QLabel*>();
    const QPushButton* swatch = row->findChild<QPushButton*>();
    const int room = row->width() - row->QWidget::layout()->spacing() - caption->sizeHint().width();
    QCOMPARE(swatch->size(), QSize(qMin(140, room), qMin(25, row->height())));
}

// A text shown in an edit is laid out: its document has lines to scroll through.
void TestReadable::checkTextEdit(QTextEdit* edit)
{
    const QSizeF laidOut = edit->document()->documentLayout()->documentSize();
    QVERIFY2(edit->document()->isEmpty() || laidOut.height() > edit->fontMetrics().height(),
             qPrintable(describe(edit, edit->toPlainText())));
}

// No part of the widget is cut off by its parents or the window's edge.
void TestReadable::checkWhole(QWidget* widget, const QString& what)
{
    const QRect shown = widget->visibleRegion().boundingRect();
    QVERIFY2(widget->visibleRegion() == QRegion(widget->rect()),
             qPrintable(QStringLiteral("%1 is partly hidden: %2x%3 of %4x%5 shown")
                            .arg(what)
                            .arg(shown.width())
                            .arg(shown.height())
                            .arg(widget->width())
                            .arg(widget->height())));
}

void TestReadable::shoot(QWidget* window, const QString& name)
{
    const QString folder = qEnvironmentVariable("TINTWELL_SHOTS");
    if (folder.isEmpty())
        return;
    QDir().mkpath(folder);
    QString file =
        QStringLiteral("%1/%2 %3.png").arg(folder).arg(window->devicePixelRatioF()).arg(name);
    window->grab().save(file);
}

// Scaled and styled as the program is, so not through QTEST_MAIN.
static int runTestReadable(int argc, char* argv[])
{
    Tintwell::setUpScaling();
    QApplication app(argc, argv);
    Tintwell::applyStyle();
    TestReadable test;
    return QTest::qExec(&test, argc, argv);
}
static const TestRegistry registeredTestReadable("TestReadable", runTestReadable);

#include "TestReadable.moc"
