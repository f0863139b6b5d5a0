#include "Dialogs.h"

#include <QFileDialog>
#include <deque>

namespace {

struct TDialogState {
    std::deque<QMessageBox::StandardButton> Answers;
    std::deque<QString> FileNames;
    TDialogs::TBox LastBox;
    int BoxCount = 0;
};

TDialogState& State() {
    static TDialogState state;
    return state;
}

} // namespace

QMessageBox::StandardButton TDialogs::Message(QWidget* Parent, const QString& Text,
                                              const QString& Caption, QMessageBox::Icon Icon,
                                              QMessageBox::StandardButtons Buttons) {
    TDialogState& state = State();
    state.LastBox = {Text, Caption, Icon, Buttons};
    ++state.BoxCount;
    if (!state.Answers.empty()) {
        const QMessageBox::StandardButton answer = state.Answers.front();
        state.Answers.pop_front();
        return answer;
    }
    QMessageBox box(Icon, Caption, Text, Buttons, Parent);
    box.setTextFormat(Qt::PlainText);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

QString TDialogs::ChooseFile(QFileDialog& Dialog) {
    TDialogState& state = State();
    if (!state.FileNames.empty()) {
        const QString name = state.FileNames.front();
        state.FileNames.pop_front();
        // The dialog keeps the last chosen name, as if the user had chosen it.
        if (!name.isEmpty())
            Dialog.selectFile(name);
        return name;
    }
    if (Dialog.exec() != QDialog::Accepted)
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

void TDialogs::Reset() {
    State() = TDialogState();
}
