#pragma once

#include <QObject>
#include <functional>
#include <string>

class QAction;
class QMenu;
class TClaimTree;
class TReadingNotice;
enum class TReading;

// Which reading a document is read with: the one the Tools menu's "Lenient
// reading" names, remembered, or the other for this document alone after
// the notice's button; the built-in examples always the standard one.
class TReadingChoice : public QObject {
    Q_OBJECT

public:
    // Adds its item to Tools and takes Notice's button. ReadAgain runs when
    // the reading of the shown document changes.
    TReadingChoice(TReadingNotice& Notice, QMenu& Tools, std::function<void()> ReadAgain);

    QAction* mnuLenientReading;

    TReading ForDocument() const;
    // Another document: read as the menu says, or a built-in example.
    void NewDocument(bool Example);
    bool ShowingExample() const { return showingExample; }
    // Reads Text the other way too, and says how Shown, its tree, differs.
    void UpdateNotice(const TClaimTree* Shown, const std::string& Text);
    // The same with the other reading done: Other is Shown's text read the other way.
    void UpdateNotice(const TClaimTree& Shown, const TClaimTree& Other);

    // The notice's button: this document read the other way.
    void btnReadingClick();

private:
    void mnuLenientReadingClick();

    TReadingNotice& notice;
    std::function<void()> readAgain;
    bool showingExample = false;
    // The reading chosen with the notice's button for this document only.
    bool otherReading = false;
};
