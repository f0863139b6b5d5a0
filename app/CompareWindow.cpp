#include "CompareWindow.h"

#include "BusyCursor.h"
#include "ClaimListing.h"
#include "ClaimListingDocx.h"
#include "ClaimTree.h"
#include "ClaimTreePane.h"
#include "Dialogs.h"
#include "DocumentPlaces.h"
#include "ImageList.h"
#include "TreeDrawing.h"
#include "TreeExport.h"
#include "VelkinApplication.h"

#include <QAction>
#include <QBuffer>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPdfWriter>
#include <QPushButton>
#include <QSplitter>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace {

// The colours of the tags; the words say the same.
constexpr QRgb NewColour = 0xff1e8c3c;
constexpr QRgb AmendedColour = 0xffc05f00;
constexpr QRgb CanceledColour = 0xffc0282c;
constexpr QRgb MovedColour = 0xff2a62b8;
constexpr QRgb ReferencesColour = 0xff007f86;
constexpr QRgb MergedColour = 0xff7a3fa0;
constexpr QRgb SameColour = 0xff8a8a8a;
constexpr QRgb InsertedColour = 0xff0b50a8;
constexpr QRgb DeletedColour = 0xffb01818;

enum { NumberRole = Qt::UserRole, FromRole, KindsRole };

bool Has(unsigned Kinds, TChangeKind Kind) {
    return (Kinds & static_cast<unsigned>(Kind)) != 0;
}

unsigned KindsOf(const TComparedClaim& Claim) {
    if (Claim.Status == TAmendmentStatus::Canceled)
        return static_cast<unsigned>(TChangeKind::Canceled);
    unsigned kinds = 0;
    if (Claim.From == 0)
        kinds |= static_cast<unsigned>(TChangeKind::New);
    else if (Claim.Changed())
        kinds |= static_cast<unsigned>(TChangeKind::Changed);
    if (Claim.From != 0 && Claim.DependencyChanged())
        kinds |= static_cast<unsigned>(TChangeKind::DependencyChanged);
    return kinds;
}

// Every claim of B in order, with A's canceled claims where they stood;
// unchanged claims have no kinds.
std::vector<TChangeEntry> ListingOrder(const TClaimComparison& Comparison) {
    std::vector<TChangeEntry> order;
    order.reserve(Comparison.Claims.size() + Comparison.Canceled.size());
    // A claim that B lists as canceled is B's line, not A's too.
    std::vector<int32_t> canceledOfA;
    for (const int32_t number : Comparison.Canceled) {
        if (std::none_of(Comparison.Claims.begin(), Comparison.Claims.end(),
                         [number](const TComparedClaim& Claim) {
                             return Claim.Status == TAmendmentStatus::Canceled &&
                                    Claim.From == number;
                         }))
            canceledOfA.push_back(number);
    }
    auto canceled = canceledOfA.begin();
    const auto cancel = [&](int32_t Before) {
        for (; canceled != canceledOfA.end() && *canceled < Before; ++canceled)
            order.push_back({0, *canceled, static_cast<unsigned>(TChangeKind::Canceled)});
    };
    for (const TComparedClaim& claim : Comparison.Claims) {
        if (claim.From != 0)
            cancel(claim.From);
        order.push_back({claim.Number, claim.From, KindsOf(claim)});
    }
    cancel(INT32_MAX);
    for (; canceled != canceledOfA.end(); ++canceled)
        order.push_back({0, *canceled, static_cast<unsigned>(TChangeKind::Canceled)});
    return order;
}

const TClaim* FindClaim(const TClaimTree& Tree, int32_t Number) {
    const auto found =
        std::find_if(Tree.Claims.begin(), Tree.Claims.end(),
                     [Number](const TClaim& Claim) { return Claim.Number == Number; });
    return found == Tree.Claims.end() ? nullptr : &*found;
}

QString Decoded(const TClaimTree& Tree, const std::string& Text) {
    return Tree.TextIsUtf8 ? QString::fromUtf8(Text) : QString::fromLatin1(Text);
}

