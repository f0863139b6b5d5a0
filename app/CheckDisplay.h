#pragma once

#include "ClaimChecks.h"
#include "DismissedProblems.h"

#include <QObject>
#include <QString>
#include <functional>
#include <vector>

class QAction;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QSplitter;
class QStatusBar;
class QWidget;
class TProblemsPanel;
class TShownTree;
class TClaimTree;
struct TClaimChecks;
struct TMarkupLink;

// The claim checks as the window shows them: the problems panel below the
// input pane, which gives it room while it is shown, the problem marks of
// the boxes, the fee counts in the status bar, and the Tools item that turns
// the checks on and off.
class TCheckDisplay : public QObject {
    Q_OBJECT

public:
    // Puts the panel into Room below Input, the splitter's first pane, and
    // the fee counts into Status. The user sizes the panel with the
    // splitter; its height is remembered.
    TCheckDisplay(TShownTree& Shown, QSplitter& Room, QPlainTextEdit& Input, QStatusBar& Status);

    // The Tools item, checked and remembered: the checks are on.
    QAction* CheckClaims1 = nullptr;
    // The Tools item, checked and remembered: the checks also read the
    // claims' wording (categories, reference signs).
    QAction* CheckWording1 = nullptr;
    // Tools > Check antecedent basis, remembered, off at first: the checks
    // also look for terms used without being introduced.
    QAction* CheckAntecedents1 = nullptr;
    TProblemsPanel* pnProblems;
    // The fee counts of the shown tree, problems or none; empty without a
    // tree or while the checks are off.
    QLabel* lbFeeCounts;
    // The claim links of the open document's markup, compared with the
    // references of its text; none for a plain text.
    const std::vector<TMarkupLink>* Links = nullptr;

    // The path of the document shown, which dismissed problems are kept
    // under; empty for one never saved.
    std::function<QString()> DocumentPath;
    TDismissedProblems Dismissed;

    // Puts the items into Tools before Before.
    void AddItem(QMenu& Tools, QAction* Before);
    // Puts Check antecedent basis at the end of Tools.
    void AddAntecedentItem(QMenu& Tools);
    // Checks the shown tree, or shows no problem while the checks are off.
    // Known, when given, holds the checks of Checked, already done: they are
    // used only while Checked is the tree shown.
    void Show(const TClaimChecks* Known = nullptr, const TClaimTree* Checked = nullptr);

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
    void CheckClaimsClick();
    // Shows the problems last found, less those dismissed: in the panel, as
    // box marks.
    void Present();
    QString Path() const { return DocumentPath ? DocumentPath() : QString(); }

    // Gives the panel the height it was last given.
    void RestoreHeight();

    TShownTree& shown;
    QSplitter& room;
    QPlainTextEdit& input;
    QStatusBar& status;
    std::vector<TClaimProblem> found;
    TFeeCounts fees;
};
