#include "Dialogs.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QCloseEvent>
#include <QCompleter>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <deque>

namespace {

// A question without Cancel has to be answered: Escape or closing the box
// would pick No, and No can mean losing the user's edits.
class TMessageBox : public QMessageBox {
public:
    TMessageBox(QMessageBox::Icon Icon, const QString& Caption, const QString& Text,
                QMessageBox::StandardButtons Buttons, QWidget* Parent)
        : QMessageBox(Icon, Caption, Text, Buttons, Parent),
          mustAnswer(Buttons.testFlag(QMessageBox::No) && !Buttons.testFlag(QMessageBox::Cancel)) {}

protected:
    void keyPressEvent(QKeyEvent* Event) override {
        if (mustAnswer && Event->matches(QKeySequence::Cancel))
            return;
        QMessageBox::keyPressEvent(Event);
    }

    void closeEvent(QCloseEvent* Event) override {
        if (mustAnswer && clickedButton() == nullptr) {
            Event->ignore();
            return;
        }
        QMessageBox::closeEvent(Event);
    }

private:
    bool mustAnswer;
};

struct TDialogState {
    std::deque<QMessageBox::StandardButton> Answers;
    std::deque<QString> FileNames;
    TDialogs::TBox LastBox;
    int BoxCount = 0;
    QString LastFolder;
};

TDialogState& State() {
    static TDialogState state;
    return state;
}

} // namespace

QMessageBox::StandardButton TDialogs::Message(QWidget* Parent, const QString& Text,
                                              const QString& Caption, QMessageBox::Icon Icon,
                                              QMessageBox::StandardButtons Buttons) {
    return Ask(Parent, {Text, Caption, Icon, Buttons, {}});
}

QMessageBox::StandardButton TDialogs::Ask(QWidget* Parent, const TBox& Box) {
    TDialogState& state = State();
    state.LastBox = Box;
    ++state.BoxCount;
    if (!state.Answers.empty()) {
        const QMessageBox::StandardButton answer = state.Answers.front();
        state.Answers.pop_front();
        return answer;
    }
    TMessageBox box(Box.Icon, Box.Caption, Box.Text, Box.Buttons, Parent);
    box.setTextFormat(Qt::PlainText);
    for (const auto& [button, text] : Box.ButtonTexts) {
        if (QAbstractButton* shown = box.button(button))
            shown->setText(text);
    }
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

QString TDialogs::ChooseFile(QFileDialog& Dialog) {
    TDialogState& state = State();
    state.LastFolder = Dialog.directory().absolutePath();
    if (!state.FileNames.empty()) {
        const QString name = state.FileNames.front();
        state.FileNames.pop_front();
        // The dialog keeps the last chosen name, as if the user had chosen it.
        if (!name.isEmpty())
            Dialog.selectFile(name);
        return name;
    }
    const int result = Dialog.exec();
    // Enter typed while the name's completion list is open accepts the
    // dialog but can leave the list floating over the main window.
    for (const QCompleter* completer : Dialog.findChildren<QCompleter*>()) {
        if (completer->popup() != nullptr)
            completer->popup()->hide();
    }
    if (result != QDialog::Accepted)
        return {};
    const QStringList chosen = Dialog.selectedFiles();
    return chosen.isEmpty() ? QString() : chosen.first();
}

void TDialogs::SetNextAnswer(QMessageBox::StandardButton Answer) {
    State().Answers.push_back(Answer);
}

void TDialogs::SetNextFileName(const QString& FileName) {
    State().FileNames.push_back(FileName);
}

TDialogs::TBox TDialogs::LastBox() {
    return State().LastBox;
}

int TDialogs::BoxCount() {
    return State().BoxCount;
}

QString TDialogs::LastFolder() {
    return State().LastFolder;
}

void TDialogs::Reset() {
    State() = TDialogState();
}

TSaveFileDialog::TSaveFileDialog(QWidget* Parent) : QFileDialog(Parent) {
    setAcceptMode(QFileDialog::AcceptSave);
}

void TSaveFileDialog::accept() {
    const QStringList chosen = selectedFiles();
    if (!chosen.isEmpty()) {
        const QDir folder = QFileInfo(chosen.first()).absoluteDir();
        if (!folder.exists()) {
            TDialogs::Message(this,
                              QStringLiteral("The folder does not exist:\n") +
                                  QDir::toNativeSeparators(folder.path()),
                              windowTitle(), QMessageBox::Warning, QMessageBox::Ok);
            return;
        }
    }
    QFileDialog::accept();
}
