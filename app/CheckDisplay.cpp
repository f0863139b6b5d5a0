#include "CheckDisplay.h"

#include "ClaimChecks.h"
#include "ClaimTree.h"
#include "ClaimTreePane.h"
#include "ProblemsPanel.h"
#include "ProgramSettings.h"
#include "ShownTree.h"
#include "VelkinApplication.h"

#include <QAction>
#include <QEvent>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QStatusBar>
#include <algorithm>
#include <unordered_map>
#include <vector>

namespace {

const QString CheckClaimsKey = QStringLiteral("Drafting/CheckClaims");
const QString CheckWordingKey = QStringLiteral("Drafting/CheckWording");
const QString CheckAntecedentsKey = QStringLiteral("Drafting/CheckAntecedentBasis");
const QString PanelHeightKey = QStringLiteral("Window/ProblemsPanelHeight");
constexpr int ProblemsPanelHeight = 140;
constexpr int LeastTextHeight = 80;

} // namespace

TCheckDisplay::TCheckDisplay(TShownTree& Shown, QSplitter& Room, QPlainTextEdit& Input,
                             QStatusBar& Status)
    : QObject(&Room), shown(Shown), room(Room), input(Input), status(Status) {
    lbFeeCounts = new QLabel(&Status);
    lbFeeCounts->setObjectName(QStringLiteral("lbFeeCounts"));
    lbFeeCounts->setTextInteractionFlags(Qt::TextSelectableByMouse);
    Status.addWidget(lbFeeCounts, 1);
    pnProblems = new TProblemsPanel(&Room);
    room.addWidget(pnProblems);
    // A taller window gives the text the new room; the panel keeps its height.
    room.setStretchFactor(room.indexOf(&input), 1);
    room.setStretchFactor(room.indexOf(pnProblems), 0);
    pnProblems->hide();
    // Whoever shows or hides the panel, the text gives or takes back its room.
    pnProblems->installEventFilter(this);
    connect(pnProblems, &TProblemsPanel::ProblemDismissed, this,
            [this](const TClaimProblem& Problem) {
                RunHandler([this, Problem] {
                    Dismissed.Dismiss(Path(), Problem);
                    Present();
                });
            });
    connect(pnProblems, &TProblemsPanel::ProblemRestored, this,
            [this](const TClaimProblem& Problem) {
                RunHandler([this, Problem] {
                    Dismissed.Restore(Path(), Problem);
                    Present();
                });
            });
    connect(&room, &QSplitter::splitterMoved, this, [this] {
        if (!pnProblems->isHidden())
            ProgramSettings().setValue(PanelHeightKey, pnProblems->height());
    });
}

bool TCheckDisplay::eventFilter(QObject* Watched, QEvent* Event) {
    if (Watched == pnProblems &&
        (Event->type() == QEvent::ShowToParent || Event->type() == QEvent::HideToParent)) {
        RunHandler([this, Event] {
            // At once: the splitter would share the room out only later.
            room.refresh();
            if (Event->type() == QEvent::ShowToParent)
                RestoreHeight();
            if (input.hasFocus())
                input.ensureCursorVisible();
        });
    }
    return QObject::eventFilter(Watched, Event);
}

void TCheckDisplay::RestoreHeight() {
    const int wanted = ProgramSettings().value(PanelHeightKey, ProblemsPanelHeight).toInt();
    const int whole = room.height() - room.handleWidth();
    // A height remembered from a larger window leaves the text a few lines.
    const int height = std::clamp(wanted, 0, std::max(whole - LeastTextHeight, 0));
    QList<int> sizes = room.sizes();
    sizes[room.indexOf(&input)] = std::max(whole - height, 0);
    sizes[room.indexOf(pnProblems)] = height;
    room.setSizes(sizes);
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
    CheckWording1 = new QAction(QStringLiteral("Check claim &wording"), &Tools);
    Tools.insertAction(Before, CheckWording1);
    CheckWording1->setObjectName(QStringLiteral("CheckWording1"));
    CheckWording1->setCheckable(true);
    CheckWording1->setChecked(ProgramSettings().value(CheckWordingKey, false).toBool());
    connect(CheckWording1, &QAction::triggered, this, [this] {
        RunHandler([this] {
            ProgramSettings().setValue(CheckWordingKey, CheckWording1->isChecked());
            Show();
        });
    });
}

void TCheckDisplay::AddAntecedentItem(QMenu& Tools) {
    CheckAntecedents1 = Tools.addAction(QStringLiteral("Check antecedent &basis"));
    CheckAntecedents1->setObjectName(QStringLiteral("CheckAntecedents1"));
    CheckAntecedents1->setCheckable(true);
    CheckAntecedents1->setChecked(ProgramSettings().value(CheckAntecedentsKey, false).toBool());
    connect(CheckAntecedents1, &QAction::triggered, this, [this] {
        RunHandler([this] {
            ProgramSettings().setValue(CheckAntecedentsKey, CheckAntecedents1->isChecked());
            Show();
        });
    });
}

void TCheckDisplay::CheckClaimsClick() {
    ProgramSettings().setValue(CheckClaimsKey, CheckClaims1->isChecked());
    status.setVisible(CheckClaims1->isChecked());
    Show();
}

void TCheckDisplay::Show(const TClaimChecks* Known, const TClaimTree* Checked) {
    const TClaimTree* tree = shown.Tree();
    found.clear();
    fees = {};
    const bool checking = tree != nullptr && CheckClaims1->isChecked();
    const bool wording = CheckWording1 != nullptr && CheckWording1->isChecked();
    const bool antecedents = CheckAntecedents1 != nullptr && CheckAntecedents1->isChecked();
    if (checking) {
        // Checks made elsewhere leave the wording and the antecedent basis out.
        if (Known != nullptr && Checked == tree && !wording && !antecedents) {
            found = Known->Problems;
            fees = Known->Fees;
        } else {
            const std::string text = wording ? input.toPlainText().toStdString() : std::string();
            found = CheckClaims(*tree, {wording, text, antecedents});
            fees = CountFees(*tree);
        }
        if (Links != nullptr)
            AddLinkProblems(found, *tree, *Links);
    }
    Present();
    lbFeeCounts->setText(checking ? TProblemsPanel::FeesText(fees) : QString());
}

void TCheckDisplay::Present() {
    const TClaimTree* tree = shown.Tree();
    std::vector<TClaimProblem> problems;
    std::vector<TClaimProblem> dismissed;
    Dismissed.Split(Path(), found, problems, dismissed);
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
    pnProblems->SetProblems(problems, fees, dismissed);
}
