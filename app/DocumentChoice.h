#pragma once

#include "DocumentReader.h"

#include <QObject>
#include <QString>
#include <functional>

class QAction;
class QMenu;
class QWidget;

// Which document of a file that holds several (a weekly patent-office file)
// the window reads, and in which language it reads claims given in several:
// File > Documents in this file, and Tools > Claims language.
class TDocumentChoice : public QObject {
    Q_OBJECT

public:
    // The documents' menu goes into File before Before; ReadAgain reads the
    // open file with the new choice.
    TDocumentChoice(QMenu& File, QAction* Before, QMenu& Tools, QWidget& Window,
                    std::function<void()> ReadAgain);

    QMenu* mnuDocuments;
    QMenu* mnuLanguages;
    int Index = 0;    // of the document read
    QString Language; // asked for; empty for the document's own

    // A file newly opened: its first document in its own language.
    void NewFile();
    // Lists the documents and languages of what was read; none for a plain
    // text or a file of one document in one language.
    void Show(const TDocumentRead& Read);

private:
    std::function<void()> readAgain;
};
