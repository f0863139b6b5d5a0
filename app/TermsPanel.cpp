#include "TermsPanel.h"

#include "AntecedentBasis.h"
#include "ClaimTree.h"
#include "ClaimTreePane.h"
#include "DocumentView.h"
#include "ProgramSettings.h"
#include "ShownTree.h"
#include "VelkinApplication.h"

#include <QAction>
#include <QDockWidget>
#include <QHeaderView>
#include <QMainWindow>
#include <QMenu>
#include <QTreeWidget>
#include <algorithm>
#include <unordered_map>

namespace {

const QString TermsPanelKey = QStringLiteral("Window/TermsPanel");
const QColor TermColour(190, 232, 190);
constexpr int TermRole = Qt::UserRole;

const TClaim* ClaimOf(const TClaimTree& Tree, int32_t Number) {
    for (const TClaim& claim : Tree.Claims)
        if (claim.Number == Number)
            return &claim;
    return nullptr;
}

} // namespace

TTermsPanel::TTermsPanel(TDocumentView& Document, TShownTree& Shown, QMenu& Tools,
                         QMainWindow& Window)
    : QObject(&Window), document(Document), shown(Shown) {
    dkTerms = new QDockWidget(QStringLiteral("Terms"), &Window);
    dkTerms->setObjectName(QStringLiteral("dkTerms"));
    lvTerms = new QTreeWidget(dkTerms);
    lvTerms->setObjectName(QStringLiteral("lvTerms"));
    lvTerms->setRootIsDecorated(false);
    lvTerms->setUniformRowHeights(true);
    lvTerms->setHeaderLabels(
        {QStringLiteral("Term"), QStringLiteral("Introduced in"), QStringLiteral("Used in")});
    lvTerms->header()->setStretchLastSection(true);
    dkTerms->setWidget(lvTerms);
    Window.addDockWidget(Qt::RightDockWidgetArea, dkTerms);
    dkTerms->hide();

    // The dock's own action: its close button unchecks it too.
    Terms1 = dkTerms->toggleViewAction();
    Terms1->setText(QStringLiteral("&Terms"));
    Terms1->setObjectName(QStringLiteral("Terms1"));
    Tools.addAction(Terms1);
    connect(Terms1, &QAction::toggled, this, [this] { RunHandler([this] { TermsClick(); }); });
    connect(lvTerms, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* Item) { RunHandler([this, Item] { Choose(Item); }); });
    connect(lvTerms, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem* Item) { RunHandler([this, Item] { Choose(Item); }); });
    if (ProgramSettings().value(TermsPanelKey, false).toBool())
        dkTerms->show();
}

void TTermsPanel::TermsClick() {
    ProgramSettings().setValue(TermsPanelKey, Terms1->isChecked());
    if (Terms1->isChecked())
        Fill();
}

void TTermsPanel::TreeChanged() {
    // The marks and highlights belonged to the boxes and text of before.
    marked.clear();
    if (!dkTerms->isHidden())
        Fill();
}

void TTermsPanel::Fill() {
    lvTerms->clear();
    const TClaimTree* tree = shown.Tree();
    if (tree == nullptr)
        return;
    const std::vector<TClaimTerm> terms = ListTerms(*tree);
    QList<QTreeWidgetItem*> items;
    items.reserve(static_cast<qsizetype>(terms.size()));
    for (std::size_t i = 0; i < terms.size(); ++i) {
        const TClaimTerm& term = terms[i];
        std::vector<int32_t> claims;
        for (const TTermPlace& use : term.Uses)
            claims.push_back(use.Claim);
        claims.erase(std::unique(claims.begin(), claims.end()), claims.end());
        QStringList used;
        for (const int32_t claim : claims)
            used << QString::number(claim);
        auto* item = new QTreeWidgetItem({QString::fromStdString(term.Term),
                                          QStringLiteral("claim %1").arg(term.Introduced.Claim),
                                          used.join(QStringLiteral(", "))});
        item->setData(TermColumn, TermRole, static_cast<qulonglong>(i));
        items.push_back(item);
    }
    lvTerms->addTopLevelItems(items);
    lvTerms->resizeColumnToContents(TermColumn);
}

void TTermsPanel::Choose(const QTreeWidgetItem* Item) {
    const TClaimTree* tree = shown.Tree();
    if (Item == nullptr || tree == nullptr)
        return;
    const std::vector<TClaimTerm> terms = ListTerms(*tree);
    const auto index = Item->data(TermColumn, TermRole).toULongLong();
    if (index >= terms.size())
        return;
    const TClaimTerm& term = terms[index];
    std::vector<TTermPlace> places{term.Introduced};
    places.insert(places.end(), term.Uses.begin(), term.Uses.end());

    // Each place in the text: from the start of its line, the claim's words
    // before it on that line, then the phrase.
    const QString text = document.Text();
    std::vector<THighlight> highlights;
    marked.clear();
    for (const TTermPlace& place : places) {
        marked.push_back(place.Claim);
        const TClaim* claim = ClaimOf(*tree, place.Claim);
        const qsizetype lineStart = document.LineStart(place.Line);
        if (claim == nullptr || lineStart < 0 || place.Offset + place.Length > claim->Text.size())
            continue;
        const std::size_t lineBegin = claim->Text.find_last_of("\r\n", place.Offset);
        const std::size_t from = lineBegin == std::string::npos ? 0 : lineBegin + 1;
        const QString before =
            QString::fromStdString(claim->Text.substr(from, place.Offset - from)).trimmed();
        std::string phrase = claim->Text.substr(place.Offset, place.Length);
        phrase = phrase.substr(0, phrase.find_first_of("\r\n"));
        const QString written = QString::fromStdString(phrase);
        const qsizetype at = text.indexOf(before + QStringLiteral(" ") + written, lineStart);
        const qsizetype alone = text.indexOf(written, lineStart);
        if (!before.isEmpty() && at >= 0)
            highlights.push_back({at + before.size() + 1, written.size(), TermColour});
        else if (alone >= 0)
            highlights.push_back({alone, written.size(), TermColour});
    }
    document.SetHighlights(highlights);
    if (!highlights.empty())
        document.MoveCursorTo(highlights.front().At);

    std::sort(marked.begin(), marked.end());
    marked.erase(std::unique(marked.begin(), marked.end()), marked.end());
    const auto found = static_cast<unsigned>(TBoxMark::Found);
    std::unordered_map<int32_t, unsigned> marks;
    for (const TClaim& claim : tree->Claims)
        if (const unsigned kept = shown.BoxMarks(claim.Number) & ~found)
            marks[claim.Number] = kept;
    for (const int32_t claim : marked)
        marks[claim] |= found;
    shown.SetBoxMarks(std::move(marks));
}