// The claim's words on one line each, as the comparison reads them.
QString ClaimText(const TClaimTree& Tree, int32_t Number) {
    const TClaim* claim = FindClaim(Tree, Number);
    return claim != nullptr ? Decoded(Tree, claim->Text).simplified() : QString();
}

QString NumberList(const std::vector<int32_t>& Numbers) {
    QStringList list;
    for (const int32_t number : Numbers)
        list << QString::number(number);
    return list.join(QStringLiteral(", "));
}

TBoxTag Tag(const QString& Text, QRgb Colour, const QString& Hint) {
    TBoxTag tag;
    tag.Text = Text;
    tag.Colour = Colour;
    tag.Hint = Hint;
    return tag;
}

std::unordered_map<int32_t, TBoxTag> TagsOfB(const TClaimComparison& Comparison) {
    std::unordered_map<int32_t, TBoxTag> tags;
    for (const TComparedClaim& claim : Comparison.Claims) {
        const QString status = QString::fromLatin1(AmendmentStatusName(claim.Status));
        const QString was = QStringLiteral("was %1").arg(claim.From);
        QString hint = QStringLiteral("Status: ") + status;
        if (claim.From != 0)
            hint += QStringLiteral("\nClaim %1 of the earlier version").arg(claim.From);
        if (claim.Status == TAmendmentStatus::Canceled)
            tags[claim.Number] = Tag(status, CanceledColour, hint);
        else if (claim.Status == TAmendmentStatus::Withdrawn ||
                 claim.Status == TAmendmentStatus::NotEntered)
            tags[claim.Number] = Tag(status, SameColour, hint);
        else if (claim.From == 0)
            tags[claim.Number] = Tag(QStringLiteral("New"), NewColour, hint);
        else if (claim.Changed())
            tags[claim.Number] =
                Tag(claim.Moved() ? QStringLiteral("Amended, ") + was : QStringLiteral("Amended"),
                    AmendedColour, hint);
        else if (claim.DependencyChanged())
            tags[claim.Number] = Tag(claim.Moved() ? QStringLiteral("References, ") + was
                                                   : QStringLiteral("References"),
                                     ReferencesColour, hint);
        else if (claim.Moved())
            tags[claim.Number] = Tag(QStringLiteral("Moved, ") + was, MovedColour, hint);
        else
            tags[claim.Number] = Tag(QStringLiteral("Unchanged"), SameColour, hint);
    }
    return tags;
}

std::unordered_map<int32_t, TBoxTag> TagsOfA(const TClaimComparison& Comparison) {
    std::unordered_map<int32_t, TBoxTag> tags;
    for (const int32_t number : Comparison.Canceled)
        tags[number] = Tag(QStringLiteral("Canceled"), CanceledColour,
                           QStringLiteral("No claim of the later version comes from this one"));
    for (const TComparedClaim& claim : Comparison.Claims) {
        const QString now = QStringLiteral("now %1").arg(claim.Number);
        const QString hint = QStringLiteral("Claim %1 of the later version").arg(claim.Number);
        for (const int32_t merged : claim.MergedFrom)
            tags[merged] =
                Tag(QStringLiteral("Merged into %1").arg(claim.Number), MergedColour, hint);
        if (claim.From == 0 || claim.Status == TAmendmentStatus::Canceled)
            continue;
        if (claim.Changed())
            tags[claim.From] =
                Tag(claim.Moved() ? QStringLiteral("Amended, ") + now : QStringLiteral("Amended"),
                    AmendedColour, hint);
        else if (claim.DependencyChanged())
            tags[claim.From] = Tag(claim.Moved() ? QStringLiteral("References, ") + now
                                                 : QStringLiteral("References"),
                                   ReferencesColour, hint);
        else if (claim.Moved())
            tags[claim.From] = Tag(QStringLiteral("Moved, ") + now, MovedColour, hint);
        else
            tags[claim.From] = Tag(QStringLiteral("Unchanged"), SameColour, hint);
    }
    return tags;
}

