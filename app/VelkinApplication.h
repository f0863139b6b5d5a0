#pragma once

#include <QApplication>
#include <functional>

// The application object. An exception that an event handler lets escape is
// caught here and shown in the exception box; the program goes on.
class TVelkinApplication : public QApplication {
    Q_OBJECT

public:
    TVelkinApplication(int& Argc, char** Argv);

    bool notify(QObject* Receiver, QEvent* Event) override;

    // The exception box: the application's title as caption, an error icon,
    // an OK button and ExceptionBoxText(Message).
    static void ShowException(const QString& Message);
};

// The message as the exception box shows it: a period is appended when the
// last character's code is above that of the period.
QString ExceptionBoxText(const QString& Message);

// Runs Handler, showing an exception that it lets escape in the exception box.
// Handlers that Qt calls run this way: Qt's own code must not be unwound by an
// exception, it would skip its clean-up.
void RunHandler(const std::function<void()>& Handler);
