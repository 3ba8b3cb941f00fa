// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/InstallFinder.h"

#include "common/Files.h"
#include "platform/Wine.h"

#include <QDir>
#include <QFile>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QtTest>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif
#ifdef Q_OS_WIN
#include <QProcess>
#include <QScopeGuard>
#endif

namespace
{

const QString steamGame = QStringLiteral("/steamapps/common/Anarchy Online");

// Lays out an install the way the game does: only the colour file matters.
QString makeGame(const QString& folder)
{
    put(folder + QStringLiteral("/cd_image/gui/default/TextColors.xml"), "<Root/>");
    return QDir::cleanPath(folder);
}

QByteArray libraryList(const QStringList& libraries)
{
    QByteArray vdf = "\"libraryfolders\"\n{\n";
    int number = 0;
    for (const QString& library : libraries) {
        vdf += "\t\"" + QByteArray::number(number++) + "\"\n\t{\n";
        vdf += "\t\t\"path\"\t\t\"" + library.toUtf8() + "\"\n";
        vdf +=
            "\t\t\"label\"\t\t\"\"\n\t\t\"apps\"\n\t\t{\n\t\t\t\"228280\"\t\t\"1\"\n\t\t}\n\t}\n";
    }
    return vdf + "}\n";
}

} // namespace

class TestInstallFinder : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void emptyHomeFindsNothing();
    void findsEachUsualPlace_data();
    void findsEachUsualPlace();
    void folderWithoutColorFileIsNotOffered();
    void steamLibrariesComeFirstAndOnce();
    void librariesAreSearchedOnceAndNoMoreThan64();
    void brokenLibraryListNeverStops_data();
    void brokenLibraryListNeverStops();
    void unusualFilesNeverBlock();
    void lutrisNamesItsPrefix();
    void libraryPaths_data();
    void libraryPaths();
    void windowsFolders();
    void findsWhatTheRealRegistryNames();

private:
    QString home() const { return dir->filePath(QStringLiteral("home")); }
    QStringList find(const QProcessEnvironment& env = QProcessEnvironment()) const
    {
        QStringList found = InstallFinder(home(), env, InstallFinder::System::Unix).installs();
        // Found on Windows, the folders come with its own separators.
        for (QString& folder : found)
            folder = QDir::fromNativeSeparators(folder);
        return found;
    }

    std::unique_ptr<QTemporaryDir> dir;
};

void TestInstallFinder::init()
{
    dir = std::make_unique<QTemporaryDir>();
    QVERIFY(dir->isValid());
    QVERIFY(QDir().mkpath(home()));
}

void TestInstallFinder::emptyHomeFindsNothing()
{
    QCOMPARE(find(), QStringList());
    QCOMPARE(InstallFinder(dir->filePath(QStringLiteral("no such home")), QProcessEnvironment(),
                           InstallFinder::System::Unix)
                 .installs(),
             QStringList());
}