// What the list says of a change.
QString ChangeText(const TChangeEntry& Entry, const TComparedClaim* Claim) {
    QStringList parts;
    if (Has(Entry.Kinds, TChangeKind::Canceled))
        parts << QStringLiteral("canceled");
    if (Has(Entry.Kinds, TChangeKind::New))
        parts << QStringLiteral("new");
    if (Has(Entry.Kinds, TChangeKind::Changed))
        parts << QStringLiteral("words changed");
    if (Claim != nullptr && Has(Entry.Kinds, TChangeKind::DependencyChanged)) {
        QString references = QStringLiteral("references");
        if (!Claim->ReferencesAdded.empty())
            references += QStringLiteral(" +") + NumberList(Claim->ReferencesAdded);
        if (!Claim->ReferencesDropped.empty())
            references += QStringLiteral(" \u2212") + NumberList(Claim->ReferencesDropped);
        parts << references;
    }
    if (Claim != nullptr && !Claim->MergedFrom.empty())
        parts << QStringLiteral("takes in ") + NumberList(Claim->MergedFrom);
    return parts.join(QStringLiteral("; "));
}

// Underlined or struck through; on screen in colour too, on paper in black
// as a response is filed.
QTextCharFormat PieceFormat(TTextChange Change, bool Coloured = true) {
    QTextCharFormat format;
    if (Change == TTextChange::Inserted) {
        format.setFontUnderline(true);
        if (Coloured)
            format.setForeground(QColor::fromRgb(InsertedColour));
    } else if (Change == TTextChange::Deleted) {
        format.setFontStrikeOut(true);
        if (Coloured)
            format.setForeground(QColor::fromRgb(DeletedColour));
    }
    return format;
}

// Writes the pieces (UTF-8) at Cursor, a blank between two.
void WriteRedline(QTextCursor& Cursor, const std::vector<TTextPiece>& Pieces) {
    bool first = true;
    for (const TTextPiece& piece : Pieces) {
        if (piece.Text.empty())
            continue;
        if (!first)
            Cursor.insertText(QStringLiteral(" "), QTextCharFormat());
        first = false;
        Cursor.insertText(QString::fromStdString(piece.Text), PieceFormat(piece.Change));
    }
}

QTextCharFormat BoldFormat() {
    QTextCharFormat format;
    format.setFontWeight(QFont::Bold);
    return format;
}

} // namespace

std::vector<TChangeEntry> ChangeEntries(const TClaimComparison& Comparison) {
    std::vector<TChangeEntry> entries = ListingOrder(Comparison);
    std::erase_if(entries, [](const TChangeEntry& Entry) { return Entry.Kinds == 0; });
    return entries;
}

