#pragma once

#include "VelkinApplication.h"

#include <QFile>
#include <QStandardPaths>
#include <QTest>
#include <string>

// A file's bytes, or "<missing>" when it cannot be read.
inline std::string ReadBytes(const QString& FileName) {
    QFile file(FileName);
    if (!file.open(QIODevice::ReadOnly))
        return "<missing>";
    return file.readAll().toStdString();
}

// Qt Test's main, with the program's own application object so that its
// exception box takes part, and the program's title.
#define VELTRUM_APP_TEST_MAIN(TestClass)                                                           \
    int main(int argc, char* argv[]) {                                                             \
        TVelkinApplication application(argc, argv);                                                \
        TVelkinApplication::setApplicationName(QStringLiteral("Velkin"));                          \
        application.setAttribute(Qt::AA_Use96Dpi, true);                                           \
        /* Settings (recent files, folders) go to a scratch place, not the user's. */              \
        QStandardPaths::setTestModeEnabled(true);                                                  \
        TestClass test;                                                                            \
        return QTest::qExec(&test, argc, argv);                                                    \
    }
