#pragma once

#include "ClaimChecks.h"

#include <QWidget>
#include <cstdint>
#include <vector>

class QAction;
class QLabel;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;

// The claim checks' findings below the input text: a header with the number
// of problems and the fee counts, and one row per problem. Problems the user
// dismissed are listed apart, behind a "Dismissed (N)" toggle, and can be
// restored. Hidden while there is no problem, shown or dismissed.
class TProblemsPanel : public QWidget {
    Q_OBJECT

public:
    enum TColumn { ClaimColumn, LineColumn, SeverityColumn, MessageColumn };

    explicit TProblemsPanel(QWidget* Parent = nullptr);

    void SetProblems(const std::vector<TClaimProblem>& Problems, const TFeeCounts& Fees,
                     const std::vector<TClaimProblem>& Dismissed = {});
    void Clear();
    int ProblemCount() const;

    // "3 problems" and the fee counts, as the header shows them.
    static QString TitleText(std::size_t Problems);
    static QString FeesText(const TFeeCounts& Fees);

    QLabel* Title;
    QLabel* Fees;
    QTreeWidget* List;
    // "Ignore in this document" (Del) on the current problem, and its undoing
    // in the list of dismissed ones.
    QAction* Dismiss1;
    QAction* Restore1;
    QToolButton* btnDismissed;
    QTreeWidget* lvDismissed;

signals:
    // The user chose the problem of Claim, written at Line (0 when unknown).
    void ProblemChosen(int Claim, int Line);
    void ProblemDismissed(const TClaimProblem& Problem);
    void ProblemRestored(const TClaimProblem& Problem);

private:
    void Choose(const QTreeWidgetItem* Item);
    static void Fill(QTreeWidget& Into, const std::vector<TClaimProblem>& Problems);

    std::vector<TClaimProblem> shown;
    std::vector<TClaimProblem> dismissed;
};