// Each row: where the game lies below the fake home ("~") or beside it ("@"), and the
// environment variable that points there, if any.
void TestInstallFinder::findsEachUsualPlace_data()
{
    QTest::addColumn<QString>("game");
    QTest::addColumn<QString>("variable");
    QTest::addColumn<QString>("value");

    QTest::newRow("native Steam") << "~/.local/share/Steam" + steamGame << ""
                                  << "";
    QTest::newRow("Steam under XDG_DATA_HOME") << "@/data/Steam" + steamGame << "XDG_DATA_HOME"
                                               << "@/data";
    QTest::newRow("~/.steam/steam") << "~/.steam/steam" + steamGame << ""
                                    << "";
    QTest::newRow("Debian's Steam") << "~/.steam/debian-installation" + steamGame << ""
                                    << "";
    QTest::newRow("Flatpak Steam")
        << "~/.var/app/com.valvesoftware.Steam/.local/share/Steam" + steamGame << ""
        << "";
    QTest::newRow("~/.wine, Funcom folder") << "~/.wine/drive_c/Funcom/Anarchy Online"
                                            << ""
                                            << "";
    QTest::newRow("~/.wine, Program Files (x86)")
        << "~/.wine/drive_c/Program Files (x86)/Funcom/Anarchy Online"
        << ""
        << "";
    QTest::newRow("~/.wine, Steam for Windows")
        << "~/.wine/drive_c/Program Files (x86)/Steam" + steamGame << ""
        << "";
    QTest::newRow("~/.wine, the user's local data")
        << "~/.wine/drive_c/users/player/AppData/Local/Funcom/Anarchy Online"
        << ""
        << "";
    QTest::newRow("WINEPREFIX") << "@/prefixes/ao/drive_c/Program Files/Anarchy Online"
                                << "WINEPREFIX"
                                << "@/prefixes/ao";
    QTest::newRow("Lutris default prefix") << "~/Games/anarchy-online/drive_c/Funcom/Anarchy Online"
                                           << ""
                                           << "";
    QTest::newRow("Bottles") << "~/.local/share/bottles/bottles/AO/drive_c/Funcom/Anarchy Online"
                             << ""
                             << "";
    QTest::newRow("Flatpak Bottles")
        << "~/.var/app/com.usebottles.bottles/data/bottles/bottles/AO/drive_c/Funcom/"
           "Anarchy Online"
        << ""
        << "";
    QTest::newRow("Proton prefix")
        << "~/.local/share/Steam/steamapps/compatdata/123/pfx/drive_c/Funcom/Anarchy Online"
        << ""
        << "";
}

void TestInstallFinder::findsEachUsualPlace()
{
    QFETCH(QString, game);
    QFETCH(QString, variable);
    QFETCH(QString, value);
    const auto expand = [this](QString text) {
        return text.replace(QLatin1Char('~'), home()).replace(QLatin1Char('@'), dir->path());
    };
    const QString expected = makeGame(expand(game));
    QProcessEnvironment env;
    if (!variable.isEmpty())
        env.insert(variable, expand(value));
    QCOMPARE(find(env), QStringList{expected});
}

void TestInstallFinder::folderWithoutColorFileIsNotOffered()
{
    const QString game = home() + "/.local/share/Steam" + steamGame;
    QVERIFY(QDir().mkpath(game + "/cd_image/gui/default"));
    put(game + "/cd_image/gui/default/TextColors.xml.bak", "<Root/>");
    QCOMPARE(find(), QStringList());
}

// Steam's own link ~/.steam/steam -> ~/.local/share/Steam must not offer one install
// twice, every library Steam lists is searched, and Steam comes before Wine.
void TestInstallFinder::steamLibrariesComeFirstAndOnce()
{
    const QString steam = home() + "/.local/share/Steam";
    const QString native = makeGame(steam + steamGame);
    QVERIFY(QDir().mkpath(home() + "/.steam"));
    QVERIFY(QFile::link(steam, home() + "/.steam/steam"));
    const QString library = dir->filePath("disk two/SteamLibrary");
    const QString second = makeGame(library + steamGame);
    put(steam + "/steamapps/libraryfolders.vdf", libraryList({steam, library}));
    const QString wine = makeGame(home() + "/.wine/drive_c/Funcom/Anarchy Online");

    QCOMPARE(find(), (QStringList{native, second, wine}));
}

// However often a list names a library, and by whatever spelling, it is searched once;
// and no more than 64 libraries are, Steam's own folder first among them.
void TestInstallFinder::librariesAreSearchedOnceAndNoMoreThan64()
{
    const QString steam = home() + "/.local/share/Steam";
    QStringList libraries;
    for (int i = 0; i < 70; ++i) {
        const QString library = dir->filePath(QStringLiteral("library %1").arg(i));
        makeGame(library + steamGame);
        libraries << library << library + "/" << steam;
    }
    put(steam + "/steamapps/libraryfolders.vdf", libraryList(libraries));
    QCOMPARE(find().size(), 63);
}

void TestInstallFinder::brokenLibraryListNeverStops_data()
{
    QTest::addColumn<QByteArray>("vdf");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("binary") << QByteArray("\0\xff\xfe{{\"\0", 8);
    QTest::newRow("unterminated string")
        << QByteArray("\"libraryfolders\" { \"0\" { \"path\" \"/x");
    QTest::newRow("closing brace first") << QByteArray("} } \"path\" \"/nowhere\"");
    QTest::newRow("deep nesting") << QByteArray(100000, '{');
    QTest::newRow("path without value") << QByteArray("\"libraryfolders\" { \"path\" }");
    QTest::newRow("oversized") << QByteArray(2 * 1024 * 1024, '"');
}

