#pragma once

#include "ClaimChecks.h"
#include "DocumentReader.h"

#include <QObject>
#include <QString>
#include <functional>

class QAction;
class QMenu;
class QWidget;

// Which document of a file that holds several (a weekly patent-office file)
// the window reads, in which language it reads claims given in several, and
// how it reads tracked changes: File > Documents in this file, Tools > Claims
// language and Tools > Read Tracked Changes as Original Text.
class TDocumentChoice : public QObject {
    Q_OBJECT

public:
    // The documents' menu goes into File before Before; ReadAgain reads the
    // open file with the new choice.
    TDocumentChoice(QMenu& File, QAction* Before, QMenu& Tools, QWidget& Window,
                    std::function<void()> ReadAgain);

    QMenu* mnuDocuments;
    QMenu* mnuLanguages;
    QAction* OriginalText1; // checked and remembered
    int Index = 0;          // of the document read
    QString Language;       // asked for; empty for the document's own
    // The markup's claim links of the document read, for the checks.
    std::vector<TMarkupLink> Links;

    bool OriginalText() const;

    // A file newly opened: its first document in its own language.
    void NewFile();
    // Lists the documents and languages of what was read; none for a plain
    // text or a file of one document in one language.
    void Show(const TDocumentRead& Read);

private:
    std::function<void()> readAgain;
    QString format; // of the file read
};
