#pragma once

#include <QObject>
#include <cstdint>
#include <vector>

class QAction;
class QDockWidget;
class QMainWindow;
class QMenu;
class QTreeWidget;
class QTreeWidgetItem;
class TDocumentView;
class TShownTree;

// The terms of the shown claims in a dock beside the tree (Tools > Terms,
// remembered): each term with the claim that introduces it and the claims
// that use it. Choosing a term highlights where the text writes it and
// marks the boxes of its claims as the find bar marks what it finds.
class TTermsPanel : public QObject {
    Q_OBJECT

public:
    enum TColumn { TermColumn, IntroducedColumn, UsedColumn };

    TTermsPanel(TDocumentView& Document, TShownTree& Shown, QMenu& Tools, QMainWindow& Window);

    QAction* Terms1;
    QDockWidget* dkTerms;
    QTreeWidget* lvTerms;

    // A new analysis: the list follows it while the dock is open.
    void TreeChanged();
    // The claims whose boxes the chosen term marks, ascending.
    const std::vector<int32_t>& MarkedClaims() const { return marked; }

private:
    void TermsClick();
    void Fill();
    void Choose(const QTreeWidgetItem* Item);

    TDocumentView& document;
    TShownTree& shown;
    std::vector<int32_t> marked;
};
