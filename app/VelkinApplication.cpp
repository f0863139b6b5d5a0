#include "VelkinApplication.h"

#include "Dialogs.h"
#include "HandlerRunner.h"

#include <exception>

TVelkinApplication::TVelkinApplication(int& Argc, char** Argv) : QApplication(Argc, Argv) {
    // The handlers of the drawn tree go through the same wrapper.
    SetHandlerRunner(RunHandler);
}

namespace {

// Shows the exception being handled in the exception box.
void ShowEscapedException() {
    try {
        throw;
    } catch (const std::exception& error) {
        TVelkinApplication::ShowException(QString::fromUtf8(error.what()));
    } catch (...) {
        TVelkinApplication::ShowException(QStringLiteral("Unknown exception"));
    }
}

} // namespace

bool TVelkinApplication::notify(QObject* Receiver, QEvent* Event) {
    try {
        return QApplication::notify(Receiver, Event);
    } catch (...) {
        ShowEscapedException();
    }
    return false;
}

void TVelkinApplication::ShowException(const QString& Message) {
    TDialogs::Message(activeWindow(), ExceptionBoxText(Message), applicationName(),
                      QMessageBox::Critical, QMessageBox::Ok);
}

QString ExceptionBoxText(const QString& Message) {
    if (!Message.isEmpty() && Message.back().unicode() > u'.')
        return Message + u'.';
    return Message;
}

void RunHandler(const std::function<void()>& Handler) {
    try {
        Handler();
    } catch (...) {
        ShowEscapedException();
    }
}
