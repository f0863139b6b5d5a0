#include "AboutBox.h"
#include "DocumentPlaces.h"
#include "VelkinApplication.h"
#include "VeltrumVersion.h"
#include "frmMain.h"

#include <QDir>
#include <cstdio>
#include <exception>
#include <memory>
#include <string>
#include <string_view>

namespace {

constexpr const char* Usage = "usage: veltrum [FILE]\n       veltrum --version | --help\n";

constexpr const char* Help =
    "\n"
    "Opens FILE, a patent document or its claims as plain text, and draws the\n"
    "tree of its claims beside the text. Without FILE the window starts with\n"
    "its welcome page and the built-in examples.\n"
    "\n"
    "  --version   print the version\n"
    "  --help      print this help\n"
    "  --          what follows is a file name, even if it starts with '-'\n"
    "\n"
    "Exit status: 0 when the window closes, 2 for wrong arguments.\n"
    "For reports without a window see veltrum-claims --help.\n";

// Writes Text to standard output; a failed write is an error, not silence.
int WriteOut(const std::string& Text) {
    if (std::fputs(Text.c_str(), stdout) < 0 || std::fflush(stdout) != 0) {
        std::fputs("veltrum: cannot write to standard output\n", stderr);
        return 2;
    }
    return 0;
}

} // namespace

int main(int argc, char* argv[]) {
    // Before the application object, which needs a display.
    for (int i = 1; i < argc && std::string_view(argv[i]) != "--"; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--version")
            return WriteOut("veltrum " VELTRUM_VERSION "\n");
        if (arg == "--help" || arg == "-h")
            return WriteOut(std::string(Usage) + Help);
    }
    TVelkinApplication application(argc, argv);
    TVelkinApplication::setApplicationName(QStringLiteral("Velkin"));
    TVelkinApplication::setApplicationVersion(QStringLiteral(VELTRUM_VERSION));
    // Read now: the window makes the program's folder the current one. After
    // the application object, which takes Qt's own options such as -style.
    const TStartupArguments startup =
        ParseStartupArguments(TVelkinApplication::arguments(), QDir::currentPath());
    if (!startup.Error.isEmpty()) {
        std::fprintf(stderr, "veltrum: %s\n%s", qPrintable(startup.Error), Usage);
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
