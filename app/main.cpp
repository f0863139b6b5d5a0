#include "AboutBox.h"
#include "DocumentPlaces.h"
#include "VelkinApplication.h"
#include "VeltrumVersion.h"
#include "frmMain.h"

#include <QDir>
#include <cstdio>
#include <exception>
#include <memory>
#include <string_view>

int main(int argc, char* argv[]) {
    // Before the application object, which needs a display.
    for (int i = 1; i < argc; ++i) {
        if (std::string_view(argv[i]) == "--version") {
            std::fputs("veltrum " VELTRUM_VERSION "\n", stdout);
            return 0;
        }
    }
    TVelkinApplication application(argc, argv);
    TVelkinApplication::setApplicationName(QStringLiteral("Velkin"));
    TVelkinApplication::setApplicationVersion(QStringLiteral(VELTRUM_VERSION));
    // Read now: the window makes the program's folder the current one.
    const TStartupArguments startup =
        ParseStartupArguments(TVelkinApplication::arguments(), QDir::currentPath());
    if (!startup.Error.isEmpty()) {
        std::fprintf(stderr, "veltrum: %s\nusage: veltrum [FILE]\n       veltrum --version\n",
                     qPrintable(startup.Error));
        return 2;
    }
    try {
        auto mainWindow = std::make_unique<TfrMain>();
        frMain = mainWindow.get();
        frMain->StartupFileName = startup.File;
        auto aboutBox = std::make_unique<TAboutBox>();
        AboutBox = aboutBox.get();
        frMain->show();
        frMain->activateWindow();
        TVelkinApplication::exec();
        AboutBox = nullptr;
    } catch (const std::exception& error) {
        TVelkinApplication::ShowException(QString::fromUtf8(error.what()));
    }
    return 0;
}
