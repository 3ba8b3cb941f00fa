// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/QtDialogState.h"

#include <QFileDialog>
#include <QtTest>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

class TestQtDialogState : public QObject
{
    Q_OBJECT

private slots:
    void dialogLeavesQtsKeyAsItWas_data();
    void dialogLeavesQtsKeyAsItWas();
};

void TestQtDialogState::dialogLeavesQtsKeyAsItWas_data()
{
    QTest::addColumn<bool>("other"); // another Qt program's state is there before

    QTest::newRow("no Qt key before") << false;
    QTest::newRow("another program's state before") << true;
}

// Qt's own file dialog writes its state under "QtProject" when it closes; that key is
// left as it was, and the state goes under Tintwell's key for the next dialog.
void TestQtDialogState::dialogLeavesQtsKeyAsItWas()
{
#ifndef Q_OS_WIN
    QSKIP("Qt's file dialogs keep their state in the registry on Windows only");
#else
    QFETCH(bool, other);
    const wchar_t* qtKey = L"Software\\QtProject\\OrganizationDefaults\\FileDialog";
    const auto exists = [](const wchar_t* key) {
        HKEY handle = nullptr;
        const bool opened = RegOpenKeyExW(HKEY_CURRENT_USER, key, 0, KEY_READ, &handle) == 0;
        RegCloseKey(handle);
        return opened;
    };
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\QtProject");
    DWORD value = 42;
    DWORD size = sizeof value;
    if (other)
        QVERIFY(!RegSetKeyValueW(HKEY_CURRENT_USER, qtKey, L"other", REG_DWORD, &value, size));
    {
        const QtDialogState state;
        QFileDialog dialog(nullptr, QStringLiteral("Folder"), QDir::tempPath());
        dialog.setOption(QFileDialog::DontUseNativeDialog);
    }
    QVERIFY(exists(L"Software\\Tintwell\\FileDialog"));
    QCOMPARE(exists(L"Software\\QtProject"), other);
    if (other) {
        value = 0;
        QVERIFY(RegGetValueW(HKEY_CURRENT_USER, qtKey, L"lastVisited", RRF_RT_ANY, nullptr, nullptr,
                             nullptr) == ERROR_FILE_NOT_FOUND);
        QVERIFY(!RegGetValueW(HKEY_CURRENT_USER, qtKey, L"other", RRF_RT_REG_DWORD, nullptr, &value,
                              &size));
        QCOMPARE(value, DWORD(42));
        RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\QtProject");
    }
#endif
}

QTEST_MAIN(TestQtDialogState)
#include "TestQtDialogState.moc"
