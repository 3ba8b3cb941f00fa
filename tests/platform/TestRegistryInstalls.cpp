// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/RegistryInstalls.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

// The registry is read through QSettings; an INI file holds the same keys here.
class TestRegistryInstalls : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void uninstallEntriesThatNameTheGame();
    void steamRootFromEitherKey();
    void plainFolder_data();
    void plainFolder();

private:
    QSettings* settings(const QString& name);

    std::unique_ptr<QTemporaryDir> dir;
};

void TestRegistryInstalls::init()
{
    dir = std::make_unique<QTemporaryDir>();
    QVERIFY(dir->isValid());
}

QSettings* TestRegistryInstalls::settings(const QString& name)
{
    return new QSettings(dir->filePath(name), QSettings::IniFormat, this);
}

void TestRegistryInstalls::uninstallEntriesThatNameTheGame()
{
    QSettings* uninstall = settings("uninstall.ini");
    uninstall->setValue("{6D5E4C3B-0000}/DisplayName", "Anarchy Online");
    uninstall->setValue("{6D5E4C3B-0000}/InstallLocation", "C:\\Funcom\\Anarchy Online");
    uninstall->setValue("Steam App 228280/DisplayName", "anarchy online (Steam)");
    uninstall->setValue("Steam App 228280/InstallLocation",
                        "D:\\SteamLibrary\\steamapps\\common\\Anarchy Online");
    uninstall->setValue("AO without a folder/DisplayName", "Anarchy Online");
    uninstall->setValue("Other game/DisplayName", "Age of Conan");
    uninstall->setValue("Other game/InstallLocation", "C:\\Funcom\\Age of Conan");
    uninstall->setValue("Loose value", "Anarchy Online");

    const QStringList folders = RegistryInstalls::installFolders(*uninstall);
    QCOMPARE(folders.size(), 2);
    QVERIFY(folders.contains("C:\\Funcom\\Anarchy Online"));
    QVERIFY(folders.contains("D:\\SteamLibrary\\steamapps\\common\\Anarchy Online"));
    // The reader leaves the settings where it found them.
    QCOMPARE(uninstall->group(), QString());

    QSettings* empty = settings("empty.ini");
    QCOMPARE(RegistryInstalls::installFolders(*empty), QStringList());
}

void TestRegistryInstalls::steamRootFromEitherKey()
{
    QSettings* machine = settings("machine.ini");
    machine->setValue("InstallPath", "C:\\Program Files (x86)\\Steam");
    machine->setValue("SteamPath", "c:/wrong");
    QCOMPARE(RegistryInstalls::steamRoot(*machine), QString("C:\\Program Files (x86)\\Steam"));

    QSettings* user = settings("user.ini");
    user->setValue("SteamPath", "d:/steam");
    QCOMPARE(RegistryInstalls::steamRoot(*user), QString("d:/steam"));

    QSettings* none = settings("none.ini");
    QCOMPARE(RegistryInstalls::steamRoot(*none), QString());
}

void TestRegistryInstalls::plainFolder_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("folder");
    QTest::newRow("quoted, trailing backslash, blanks") << " \"C:\\Games\\AO Reg\\\" "
                                                        << "C:\\Games\\AO Reg";
    QTest::newRow("Steam's slashes") << "c:/program files (x86)/steam/"
                                     << "c:/program files (x86)/steam";
    QTest::newRow("drive root") << "\"D:\\\""
                                << "D:\\";
    QTest::newRow("only quotes") << "\"\""
                                 << "";
}

void TestRegistryInstalls::plainFolder()
{
    QFETCH(QString, value);
    QFETCH(QString, folder);
    QCOMPARE(RegistryInstalls::plainFolder(value), folder);
}

QTEST_GUILESS_MAIN(TestRegistryInstalls)
#include "TestRegistryInstalls.moc"
