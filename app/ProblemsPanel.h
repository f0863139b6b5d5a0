#pragma once

#include "ClaimChecks.h"

#include <QWidget>
#include <cstdint>
#include <vector>

class QLabel;
class QTreeWidget;
class QTreeWidgetItem;

// The claim checks' findings below the input text: a header with the number
// of problems and the fee counts, and one row per problem. Hidden while there
// is no problem.
class TProblemsPanel : public QWidget {
    Q_OBJECT

public:
    enum TColumn { ClaimColumn, LineColumn, SeverityColumn, MessageColumn };

    explicit TProblemsPanel(QWidget* Parent = nullptr);

    void SetProblems(const std::vector<TClaimProblem>& Problems, const TFeeCounts& Fees);
    void Clear();
    int ProblemCount() const;

    // "3 problems" and the fee counts, as the header shows them.
    static QString TitleText(std::size_t Problems);
    static QString FeesText(const TFeeCounts& Fees);

    QLabel* Title;
    QLabel* Fees;
    QTreeWidget* List;

signals:
    // The user chose the problem of Claim, written at Line (0 when unknown).
    void ProblemChosen(int Claim, int Line);

private:
    void Choose(const QTreeWidgetItem* Item);
};