// A list Steam half wrote, or anything else, adds no library and loses no other.
void TestInstallFinder::brokenLibraryListNeverStops()
{
    QFETCH(QByteArray, vdf);
    const QString steam = home() + "/.local/share/Steam";
    const QString game = makeGame(steam + steamGame);
    put(steam + "/steamapps/libraryfolders.vdf", vdf);
    QCOMPARE(find(), QStringList{game});
}

// A pipe where Steam's list or a Lutris settings file should be would block a reader
// for ever; a folder there is no list either.
void TestInstallFinder::unusualFilesNeverBlock()
{
#ifndef Q_OS_UNIX
    QSKIP("pipes in the file system are a Unix matter");
#else
    const QString steam = home() + "/.local/share/Steam";
    const QString game = makeGame(steam + steamGame);
    QVERIFY(::mkfifo(QFile::encodeName(steam + "/steamapps/libraryfolders.vdf").constData(),
                     0600) == 0);
    QVERIFY(QDir().mkpath(home() + "/.config/lutris/games"));
    QVERIFY(::mkfifo(QFile::encodeName(home() + "/.config/lutris/games/ao.yml").constData(),
                     0600) == 0);
    QVERIFY(QDir().mkpath(home() + "/.config/lutris/games/folder.yml"));
    QCOMPARE(find(), QStringList{game});
#endif
}

void TestInstallFinder::lutrisNamesItsPrefix()
{
    const QString prefix = dir->filePath("wine prefixes/ao");
    const QString game = makeGame(prefix + "/drive_c/Program Files (x86)/Funcom/Anarchy Online");
    put(home() + "/.config/lutris/games/anarchy-online-1690000000.yml",
        "game:\n  exe: drive_c/Funcom/Anarchy Online/AnarchyOnline.exe\n  prefix: '" +
            prefix.toUtf8() + "'\nsystem: {}\n");
    QCOMPARE(find(), QStringList{game});

    QProcessEnvironment env;
    env.insert("XDG_CONFIG_HOME", dir->filePath("nowhere"));
    QCOMPARE(find(env), QStringList());
}

void TestInstallFinder::libraryPaths_data()
{
    QTest::addColumn<QByteArray>("vdf");
    QTest::addColumn<QStringList>("paths");

    QTest::newRow("today's format") << libraryList({"/home/p/.local/share/Steam", "/mnt/games"})
                                    << QStringList{"/home/p/.local/share/Steam", "/mnt/games"};
    QTest::newRow("old numbered entries")
        << QByteArray("\"LibraryFolders\"\n{\n\t\"TimeNextStatsReport\"\t\t\"1690000000\"\n"
                      "\t\"ContentStatsID\"\t\t\"-123\"\n\t\"1\"\t\t\"D:\\\\SteamLibrary\"\n}\n")
        << QStringList{"D:\\SteamLibrary"};
    QTest::newRow("escaped quote and comment")
        << QByteArray("// written by Steam\n\"libraryfolders\" { \"0\" { \"PATH\" "
                      "\"/games/\\\"quoted\\\"\" } }")
        << QStringList{"/games/\"quoted\""};
    QTest::newRow("other keys are not paths")
        << QByteArray("\"libraryfolders\" { \"0\" { \"label\" \"/not\" \"apps\" { \"1\" \"2\" } "
                      "\"path\" \"/yes\" } }")
        << QStringList{"/yes"};
    QTest::newRow("missing closing braces")
        << QByteArray("\"libraryfolders\" { \"0\" { \"path\" \"/kept\"") << QStringList{"/kept"};
    QTest::newRow("unquoted junk stops reading")
        << QByteArray("\"libraryfolders\" { \"0\" { \"path\" \"/a\" } junk \"1\" { \"path\" \"/b\" "
                      "} }")
        << QStringList{"/a"};
}

void TestInstallFinder::libraryPaths()
{
    QFETCH(QByteArray, vdf);
    QFETCH(QStringList, paths);
    QCOMPARE(InstallFinder::libraryPaths(vdf), paths);
}

