// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/ColorFile.h"
#include "files/ColorFolder.h"
#include "model/AOColors.h"

#include "common/Files.h"
#include "common/Mounts.h"
#include "common/TestSizes.h"

#include <QDir>
#include <QDomDocument>
#include <QFile>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#ifdef Q_OS_LINUX
#include <cerrno>
#include <cstring>
#include <sys/mount.h>
#endif

namespace
{

QStringList namesOf(const AOColors& table)
{
    QStringList names;
    for (const AOColor& entry : table)
        names << entry.name;
    return names;
}

QStringList valuesOf(const AOColors& table)
{
    QStringList values;
    for (const AOColor& entry : table)
        values << entry.value;
    return values;
}

AOColors tableOf(const QStringList& names, const QStringList& values)
{
    AOColors table;
    for (int i = 0; i < names.size(); ++i) {
        AOColor entry;
        entry.name = names.at(i);
        entry.value = values.at(i);
        table.append(entry);
    }
    return table;
}

QByteArray colorFile(int entries)
{
    QByteArray data = "<Root>\n";
    for (int i = 0; i < entries; ++i)
        data += QByteArray("    <HTMLColor name=\"ctch_") + QByteArray::number(i) +
                "\" color=\"0x" + QByteArray::number(0x100000 + i, 16) + "\" />\n";
    return data + "</Root>\n";
}

QStringList leftovers(const QString& folder)
{
    return QDir(folder).entryList({QStringLiteral("*.tmp")}, QDir::Files | QDir::Hidden);
}

// A small file system of its own, so that a full disk is a real full disk. Mounting
// needs root; without it the tests that need one are skipped.
} // namespace

class TestColorFile : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void readsEveryHtmlColorInDocumentOrder_data();
    void readsEveryHtmlColorInDocumentOrder();
    void unchangedFileWrittenBackReadsTheSame_data();
    void unchangedFileWrittenBackReadsTheSame();
    void tableWrittenAndReadIsTheSame_data();
    void tableWrittenAndReadIsTheSame();
    void escapesAttributesLikeTheDom_data();
    void escapesAttributesLikeTheDom();
    void writesRootWithIndentedEntriesInUtf8();
    void refusesDocumentsItCannotRead_data();
    void refusesDocumentsItCannotRead();
    void loadRefusesWhatIsNoColorFile();
    void loadsAndSavesALargeFile();
    void saveKeepsThePreviousFileAsBackup();
    void saveWithoutPreviousFileKeepsTheBackup();
    void failedSaveChangesNothing();
    void fullDiskKeepsEveryEntry_data();
    void fullDiskKeepsEveryEntry();
    void unreplaceableFileLeavesItsCopyAsBackup();

private:
    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<ColorFolder> folder;
};

void TestColorFile::init()
{
    dir = std::make_unique<QTemporaryDir>();
    QVERIFY(dir->isValid());
    folder = std::make_unique<ColorFolder>(dir->path());
    QVERIFY(QDir().mkpath(folder->path()));
}

void TestColorFile::readsEveryHtmlColorInDocumentOrder_data()
{
    QTest::addColumn<QByteArray>("document");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QStringList>("values");

    QTest::newRow("nested at any depth, in document order")
        << QByteArray(
               "<Colors><HTMLColor name=\"a\" color=\"1\"><HTMLColor name=\"b\" color=\"2\"/>"
               "</HTMLColor><Group><Sub><HTMLColor name=\"c\" color=\"3\"/></Sub></Group>"
               "<HTMLColor name=\"d\" color=\"4\"/></Colors>")
        << QStringList{"a", "b", "c", "d"} << QStringList{"1", "2", "3", "4"};
    QTest::newRow("missing attributes are empty")
        << QByteArray("<Root><HTMLColor name=\"only name\"/><HTMLColor color=\"0x123456\"/>"
                      "<HTMLColor/></Root>")
        << QStringList{"only name", "", ""} << QStringList{"", "0x123456", ""};
    QTest::newRow("everything else is ignored")
        << QByteArray("<?xml version=\"1.0\"?><!-- c --><?pi x?><Root version=\"2\">text"
                      "<htmlcolor name=\"lower\"/><x:HTMLColor xmlns:x=\"u\" name=\"prefixed\"/>"
                      "<HTMLColor extra=\"e\" name=\"kept\" color=\"red\"/><![CDATA[<HTMLColor/>]]>"
                      "</Root>")
        << QStringList{"kept"} << QStringList{"red"};
    QTest::newRow("no entries") << QByteArray("<Root/>") << QStringList() << QStringList();
    QTest::newRow("values are raw text, not parsed")
        << QByteArray("<Root><HTMLColor name=\"n\" color=\" 0XFF8000\"/></Root>")
        << QStringList{"n"} << QStringList{" 0XFF8000"};
}

