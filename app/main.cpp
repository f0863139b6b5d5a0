#include "AboutBox.h"
#include "VelkinApplication.h"
#include "frmMain.h"

#include <exception>
#include <memory>

int main(int argc, char* argv[]) {
    TVelkinApplication application(argc, argv);
    TVelkinApplication::setApplicationName(QStringLiteral("Velkin"));
    try {
        auto mainWindow = std::make_unique<TfrMain>();
        frMain = mainWindow.get();
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