TCompareWindow::TCompareWindow(TCompareVersion A, TCompareVersion B, QWidget* Parent,
                               TComparer Comparer)
    : QWidget(Parent, Qt::Window), versionA(std::move(A)), versionB(std::move(B)),
      comparer(Comparer ? std::move(Comparer) : TComparer(CompareClaims)),
      images(std::make_unique<TImageList>()) {
    setObjectName(QStringLiteral("CompareWindow"));
    setAttribute(Qt::WA_DeleteOnClose);

    auto* top = new QHBoxLayout;
    lbVersionA = new QLabel(this);
    lbVersionA->setObjectName(QStringLiteral("lbVersionA"));
    btnSwap = new QPushButton(QStringLiteral("&Swap A and B"), this);
    btnSwap->setObjectName(QStringLiteral("btnSwap"));
    btnSwap->setToolTip(QStringLiteral("Read the right-hand version as the earlier one"));
    lbVersionB = new QLabel(this);
    lbVersionB->setObjectName(QStringLiteral("lbVersionB"));
    btnExport = new QPushButton(QStringLiteral("&Export claim listing"), this);
    btnExport->setObjectName(QStringLiteral("btnExport"));
    auto* exportMenu = new QMenu(btnExport);
    ExportHtml1 = exportMenu->addAction(QStringLiteral("As &HTML..."));
    ExportPdf1 = exportMenu->addAction(QStringLiteral("As &PDF..."));
    ExportDocx1 = exportMenu->addAction(QStringLiteral("As &Word document..."));
    btnExport->setMenu(exportMenu);
    top->addWidget(lbVersionA, 1);
    top->addWidget(btnSwap);
    top->addWidget(lbVersionB, 1);
    top->addWidget(btnExport);

    // The list of changes with its filters and steps.
    auto* changes = new QWidget(this);
    auto* changesColumn = new QVBoxLayout(changes);
    changesColumn->setContentsMargins(0, 0, 0, 0);
    auto* filters = new QGroupBox(QStringLiteral("Show"), changes);
    auto* filterGrid = new QGridLayout(filters);
    const auto filter = [&](const char* Text, const char* Name, int Row, int Column) {
        auto* box = new QCheckBox(QString::fromLatin1(Text), filters);
        box->setObjectName(QString::fromLatin1(Name));
        box->setChecked(true);
        filterGrid->addWidget(box, Row, Column);
        connect(box, &QCheckBox::toggled, this, [this] { RunHandler([this] { ApplyFilters(); }); });
        return box;
    };
    cbChanged = filter("&Changed", "cbChanged", 0, 0);
    cbNew = filter("&New", "cbNew", 0, 1);
    cbCanceled = filter("C&anceled", "cbCanceled", 1, 0);
    cbDependency = filter("&Dependency changed", "cbDependency", 1, 1);
    lvChanges = new QTreeWidget(changes);
    lvChanges->setObjectName(QStringLiteral("lvChanges"));
    lvChanges->setRootIsDecorated(false);
    lvChanges->setUniformRowHeights(true);
    lvChanges->setHeaderLabels({QStringLiteral("Claim"), QStringLiteral("Was"),
                                QStringLiteral("Status"), QStringLiteral("Change")});
    lvChanges->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    auto* steps = new QHBoxLayout;
    btnPrevious = new QPushButton(QStringLiteral("&Previous"), changes);
    btnPrevious->setObjectName(QStringLiteral("btnPrevious"));
    btnNext = new QPushButton(QStringLiteral("Ne&xt"), changes);
    btnNext->setObjectName(QStringLiteral("btnNext"));
    steps->addWidget(btnPrevious);
    steps->addWidget(btnNext);
    changesColumn->addWidget(filters);
    changesColumn->addWidget(lvChanges, 1);
    changesColumn->addLayout(steps);

    // The two trees over the redline.
    const auto treeBox = [this](const char* Title, const char* Name, TClaimTreePane*& Pane) {
        auto* box = new QGroupBox(QString::fromLatin1(Title), this);
        auto* column = new QVBoxLayout(box);
        column->setContentsMargins(2, 2, 2, 2);
        Pane = new TClaimTreePane(box);
        Pane->setObjectName(QString::fromLatin1(Name));
        column->addWidget(Pane);
        return box;
    };
    auto* trees = new QSplitter(Qt::Horizontal, this);
    trees->addWidget(treeBox("A: earlier version", "sbTreeA", sbTreeA));
    trees->addWidget(treeBox("B: later version", "sbTreeB", sbTreeB));
    mmRedline = new QTextBrowser(this);
    mmRedline->setObjectName(QStringLiteral("mmRedline"));
    mmRedline->setPlaceholderText(
        QStringLiteral("Choose a box or a change to see how its claim changed."));
    auto* right = new QSplitter(Qt::Vertical, this);
    right->addWidget(trees);
    right->addWidget(mmRedline);
    right->setStretchFactor(0, 3);
    right->setStretchFactor(1, 1);
    auto* main = new QSplitter(Qt::Horizontal, this);
    main->addWidget(changes);
    main->addWidget(right);
    main->setStretchFactor(1, 1);
    main->setSizes({330, 900});

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(main, 1);

    connect(btnSwap, &QPushButton::clicked, this, [this] { RunHandler([this] { Swap(); }); });
    connect(btnNext, &QPushButton::clicked, this, [this] { RunHandler([this] { NextChange(); }); });
    connect(btnPrevious, &QPushButton::clicked, this,
            [this] { RunHandler([this] { PreviousChange(); }); });
    connect(lvChanges, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* Item) {
        RunHandler([this, Item] {
            const int32_t number = Item->data(0, NumberRole).toInt();
            ChooseClaim(number != 0, number != 0 ? number : Item->data(0, FromRole).toInt());
        });
    });
    connect(sbTreeA, &TClaimTreePane::BoxChosen, this,
            [this](TClaimTreeNode* Node) { RunHandler([this, Node] { BoxChosen(false, Node); }); });
    connect(sbTreeB, &TClaimTreePane::BoxChosen, this,
            [this](TClaimTreeNode* Node) { RunHandler([this, Node] { BoxChosen(true, Node); }); });
    connect(ExportHtml1, &QAction::triggered, this,
            [this] { RunHandler([this] { ExportClick(TListingFormat::Html); }); });
    connect(ExportPdf1, &QAction::triggered, this,
            [this] { RunHandler([this] { ExportClick(TListingFormat::Pdf); }); });
    connect(ExportDocx1, &QAction::triggered, this,
            [this] { RunHandler([this] { ExportClick(TListingFormat::Docx); }); });

    resize(1200, 760);
    Compare();
}

