#pragma once

#include "VelkinApplication.h"

#include <QTest>

// Qt Test's main, with the program's own application object so that its
// exception box takes part, and the program's title.
#define VELTRUM_APP_TEST_MAIN(TestClass)                                                           \
    int main(int argc, char* argv[]) {                                                             \
        TVelkinApplication application(argc, argv);                                                \
        TVelkinApplication::setApplicationName(QStringLiteral("Velkin"));                          \
        application.setAttribute(Qt::AA_Use96Dpi, true);                                           \
        TestClass test;                                                                            \
        return QTest::qExec(&test, argc, argv);                                                    \
    }
