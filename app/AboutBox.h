#pragma once

#include "MemoryStatus.h"

#include <QDialog>
#include <functional>

class QFrame;
class TAnchorLayout;
class QLabel;
class QLineEdit;
class QPushButton;

// A bevel shown as an etched line along its top edge.
class TTopLineBevel : public QWidget {
    Q_OBJECT

public:
    explicit TTopLineBevel(QWidget* Parent);

protected:
    void paintEvent(QPaintEvent* Event) override;
};

// The about dialog: program icon, name, version and the memory figures, read
// afresh each time the dialog is shown.
class TAboutBox : public QDialog {
    Q_OBJECT

public:
    explicit TAboutBox(QWidget* Parent = nullptr);

    QFrame* Panel1;
    QFrame* IconPanel;
    QLabel* ProgramIcon;
    QLabel* ProductName;
    QLabel* Version;
    TTopLineBevel* Bevel2;
    TTopLineBevel* Bevel1;
    QLineEdit* Edit1;
    QLineEdit* Edit2;
    QLineEdit* Edit3;
    QLineEdit* Edit4;
    QLineEdit* Edit5;
    QLineEdit* Edit6;
    QLineEdit* Edit7;
    QPushButton* OKButton;

    // Where the figures come from; tests put in their own.
    std::function<TMemoryStatus()> MemoryStatusSource = ReadMemoryStatus;

    // Runs each time the dialog is shown.
    void FormActivate();

public slots:
    void OKButtonClick();

protected:
    void showEvent(QShowEvent* Event) override;

private:
    // Lays the figures out so that each reads whole.
    void FitFigures();

    TAnchorLayout* panelLayout = nullptr;
};

// Lives as long as the program, hidden until Help > About shows it.
extern TAboutBox* AboutBox;