TCompareWindow::~TCompareWindow() {
    // The drawings go before the trees they draw.
    drawingA.reset();
    drawingB.reset();
}

void TCompareWindow::Compare() {
    const TBusyCursor busy;
    // The old drawings' boxes refer to the old trees' nodes.
    sbTreeA->DestroyComponents();
    sbTreeB->DestroyComponents();
    drawingA.reset();
    drawingB.reset();
    treeA = std::make_unique<TClaimTree>(versionA.Text, versionA.Reading);
    treeB = std::make_unique<TClaimTree>(versionB.Text, versionB.Reading);
    comparison = comparer(*treeA, *treeB);
    const auto side = [this](TClaimTreePane& Pane, TClaimTree& Tree,
                             std::unordered_map<int32_t, TBoxTag> Tags) {
        Pane.SetSelectedTag(0);
        Pane.SetBoxTags(std::move(Tags));
        auto drawing = std::make_unique<TTreeDrawing>(Tree);
        drawing->BuildDrawing(&Pane, images.get(), nullptr, -1, true);
        drawing->ExpandAll();
        return drawing;
    };
    drawingA = side(*sbTreeA, *treeA, TagsOfA(comparison));
    drawingB = side(*sbTreeB, *treeB, TagsOfB(comparison));
    const auto caption = [](const char* Side, const TCompareVersion& Version,
                            const TClaimTree& Tree) {
        return QStringLiteral("<b>%1</b> %2 (%3 claims)")
            .arg(QString::fromLatin1(Side), Version.Name.toHtmlEscaped())
            .arg(Tree.Claims.size());
    };
    lbVersionA->setText(caption("A, earlier:", versionA, *treeA));
    lbVersionB->setText(caption("B, later:", versionB, *treeB));
    setWindowTitle(
        QStringLiteral("Compare claims - %1 with %2")
            .arg(QFileInfo(versionA.Name).fileName(), QFileInfo(versionB.Name).fileName()));
    chosenA = chosenB = 0;
    FillChanges();
    ShowRedline();
}

const TComparedClaim* TCompareWindow::ComparedOf(int32_t NumberB) const {
    for (const TComparedClaim& claim : comparison.Claims) {
        if (claim.Number == NumberB)
            return &claim;
    }
    return nullptr;
}

