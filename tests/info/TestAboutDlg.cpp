// SPDX-License-Identifier: GPL-3.0-or-later
#include "info/AboutDlg.h"

#include "common/Files.h"
#include "common/Find.h"
#include "common/WorkFolder.h"

#include "Version.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <QTextDocument>
#include <QVBoxLayout>
#include <QtTest>

#ifndef Q_OS_WIN
#include <sys/stat.h>
#endif

namespace
{

QLabel* pictureOf(const AboutDlg& page)
{
    return find<QLabel>(&page, QStringLiteral("pictureLabel"));
}

QLabel* textOf(const AboutDlg& page)
{
    return find<QLabel>(&page, QStringLiteral("textLabel"));
}

} // namespace

class TestAboutDlg : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void opensWithAnEmptyFrameWithoutThePicture_data();
    void opensWithAnEmptyFrameWithoutThePicture();
    void showsThePictureWhenItIsThere();
    void textNamesTheProgramAndWarns();
    void wholeTextIsReachableInTheFixedWindow();

private:
    std::unique_ptr<WorkFolder> work;
};

void TestAboutDlg::init()
{
    work = std::make_unique<WorkFolder>();
    QVERIFY(work->isValid());
}

void TestAboutDlg::cleanup()
{
    work.reset();
}

// What stands in the picture's place may be nothing, or nothing the page should wait for
// or hold in memory: a pipe, or a small file that unpacks to a picture of 25 million
// pixels.
void TestAboutDlg::opensWithAnEmptyFrameWithoutThePicture_data()
{
    QTest::addColumn<QString>("stand");
    QTest::newRow("no picture") << QString();
    QTest::newRow("a pipe") << QStringLiteral("pipe");
    QTest::newRow("too many pixels") << QStringLiteral("huge");
}

void TestAboutDlg::opensWithAnEmptyFrameWithoutThePicture()
{
    QFETCH(QString, stand);
    const QString name = QStringLiteral("Tintwell.png");
    if (stand == QLatin1String("pipe")) {
#ifdef Q_OS_WIN
        QSKIP("Windows keeps no pipes among a folder's files");
#else
        QVERIFY(::mkfifo(QFile::encodeName(name).constData(), 0600) == 0);
#endif
    } else if (stand == QLatin1String("huge")) {
        QImage huge(5000, 5000, QImage::Format_Mono);
        huge.fill(0);
        QVERIFY(huge.save(name, "PNG"));
    }
    AboutDlg page;
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    QLabel* picture = pictureOf(page);
    QVERIFY(picture->pixmap(Qt::ReturnByValue).isNull());
    QCOMPARE(picture->size(), QSize(334, 145));
    QCOMPARE(picture->minimumSize(), QSize(334, 145));
    QCOMPARE(picture->maximumSize(), QSize(334, 145));
    QCOMPARE(picture->sizePolicy().horizontalPolicy(), QSizePolicy::Fixed);
    QCOMPARE(picture->sizePolicy().verticalPolicy(), QSizePolicy::Fixed);
    QCOMPARE(picture->frameShape(), QFrame::Box);
    QCOMPARE(picture->frameShadow(), QFrame::Plain);
    QCOMPARE(picture->lineWidth(), 1);
    QVERIFY(!picture->hasScaledContents());
    QCOMPARE(page.QWidget::layout()->spacing(), 3);
    QCOMPARE(page.QWidget::layout()->contentsMargins(), QMargins(5, 5, 5, 5));
    // Picture, text, then the spacer that keeps both at the top.
    QCOMPARE(page.QWidget::layout()->count(), 3);
    QCOMPARE(page.QWidget::layout()->itemAt(0)->widget(), picture);
    auto* scroller = qobject_cast<QScrollArea*>(page.QWidget::layout()->itemAt(1)->widget());
    QVERIFY(scroller);
    QCOMPARE(scroller->widget(), textOf(page));
    QVERIFY(textOf(page)->isVisible());
    QVERIFY(page.QWidget::layout()->itemAt(2)->spacerItem());
    QVERIFY(page.QWidget::layout()->itemAt(2)->expandingDirections() & Qt::Vertical);
}

void TestAboutDlg::showsThePictureWhenItIsThere()
{
    QVERIFY(
        QFile::copy(besideTest(QStringLiteral("Tintwell.png")), QStringLiteral("Tintwell.png")));
    AboutDlg page;
    const QPixmap pixmap = pictureOf(page)->pixmap(Qt::ReturnByValue);
    QVERIFY(!pixmap.isNull());
    QCOMPARE(pixmap.size(), QSize(334, 145));
    QCOMPARE(pictureOf(page)->size(), QSize(334, 145));

    // Any picture of that name is shown as it is, never stretched.
    QVERIFY(QFile::remove(QStringLiteral("Tintwell.png")));
    QImage small(40, 20, QImage::Format_RGB32);
    small.fill(Qt::red);
    QVERIFY(small.save(QStringLiteral("Tintwell.png")));
    AboutDlg other;
    QCOMPARE(pictureOf(other)->pixmap(Qt::ReturnByValue).size(), QSize(40, 20));
    QCOMPARE(pictureOf(other)->size(), QSize(334, 145));
    // Whatever its name says, a picture in another format is shown too.
    QVERIFY(small.scaled(30, 10).save(QStringLiteral("Tintwell.png"), "BMP"));
    AboutDlg bitmap;
    QCOMPARE(pictureOf(bitmap)->pixmap(Qt::ReturnByValue).size(), QSize(30, 10));
}

void TestAboutDlg::textNamesTheProgramAndWarns()
{
    AboutDlg page;
    const QString text = textOf(page)->text();
    QVERIFY(Qt::mightBeRichText(text));
    QCOMPARE(textOf(page)->textFormat(), Qt::AutoText);
    QVERIFY(!textOf(page)->wordWrap());
    QVERIFY(text.startsWith(QStringLiteral("<font color=blue><center><b>Tintwell v%1</b><br />")
                                .arg(QLatin1String(Version::shown))));
    QVERIFY(text.contains(QLatin1String("<b><u>Credits:</u></b>")));
    QVERIFY(text.contains(QLatin1String("<b>Note:</b>")));
    QVERIFY(text.contains(QLatin1String("<u>only</u> what <u>you</u> see")));
    QVERIFY(text.contains(QLatin1String("Anarchy Online")));
    // No address of a web site the project does not have.
    QCOMPARE(text.count(QLatin1String("<a href=")), 0);
}

void TestAboutDlg::wholeTextIsReachableInTheFixedWindow()
{
    AboutDlg page;
    // About the room the 360 x 430 window leaves a tab.
    page.resize(340, 330);
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    auto* scroller = qobject_cast<QScrollArea*>(page.QWidget::layout()->itemAt(1)->widget());
    QVERIFY(scroller);
    const int reachable = scroller->viewport()->height() + scroller->verticalScrollBar()->maximum();
    QVERIFY2(reachable >= textOf(page)->sizeHint().height(),
             qPrintable(
                 QStringLiteral("%1 < %2").arg(reachable).arg(textOf(page)->sizeHint().height())));
}

QTEST_MAIN(TestAboutDlg)
#include "TestAboutDlg.moc"
