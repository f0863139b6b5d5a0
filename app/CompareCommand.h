#pragma once

#include <QDialog>
#include <QObject>
#include <QString>
#include <functional>
#include <string>

class QAction;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;
class QWidget;
class TCompareWindow;
struct TCompareVersion;
enum class TReading;

// The open document as a comparison sees it.
struct TOpenDocument {
    QString FileName; // empty for a new draft
    QString Caption;  // the window's name for it
    std::string Text; // the pane's text as the analysis reads it, edits and all
    bool Edited = false;
    int Index = 0;    // of the document read from a file of several
    QString Language; // of the claims read; empty for the document's own
    TReading Reading{};
};

// Where the other version comes from.
struct TCompareSource {
    enum class TKind { File, SavedFile, Document, Language };
    TKind Kind = TKind::File;
    QString FileName; // for File
    int Index = 0;    // for Document
    QString Language; // for Language
};

// Reads the other version: another file, the open file as saved, another
// document or another claims language of the open file. False with Fault, a
// sentence, when it cannot be read.
bool ReadOtherVersion(const TCompareSource& Source, const TOpenDocument& Open,
                      TCompareVersion& Version, QString& Fault);

// Asks which version to compare the open document with.
class TCompareDialog : public QDialog {
    Q_OBJECT

public:
    TCompareDialog(const TOpenDocument& Open, QWidget* Parent);

    QRadioButton* rbFile;
    QLineEdit* edFile;
    QPushButton* btnBrowse;
    QRadioButton* rbSavedFile;
    QRadioButton* rbDocument;
    QComboBox* cbDocument;
    QRadioButton* rbLanguage;
    QComboBox* cbLanguage;
    QCheckBox* cbOpenIsLater;

    TCompareSource Source() const;
    bool OpenIsLater() const;

private:
    void UpdateOk();
};

// Tools > Compare with...: asks for the other version and opens the
// comparison in a window of its own.
class TCompareCommand : public QObject {
    Q_OBJECT

public:
    TCompareCommand(QMenu& Tools, QWidget& Window, std::function<TOpenDocument()> Open);

    QAction* CompareWith1;

    // Opens the comparison of the open document with Source's version, the
    // open one being the later when OpenIsLater; null, with the user told,
    // when the other version cannot be read.
    TCompareWindow* Compare(const TCompareSource& Source, bool OpenIsLater);

    void CompareWithClick();

private:
    QWidget& window;
    std::function<TOpenDocument()> open;
};