void TCompareWindow::FillChanges() {
    entries = ChangeEntries(comparison);
    lvChanges->clear();
    const QString none = QStringLiteral("\u2013");
    for (const TChangeEntry& entry : entries) {
        const TComparedClaim* claim = entry.Number != 0 ? ComparedOf(entry.Number) : nullptr;
        auto* item = new QTreeWidgetItem(lvChanges);
        item->setText(0, entry.Number != 0 ? QString::number(entry.Number) : none);
        item->setText(1, entry.From != 0 ? QString::number(entry.From) : none);
        item->setText(2, claim != nullptr ? QString::fromLatin1(AmendmentStatusName(claim->Status))
                                          : QStringLiteral("Canceled"));
        item->setText(3, ChangeText(entry, claim));
        item->setToolTip(3, item->text(3));
        item->setData(0, NumberRole, entry.Number);
        item->setData(0, FromRole, entry.From);
        item->setData(0, KindsRole, entry.Kinds);
    }
    ApplyFilters();
}

void TCompareWindow::ApplyFilters() {
    unsigned shown = 0;
    if (cbChanged->isChecked())
        shown |= static_cast<unsigned>(TChangeKind::Changed);
    if (cbNew->isChecked())
        shown |= static_cast<unsigned>(TChangeKind::New);
    if (cbCanceled->isChecked())
        shown |= static_cast<unsigned>(TChangeKind::Canceled);
    if (cbDependency->isChecked())
        shown |= static_cast<unsigned>(TChangeKind::DependencyChanged);
    for (int i = 0; i < lvChanges->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = lvChanges->topLevelItem(i);
        item->setHidden((item->data(0, KindsRole).toUInt() & shown) == 0);
    }
    btnNext->setEnabled(lvChanges->topLevelItemCount() > 0);
    btnPrevious->setEnabled(lvChanges->topLevelItemCount() > 0);
}

QTreeWidgetItem* TCompareWindow::ChosenItem() const {
    // A claim of A chosen is its own line when it has one (canceled, or
    // merged into another claim), else its successor's.
    QTreeWidgetItem* successor = nullptr;
    if (chosenA == 0 && chosenB == 0)
        return nullptr;
    for (int i = 0; i < lvChanges->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = lvChanges->topLevelItem(i);
        const int32_t number = item->data(0, NumberRole).toInt();
        const int32_t from = item->data(0, FromRole).toInt();
        if (chosenSideB ? number == chosenB : number == 0 && from == chosenA)
            return item;
        if (!chosenSideB && chosenB != 0 && number == chosenB)
            successor = item;
    }
    return successor;
}

void TCompareWindow::ChooseClaim(bool SideB, int32_t Number) {
    chosenA = chosenB = 0;
    chosenSideB = SideB;
    if (SideB) {
        const TComparedClaim* claim = ComparedOf(Number);
        if (claim == nullptr)
            return;
        chosenB = Number;
        chosenA = claim->From;
    } else {
        chosenA = Number;
        for (const TComparedClaim& claim : comparison.Claims) {
            if (claim.From == Number || std::find(claim.MergedFrom.begin(), claim.MergedFrom.end(),
                                                  Number) != claim.MergedFrom.end()) {
                chosenB = claim.Number;
                break;
            }
        }
    }
    const auto show = [](TClaimTreePane& Pane, TTreeDrawing& Drawing, const TClaimTree& Tree,
                         int32_t Claim) {
        Pane.SetSelectedTag(Claim);
        if (!InClaimTable(Claim) || Tree.NodesByClaim[static_cast<std::size_t>(Claim)].empty())
            return;
        // The box the user is on stays current: a claim has a box under
        // every claim it refers to.
        const TClaimTreeNode* current = Pane.CurrentBox();
        if (current != nullptr && current->Number == Claim && Drawing.IsShown(*current))
            return;
        TClaimTreeNode* node = Tree.NodesByClaim[static_cast<std::size_t>(Claim)].front();
        if (TClaimTreeNode* shown = Drawing.Reveal(*node, true))
            Pane.SetCurrentBox(shown);
    };
    show(*sbTreeA, *drawingA, *treeA, chosenA);
    show(*sbTreeB, *drawingB, *treeB, chosenB);
    QTreeWidgetItem* item = ChosenItem();
    lvChanges->setCurrentItem(item);
    if (item != nullptr)
        lvChanges->scrollToItem(item);
    else
        lvChanges->clearSelection();
    ShowRedline();
}

