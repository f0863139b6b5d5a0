#include "ProblemsPanel.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

constexpr int ClaimRole = Qt::UserRole;
constexpr int LineRole = Qt::UserRole + 1;

} // namespace

TProblemsPanel::TProblemsPanel(QWidget* Parent) : QWidget(Parent) {
    setObjectName(QStringLiteral("pnProblems"));
    Title = new QLabel(this);
    Title->setObjectName(QStringLiteral("lbProblems"));
    QFont bold = Title->font();
    bold.setBold(true);
    Title->setFont(bold);
    Fees = new QLabel(this);
    Fees->setObjectName(QStringLiteral("lbFees"));
    Fees->setTextInteractionFlags(Qt::TextSelectableByMouse);

    List = new QTreeWidget(this);
    List->setObjectName(QStringLiteral("lvProblems"));
    List->setHeaderLabels({QStringLiteral("Claim"), QStringLiteral("Line"),
                           QStringLiteral("Severity"), QStringLiteral("Message")});
    List->setRootIsDecorated(false);
    List->setUniformRowHeights(true);
    List->setAllColumnsShowFocus(true);
    List->setSelectionMode(QAbstractItemView::SingleSelection);
    List->setEditTriggers(QAbstractItemView::NoEditTriggers);
    QHeaderView* header = List->header();
    header->setStretchLastSection(true);
    for (int column : {ClaimColumn, LineColumn, SeverityColumn})
        header->setSectionResizeMode(column, QHeaderView::ResizeToContents);

    auto* top = new QHBoxLayout;
    top->setContentsMargins(0, 0, 0, 0);
    top->addWidget(Title);
    top->addStretch(1);
    top->addWidget(Fees);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addLayout(top);
    layout->addWidget(List, 1);

    connect(List, &QTreeWidget::itemClicked, this,
            [this](const QTreeWidgetItem* Item) { Choose(Item); });
    connect(List, &QTreeWidget::itemActivated, this,
            [this](const QTreeWidgetItem* Item) { Choose(Item); });
    hide();
}

QString TProblemsPanel::TitleText(std::size_t Problems) {
    return Problems == 1 ? QStringLiteral("1 problem")
                         : QStringLiteral("%1 problems").arg(Problems);
}

QString TProblemsPanel::FeesText(const TFeeCounts& Fees) {
    const TUsFeeCounts& us = Fees.Us;
    const TEpFeeCounts& ep = Fees.Ep;
    return QStringLiteral("US: %1 claims for fees, %2 independent, excess %3 and %4%5"
                          " \u2014 EP: %6 claims, fees for %7 + %8")
        .arg(us.Total)
        .arg(us.Independent)
        .arg(us.ExcessTotal)
        .arg(us.ExcessIndependent)
        .arg(us.MultipleDependent ? QStringLiteral(", multiple dependent surcharge") : QString())
        .arg(ep.Claims)
        .arg(ep.Excess15)
        .arg(ep.Excess50);
}

void TProblemsPanel::SetProblems(const std::vector<TClaimProblem>& Problems,
                                 const TFeeCounts& FeeCounts) {
    List->clear();
    QList<QTreeWidgetItem*> rows;
    rows.reserve(static_cast<qsizetype>(Problems.size()));
    for (const TClaimProblem& problem : Problems) {
        auto* row = new QTreeWidgetItem;
        row->setText(ClaimColumn, QString::number(problem.Claim));
        row->setText(LineColumn, problem.Line > 0 ? QString::number(problem.Line) : QString());
        const bool error = problem.Severity == TSeverity::Error;
        row->setText(SeverityColumn, error ? QStringLiteral("error") : QStringLiteral("warning"));
        row->setForeground(SeverityColumn, error ? Qt::red : Qt::darkYellow);
        row->setText(MessageColumn, QString::fromStdString(problem.Message));
        row->setToolTip(MessageColumn, row->text(MessageColumn));
        row->setData(ClaimColumn, ClaimRole, problem.Claim);
        row->setData(ClaimColumn, LineRole, problem.Line);
        rows.append(row);
    }
    List->addTopLevelItems(rows);
    Title->setText(TitleText(Problems.size()));
    Fees->setText(FeesText(FeeCounts));
    setVisible(!Problems.empty());
}

void TProblemsPanel::Clear() {
    SetProblems({}, {});
}

int TProblemsPanel::ProblemCount() const {
    return List->topLevelItemCount();
}

void TProblemsPanel::Choose(const QTreeWidgetItem* Item) {
    if (Item == nullptr)
        return;
    emit ProblemChosen(Item->data(ClaimColumn, ClaimRole).toInt(),
                       Item->data(ClaimColumn, LineRole).toInt());
}