// Windows' usual folders come from the environment; the registry's findings are handed
// in and tried first. The fake drive is a folder of the test.
void TestInstallFinder::windowsFolders()
{
    const QString programs = dir->filePath("C/Program Files (x86)");
    const QString funcom = makeGame(programs + "/Funcom/Anarchy Online");
    const QString steam = makeGame(programs + "/Steam" + steamGame);
    const QString library = dir->filePath("D/SteamLibrary");
    const QString onD = makeGame(library + steamGame);
    put(programs + "/Steam/steamapps/libraryfolders.vdf", libraryList({library}));
    const QString registered = makeGame(dir->filePath("E/Games/AO"));
    const QString custom = dir->filePath("F/Steam");
    const QString onF = makeGame(custom + steamGame);

    QProcessEnvironment env;
    env.insert("ProgramFiles(x86)", QDir::toNativeSeparators(programs));
    env.insert("SystemDrive", dir->filePath("C"));
    InstallFinder finder(home(), env, InstallFinder::System::Windows);
    finder.addInstallCandidates({registered, dir->filePath("registered but gone")});
    finder.addSteamRoots({custom});

    const auto native = [](const QStringList& paths) {
        QStringList result;
        for (const QString& path : paths)
            result.append(QDir::toNativeSeparators(path));
        return result;
    };
    QCOMPARE(finder.installs(), native({registered, onF, steam, onD, funcom}));
}

// The uninstall entries of both registry views and the player's own, written as
// installers do (plain, quoted with a trailing backslash, quoted), and Steam's
// SteamPath, whose library list names a second library. Windows' own reg.exe writes
// them, as `wine reg add` does.
void TestInstallFinder::findsWhatTheRealRegistryNames()
{
#ifndef Q_OS_WIN
    QSKIP("the registry is Windows'");
#else
    if (!Wine::isHost())
        QSKIP("writes the machine's registry: run under Wine, in the tests' own prefix");
    const auto reg = [](QStringList arguments, const QString& view) {
        return QProcess::execute("reg", arguments << "/f" << view) == 0;
    };
    const QString uninstall =
        "\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tintwell ";
    const QString steam = "HKCU\\Software\\Valve\\Steam";
    const QStringList keys{"HKLM" + uninstall + "64", "HKLM" + uninstall + "32",
                           "HKCU" + uninstall + "user"};
    const QStringList views{"/reg:64", "/reg:32", "/reg:64"};
    const QStringList locations{"%1", "\"%1\\\"", "\"%1\""};
    auto cleanUp = qScopeGuard([&] {
        for (int i = 0; i < keys.size(); ++i)
            reg({"delete", keys[i]}, views[i]);
        reg({"delete", steam}, "/reg:64");
    });
    QStringList expected;
    for (int i = 0; i < keys.size(); ++i) {
        expected << QDir::toNativeSeparators(
            makeGame(dir->filePath(QStringLiteral("AO %1").arg(i))));
        QVERIFY(reg({"add", keys[i], "/v", "DisplayName", "/d", "Anarchy Online"}, views[i]));
        QVERIFY(reg({"add", keys[i], "/v", "InstallLocation", "/d", locations[i].arg(expected[i])},
                    views[i]));
    }
    // Steam writes its own folder with forward slashes and doubles backslashes in its list.
    const QString root = dir->filePath("Steam");
    const QString library = QDir::toNativeSeparators(dir->filePath("SteamLibrary"));
    put(root + "/steamapps/libraryfolders.vdf",
        libraryList({root, QString(library).replace("\\", "\\\\")}));
    expected << QDir::toNativeSeparators(makeGame(library + steamGame));
    QVERIFY(reg({"add", steam, "/v", "SteamPath", "/d", root}, "/reg:64"));

    const QStringList found = InstallFinder::forThisUser().installs();
    for (const QString& game : qAsConst(expected))
        QVERIFY2(found.contains(game, Qt::CaseInsensitive),
                 qPrintable(found.join(';') + " lacks " + game));
#endif
}

QTEST_GUILESS_MAIN(TestInstallFinder)
#include "TestInstallFinder.moc"