void TCompareWindow::BoxChosen(bool SideB, TClaimTreeNode* Node) {
    const TClaimTree& tree = SideB ? *treeB : *treeA;
    if (Node == nullptr || Node->OwnerTree() != &tree)
        return;
    ChooseClaim(SideB, Node->Number);
}

void TCompareWindow::StepChange(int Direction) {
    const int count = lvChanges->topLevelItemCount();
    QTreeWidgetItem* current = ChosenItem();
    int at = current != nullptr ? lvChanges->indexOfTopLevelItem(current) : -1;
    if (current == nullptr && Direction < 0)
        at = count;
    for (int i = at + Direction; i >= 0 && i < count; i += Direction) {
        QTreeWidgetItem* item = lvChanges->topLevelItem(i);
        if (item->isHidden())
            continue;
        const int32_t number = item->data(0, NumberRole).toInt();
        ChooseClaim(number != 0, number != 0 ? number : item->data(0, FromRole).toInt());
        return;
    }
}

void TCompareWindow::NextChange() {
    StepChange(1);
}

void TCompareWindow::PreviousChange() {
    StepChange(-1);
}

void TCompareWindow::Swap() {
    std::swap(versionA, versionB);
    Compare();
}

void TCompareWindow::ShowRedline() {
    mmRedline->clear();
    if (chosenA == 0 && chosenB == 0)
        return;
    QTextDocument* document = mmRedline->document();
    QTextCursor cursor(document);
    const TComparedClaim* claim = chosenB != 0 ? ComparedOf(chosenB) : nullptr;
    if (claim == nullptr || claim->Status == TAmendmentStatus::Canceled) {
        cursor.insertText(claim != nullptr ? QStringLiteral("Claim %1: Canceled").arg(claim->Number)
                                           : QStringLiteral("Claim %1 of A: Canceled").arg(chosenA),
                          BoldFormat());
        cursor.insertBlock(QTextBlockFormat(), QTextCharFormat());
        cursor.insertText(ClaimText(*treeA, chosenA), PieceFormat(TTextChange::Deleted));
        return;
    }
    QString head = QStringLiteral("Claim %1").arg(claim->Number);
    if (claim->Moved())
        head += QStringLiteral(" (claim %1 of A)").arg(claim->From);
    head += QStringLiteral(": ") + QString::fromLatin1(AmendmentStatusName(claim->Status));
    cursor.insertText(head, BoldFormat());
    if (!claim->MergedFrom.empty()) {
        cursor.insertBlock(QTextBlockFormat(), QTextCharFormat());
        cursor.insertText(
            QStringLiteral("Takes in claim %1 of A").arg(NumberList(claim->MergedFrom)));
    }
    if (claim->DependencyChanged()) {
        cursor.insertBlock(QTextBlockFormat(), QTextCharFormat());
        QStringList parts;
        if (!claim->ReferencesAdded.empty())
            parts << QStringLiteral("now refers to claim ") + NumberList(claim->ReferencesAdded);
        if (!claim->ReferencesDropped.empty())
            parts << QStringLiteral("no longer to claim ") + NumberList(claim->ReferencesDropped) +
                         QStringLiteral(" of A");
        cursor.insertText(QStringLiteral("Dependency changed: ") +
                          parts.join(QStringLiteral("; ")));
    }
    cursor.insertBlock(QTextBlockFormat(), QTextCharFormat());
    if (claim->Redline.empty())
        cursor.insertText(ClaimText(*treeB, claim->Number));
    else
        WriteRedline(cursor, claim->Redline);
}

std::string TCompareWindow::ListingTitle() const {
    return QStringLiteral("%1, compared with %2").arg(versionB.Name, versionA.Name).toStdString();
}

