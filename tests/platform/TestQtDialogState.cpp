// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/QtDialogState.h"

#include <QFileDialog>
#include <QTemporaryDir>
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

namespace
{
bool exists(const wchar_t* key)
{
#ifdef Q_OS_WIN
    HKEY handle = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, key, 0, KEY_READ, &handle) != ERROR_SUCCESS)
        return false;
    RegCloseKey(handle);
    return true;
#else
    Q_UNUSED(key)
    return false;
#endif
}
} // namespace

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
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\QtProject");
    const DWORD mark = 42;
    if (other)
        QCOMPARE(RegSetKeyValueW(HKEY_CURRENT_USER, qtKey, L"other", REG_DWORD, &mark, sizeof mark),
                 LSTATUS(ERROR_SUCCESS));
    QTemporaryDir dir;
    {
        const QtDialogState state;
        QFileDialog dialog(nullptr, QStringLiteral("Folder"), dir.path());
        dialog.setOption(QFileDialog::DontUseNativeDialog);
    }
    QVERIFY(exists(L"Software\\Tintwell\\FileDialog"));
    QCOMPARE(exists(L"Software\\QtProject"), other);
    if (other) {
        DWORD value = 0;
        DWORD size = sizeof value;
        QCOMPARE(
            RegGetValueW(HKEY_CURRENT_USER, qtKey, nullptr, RRF_RT_ANY, nullptr, &value, &size),
            LSTATUS(ERROR_FILE_NOT_FOUND));
        QCOMPARE(RegGetValueW(HKEY_CURRENT_USER, qtKey, L"other", RRF_RT_REG_DWORD, nullptr, &value,
                              &size),
                 LSTATUS(ERROR_SUCCESS));
        QCOMPARE(value, mark);
        RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\QtProject");
    }
#endif
}

QTEST_MAIN(TestQtDialogState)
#include "TestQtDialogState.moc"
