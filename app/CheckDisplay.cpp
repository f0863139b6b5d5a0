#include "CheckDisplay.h"

#include "AnchorLayout.h"
#include "ClaimChecks.h"
#include "ClaimTree.h"
#include "ClaimTreePane.h"
#include "ProblemsPanel.h"
#include "ProgramSettings.h"
#include "ShownTree.h"
#include "VelkinApplication.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <unordered_map>
#include <vector>

namespace {

const QString CheckClaimsKey = QStringLiteral("Drafting/CheckClaims");
constexpr int ProblemsPanelHeight = 140;

} // namespace

TCheckDisplay::TCheckDisplay(TShownTree& Shown, TAnchorLayout& Layout, QPlainTextEdit& Input,
                             QRect InputBounds, QWidget& Box, QStatusBar& Status)
    : QObject(&Box), shown(Shown), layout(Layout), input(Input), inputBounds(InputBounds),
      status(Status) {
    lbFeeCounts = new QLabel(&Status);
    lbFeeCounts->setObjectName(QStringLiteral("lbFeeCounts"));
    lbFeeCounts->setTextInteractionFlags(Qt::TextSelectableByMouse);
    Status.addWidget(lbFeeCounts, 1);
    pnProblems = new TProblemsPanel(&Box);
    const QRect below(inputBounds.left(), inputBounds.bottom() + 1 - ProblemsPanelHeight,
                      inputBounds.width(), ProblemsPanelHeight);
    layout.Place(pnProblems, below, Qt::LeftEdge | Qt::RightEdge | Qt::BottomEdge);
    pnProblems->hide();
}

void TCheckDisplay::AddItem(QMenu& Tools, QAction* Before) {
    CheckClaims1 = new QAction(QStringLiteral("&Check claims"), &Tools);
    Tools.insertAction(Before, CheckClaims1);
    CheckClaims1->setObjectName(QStringLiteral("CheckClaims1"));
    CheckClaims1->setCheckable(true);
    CheckClaims1->setChecked(ProgramSettings().value(CheckClaimsKey, true).toBool());
    // Without the checks the window is as it was: no status bar.
    status.setVisible(CheckClaims1->isChecked());
    connect(CheckClaims1, &QAction::triggered, this,
            [this] { RunHandler([this] { CheckClaimsClick(); }); });
}

void TCheckDisplay::CheckClaimsClick() {
    ProgramSettings().setValue(CheckClaimsKey, CheckClaims1->isChecked());
    status.setVisible(CheckClaims1->isChecked());
    Show();
}

void TCheckDisplay::Show(const TClaimChecks* Known, const TClaimTree* Checked) {
    const TClaimTree* tree = shown.Tree();
    std::vector<TClaimProblem> problems;
    TFeeCounts fees;
    const bool checking = tree != nullptr && CheckClaims1->isChecked();
    if (checking) {
        if (Known != nullptr && Checked == tree) {
            problems = Known->Problems;
            fees = Known->Fees;
        } else {
            problems = CheckClaims(*tree);
            fees = CountFees(*tree);
        }
    }
    // Marks of other kinds stay: the find bar's, for one.
    const auto problemMark = static_cast<unsigned>(TBoxMark::Problem);
    std::unordered_map<int32_t, unsigned> marks;
    for (std::size_t i = 0; tree != nullptr && i < tree->Claims.size(); ++i) {
        const int32_t claim = tree->Claims[i].Number;
        if (const unsigned kept = shown.BoxMarks(claim) & ~problemMark)
            marks[claim] = kept;
    }
    for (const TClaimProblem& problem : problems)
        marks[problem.Claim] |= problemMark;
    shown.SetBoxMarks(std::move(marks));
    const bool wasShown = !pnProblems->isHidden();
    pnProblems->SetProblems(problems, fees);
    lbFeeCounts->setText(checking ? TProblemsPanel::FeesText(fees) : QString());
    if (wasShown == problems.empty()) {
        // The input pane gives the panel room only while it is shown.
        QRect bounds = inputBounds;
        if (!problems.empty())
            bounds.setHeight(inputBounds.height() - ProblemsPanelHeight - 4);
        layout.Move(&input, bounds);
        if (input.hasFocus())
            input.ensureCursorVisible();
    }
}