std::unique_ptr<QTextDocument> TCompareWindow::ListingDocument() const {
    auto document = std::make_unique<QTextDocument>();
    document->setDefaultFont(QFont(QStringLiteral("Liberation Serif"), 12));
    QTextCursor cursor(document.get());
    cursor.insertText(QStringLiteral("Listing of claims"), BoldFormat());
    cursor.insertBlock(QTextBlockFormat(), QTextCharFormat());
    cursor.insertText(QString::fromStdString(ListingTitle()));
    // The same listing as the HTML and Word exports; its texts are UTF-8.
    for (const TListingEntry& entry : ClaimListing(comparison)) {
        cursor.insertBlock(QTextBlockFormat(), QTextCharFormat());
        cursor.insertBlock(QTextBlockFormat(), QTextCharFormat());
        cursor.insertText(QStringLiteral("%1. (%2)")
                              .arg(QString::fromStdString(entry.Label),
                                   QString::fromLatin1(AmendmentStatusName(entry.Status))),
                          QTextCharFormat());
        for (const TTextPiece& piece : entry.Text) {
            cursor.insertText(QStringLiteral(" "), QTextCharFormat());
            const QString text = QString::fromStdString(piece.Text);
            if (piece.Change == TTextChange::Deleted && BracketedDeletion(piece.Text))
                cursor.insertText(QStringLiteral("[[") + text + QStringLiteral("]]"),
                                  QTextCharFormat());
            else
                cursor.insertText(text, PieceFormat(piece.Change, false));
        }
    }
    return document;
}

bool TCompareWindow::ExportListing(TListingFormat Format, const QString& FileName) {
    QByteArray bytes;
    QString error;
    {
        const TBusyCursor busy;
        if (Format == TListingFormat::Html) {
            bytes = QByteArray::fromStdString(ClaimListingHtml(comparison, ListingTitle()));
        } else if (Format == TListingFormat::Docx) {
            std::string fault;
            bytes = QByteArray::fromStdString(ClaimListingDocx(comparison, ListingTitle(), fault));
            error = QString::fromStdString(fault);
        } else {
            QBuffer buffer(&bytes);
            buffer.open(QIODevice::WriteOnly);
            const std::unique_ptr<QTextDocument> listing = ListingDocument();
            QPdfWriter writer(&buffer);
            writer.setTitle(QStringLiteral("Listing of claims"));
            writer.setPageSize(LocalePageSize(QLocale::system()));
            writer.setPageMargins(QMarginsF(25, 20, 20, 20), QPageLayout::Millimeter);
            listing->print(&writer);
        }
    }
    // Written whole or not at all: a full disk leaves the old file as it was.
    if (error.isEmpty())
        error = bytes.isEmpty()
                    ? QStringLiteral("Nothing to write.")
                    : WriteWholeFile(FileName, std::string(bytes.constData(), bytes.size()));
    const bool written = error.isEmpty();
    if (!written) {
        TDialogs::Message(this,
                          QStringLiteral("Unable to write the claim listing to\n") +
                              QDir::toNativeSeparators(FileName) + u'\n' + error,
                          QStringLiteral("ERROR"), QMessageBox::Critical, QMessageBox::Ok);
    }
    return written;
}

void TCompareWindow::ExportClick(TListingFormat Format) {
    TSaveFileDialog dialog(this);
    dialog.setObjectName(QStringLiteral("ExportDialog"));
    dialog.setWindowTitle(QStringLiteral("Export Claim Listing"));
    switch (Format) {
    case TListingFormat::Html:
        dialog.setNameFilter(QStringLiteral("Web pages (*.html *.htm)"));
        dialog.setDefaultSuffix(QStringLiteral("html"));
        break;
    case TListingFormat::Pdf:
        dialog.setNameFilter(QStringLiteral("PDF documents (*.pdf)"));
        dialog.setDefaultSuffix(QStringLiteral("pdf"));
        break;
    case TListingFormat::Docx:
        dialog.setNameFilter(QStringLiteral("Word documents (*.docx)"));
        dialog.setDefaultSuffix(QStringLiteral("docx"));
        break;
    }
    dialog.setDirectory(ExportDialogStartDir(QDir::homePath()));
    const QString fileName = TDialogs::ChooseFile(dialog);
    if (fileName.isEmpty())
        return;
    RememberExportDir(fileName);
    ExportListing(Format, fileName);
}
