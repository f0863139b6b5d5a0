#include "ProblemsPanel.h"

#include <QHeaderView>
#include <QLabel>
#include <QStyledItemDelegate>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace {

constexpr int ClaimRole = Qt::UserRole;
constexpr int LineRole = Qt::UserRole + 1;

// Measures a row with the width its column has, so that a wrapped message
// gets the lines it needs: the list itself measures as if there were no edge.
class TWrappingDelegate final : public QStyledItemDelegate {
public:
    explicit TWrappingDelegate(QTreeView* List) : QStyledItemDelegate(List), list(List) {}

    QSize sizeHint(const QStyleOptionViewItem& Option, const QModelIndex& Index) const override {
        QStyleOptionViewItem option = Option;
        option.rect = QRect(0, 0, list->header()->sectionSize(Index.column()),
                            std::max(Option.rect.height(), 1));
        return QStyledItemDelegate::sizeHint(option, Index);
    }

private:
    QTreeView* list;
};

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
    // Long messages wrap onto more lines rather than being cut short.
    List->setWordWrap(true);
    List->setTextElideMode(Qt::ElideNone);
    List->setUniformRowHeights(false);
    List->setItemDelegate(new TWrappingDelegate(List));
    List->setAllColumnsShowFocus(true);
    List->setSelectionMode(QAbstractItemView::SingleSelection);
    List->setEditTriggers(QAbstractItemView::NoEditTriggers);
    QHeaderView* header = List->header();
    header->setStretchLastSection(true);
    for (int column : {ClaimColumn, LineColumn, SeverityColumn})
        header->setSectionResizeMode(column, QHeaderView::ResizeToContents);
    // A narrower or wider message column wraps its messages anew.
    connect(header, &QHeaderView::sectionResized, List, [this] { List->doItemsLayout(); });

    // The fees take a line of their own and wrap: the panel is as narrow as
    // the input pane.
    Fees->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(Title);
    layout->addWidget(Fees);
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
    return QStringLiteral("US fees: %1 claims, %2 independent; %3 over 20, %4 over 3%5. "
                          "EP claims fees: %6 claims; %7 from the 16th, %8 from the 51st.")
        .arg(us.Total)
        .arg(us.Independent)
        .arg(us.ExcessTotal)
        .arg(us.ExcessIndependent)
        .arg(us.MultipleDependent ? QStringLiteral("; multiple dependent claim surcharge")
                                  : QString())
        .arg(ep.Claims)
        .arg(ep.Excess15)
        .arg(ep.Excess50);
}

void TProblemsPanel::SetProblems(const std::vector<TClaimProblem>& Problems,
                                 const TFeeCounts& FeeCounts) {
    // Old rows and new never show together: the list is painted once, whole,
    // after the change, from its first row.
    List->setUpdatesEnabled(false);
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
    List->scrollToTop();
    List->setUpdatesEnabled(true);
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
