#pragma once

#include "BusyCursor.h"

#include <QFrame>
#include <QString>
#include <algorithm>
#include <cstdint>
#include <optional>
#include <vector>

class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QMenu;
class QGridLayout;
class QTimer;
class QToolButton;
class TClaimTree;
class TDocumentView;
class TShownTree;

// How far a count of occurrences has come: the next position to look from,
// and the occurrences found before it.
struct TFindCount {
    qsizetype At = 0;
    qint64 Count = 0;
};

// Counts on the occurrences of Needle in Text, side by side without overlap,
// among those that start in the next Span characters from Progress.At; true
// when the text is done. Accents are always significant.
bool CountMatches(QStringView Text, QStringView Needle, Qt::CaseSensitivity Sensitivity,
                  TFindCount& Progress, qsizetype Span);

// The find bar of the input pane (Ctrl+F): counts the occurrences in the
// text and highlights those in view, marks the boxes of the claims that
// contain it, and steps through those claims, revealing each box. A long
// text is searched in slices while the window goes on answering. Hidden
// until asked for. Its item goes into Tools, its key works anywhere in Window;
// Window's layout gives it room of its own, above the text.
class TFindBar : public QFrame {
    Q_OBJECT

public:
    TFindBar(TDocumentView& Document, TShownTree& Shown, QMenu& Tools, QWidget& Window);

    QAction* Find1; // Tools > Find, Ctrl+F
    QLineEdit* edFind;
    QCheckBox* cbMatchCase;
    QLabel* lblMatches;
    QToolButton* btnPrevious;
    QToolButton* btnNext;
    QToolButton* btnClose;

    // Shows the bar with its text selected, ready to type.
    void Open();
    // Hides the bar and takes its highlights and marks away.
    void Close();
    // Finds the text again, in the input pane and in the claims: at once for
    // a short text, else in slices from the event loop.
    void Refresh();
    // Whether a search is still going on.
    bool Searching() const { return !done; }
    // After every analysis: the open bar finds its text in the new claims and
    // marks their boxes.
    void TreeChanged();
    // Reveals the next (or previous) claim that matches, and its occurrence.
    void Step(bool Forward);

    int MatchCount() const { return static_cast<int>(std::min<qint64>(progress.Count, INT32_MAX)); }
    const std::vector<int32_t>& MatchingClaims() const { return matchingClaims; }

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override;
    void keyPressEvent(QKeyEvent* Event) override;
    void resizeEvent(QResizeEvent* Event) override;

private:
    void Place();
    // One slice of the search, of a few milliseconds.
    void Search();
    void SearchClaim(const TClaimTree& Tree);
    void ShowCount();
    // Highlights the occurrences in and around the part of the text in view.
    void ShowMatches();
    void MarkBoxes();
    // Where claim Number starts in the input pane's text.
    qsizetype ClaimStart(int32_t Number) const;

    TDocumentView& document;
    TShownTree& shown;
    QWidget* input;
    QGridLayout* grid;
    QTimer* refreshTimer;
    QTimer* searchTimer;
    QTimer* showTimer;
    // The search: a copy of the text as it was when it began, so edits
    // meanwhile cannot move it; they start a new one.
    QString text;
    QString needle;
    Qt::CaseSensitivity sensitivity = Qt::CaseInsensitive;
    TFindCount progress;
    bool done = true;
    const TClaimTree* searchedTree = nullptr;
    std::size_t nextClaim = 0;
    std::vector<bool> claimSeen;
    std::optional<TBusyCursor> busy;
    std::vector<int32_t> matchingClaims;
    int currentClaim = -1;  // index into matchingClaims
    qsizetype current = -1; // the occurrence stepped to
};
