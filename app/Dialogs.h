#pragma once

#include <QFileDialog>
#include <QMessageBox>
#include <QString>

// Every message box and file dialog of the program goes through here. Tests
// queue the answers beforehand; a queued answer is taken instead of showing
// the modal box or dialog, so nothing blocks.
class TDialogs {
public:
    struct TBox {
        QString Text;
        QString Caption;
        QMessageBox::Icon Icon = QMessageBox::NoIcon;
        QMessageBox::StandardButtons Buttons;
        // Buttons that say more than their standard text.
        QList<QPair<QMessageBox::StandardButton, QString>> ButtonTexts;
    };

    // Shows a modal message box and returns the button chosen.
    static QMessageBox::StandardButton Message(QWidget* Parent, const QString& Text,
                                               const QString& Caption, QMessageBox::Icon Icon,
                                               QMessageBox::StandardButtons Buttons);
    // The same for a box whose buttons may carry texts of their own.
    static QMessageBox::StandardButton Ask(QWidget* Parent, const TBox& Box);

    // Shows the dialog modally; returns the chosen file name, or an empty
    // string when the user cancelled.
    static QString ChooseFile(QFileDialog& Dialog);

    // The next message box returns Answer without being shown.
    static void SetNextAnswer(QMessageBox::StandardButton Answer);
    // The next file dialog returns FileName without being shown; an empty name
    // stands for Cancel.
    static void SetNextFileName(const QString& FileName);

    // The last message box asked for, and how many were asked for since Reset.
    static TBox LastBox();
    static int BoxCount();
    // The folder the last file dialog started in.
    static QString LastFolder();
    // Forgets the queued answers and the boxes asked for.
    static void Reset();
};

// A save dialog that takes only a name whose folder exists: a name in a
// missing folder gets a warning and the dialog stays open.
class TSaveFileDialog : public QFileDialog {
    Q_OBJECT

public:
    explicit TSaveFileDialog(QWidget* Parent = nullptr);

public slots:
    void accept() override;
};
