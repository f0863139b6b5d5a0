#include "ProblemsPanel.h"

#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QStyledItemDelegate>
#include <QToolButton>
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

QTreeWidget* NewProblemList(QWidget* Parent, const QString& Name) {
    auto* list = new QTreeWidget(Parent);
    list->setObjectName(Name);
    list->setHeaderLabels({QStringLiteral("Claim"), QStringLiteral("Line"),
                           QStringLiteral("Severity"), QStringLiteral("Message")});
    list->setRootIsDecorated(false);
    // Long messages wrap onto more lines rather than being cut short.
    list->setWordWrap(true);
    list->setTextElideMode(Qt::ElideNone);
    list->setUniformRowHeights(false);
    list->setItemDelegate(new TWrappingDelegate(list));
    list->setAllColumnsShowFocus(true);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    QHeaderView* header = list->header();
    header->setStretchLastSection(true);
    for (int column :
         {TProblemsPanel::ClaimColumn, TProblemsPanel::LineColumn, TProblemsPanel::SeverityColumn})
        header->setSectionResizeMode(column, QHeaderView::ResizeToContents);
    // A narrower or wider message column wraps its messages anew.
    QObject::connect(header, &QHeaderView::sectionResized, list, [list] { list->doItemsLayout(); });
    return list;
}

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

    List = NewProblemList(this, QStringLiteral("lvProblems"));
    lvDismissed = NewProblemList(this, QStringLiteral("lvDismissed"));
    lvDismissed->hide();
    btnDismissed = new QToolButton(this);
    btnDismissed->setObjectName(QStringLiteral("btnDismissed"));
    btnDismissed->setCheckable(true);
    btnDismissed->setAutoRaise(true);
    btnDismissed->hide();
    connect(btnDismissed, &QToolButton::toggled, lvDismissed, &QWidget::setVisible);

    // The current row's menu and key; the problem goes by its place in the list.
    const auto rowAction = [this](const QString& Text, QTreeWidget* From, const char* Name,
                                  auto Done) {
        auto* action = new QAction(Text, From);
        action->setObjectName(QString::fromLatin1(Name));
        action->setShortcut(QKeySequence::Delete);
        action->setShortcutContext(Qt::WidgetShortcut);
        From->addAction(action);
        From->setContextMenuPolicy(Qt::ActionsContextMenu);
        connect(action, &QAction::triggered, this, [this, From, Done] {
            QTreeWidgetItem* item = From->currentItem();
            const int row = item != nullptr ? From->indexOfTopLevelItem(item) : -1;
            if (row >= 0)
                Done(row);
        });
        return action;
    };
    Dismiss1 =
        rowAction(QStringLiteral("&Ignore in this document"), List, "Dismiss1", [this](int Row) {
            if (static_cast<std::size_t>(Row) < shown.size())
                emit ProblemDismissed(TClaimProblem(shown[Row]));
        });
    Restore1 = rowAction(QStringLiteral("&Restore"), lvDismissed, "Restore1", [this](int Row) {
        if (static_cast<std::size_t>(Row) < dismissed.size())
            emit ProblemRestored(TClaimProblem(dismissed[Row]));
    });

    // The fees take a line of their own and wrap: the panel is as narrow as
    // the input pane.
    Fees->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(Title);
    layout->addWidget(Fees);
    layout->addWidget(List, 1);
    layout->addWidget(btnDismissed, 0, Qt::AlignLeft);
    layout->addWidget(lvDismissed, 1);

    connect(List, &QTreeWidget::itemClicked, this,
            [this](const QTreeWidgetItem* Item) { Choose(Item); });
    connect(List, &QTreeWidget::itemActivated, this,
            [this](const QTreeWidgetItem* Item) { Choose(Item); });
    connect(lvDismissed, &QTreeWidget::itemClicked, this,
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
                                 const TFeeCounts& FeeCounts,
                                 const std::vector<TClaimProblem>& Dismissed) {
    shown = Problems;
    dismissed = Dismissed;
    Fill(*List, Problems);
    Fill(*lvDismissed, Dismissed);
    btnDismissed->setText(QStringLiteral("Dismissed (%1)").arg(Dismissed.size()));
    btnDismissed->setVisible(!Dismissed.empty());
    lvDismissed->setVisible(!Dismissed.empty() && btnDismissed->isChecked());
    Title->setText(TitleText(Problems.size()));
    Fees->setText(FeesText(FeeCounts));
    setVisible(!Problems.empty() || !Dismissed.empty());
}

void TProblemsPanel::Fill(QTreeWidget& List, const std::vector<TClaimProblem>& Problems) {
    // Old rows and new never show together: the list is painted once, whole,
    // after the change, from its first row.
    List.setUpdatesEnabled(false);
    List.clear();
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
    List.addTopLevelItems(rows);
    List.scrollToTop();
    List.setUpdatesEnabled(true);
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
