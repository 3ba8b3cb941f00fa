// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/SystemError.h"

#include <QtTest>

#include <cerrno>
#include <cstring>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

class TestSystemError : public QObject
{
    Q_OBJECT

private slots:
    void errnoIsTheCRuntimeText();
    void windowsErrorsAreNamedAndNumbered();
    void lastErrorIsTheFailingCallsReason();
};

void TestSystemError::errnoIsTheCRuntimeText()
{
    errno = ENOENT;
    QCOMPARE(SystemError::fromErrno(), QString::fromLocal8Bit(std::strerror(ENOENT)));
}

void TestSystemError::windowsErrorsAreNamedAndNumbered()
{
#ifdef Q_OS_WIN
    const QString missing = SystemError::windowsText(ERROR_FILE_NOT_FOUND);
    const QString shared = SystemError::windowsText(ERROR_SHARING_VIOLATION);
    QVERIFY2(missing.endsWith(QLatin1String(" (Windows error 2)")), qPrintable(missing));
    QVERIFY2(shared.endsWith(QLatin1String(" (Windows error 32)")), qPrintable(shared));
    // The system's words come first, without the line break FormatMessage adds.
    QVERIFY(!missing.startsWith(QLatin1String("Unknown error")));
    QVERIFY(!missing.contains(QLatin1Char('\n')));
    QVERIFY(!missing.contains(QLatin1String(". (")));
    QCOMPARE(SystemError::windowsText(0xdead),
             QStringLiteral("Unknown error (Windows error 57005)"));
#else
    QSKIP("GetLastError() is Windows' own");
#endif
}

void TestSystemError::lastErrorIsTheFailingCallsReason()
{
#ifdef Q_OS_WIN
    ::SetLastError(ERROR_ACCESS_DENIED);
    QCOMPARE(SystemError::lastError(), SystemError::windowsText(ERROR_ACCESS_DENIED));
#else
    errno = EACCES;
    QCOMPARE(SystemError::lastError(), QString::fromLocal8Bit(std::strerror(EACCES)));
#endif
}

QTEST_GUILESS_MAIN(TestSystemError)
#include "TestSystemError.moc"