void TestColorFile::readsEveryHtmlColorInDocumentOrder()
{
    QFETCH(QByteArray, document);
    QFETCH(QStringList, names);
    QFETCH(QStringList, values);
    AOColors table = tableOf({"stale"}, {"0x000000"});
    QString error;
    QVERIFY2(ColorFile::read(document, &table, &error), qPrintable(error));
    QCOMPARE(namesOf(table), names);
    QCOMPARE(valuesOf(table), values);
}

void TestColorFile::unchangedFileWrittenBackReadsTheSame_data()
{
    QTest::addColumn<QByteArray>("document");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QStringList>("values");

    QTest::newRow("letter case") << QByteArray(
                                        "<Root><HTMLColor name=\"CCClanColor\" color=\"0xAbCdEf\"/>"
                                        "<HTMLColor name=\"ctch_clan\" color=\"#FFffFF\"/></Root>")
                                 << QStringList{"CCClanColor", "ctch_clan"}
                                 << QStringList{"0xAbCdEf", "#FFffFF"};
    QTest::newRow("tabs and line ends written as references")
        << QByteArray(
               "<Root><HTMLColor name=\"a&#9;b\" color=\"1&#10;2&#13;3&#13;&#10;4\"/></Root>")
        << QStringList{"a\tb"} << QStringList{"1\n2\r3\r\n4"};
    // Qt's DOM keeps them as they are; written as references, every other reader
    // sees them as well instead of blanks.
    // Qt 6's reader normalises raw white space in attributes to blanks, as XML asks;
    // Qt 5's keeps it. Either way the file written back reads the same.
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    QTest::newRow("raw tabs and line feeds")
        << QByteArray("<Root><HTMLColor name=\"a\tb\" color=\"1\n2\"/></Root>")
        << QStringList{"a b"} << QStringList{"1 2"};
#else
    QTest::newRow("raw tabs and line feeds")
        << QByteArray("<Root><HTMLColor name=\"a\tb\" color=\"1\n2\"/></Root>")
        << QStringList{"a\tb"} << QStringList{"1\n2"};
#endif
    QTest::newRow("blanks kept as they are")
        << QByteArray("<Root><HTMLColor name=\" two  blanks \" color=\"\"/></Root>")
        << QStringList{" two  blanks "} << QStringList{""};
    QTest::newRow("predefined entities")
        << QByteArray("<Root><HTMLColor name=\"&lt;&gt;&amp;\" color=\"&quot;&apos;\"/></Root>")
        << QStringList{"<>&"} << QStringList{"\"'"};
    QTest::newRow("declared entity")
        << QByteArray("<!DOCTYPE Root [<!ENTITY red \"0xFF0000\">]>"
                      "<Root><HTMLColor name=\"r\" color=\"&red;\"/></Root>")
        << QStringList{"r"} << QStringList{"0xFF0000"};
    QTest::newRow("quotes of both kinds")
        << QByteArray("<Root><HTMLColor name='say \"hi\"' color=\"it's\"/></Root>")
        << QStringList{"say \"hi\""} << QStringList{"it's"};
    QTest::newRow("names outside ASCII")
        << QStringLiteral("<Root><HTMLColor name=\"Gr\u00fcn \u65e5\u672c \U0001F600\" "
                          "color=\"\u00e9\"/></Root>")
               .toUtf8()
        << QStringList{QStringLiteral("Gr\u00fcn \u65e5\u672c \U0001F600")}
        << QStringList{QStringLiteral("\u00e9")};
    QTest::newRow("character references beyond U+FFFF")
        << QByteArray("<Root><HTMLColor name=\"&#x1F600;&#128512;\" color=\"&#65;\"/>"
                      "</Root>")
        << QStringList{QStringLiteral("\U0001F600\U0001F600")} << QStringList{"A"};
#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
    // References to characters XML does not allow: Qt 5 reads them, Qt 6 refuses the file.
    QTest::newRow("reference to U+FFFF")
        << QByteArray("<Root><HTMLColor name=\"a&#xFFFF;\" color=\"1\"/></Root>")
        << QStringList{QStringLiteral("a\uFFFF")} << QStringList{"1"};
    QTest::newRow("duplicates kept in order")
        << QByteArray("<Root><HTMLColor name=\"d\" color=\"1\"/><HTMLColor name=\"e\" color=\"2\"/>"
                      "<HTMLColor name=\"d\" color=\"3\"/></Root>")
        << QStringList{"d", "e", "d"} << QStringList{"1", "2", "3"};
    QTest::newRow("nested elements and a missing colour")
        << QByteArray("<Root><Group><HTMLColor name=\"deep\" color=\"0x010203\"/></Group>"
                      "<HTMLColor name=\"bare\"/></Root>")
        << QStringList{"deep", "bare"} << QStringList{"0x010203", ""};
    QTest::newRow("markup characters")
        << QByteArray("<Root><HTMLColor name=\"]]&gt;\" color=\"a>b]]>c\"/></Root>")
        << QStringList{"]]>"} << QStringList{"a>b]]>c"};
    QTest::newRow("control characters as references")
        << QByteArray("<Root><HTMLColor name=\"a&#1;b\" color=\"&#0;\"/></Root>")
        << QStringList{QStringLiteral("a\u0001b")} << QStringList{QString(QChar(0))};
#endif
    QByteArray utf16("\xff\xfe");
    const QString text =
        QStringLiteral("<Root><HTMLColor name=\"Gr\u00fcn\" color=\"green\"/></Root>");
    utf16.append(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    QTest::newRow("UTF-16 with byte-order mark")
        << utf16 << QStringList{QStringLiteral("Gr\u00fcn")} << QStringList{"green"};
    QTest::newRow("declared ISO-8859-1")
        << QByteArray("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>"
                      "<Root><HTMLColor name=\"Gr\xfcn\" color=\"green\"/></Root>")
        << QStringList{QStringLiteral("Gr\u00fcn")} << QStringList{"green"};
}

void TestColorFile::unchangedFileWrittenBackReadsTheSame()
{
    QFETCH(QByteArray, document);
    QFETCH(QStringList, names);
    QFETCH(QStringList, values);
    put(folder->colorFile(), document);

    AOColors first;
    QString error;
    QVERIFY2(ColorFile::load(folder->colorFile(), &first, &error), qPrintable(error));
    QCOMPARE(namesOf(first), names);
    QCOMPARE(valuesOf(first), values);

    QVERIFY2(ColorFile::save(*folder, first, &error), qPrintable(error));
    QCOMPARE(contents(folder->backupFile()), document);
    AOColors second;
    QVERIFY2(ColorFile::load(folder->colorFile(), &second, &error), qPrintable(error));
    QCOMPARE(namesOf(second), names);
    QCOMPARE(valuesOf(second), values);
}

void TestColorFile::tableWrittenAndReadIsTheSame_data()
{
    QTest::addColumn<QString>("text");

    QTest::newRow("plain") << QStringLiteral("0x40FF80");
    QTest::newRow("empty") << QString();
    QTest::newRow("tab, line feed, carriage return") << QStringLiteral("\t\n\r\r\n");
    QTest::newRow("leading, trailing and double blanks") << QStringLiteral(" a  b ");
    QTest::newRow("markup") << QStringLiteral("<a href=\"x\">&amp;</a> ]]> ]>");
    QTest::newRow("apostrophe") << QStringLiteral("it's");
    QTest::newRow("outside ASCII") << QStringLiteral("\u00e9\u00df\u4e2d\U0001F308");
#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
    // Only Qt 5's reader can give a table these; Qt 6 refuses any file holding them.
    QTest::newRow("control characters") << QStringLiteral("\u0001\u001f") + QChar(0);
    QTest::newRow("non-characters") << QStringLiteral("\ufffe\uffff");
#endif
}

void TestColorFile::tableWrittenAndReadIsTheSame()
{
    QFETCH(QString, text);
    const AOColors table = tableOf({text, QStringLiteral("second")}, {QStringLiteral("v"), text});
    AOColors read;
    QString error;
    QVERIFY2(ColorFile::read(ColorFile::toXml(table), &read, &error), qPrintable(error));
    QCOMPARE(namesOf(read), namesOf(table));
    QCOMPARE(valuesOf(read), valuesOf(table));
}

void TestColorFile::escapesAttributesLikeTheDom_data()
{
    QTest::addColumn<QString>("text");

    QTest::newRow("plain") << QStringLiteral("ctch_clan");
    QTest::newRow("quotes and ampersand") << QStringLiteral("\"'&");
    QTest::newRow("angle brackets") << QStringLiteral("<a>b>");
    QTest::newRow("end of character data") << QStringLiteral("]]> ]] > ]>]]>]]]>");
    QTest::newRow("'>' right at the start") << QStringLiteral(">]]>");
    QTest::newRow("white space") << QStringLiteral("\t \n \r");
    QTest::newRow("outside ASCII") << QStringLiteral("\u00fc\U0001F600");
}

// The written file is the one Qt's DOM would print, apart from the fixed order of
// the two attributes.
void TestColorFile::escapesAttributesLikeTheDom()
{
    QFETCH(QString, text);
    QDomDocument document{QString()};
    QDomElement root = document.createElement(QStringLiteral("Root"));
    document.appendChild(root);
    QDomElement element = document.createElement(QStringLiteral("HTMLColor"));
    element.setAttribute(QStringLiteral("name"), text);
    root.appendChild(element);
    const QString dom = document.toString(4);

    const QString ours = QString::fromUtf8(ColorFile::toXml(tableOf({text}, {QString()})));
    QCOMPARE(ours, QString(dom).replace(QStringLiteral("\"/>"), QStringLiteral("\" color=\"\"/>")));
}

void TestColorFile::writesRootWithIndentedEntriesInUtf8()
{
    const AOColors table =
        tableOf({"ctch_clan", QStringLiteral("Gr\u00fcn"), "bare"}, {"0x40FF80", "green", ""});
    const QByteArray xml = ColorFile::toXml(table);
    QCOMPARE(xml, QByteArray("<Root>\n"
                             "    <HTMLColor name=\"ctch_clan\" color=\"0x40FF80\"/>\n"
                             "    <HTMLColor name=\"Gr\xc3\xbcn\" color=\"green\"/>\n"
                             "    <HTMLColor name=\"bare\" color=\"\"/>\n"
                             "</Root>\n"));
    QCOMPARE(ColorFile::toXml(AOColors()), QByteArray("<Root/>\n"));
}

void TestColorFile::refusesDocumentsItCannotRead_data()
{
    QTest::addColumn<QByteArray>("document");

    QByteArray random(4096, 0);
    QRandomGenerator generator(7);
    for (char& byte : random)
        byte = char(generator.bounded(256));
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("unclosed root") << QByteArray("<Root><HTMLColor name=\"a\" color=\"b\"/>");
    QTest::newRow("mismatched tags") << QByteArray("<Root><HTMLColor name=\"a\"></Root>");
    QTest::newRow("NUL bytes") << QByteArray("<Root>\0<HTMLColor name=\"a\"/></Root>", 35);
    QTest::newRow("random bytes") << random;
    QTest::newRow("plain text") << QByteArray("ctch_clan = 0x40FF80\n");
    // Qt's DOM reads half of a surrogate pair into the entry, which no written file can
    // hold: it would come back as '?'.
    const QString lone = QStringLiteral("<Root><HTMLColor name=\"n\" color=\"gre") + QChar(0xd842) +
                         QStringLiteral("en\"/></Root>");
    QByteArray utf16("\xff\xfe");
    utf16.append(reinterpret_cast<const char*>(lone.utf16()), lone.size() * 2);
    QTest::newRow("half of a surrogate pair in UTF-16") << utf16;
    QTest::newRow("reference to half of a surrogate pair")
        << QByteArray("<Root><HTMLColor name=\"n\" color=\"&#xD842;\"/></Root>");
    QTest::newRow("reference beyond the last character")
        << QByteArray("<Root><HTMLColor name=\"n\" color=\"&#x110041;\"/></Root>");
    QTest::newRow("40,000 levels")
        << QByteArray("<a>").repeated(40000) + QByteArray("</a>").repeated(40000);
    QTest::newRow("quadratic entity expansion")
        << QByteArray("<!DOCTYPE Root [<!ENTITY a \"") + QByteArray(4000, 'x') +
               "\">]><Root><HTMLColor name=\"n\" color=\"" + QByteArray("&a;").repeated(130000) +
               "\"/></Root>";
}

void TestColorFile::refusesDocumentsItCannotRead()
{
    QFETCH(QByteArray, document);
    AOColors table = tableOf({"stale"}, {"0x000000"});
    QString error;
    QVERIFY(!ColorFile::read(document, &table, &error));
    QVERIFY(table.isEmpty());
    QVERIFY2(error.startsWith(QStringLiteral("not well-formed XML")), qPrintable(error));
}

void TestColorFile::loadRefusesWhatIsNoColorFile()
{
    AOColors table = tableOf({"stale"}, {"0x000000"});
    QString error;
    QVERIFY(!ColorFile::load(folder->colorFile(), &table, &error));
    QVERIFY(table.isEmpty());
    QVERIFY(error.contains(QStringLiteral("no such file")));

    QVERIFY(QDir().mkdir(folder->colorFile()));
    QVERIFY(!ColorFile::load(folder->colorFile(), &table, &error));
    QVERIFY2(error.contains(QStringLiteral("is a folder")), qPrintable(error));
    QVERIFY(QDir().rmdir(folder->colorFile()));

    QFile huge(folder->colorFile());
    QVERIFY(huge.open(QIODevice::WriteOnly));
    QVERIFY(huge.resize(ColorFile::maxSize + 1));
    huge.close();
    QVERIFY(!ColorFile::load(folder->colorFile(), &table, &error));
    QVERIFY2(error.contains(QStringLiteral("too large")), qPrintable(error));
}

void TestColorFile::loadsAndSavesALargeFile()
{
    const QByteArray data = colorFile(largeFileEntries);
    QVERIFY(data.size() > largeFileEntries * 45);
    put(folder->colorFile(), data);
    AOColors table;
    QString error;
    QVERIFY2(ColorFile::load(folder->colorFile(), &table, &error), qPrintable(error));
    QCOMPARE(table.size(), largeFileEntries);
    QVERIFY2(ColorFile::save(*folder, table, &error), qPrintable(error));
    AOColors again;
    QVERIFY2(ColorFile::load(folder->colorFile(), &again, &error), qPrintable(error));
    QCOMPARE(namesOf(again), namesOf(table));
    QCOMPARE(valuesOf(again), valuesOf(table));
    QCOMPARE(contents(folder->backupFile()), data);
}

void TestColorFile::saveKeepsThePreviousFileAsBackup()
{
    const QByteArray game = "<?xml version=\"1.0\"?>\r\n<!-- the game's own -->\r\n<Root>\r\n"
                            "  <HTMLColor name=\"a\" color=\"0xFF0000\" />\r\n</Root>\r\n";
    put(folder->colorFile(), game);
    put(folder->backupFile(), "an older backup");
    AOColors table;
    QVERIFY(ColorFile::load(folder->colorFile(), &table));
    table[0].setColor(QColor(1, 2, 3));

    QString error;
    QVERIFY2(ColorFile::save(*folder, table, &error), qPrintable(error));
    QCOMPARE(contents(folder->backupFile()), game);
    const QByteArray first = contents(folder->colorFile());
    QCOMPARE(first,
             QByteArray("<Root>\n    <HTMLColor name=\"a\" color=\"0x010203\"/>\n</Root>\n"));

    table[0].setColor(QColor(4, 5, 6));
    QVERIFY2(ColorFile::save(*folder, table, &error), qPrintable(error));
    QCOMPARE(contents(folder->backupFile()), first);
    QVERIFY(contents(folder->colorFile()).contains("0x040506"));
    QCOMPARE(leftovers(folder->path()), QStringList());
}

void TestColorFile::saveWithoutPreviousFileKeepsTheBackup()
{
    put(folder->backupFile(), "the only backup");
    QString error;
    QVERIFY2(ColorFile::save(*folder, tableOf({"a"}, {"1"}), &error), qPrintable(error));
    QCOMPARE(contents(folder->backupFile()), QByteArray("the only backup"));
    QVERIFY(contents(folder->colorFile()).startsWith("<Root>"));
}

void TestColorFile::failedSaveChangesNothing()
{
    put(folder->colorFile(), colorFile(3));
    QVERIFY(QDir().mkdir(folder->backupFile()));
    QString error;
    QVERIFY(!ColorFile::save(*folder, tableOf({"a"}, {"1"}), &error));
    QVERIFY2(error.contains(QStringLiteral("TextColors.xml.bak")), qPrintable(error));
    QCOMPARE(contents(folder->colorFile()), colorFile(3));
    QVERIFY(QFileInfo(folder->backupFile()).isDir());
    QCOMPARE(leftovers(folder->path()), QStringList());

    // A colour file that cannot be read cannot be kept as the backup either.
    QVERIFY(QDir().rmdir(folder->backupFile()));
    QVERIFY(QFile::remove(folder->colorFile()));
    QVERIFY(QDir().mkdir(folder->colorFile()));
    QVERIFY(!ColorFile::save(*folder, tableOf({"a"}, {"1"}), &error));
    QVERIFY(QFileInfo(folder->colorFile()).isDir());
    QVERIFY(!QFileInfo::exists(folder->backupFile()));
}

void TestColorFile::fullDiskKeepsEveryEntry_data()
{
    QTest::addColumn<int>("freePages");
    QTest::addColumn<bool>("saved");

    // The file on disk is 4 pages, the table to write 7.
    QTest::newRow("no room at all") << 0 << false;
    QTest::newRow("room for the backup only") << 5 << false;
    QTest::newRow("room for both") << 12 << true;
}

void TestColorFile::fullDiskKeepsEveryEntry()
{
    QFETCH(int, freePages);
    QFETCH(bool, saved);
    Tmpfs disk(dir->path(), 64);
    if (!disk.mounted)
        QSKIP(qPrintable(
            QStringLiteral("cannot mount a tmpfs to fill (%1); run as root").arg(disk.error)));
    QVERIFY(QDir().mkpath(folder->path()));
    const QByteArray previous = colorFile(250);
    QVERIFY(previous.size() > 3 * 4096 && previous.size() <= 4 * 4096);
    put(folder->colorFile(), previous);
    put(folder->backupFile(), "earlier backup");
    AOColors table;
    QVERIFY(ColorFile::load(folder->colorFile(), &table));
    table += table;
    QVERIFY(ColorFile::toXml(table).size() > 6 * 4096);
    fillLeaving(dir->path(), freePages);

    QString error;
    QCOMPARE(ColorFile::save(*folder, table, &error), saved);
    AOColors kept;
    QVERIFY(ColorFile::load(folder->colorFile(), &kept));
    if (saved) {
        QCOMPARE(kept.size(), 500);
        QCOMPARE(contents(folder->backupFile()), previous);
    } else {
        QVERIFY2(error.contains(QStringLiteral("No space left")), qPrintable(error));
        QCOMPARE(contents(folder->colorFile()), previous);
        QCOMPARE(kept.size(), 250);
        QCOMPARE(contents(folder->backupFile()), QByteArray("earlier backup"));
    }
    QCOMPARE(leftovers(folder->path()), QStringList());
}

// A file that is a mount point cannot be renamed over: the backup is already in place
// when the colour file turns out not to be replaceable. The earlier backup is not put
// back (another save may have replaced it meanwhile); both files stay whole and the
// error says where the colours are.
void TestColorFile::unreplaceableFileLeavesItsCopyAsBackup()
{
#ifdef Q_OS_LINUX
    const QString source = dir->filePath(QStringLiteral("game copy"));
    put(source, colorFile(2));
    put(folder->colorFile(), QByteArray());
    put(folder->backupFile(), "earlier backup");
    if (::mount(QFile::encodeName(source).constData(),
                QFile::encodeName(folder->colorFile()).constData(), nullptr, MS_BIND, nullptr) != 0)
        QSKIP(qPrintable(QStringLiteral("cannot bind-mount over the colour file (%1)")
                             .arg(QString::fromLocal8Bit(std::strerror(errno)))));
    QString error;
    const bool saved = ColorFile::save(*folder, tableOf({"new"}, {"1"}), &error);
    const QByteArray backup = contents(folder->backupFile());
    const QByteArray file = contents(folder->colorFile());
    ::umount2(QFile::encodeName(folder->colorFile()).constData(), MNT_DETACH);
    QVERIFY(!saved);
    QVERIFY2(error.contains(QStringLiteral("busy")) &&
                 error.contains(QStringLiteral("the file itself is unchanged")) &&
                 error.contains(QStringLiteral("TextColors.xml.bak now holds a copy")),
             qPrintable(error));
    QCOMPARE(file, colorFile(2));
    QCOMPARE(backup, colorFile(2));
    QCOMPARE(leftovers(folder->path()), QStringList());
#else
    QSKIP("needs Linux mounts");
#endif
}

QTEST_GUILESS_MAIN(TestColorFile)
#include "TestColorFile.moc"
