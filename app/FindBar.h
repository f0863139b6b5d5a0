#pragma once

#include <QFrame>
#include <QString>
#include <cstdint>
#include <vector>

class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QMenu;
class QTimer;
class QToolButton;
class TDocumentView;
class TShownTree;

// Occurrences of Needle in Text, as positions; case-insensitive unless
// MatchCase, accents always significant.
std::vector<qsizetype> FindAll(const QString& Text, const QString& Needle, bool MatchCase);

// The find bar over the input pane (Ctrl+F): highlights every occurrence in
// the text, marks the boxes of the claims that contain it, and steps through
// those claims, revealing each box. Hidden until asked for. Its item goes
// into Tools, its key works anywhere in Window.
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
    // Finds the text again, in the input pane and in the claims.
    void Refresh();
    // After every analysis: the open bar finds its text in the new claims and
    // marks their boxes.
    void TreeChanged();
    // Reveals the next (or previous) claim that matches, and its occurrence.
    void Step(bool Forward);

    int MatchCount() const { return matchCount; }
    const std::vector<int32_t>& MatchingClaims() const { return matchingClaims; }

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override;
    void keyPressEvent(QKeyEvent* Event) override;

private:
    void Place();
    void ShowMatches(const std::vector<qsizetype>& Positions, qsizetype Current);
    void MarkBoxes();
    // Where claim Number starts in the input pane's text.
    qsizetype ClaimStart(int32_t Number) const;

    TDocumentView& document;
    TShownTree& shown;
    QWidget* input;
    QTimer* refreshTimer;
    int matchCount = 0;
    std::vector<qsizetype> positions;
    std::vector<int32_t> matchingClaims;
    int currentClaim = -1; // index into matchingClaims
};
