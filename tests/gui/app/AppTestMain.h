#pragma once

#include "VelkinApplication.h"

#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <string>
#include <sys/resource.h>

// A file's bytes, or "<missing>" when it cannot be read.
inline std::string ReadBytes(const QString& FileName) {
    QFile file(FileName);
    if (!file.open(QIODevice::ReadOnly))
        return "<missing>";
    return file.readAll().toStdString();
}

// Lowers the file size limit for the test's process while it lives, so that
// writing a larger file fails as a full disk would.
class TFileSizeLimit {
public:
    explicit TFileSizeLimit(rlim_t Bytes) {
        getrlimit(RLIMIT_FSIZE, &saved);
        oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limited = saved;
        limited.rlim_cur = Bytes;
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~TFileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, oldHandler);
    }

private:
    rlimit saved{};
    void (*oldHandler)(int) = nullptr;
};

// Qt Test's main, with the program's own application object so that its
// exception box takes part, and the program's title.
#define VELTRUM_APP_TEST_MAIN(TestClass)                                                           \
    int main(int argc, char* argv[]) {                                                             \
        TVelkinApplication application(argc, argv);                                                \
        TVelkinApplication::setApplicationName(QStringLiteral("Velkin"));                          \
        application.setAttribute(Qt::AA_Use96Dpi, true);                                           \
        /* Settings (recent files, folders) go to a scratch place, not the user's, and */          \
        /* each test program has its own: they run side by side. */                                \
        QStandardPaths::setTestModeEnabled(true);                                                  \
        const QTemporaryDir settingsDir;                                                           \
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsDir.path());        \
        TestClass test;                                                                            \
        return QTest::qExec(&test, argc, argv);                                                    \
    }
