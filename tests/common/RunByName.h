// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Included by the build before every test source (tests/CMakeLists.txt): a test class
// ends in QTEST_MAIN or QTEST_GUILESS_MAIN as usual, and these make it one of the
// classes its folder's program runs by name (see common/TestRegistry.h).

#include "common/TestRegistry.h"

#include <QtTest>

// What QTEST_MAIN and QTEST_GUILESS_MAIN do in main(), for a class run by name.
#define TINTWELL_REGISTER_TEST(TestObject, Application)                                            \
    static int runRegisteredTest(int argc, char* argv[])                                           \
    {                                                                                              \
        QT_PREPEND_NAMESPACE(QTest::Internal::callInitMain)<TestObject>();                         \
        Application app(argc, argv);                                                               \
        app.setAttribute(Qt::AA_Use96Dpi, true);                                                   \
        TestObject tc;                                                                             \
        QTEST_SET_MAIN_SOURCE_PATH                                                                 \
        return QTest::qExec(&tc, argc, argv);                                                      \
    }                                                                                              \
    static const TestRegistry registeredTest(#TestObject, runRegisteredTest);

#undef QTEST_MAIN
#define QTEST_MAIN(TestObject) TINTWELL_REGISTER_TEST(TestObject, QApplication)
#undef QTEST_GUILESS_MAIN
#define QTEST_GUILESS_MAIN(TestObject) TINTWELL_REGISTER_TEST(TestObject, QCoreApplication)
