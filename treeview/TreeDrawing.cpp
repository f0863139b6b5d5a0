// The drawing of a tree: the drawn nodes laid out as rows of data with
// running y offsets, and the controls of the rows in or near the visible area.

#include "BoxGeometry.h"
#include "BoxLabel.h"
#include "BoxPaint.h"
#include "ClaimCategories.h"
#include "Fonts.h"
#include "TreeView.h"
#include "TreeWalk.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPainter>
#include <QScrollBar>
#include <QStringList>
#include <algorithm>
#include <unordered_set>
#include <utility>

using namespace BoxGeometry;

namespace {

const char* const LimitNoticeName = "lblDrawingLimit";

// Rows start above this y, so that the content widget, whose size Qt caps at
// QWIDGETSIZE_MAX, covers every row and a shown text below the last.
constexpr int MaxContentY = QWIDGETSIZE_MAX - 65'536;

void ForgetControls(TNodeView& Node) {
    Node.ExpandButton = nullptr;
    Node.ShowTextButton = nullptr;
    Node.HideTextButton = nullptr;
    Node.BranchButton = nullptr;
    Node.DecomposeButton = nullptr;
    Node.TextMemo = nullptr;
    Node.CaptionLabel = nullptr;
    Node.DependentsLabel = nullptr;
    Node.LinkLine = nullptr;
    Node.ChildLine = nullptr;
}

void SetGeometry(QWidget* Control, const QRect& Place) {
    if (Control->geometry() != Place)
        Control->setGeometry(Place);
}

void SetShown(QWidget* Control, bool Shown) {
    if (Control->isHidden() == Shown)
        Control->setVisible(Shown);
}

void SetHint(QWidget* Control, const QString& Hint) {
    if (Control->toolTip() != Hint)
        Control->setToolTip(Hint);
}

// Takes Control off the pane at once and deletes it once the event that is
// running has ended: it may be the button whose click is being handled.
void Discard(QWidget* Control) {
    if (Control == nullptr)
        return;
    QObject::disconnect(Control, nullptr, nullptr, nullptr);
    Control->hide();
    Control->setParent(nullptr);
    Control->deleteLater();
}

template <typename F> void ForEachControl(const TNodeView& Node, F&& Visit) {
    for (QWidget* control :
         {static_cast<QWidget*>(Node.LinkLine), static_cast<QWidget*>(Node.ExpandButton),
          static_cast<QWidget*>(Node.ChildLine), static_cast<QWidget*>(Node.CaptionLabel),
          static_cast<QWidget*>(Node.ShowTextButton), static_cast<QWidget*>(Node.HideTextButton),
          static_cast<QWidget*>(Node.BranchButton), static_cast<QWidget*>(Node.DecomposeButton),
          static_cast<QWidget*>(Node.DependentsLabel), static_cast<QWidget*>(Node.TextMemo)}) {
        if (control != nullptr)
            Visit(control);
    }
}

// The marks of a box: a small bar in the gap after the caption, the upper
// half for problems, the lower half for a find; its tool tip says which.
// The box's tag, when it has one, is drawn by the same widget, to the right.
class TBoxMarker : public QWidget {
public:
    explicit TBoxMarker(QWidget* Parent) : QWidget(Parent) {}

    // Bar is false without marks; TagLeft is where the tag starts in the widget.
    void SetMarks(unsigned Marks, const TBoxTag* Tag, bool Selected, int TagLeft) {
        const QString tagText = Tag != nullptr ? Tag->Text : QString();
        const QRgb tagColour = Tag != nullptr ? Tag->Colour : 0;
        if (marks == Marks && text == tagText && colour == tagColour && selected == Selected &&
            tagLeft == TagLeft)
            return;
        marks = Marks;
        text = tagText;
        colour = tagColour;
        selected = Selected;
        tagLeft = TagLeft;
        QStringList hints;
        if (Has(TBoxMark::Problem))
            hints << QStringLiteral("The claim checks found problems in this claim");
        if (Has(TBoxMark::Found))
            hints << QStringLiteral("The claim matches the search");
        if (Tag != nullptr && !Tag->Hint.isEmpty())
            hints << Tag->Hint;
        setToolTip(hints.join(QLatin1Char('\n')));
        setAccessibleName(text);
        update();
    }
    QString TagText() const { return text; }
    bool TagSelected() const { return selected; }

protected:
    bool event(QEvent* Event) override {
        if (SkipsOwnRepaint(Event))
            return true;
        return QWidget::event(Event);
    }
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        if (marks != 0) {
            const QColor problem = QColor::fromRgb(ProblemMarkColor);
            const QColor found = QColor::fromRgb(FoundMarkColor);
            const int top = text.isEmpty() ? 0 : 1;
            const int height = this->height() - (text.isEmpty() ? 0 : 2);
            const bool both = Has(TBoxMark::Problem) && Has(TBoxMark::Found);
            if (both) {
                painter.fillRect(0, top, MarkerWidth, height / 2, problem);
                painter.fillRect(0, top + height / 2, MarkerWidth, height - height / 2, found);
            } else {
                painter.fillRect(0, top, MarkerWidth, height,
                                 Has(TBoxMark::Problem) ? problem : found);
            }
        }
        if (text.isEmpty())
            return;
        const QRect tag(tagLeft, 0, width() - tagLeft, height());
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(selected ? QPen(Qt::black, 2) : Qt::NoPen);
        painter.setBrush(QColor::fromRgb(colour));
        painter.drawRoundedRect(QRectF(tag).adjusted(1, 1, -1, -1), 3, 3);
        painter.setPen(Qt::white);
        painter.setFont(BoxTagFont());
        painter.drawText(tag, Qt::AlignCenter, text);
    }

private:
    bool Has(TBoxMark Mark) const { return (marks & static_cast<unsigned>(Mark)) != 0; }

    unsigned marks = 0;
    QString text;
    QRgb colour = 0;
    bool selected = false;
    int tagLeft = 0;
};

QPalette RedPalette(const QWidget& Control) {
    QPalette palette = Control.palette();
    palette.setColor(QPalette::WindowText, Qt::red);
    palette.setColor(QPalette::Text, Qt::red);
    return palette;
}

QLabel* NewNoticeLabel(TClaimTreePane& Pane, const QString& Caption) {
    auto* label = new QLabel(Pane.Content());
    label->setTextFormat(Qt::PlainText);
    label->setFont(LayoutFont(QStringLiteral("Times"), 14, true));
    label->setPalette(RedPalette(*label));
    label->setText(Caption);
    label->adjustSize();
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    return label;
}

// The two red lines that replace the tree of a document without claims,
// centred across the pane around its middle.
void AddEmptyDocumentNotice(TClaimTreePane& Pane) {
    // Scroll bars of an earlier drawing keep their room until the content is
    // shown again, and then go, since the notice is all the pane holds. The
    // width follows them through the right anchor.
    const int middle = Pane.maximumViewportSize().height() / 2;
    QLabel* first = NewNoticeLabel(Pane, QString::fromLatin1(NoClaimsNotice));
    first->setGeometry(2, middle - first->height() - 5, Pane.ClientWidth() - 4, first->height());
    QLabel* second = NewNoticeLabel(Pane, QString::fromLatin1(CheckInputNotice));
    second->setGeometry(2, middle + 5, Pane.ClientWidth() - 4, second->height());
    for (QLabel* label : {first, second}) {
        Pane.AnchorRight(label);
        label->show();
    }
}

// A flag that is set for a scope.
class TBusy {
public:
    explicit TBusy(bool& Flag) : flag(Flag) { flag = true; }
    ~TBusy() { flag = false; }
    TBusy(const TBusy&) = delete;
    TBusy& operator=(const TBusy&) = delete;

private:
    bool& flag;
};

} // namespace

// Fonts, colours and glyphs that the boxes share.
class TTreeDrawing::TBoxLook {
public:
    TBoxLook(const TClaimTreePane& Pane, const TImageList* Images)
        : font(Pane.Content()->font()), rootFont(font), images(Images) {
        rootFont.setBold(true);
        blue = red = Pane.Content()->palette();
        // The pane's white background role makes labels draw in the Text role.
        for (const QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text}) {
            blue.setColor(role, Qt::blue);
            red.setColor(role, Qt::red);
        }
    }

    const QFont& CaptionFont(const TClaimTreeNode& Node) const {
        return Node.Kind == TClaimKind::Independent ? rootFont : font;
    }
    const QPalette& CaptionPalette(const TClaimTreeNode& Node) const {
        return Node.Kind == TClaimKind::MultipleDependent ? red : blue;
    }
    const QFont& Font() const { return font; }

    QPixmap Glyph(int Index) const { return images != nullptr ? images->Image(Index) : QPixmap(); }
    QPixmap ExpandGlyph(TDisplayState State) const {
        return Glyph(State == TDisplayState::Collapsed ? TImageList::Expand : TImageList::Collapse);
    }
    QPixmap BranchGlyph(TBranchMode Mode) const {
        return Glyph(Mode == TBranchMode::AllBranches ? TImageList::ShowBranch
                                                      : TImageList::ShowAll);
    }
    static QString BranchHint(TBranchMode Mode) {
        return QString::fromLatin1(Mode == TBranchMode::AllBranches ? ShowBranchHint : ShowAllHint);
    }

private:
    QFont font;
    QFont rootFont;
    QPalette blue;
    QPalette red;
    const TImageList* images;
};

// The widgets of one box and the node whose box they show; the buttons ask
// here which node was clicked, so a set can move to another box.
struct TTreeDrawing::TBoxWidgets {
    TClaimTreeNode* Node = nullptr;
    unsigned Kind = 0;  // KindOf the boxes the set fits
    TNodeView Controls; // the widgets while the set is spare
};

namespace {

// Sets of widgets fit boxes alike in which widgets they have.
unsigned KindOf(bool HasChildren, bool HasParent, bool Decomposes) {
    return (HasChildren ? 1U : 0U) | (HasParent ? 2U : 0U) | (Decomposes ? 4U : 0U);
}

// Moves the widget handles from one view to another.
void MoveControls(TNodeView& From, TNodeView& To) {
    To.ExpandButton = From.ExpandButton;
    To.ShowTextButton = From.ShowTextButton;
    To.HideTextButton = From.HideTextButton;
    To.BranchButton = From.BranchButton;
    To.DecomposeButton = From.DecomposeButton;
    To.TextMemo = From.TextMemo;
    To.CaptionLabel = From.CaptionLabel;
    To.DependentsLabel = From.DependentsLabel;
    To.LinkLine = From.LinkLine;
    To.ChildLine = From.ChildLine;
    ForgetControls(From);
}

// Spare sets kept at least, whatever the window holds.
constexpr std::size_t MinSpareSets = 256;

} // namespace

// A label's caption with its auto-sized extent, and the memo text, which are
// the same for every box of a claim.
struct TTreeDrawing::TClaimLook {
    bool HasChildren = false;
    QString Caption;
    QString Hint; // the claim's category
    QSize CaptionSize;
    QString Dependents;
    QSize DependentsSize;
    std::shared_ptr<const TMemoText> Memo;
};

// The roots the drawing shows: all of them, or the one ShownRoot names.
std::vector<TClaimTreeNode*> TTreeDrawing::ShownRoots() const {
    std::vector<TClaimTreeNode*> shown;
    if (shownRoot == -1) {
        for (TClaimTreeNode* root : tree.Roots) {
            if (root != nullptr)
                shown.push_back(root);
        }
    } else if (shownRoot >= 0 && static_cast<std::size_t>(shownRoot) < tree.Roots.size() &&
               tree.Roots[static_cast<std::size_t>(shownRoot)] != nullptr) {
        shown.push_back(tree.Roots[static_cast<std::size_t>(shownRoot)]);
    }
    return shown;
}

namespace {

QString CategoryText(TClaimCategory Category) {
    switch (Category) {
    case TClaimCategory::Method:
        return QStringLiteral("method");
    case TClaimCategory::Apparatus:
        return QStringLiteral("apparatus");
    case TClaimCategory::Product:
        return QStringLiteral("product");
    case TClaimCategory::Use:
        return QStringLiteral("use");
    case TClaimCategory::Medium:
        return QStringLiteral("computer-readable medium");
    case TClaimCategory::MeansPlusFunction:
        return QStringLiteral("means-plus-function");
    case TClaimCategory::Unknown:
        break;
    }
    return QString();
}

} // namespace

// "Method claim", "Method claim, referring to apparatus claim 1", by claim
// index; empty where the category is unknown.
std::vector<QString> CategoryHints(const TClaimTree& Tree) {
    std::vector<QString> hints;
    hints.reserve(Tree.Claims.size());
    for (const TCategoryOfClaim& of : ClaimCategories(Tree)) {
        QString hint = CategoryText(of.Category);
        if (!hint.isEmpty()) {
            hint[0] = hint[0].toUpper();
            hint += QStringLiteral(" claim");
        }
        if (!hint.isEmpty() && of.OtherCategoryClaim != 0)
            hint += QStringLiteral(", referring to %1 claim %2")
                        .arg(CategoryText(of.OtherCategory))
                        .arg(of.OtherCategoryClaim);
        hints.push_back(hint);
    }
    return hints;
}

QString NodeLimitNotice(int32_t FirstLeftOut) {
    return QStringLiteral("The tree is too large to build whole: claim %1 and the claims after it "
                          "are left out.")
        .arg(FirstLeftOut);
}

QString DrawingLimitNotice(int64_t Boxes) {
    return QStringLiteral("The tree is too large to draw whole: only its first %1 boxes are shown.")
        .arg(Boxes);
}

QString RefusedClaimNotice(int32_t Number) {
    return QStringLiteral("The tree is too large to open claim %1 further: the node limit is "
                          "reached.")
        .arg(Number);
}

TTreeDrawing::TTreeDrawing(TClaimTree& Tree) : tree(Tree) {}

TTreeDrawing::~TTreeDrawing() {
    if (pane == nullptr || pane->Drawing() != this)
        return;
    ReleaseAll(nullptr);
    delete notice.data();
    pane->SetDrawing(nullptr);
    if (pane->DrawnTree() == &tree)
        pane->SetDrawnTree(nullptr);
    pane->SetDrawingExtent(QSize());
    pane->FitContent();
}

TClaimTreePane* TTreeDrawing::Pane() const {
    return pane;
}

TNodeView& TTreeDrawing::View(const TClaimTreeNode& Node) {
    if (Node.Index >= views.size()) {
        views.resize(std::max<std::size_t>(Node.Index + 1,
                                           static_cast<std::size_t>(tree.CreatedNodeCount())));
        rowOf.resize(views.size());
    }
    std::as_const(*this).View(Node); // brings RowTop up to date
    return views[Node.Index];
}

const TNodeView& TTreeDrawing::View(const TClaimTreeNode& Node) const {
    static const TNodeView unmet;
    if (Node.Index >= views.size())
        return unmet;
    TNodeView& view = views[Node.Index];
    if (layouts != 0 && view.Layout == layouts) {
        const std::size_t row = rowOf[Node.Index];
        if (row < rows.size() && rows[row].Node == &Node)
            view.RowTop = rows[row].Top;
    }
    return view;
}

bool TTreeDrawing::IsCarrying(const TClaimTreeNode& Node) const {
    if (Node.Kind != TClaimKind::MultipleDependent)
        return true;
    return InClaimTable(Node.Number) &&
           tree.SubtreeNodeByClaim[static_cast<std::size_t>(Node.Number)] == &Node;
}

bool TTreeDrawing::IsLaidOut(const TClaimTreeNode& Node) const {
    return Node.OwnerTree() == &tree && layouts != 0 && View(Node).Layout == layouts;
}

bool TTreeDrawing::IsShown(const TClaimTreeNode& Node) const {
    return IsLaidOut(Node) && View(Node).DisplayState != TDisplayState::Hidden;
}

void TTreeDrawing::Attach(TClaimTreePane& Pane) {
    if (pane != nullptr && pane != &Pane && pane->Drawing() == this) {
        ReleaseAll(nullptr);
        delete notice.data();
        pane->SetDrawing(nullptr);
        pane->SetDrawingExtent(QSize());
    }
    // Whatever the pane holds goes, the boxes of any drawing included; their
    // nodes forget them first.
    Pane.DestroyComponents();
    pane = &Pane;
    Pane.SetDrawing(this);
    memoPaneWidth = Pane.width();
    rows.clear();
    refusedClaims.clear();
    extentRight = extentBottom = -1;
}

void TTreeDrawing::Detach() {
    for (const auto& [node, box] : live)
        ForgetControls(views[node]);
    live.clear();
    for (auto& kind : spare)
        kind.clear();
    spareCount = 0;
    markers.clear();
    notice = nullptr;
    rows.clear();
    extentRight = extentBottom = -1;
    pane = nullptr;
}

const TTreeDrawing::TClaimLook& TTreeDrawing::LookOf(const TClaimTreeNode& Node) const {
    const TClaim& claim = *Node.Claim;
    if (claim.Index >= looks.size())
        looks.resize(std::max(claim.Index + 1, tree.Claims.size()));
    std::unique_ptr<TClaimLook>& known = looks[claim.Index];
    if (known)
        return *known;
    known = std::make_unique<TClaimLook>();
    const QFont font = pane != nullptr ? pane->Content()->font() : QFont();
    QFont captionFont = font;
    captionFont.setBold(claim.Kind == TClaimKind::Independent);
    known->Caption = BoxLabelText(claim.Caption());
    if (categoryHints.empty())
        categoryHints = CategoryHints(tree);
    if (claim.Index < categoryHints.size())
        known->Hint = categoryHints[claim.Index];
    known->CaptionSize = QSize(QFontMetrics(captionFont).horizontalAdvance(known->Caption),
                               QFontMetrics(captionFont).height());
    // Every node of a claim has the same children in the whole tree.
    known->HasChildren = Node.HasChildren();
    if (known->HasChildren) {
        for (int32_t number : Node.ChildNumbers())
            AppendDependent(known->Dependents, number);
        const QFontMetrics metrics(font);
        known->DependentsSize =
            QSize(metrics.horizontalAdvance(known->Dependents), metrics.height());
    }
    known->Memo = std::make_shared<TMemoText>(claim.Text, tree.TextIsUtf8);
    return *known;
}

int TTreeDrawing::MemoWidth(int MemoLeft, const TClaimLook& Look) const {
    const int room = memoPaneWidth - MemoLeft - MemoRightGap;
    const int wanted = Look.Memo->WidestLine() + MemoExtraWidth;
    if (room <= 0)
        return std::min(wanted, CrampedMemoWidth);
    return std::min(room, wanted);
}

int TTreeDrawing::MemoHeight(TTextMode Mode, const TClaimLook& Look, int Width) {
    if (Mode != TTextMode::Preview && Mode != TTextMode::Whole)
        return -1;
    const int lines =
        Look.Memo->WrappedLineCount(Width - TClaimMemo::LeftMargin - TClaimMemo::RightMargin);
    const int full = TClaimMemo::LineHeight() * lines + MemoExtraHeight;
    return Mode == TTextMode::Whole ? full : std::min(full, PreviewHeight);
}

TRowGeometry TTreeDrawing::Geometry(const TDrawnRow& Row) const {
    return Geometry(*Row.Node, Row.Top);
}

TRowGeometry TTreeDrawing::Geometry(const TClaimTreeNode& Node, int Top) const {
    constexpr int button = TGlyphButton::Size;
    TRowGeometry g;
    const TClaimLook& look = LookOf(Node);
    const TNodeView& view = View(Node);
    const bool hasChildren = look.HasChildren;
    g.Shown = view.DisplayState != TDisplayState::Hidden;
    const int left = view.RowLeft;
    int x = left;
    int height = std::max(button, look.CaptionSize.height());

    if (g.Shown && Node.Parent != nullptr) {
        g.LinkLine =
            QRect(View(*Node.Parent).RowLeft + LineOffset, Top + LineOffset, LinkLength, 1);
        g.LinkLineShown = true;
    } else {
        g.LinkLine = QRect(left - 1, Top - 1, 1, 1);
    }
    if (hasChildren) {
        g.Expand = QRect(x, Top, button, button);
        g.ChildLine = QRect(left + LineOffset, Top + ChildLineTop, 1, 1);
        g.ChildLineShown = view.DisplayState == TDisplayState::Expanded;
        x += ButtonPitch;
    }
    g.Caption = QRect(QPoint(x, Top), look.CaptionSize);
    x += look.CaptionSize.width() + LabelGap;
    if (const TBoxTag* tag = pane != nullptr ? pane->BoxTag(Node.Number) : nullptr) {
        g.Tag = QRect(x, Top, tag->Width, button);
        x += tag->Width + LabelGap;
    }
    g.ShowText = QRect(x, Top, button, button);
    x += ButtonPitch;
    g.HideText = QRect(x, Top, button, button);
    x += ButtonPitch;
    if (Node.Parent != nullptr) {
        g.Branch = QRect(x, Top, button, button);
        g.BranchShown = g.Shown && Node.Kind != TClaimKind::MultipleDependent;
        if (Node.Kind != TClaimKind::MultipleDependent)
            x += ButtonPitch;
    }
    if (decomposeHandler) {
        g.Decompose = QRect(x, Top, button, button);
        x += ButtonPitch;
    }
    if (hasChildren) {
        g.Dependents = QRect(QPoint(x, Top), look.DependentsSize);
        height = std::max(height, look.DependentsSize.height());
    }

    int y = Top;
    if (g.Shown) {
        y += height;
        if (view.TextMode != TTextMode::None)
            y += TextGap;
    }
    const int memoLeft = left + MemoIndent;
    const int memoWidth = MemoWidth(memoLeft, look);
    const int memoHeight = MemoHeight(view.TextMode, look, memoWidth);
    g.Memo = QRect(memoLeft, y, memoWidth, memoHeight);
    g.MemoShown = view.TextMode != TTextMode::None && g.Shown;
    if (g.MemoShown)
        y += memoHeight;
    if (g.Shown)
        y += BoxGap;
    g.Height = y - Top;

    if (g.Shown) {
        for (const QRect& part :
             {g.Expand, g.Caption, g.Tag, g.ShowText, g.HideText, g.Decompose, g.Dependents}) {
            if (!part.isEmpty())
                g.Extent |= part;
        }
        if (g.BranchShown)
            g.Extent |= g.Branch;
        if (g.LinkLineShown)
            g.Extent |= g.LinkLine;
        if (g.MemoShown)
            g.Extent |= g.Memo;
    }
    return g;
}

TClaimTreeNode* TTreeDrawing::NodeAt(QPoint ContentPoint) const {
    const auto row = std::partition_point(rows.begin(), rows.end(), [&](const TDrawnRow& r) {
        return r.Top + r.Height <= ContentPoint.y();
    });
    if (row == rows.end() || row->Top > ContentPoint.y())
        return nullptr;
    return row->Node;
}

bool TTreeDrawing::LayOutSubtree(TClaimTreeNode& Top, int32_t Level, int& Y, int64_t& Budget,
                                 std::size_t& Next, bool InPlace) {
    struct TFrame {
        TClaimTreeNode* Node;
        std::size_t NextChild;
        bool Carrying;
        std::ptrdiff_t Row;
    };
    int& y = Y;
    bool fits = true;

    // Places N's row at y and returns its index, or -1 past the budget.
    const auto addRow = [&](TClaimTreeNode& N, int32_t Level) -> std::ptrdiff_t {
        TNodeView& view = View(N);
        view.RowTop = y;
        view.RowLeft = N.Parent != nullptr ? View(*N.Parent).RowLeft + LevelIndent : RootLeft;
        if (N.Kind == TClaimKind::MultipleDependent &&
            view.DisplayState == TDisplayState::Expanded && !IsCarrying(N))
            view.DisplayState = TDisplayState::Collapsed;
        if (InPlace && (Next >= rows.size() || rows[Next].Node != &N || y > MaxContentY)) {
            fits = false;
            return -1;
        }
        // Past the budget, or where the content widget could not reach.
        if (!InPlace && (Budget <= 0 || y > MaxContentY)) {
            truncated = true;
            return -1;
        }
        --Budget;
        view.Layout = layouts;
        rowOf[N.Index] = Next;
        TDrawnRow row{&N, Level, y, 0, -1};
        // A hidden box takes no room and covers nothing.
        if (view.DisplayState != TDisplayState::Hidden) {
            const TRowGeometry g = Geometry(N, y);
            row.Height = g.Height;
            row.Right = g.Extent.right();
            row.Bottom = g.Extent.bottom();
        }
        if (InPlace) {
            // A box that showed no child had its subtree hidden; when it
            // does not open now, the subtree stays hidden and its rows only
            // move.
            const bool closedSubtree =
                rows[Next].ChildLineHeight == -1 && view.DisplayState != TDisplayState::Expanded;
            rows[Next] = row;
            if (closedSubtree) {
                y += row.Height;
                std::size_t below = Next + 1;
                for (; below < rows.size() && rows[below].Level > Level; ++below)
                    rows[below].Top = y;
                Next = below;
                return -2;
            }
        } else {
            rows.push_back(row);
        }
        y += row.Height;
        return static_cast<std::ptrdiff_t>(Next++);
    };

    std::vector<TFrame> stack;
    const std::ptrdiff_t topRow = addRow(Top, Level);
    if (topRow == -2)
        return fits;
    stack.push_back({&Top, 0, IsCarrying(Top), topRow});
    while (!stack.empty() && fits) {
        TFrame& frame = stack.back();
        TClaimTreeNode& node = *frame.Node;
        if (frame.NextChild == node.Children.size()) {
            // The vertical line ends on the link line of the last shown child.
            if (frame.Row >= 0) {
                for (auto child = node.Children.rbegin(); child != node.Children.rend(); ++child) {
                    if (*child != nullptr && View(**child).DisplayState != TDisplayState::Hidden) {
                        rows[static_cast<std::size_t>(frame.Row)].ChildLineHeight =
                            View(**child).RowTop - View(node).RowTop - LineOffset;
                        break;
                    }
                }
            }
            stack.pop_back();
            continue;
        }
        TClaimTreeNode* child = node.Children[frame.NextChild++];
        if (child == nullptr)
            continue;
        if (View(node).DisplayState != TDisplayState::Expanded)
            View(*child).DisplayState = TDisplayState::Hidden;
        if (frame.Carrying) {
            const auto level = Level + static_cast<int32_t>(stack.size());
            const bool carrying = IsCarrying(*child);
            const std::ptrdiff_t row = addRow(*child, level);
            if (row != -2)
                stack.push_back({child, 0, carrying, row});
        }
    }
    return fits;
}

void TTreeDrawing::LayOutRows() {
    rows.clear();
    truncated = false;
    if (++layouts == 0)
        layouts = 1;
    int64_t budget = pane != nullptr ? pane->MaxBoxes() : MaxDrawnBoxes;
    int y = FirstRowTop;
    std::size_t next = 0;
    for (TClaimTreeNode* shownRoot : ShownRoots())
        LayOutSubtree(*shownRoot, 0, y, budget, next, false);
    rowsEnd = y;
    FindExtent();
}

bool TTreeDrawing::LayOutAgain(const TClaimTreeNode* Node) {
    if (Node == nullptr) {
        int y = FirstRowTop;
        int64_t budget = 0;
        std::size_t next = 0;
        for (TClaimTreeNode* shownRoot : ShownRoots()) {
            if (!LayOutSubtree(*shownRoot, 0, y, budget, next, true))
                return false;
        }
        if (next != rows.size())
            return false;
        rowsEnd = y;
        FindExtent();
        return true;
    }
    return LayOutAgainBelow(*Node);
}

void TTreeDrawing::FindExtent() {
    extentRight = extentBottom = -1;
    for (const TDrawnRow& row : rows) {
        if (row.Height > 0) {
            extentRight = std::max(extentRight, row.Right);
            extentBottom = std::max(extentBottom, row.Bottom);
        }
    }
}

bool TTreeDrawing::SubtreeRows(const TClaimTreeNode& Node, std::size_t& First,
                               std::size_t& End) const {
    First = RowOf(Node);
    if (First >= rows.size() || rows[First].Node != &Node)
        return false;
    const int32_t level = rows[First].Level;
    End = First + 1;
    while (End < rows.size() && rows[End].Level > level)
        ++End;
    return true;
}

bool TTreeDrawing::LayOutAgainBelow(const TClaimTreeNode& Node) {
    std::size_t first = 0;
    std::size_t end = 0;
    if (!SubtreeRows(Node, first, end))
        return false;
    const int32_t level = rows[first].Level;
    const int oldEnd = end < rows.size() ? rows[end].Top : rowsEnd;
    const auto subtreeRight = [&] {
        int right = -1;
        for (std::size_t i = first; i < end; ++i) {
            if (rows[i].Height > 0)
                right = std::max(right, rows[i].Right);
        }
        return right;
    };
    const int oldRight = subtreeRight();
    int y = rows[first].Top;
    int64_t budget = 0;
    std::size_t next = first;
    if (!LayOutSubtree(*rows[first].Node, level, y, budget, next, true) || next != end)
        return false;
    const int delta = y - oldEnd;
    rowsEnd += delta;
    if (delta != 0 && end < rows.size()) {
        if (rows.back().Top + delta > MaxContentY)
            return false;
        for (std::size_t i = end; i < rows.size(); ++i) {
            rows[i].Top += delta;
            rows[i].Bottom += delta;
        }
    }
    if (!MeetChildLines(Node))
        return false;
    // The widest row stays the widest unless the subtree held it and narrowed.
    const int newRight = subtreeRight();
    if (oldRight < extentRight || newRight >= extentRight) {
        extentRight = std::max(extentRight, newRight);
    } else {
        FindExtent();
        return true;
    }
    // Rows never overlap: the last shown row reaches lowest.
    extentBottom = -1;
    for (std::size_t i = rows.size(); i-- > 0;) {
        if (rows[i].Height > 0) {
            extentBottom = rows[i].Bottom;
            break;
        }
    }
    return true;
}

// The vertical lines that run past the subtree end lower or higher.
bool TTreeDrawing::MeetChildLines(const TClaimTreeNode& Node) {
    for (const TClaimTreeNode* up = Node.Parent; up != nullptr; up = up->Parent) {
        if (RowOf(*up) >= rows.size() || rows[RowOf(*up)].Node != up)
            return false;
        TDrawnRow& row = rows[RowOf(*up)];
        row.ChildLineHeight = -1;
        for (auto child = up->Children.rbegin(); child != up->Children.rend(); ++child) {
            if (*child != nullptr && View(**child).DisplayState != TDisplayState::Hidden) {
                row.ChildLineHeight = View(**child).RowTop - row.Top - LineOffset;
                break;
            }
        }
    }
    return true;
}

bool TTreeDrawing::LayOutSubtreesAnew(TClaimTreeNode* Old, TClaimTreeNode& New) {
    struct TPart {
        TClaimTreeNode* Node;
        std::size_t First; // its old rows
        std::size_t End;
        std::size_t FreshFirst; // its new rows, laid out after all others
        std::size_t FreshEnd;
    };
    std::array<TPart, 2> parts{};
    std::size_t count = 0;
    for (TClaimTreeNode* node : {Old, &New}) {
        if (node == nullptr)
            continue;
        TPart& part = parts[count++];
        part.Node = node;
        if (!SubtreeRows(*node, part.First, part.End))
            return false;
    }
    if (count == 2 && parts[1].First < parts[0].First)
        std::swap(parts[0], parts[1]);
    // One subtree inside the other: the whole layout sorts it out.
    if (count == 2 && parts[0].End > parts[1].First)
        return false;

    const std::size_t oldSize = rows.size();
    const auto oldTop = [&](std::size_t Row) { return Row < oldSize ? rows[Row].Top : rowsEnd; };
    int oldRight = -1;
    std::size_t kept = oldSize;
    for (std::size_t p = 0; p < count; ++p) {
        kept -= parts[p].End - parts[p].First;
        for (std::size_t i = parts[p].First; i < parts[p].End; ++i) {
            if (rows[i].Height > 0)
                oldRight = std::max(oldRight, rows[i].Right);
            // The old rows leave the layout; those the new one keeps come back.
            if (i > parts[p].First)
                views[rows[i].Node->Index].Layout = 0;
        }
    }
    // The new rows go after all others first, then take the old ones' place
    // in one pass: the rows between and below move once, and are visited
    // only when they move.
    const int64_t maxBoxes = pane != nullptr ? pane->MaxBoxes() : MaxDrawnBoxes;
    int64_t budget = maxBoxes - static_cast<int64_t>(kept);
    std::array<int, 2> shiftAfter{}; // how far the rows after each part move down
    int shift = 0;
    for (std::size_t p = 0; p < count; ++p) {
        TPart& part = parts[p];
        int y = rows[part.First].Top + shift;
        part.FreshFirst = rows.size();
        std::size_t next = rows.size();
        LayOutSubtree(*part.Node, rows[part.First].Level, y, budget, next, false);
        if (truncated)
            return false;
        part.FreshEnd = rows.size();
        shift = y - oldTop(part.End);
        shiftAfter[p] = shift;
        // The last row that moves by this much must stay within reach.
        const std::size_t lastMoved = p + 1 < count ? parts[p + 1].First : oldSize;
        if (lastMoved > part.End && rows[lastMoved - 1].Top + shift > MaxContentY)
            return false;
    }

    const auto at = [](std::size_t Index) { return static_cast<std::ptrdiff_t>(Index); };
    const std::size_t segmentFirst = parts[0].First;
    const std::size_t segmentEnd = parts[count - 1].End;
    std::vector<TDrawnRow> segment;
    segment.reserve(segmentEnd - segmentFirst +
                    (oldSize == rows.size() ? 0 : rows.size() - oldSize));
    int newRight = -1;
    for (std::size_t p = 0; p < count; ++p) {
        const TPart& part = parts[p];
        for (std::size_t i = part.FreshFirst; i < part.FreshEnd; ++i) {
            if (rows[i].Height > 0)
                newRight = std::max(newRight, rows[i].Right);
        }
        segment.insert(segment.end(), rows.begin() + at(part.FreshFirst),
                       rows.begin() + at(part.FreshEnd));
        const std::size_t gapEnd = p + 1 < count ? parts[p + 1].First : part.End;
        segment.insert(segment.end(), rows.begin() + at(part.End), rows.begin() + at(gapEnd));
    }
    rows.resize(oldSize);
    const std::size_t oldSegment = segmentEnd - segmentFirst;
    if (segment.size() > oldSegment)
        rows.insert(rows.begin() + at(segmentEnd), segment.size() - oldSegment, TDrawnRow{});
    else
        rows.erase(rows.begin() + at(segmentFirst + segment.size()), rows.begin() + at(segmentEnd));
    std::copy(segment.begin(), segment.end(), rows.begin() + at(segmentFirst));

    // The new rows and the rows between get their indexes; the rows between
    // and below move down by the shift of the part above them.
    const auto move = [&](std::size_t From, std::size_t To, int Shift, bool Renumber) {
        for (std::size_t i = From; i < To; ++i) {
            TDrawnRow& row = rows[i];
            row.Top += Shift;
            if (row.Height > 0)
                row.Bottom += Shift;
            if (Renumber)
                rowOf[row.Node->Index] = i;
        }
    };
    std::size_t i = segmentFirst;
    for (std::size_t p = 0; p < count; ++p) {
        const TPart& part = parts[p];
        const std::size_t freshEnd = i + (part.FreshEnd - part.FreshFirst);
        move(i, freshEnd, 0, true);
        const std::size_t gapEnd =
            freshEnd + ((p + 1 < count ? parts[p + 1].First : part.End) - part.End);
        // Rows between keep their indexes when the part above kept its count.
        if (freshEnd != part.End || shiftAfter[p] != 0)
            move(freshEnd, gapEnd, shiftAfter[p], freshEnd != part.End);
        i = gapEnd;
    }
    if (rows.size() != oldSize || shift != 0)
        move(segmentFirst + segment.size(), rows.size(), shift, rows.size() != oldSize);
    rowsEnd += shift;

    for (std::size_t p = 0; p < count; ++p) {
        if (!MeetChildLines(*parts[p].Node))
            return false;
    }
    // The widest row stays the widest unless the old rows held it.
    if (oldRight < extentRight || newRight >= extentRight) {
        extentRight = std::max(extentRight, newRight);
        // Rows never overlap: the last shown row reaches lowest.
        extentBottom = -1;
        for (std::size_t r = rows.size(); r-- > 0;) {
            if (rows[r].Height > 0) {
                extentBottom = rows[r].Bottom;
                break;
            }
        }
    } else {
        FindExtent();
    }
    return true;
}

void TTreeDrawing::RelayoutMoved(TClaimTreeNode* Old, TClaimTreeNode& New,
                                 QRect TRowGeometry::*KeepInView) {
    if (pane == nullptr || busy)
        return;
    if (truncated || rows.empty() || !IsLaidOut(New)) {
        Relayout();
        return;
    }
    TRedrawLock lock(pane);
    {
        const TBusy busyNow(busy);
        // The old box first: its rows go, and New's row moves with the rest.
        if (!LayOutSubtreesAnew(Old != nullptr && IsLaidOut(*Old) ? Old : nullptr, New))
            LayOutRows();
        ShowLayout(&New, KeepInView);
    }
    pane->FitContent();
}

void TTreeDrawing::ShowLayout(const TClaimTreeNode* Keep, QRect TRowGeometry::*Part) {
    pane->SetDrawingExtent(QSize(extentRight + 1, extentBottom + 1));
    // Fitting the content may move the view; the widgets follow below.
    pane->FitContent();
    // Scrolling first gives widgets only to the rows that end up in view.
    if (Keep != nullptr && Part != nullptr && IsLaidOut(*Keep)) {
        const QRect place = Geometry(*Keep, View(*Keep).RowTop).*Part;
        if (!place.isEmpty())
            pane->ScrollInView(place);
    }
    Materialise(true);
    ShowNotice(rowsEnd);
}

void TTreeDrawing::Relayout() {
    if (pane == nullptr || busy)
        return;
    TRedrawLock lock(pane);
    {
        const TBusy busyNow(busy);
        LayOutRows();
        ShowLayout();
    }
    pane->FitContent();
}

void TTreeDrawing::RelayoutBelow(const TClaimTreeNode* Node, QRect TRowGeometry::*KeepInView) {
    if (pane == nullptr || busy)
        return;
    if (truncated || rows.empty() || (Node != nullptr && !IsLaidOut(*Node))) {
        Relayout();
        return;
    }
    TRedrawLock lock(pane);
    {
        const TBusy busyNow(busy);
        if (!LayOutAgain(Node))
            LayOutRows();
        ShowLayout(Node, KeepInView);
    }
    pane->FitContent();
}

void TTreeDrawing::ViewMoved() {
    if (pane == nullptr || busy || rows.size() <= FullDrawingRows)
        return;
    Materialise(false);
}

void TTreeDrawing::MarksChanged() {
    if (pane == nullptr || busy)
        return;
    const TBusy busyNow(busy);
    Materialise(true);
}

void TTreeDrawing::Materialise(bool Force) {
    std::size_t first = 0;
    std::size_t last = rows.size();
    const bool full = rows.size() <= FullDrawingRows;
    if (!full) {
        // Several screens above and below the view, so that scrolling meets
        // boxes that are ready.
        const int viewTop = pane->verticalScrollBar()->value();
        const int viewHeight = std::max(pane->ClientHeight(), 1);
        const int margin = std::max(4 * viewHeight, 3000);
        const int windowTop = viewTop - margin;
        const int windowBottom = viewTop + viewHeight + margin;
        first =
            static_cast<std::size_t>(std::partition_point(rows.begin(), rows.end(),
                                                          [&](const TDrawnRow& r) {
                                                              return r.Top + r.Height <= windowTop;
                                                          }) -
                                     rows.begin());
        last = static_cast<std::size_t>(
            std::partition_point(rows.begin() + static_cast<std::ptrdiff_t>(first), rows.end(),
                                 [&](const TDrawnRow& r) { return r.Top < windowBottom; }) -
            rows.begin());
    }
    if (!Force && first == windowFirst && last == windowLast)
        return;
    windowFirst = first;
    windowLast = last;

    // The rows that get widgets: those in the window and, when rows above it
    // are left out, the ancestors of its first row, whose vertical lines run
    // down through the window.
    std::vector<std::size_t> chosen;
    std::size_t firstShown = first;
    while (firstShown < last && rows[firstShown].Height == 0)
        ++firstShown;
    if (!full && firstShown < last) {
        for (const TClaimTreeNode* up = rows[firstShown].Node->Parent; up != nullptr;
             up = up->Parent) {
            const int upTop = View(*up).RowTop;
            auto at = std::partition_point(rows.begin(),
                                           rows.begin() + static_cast<std::ptrdiff_t>(first),
                                           [&](const TDrawnRow& r) { return r.Top < upTop; });
            while (at != rows.end() && at->Top == upTop && at->Node != up)
                ++at;
            if (at != rows.end() && at->Node == up)
                chosen.push_back(static_cast<std::size_t>(at - rows.begin()));
        }
        std::reverse(chosen.begin(), chosen.end());
    }
    for (std::size_t i = first; i < last; ++i) {
        if (full || rows[i].Height > 0)
            chosen.push_back(i);
    }

    std::unordered_set<std::size_t> wanted;
    wanted.reserve(chosen.size());
    for (std::size_t i : chosen)
        wanted.insert(rows[i].Node->Index);
    // Enough spare sets to fill the window again after a jump.
    spareLimit = std::max(wanted.size(), MinSpareSets);
    std::vector<std::size_t> leaving;
    for (const auto& [node, box] : live) {
        if (wanted.count(node) == 0)
            leaving.push_back(node);
    }
    for (std::size_t node : leaving)
        Recycle(node);

    // Creating many controls under a shown pane costs an event each.
    std::unique_ptr<TRedrawLock> lock;
    const TBoxLook look(*pane, images);
    for (std::size_t i : chosen) {
        const TDrawnRow& row = rows[i];
        if (View(*row.Node).CaptionLabel == nullptr) {
            if (!lock)
                lock = std::make_unique<TRedrawLock>(pane);
            if (!Reuse(*row.Node, look))
                Create(*row.Node, look);
        }
        Place(row, look);
    }
}

TGlyphButton* TTreeDrawing::NewButton(TBoxWidgets& Box,
                                      void (TTreeDrawing::*Click)(TClaimTreeNode&, QObject*),
                                      const QPixmap& Glyph, const char* Hint) {
    auto* button = new TGlyphButton(pane->Content());
    button->SetGlyph(Glyph);
    button->setToolTip(QString::fromLatin1(Hint));
    TBoxWidgets* box = &Box;
    QObject::connect(button, &QAbstractButton::clicked, button, [this, box, button, Click] {
        RunTreeHandler([this, box, button, Click] {
            if (box->Node != nullptr)
                (this->*Click)(*box->Node, button);
        });
    });
    return button;
}

void TTreeDrawing::Create(TClaimTreeNode& N, const TBoxLook& Look) {
    QWidget* content = pane->Content();
    TNodeView& v = View(N);
    auto made = std::make_unique<TBoxWidgets>();
    TBoxWidgets& box = *made;
    box.Node = &N;
    box.Kind = KindOf(LookOf(N).HasChildren, N.Parent != nullptr, bool(decomposeHandler));
    live[N.Index] = std::move(made);
    const TClaimLook& text = LookOf(N);
    const auto newLabel = [&](const QString& Text, const QFont& Font) {
        auto* label = new TBoxLabel(content);
        if (Font != Look.Font())
            label->setFont(Font);
        label->setText(Text);
        return label;
    };
    // In the order in which they paint over each other: a link line passes
    // under the expand button.
    v.LinkLine = new TDottedLine(content);
    const bool hasChildren = text.HasChildren;
    if (hasChildren) {
        v.ExpandButton = NewButton(box, &TTreeDrawing::ExpandButtonClick,
                                   Look.ExpandGlyph(v.DisplayState), ExpandHint);
        v.ChildLine = new TDottedLine(content);
        v.ChildLine->resize(1, 1);
    }
    v.CaptionLabel = newLabel(text.Caption, Look.CaptionFont(N));
    v.CaptionLabel->setPalette(Look.CaptionPalette(N));
    SetHint(v.CaptionLabel, text.Hint);
    v.ShowTextButton = NewButton(box, &TTreeDrawing::ShowTextButtonClick,
                                 Look.Glyph(TImageList::ShowText), ShowTextHint);
    v.HideTextButton = NewButton(box, &TTreeDrawing::HideTextButtonClick,
                                 Look.Glyph(TImageList::HideText), HideTextHint);
    if (N.Parent != nullptr) {
        v.BranchButton =
            NewButton(box, &TTreeDrawing::BranchButtonClick, Look.BranchGlyph(branchMode),
                      branchMode == TBranchMode::AllBranches ? ShowBranchHint : ShowAllHint);
    }
    if (decomposeHandler) {
        v.DecomposeButton = NewButton(box, &TTreeDrawing::DecomposeButtonClick,
                                      Look.Glyph(TImageList::Decompose), DecomposeHint);
    }
    if (hasChildren)
        v.DependentsLabel = newLabel(text.Dependents, Look.Font());
    v.TextMemo = new TClaimMemo(content);
    v.TextMemo->SetText(text.Memo);
}

bool TTreeDrawing::Reuse(TClaimTreeNode& N, const TBoxLook& Look) {
    const TClaimLook& text = LookOf(N);
    auto& kind = spare[KindOf(text.HasChildren, N.Parent != nullptr, bool(decomposeHandler))];
    if (kind.empty())
        return false;
    std::unique_ptr<TBoxWidgets> box = std::move(kind.back());
    kind.pop_back();
    --spareCount;
    box->Node = &N;
    TNodeView& v = View(N);
    MoveControls(box->Controls, v);
    // On top, in the order of making, as a new set would be: where lines of
    // two boxes cross, the later box's line is drawn over.
    ForEachControl(v, [](QWidget* Control) { Control->raise(); });
    // What a new set would show; the layout places the rest.
    if (v.ChildLine != nullptr)
        v.ChildLine->resize(1, 1);
    const QFont& font = Look.CaptionFont(N);
    if (v.CaptionLabel->font() != font)
        v.CaptionLabel->setFont(font);
    v.CaptionLabel->setPalette(Look.CaptionPalette(N));
    v.CaptionLabel->setText(text.Caption);
    SetHint(v.CaptionLabel, text.Hint);
    if (v.DependentsLabel != nullptr)
        v.DependentsLabel->setText(text.Dependents);
    v.TextMemo->SetText(text.Memo);
    live[N.Index] = std::move(box);
    return true;
}

void TTreeDrawing::Recycle(std::size_t Node) {
    const auto known = live.find(Node);
    if (known == live.end())
        return;
    std::unique_ptr<TBoxWidgets> box = std::move(known->second);
    live.erase(known);
    const auto marker = markers.find(Node);
    if (marker != markers.end()) {
        Discard(marker->second.data());
        markers.erase(marker);
    }
    if (spareCount >= spareLimit) {
        ForEachControl(views[Node], Discard);
        ForgetControls(views[Node]);
        return;
    }
    ForEachControl(views[Node], [](QWidget* Control) { SetShown(Control, false); });
    box->Node = nullptr;
    MoveControls(views[Node], box->Controls);
    spare[box->Kind].push_back(std::move(box));
    ++spareCount;
}

void TTreeDrawing::Place(const TDrawnRow& Row, const TBoxLook& Look) {
    TClaimTreeNode& node = *Row.Node;
    TNodeView& N = View(node);
    const TRowGeometry g = Geometry(node, Row.Top);
    SetGeometry(N.LinkLine, g.LinkLine);
    SetShown(N.LinkLine, g.LinkLineShown);
    if (N.ExpandButton != nullptr) {
        SetGeometry(N.ExpandButton, g.Expand);
        SetShown(N.ExpandButton, g.Shown);
        N.ExpandButton->SetGlyph(Look.ExpandGlyph(N.DisplayState));
    }
    if (N.ChildLine != nullptr) {
        // Without a shown child the line is hidden and keeps its length.
        const int length = Row.ChildLineHeight > 0 ? Row.ChildLineHeight : N.ChildLine->height();
        SetGeometry(N.ChildLine, QRect(g.ChildLine.x(), g.ChildLine.y(), 1, length));
        SetShown(N.ChildLine, g.ChildLineShown);
    }
    SetGeometry(N.CaptionLabel, g.Caption);
    SetShown(N.CaptionLabel, g.Shown);
    SetGeometry(N.ShowTextButton, g.ShowText);
    SetShown(N.ShowTextButton, g.Shown);
    SetGeometry(N.HideTextButton, g.HideText);
    SetShown(N.HideTextButton, g.Shown);
    if (N.BranchButton != nullptr) {
        SetGeometry(N.BranchButton, g.Branch);
        SetShown(N.BranchButton, g.BranchShown);
        N.BranchButton->SetGlyph(Look.BranchGlyph(branchMode));
        SetHint(N.BranchButton, TBoxLook::BranchHint(branchMode));
    }
    if (N.DecomposeButton != nullptr) {
        SetGeometry(N.DecomposeButton, g.Decompose);
        SetShown(N.DecomposeButton, g.Shown);
    }
    if (N.DependentsLabel != nullptr) {
        SetGeometry(N.DependentsLabel, g.Dependents);
        SetShown(N.DependentsLabel, g.Shown);
    }
    // A memo whose text is hidden keeps the height it last had.
    QRect memo = g.Memo;
    if (memo.height() < 0)
        memo.setHeight(N.TextMemo->height());
    SetGeometry(N.TextMemo, memo);
    SetShown(N.TextMemo, g.MemoShown);
    PlaceMarker(node, g);
}

void TTreeDrawing::PlaceMarker(const TClaimTreeNode& Node, const TRowGeometry& Geometry) {
    const unsigned marks = Geometry.Shown ? pane->BoxMarks(Node.Number) : 0;
    const TBoxTag* tag =
        Geometry.Shown && !Geometry.Tag.isEmpty() ? pane->BoxTag(Node.Number) : nullptr;
    const auto known = markers.find(Node.Index);
    if (marks == 0 && tag == nullptr) {
        if (known != markers.end()) {
            Discard(known->second.data());
            markers.erase(known);
        }
        return;
    }
    QWidget* marker = known != markers.end() ? known->second.data() : nullptr;
    if (marker == nullptr) {
        marker = new TBoxMarker(pane->Content());
        marker->setObjectName(QStringLiteral("BoxMarker"));
        markers[Node.Index] = marker;
    }
    // The bar in the gap between the caption and the text buttons, the tag
    // after the gap.
    QRect place = marks != 0
                      ? QRect(Geometry.Caption.right() + MarkerGap, Geometry.Caption.top() + 1,
                              MarkerWidth, TGlyphButton::Size - 2)
                      : QRect();
    if (tag != nullptr)
        place |= Geometry.Tag;
    static_cast<TBoxMarker*>(marker)->SetMarks(
        marks, tag, tag != nullptr && pane->SelectedTag() == Node.Number,
        tag != nullptr ? Geometry.Tag.left() - place.left() : 0);
    SetGeometry(marker, place);
    SetShown(marker, true);
}

void TTreeDrawing::Release(std::size_t Node, bool Delete) {
    if (Delete) {
        ForEachControl(views[Node], Discard);
        const auto known = markers.find(Node);
        if (known != markers.end())
            Discard(known->second.data());
    }
    markers.erase(Node);
    ForgetControls(views[Node]);
}

void TTreeDrawing::ReleaseAll(const TClaimTreeNode* Busy) {
    const std::size_t busyIndex = Busy != nullptr ? Busy->Index : views.size();
    for (auto& kind : spare) {
        for (const std::unique_ptr<TBoxWidgets>& box : kind)
            ForEachControl(box->Controls, [](QWidget* control) { delete control; });
        kind.clear();
    }
    spareCount = 0;
    for (const auto& [node, box] : live) {
        if (node == busyIndex) {
            Release(node, true);
        } else {
            ForEachControl(views[node], [](QWidget* control) { delete control; });
            const auto known = markers.find(node);
            if (known != markers.end())
                delete known->second.data();
            Release(node, false);
        }
    }
    live.clear();
    windowFirst = windowLast = 0;
}

void TTreeDrawing::Retire(TClaimTreeNode& Node) {
    const auto known = live.find(Node.Index);
    if (known == live.end())
        return;
    live.erase(known);
    Release(Node.Index, true);
}

void TTreeDrawing::RetireAll(const TClaimTreeNode& Clicked) {
    ReleaseAll(&Clicked);
    delete notice.data();
}

void TTreeDrawing::NoteRefusedClaim(int32_t Number) {
    refusedClaims.assign(1, Number);
}

void TTreeDrawing::ShowNotice(int Top) {
    QStringList lines;
    if (truncated)
        lines << DrawingLimitNotice(static_cast<int64_t>(rows.size()));
    if (tree.NodeLimitReached && tree.FirstUnplaced < tree.Claims.size())
        lines << NodeLimitNotice(tree.Claims[tree.FirstUnplaced].Number);
    for (int32_t number : refusedClaims)
        lines << RefusedClaimNotice(number);
    if (lines.isEmpty()) {
        if (notice != nullptr)
            notice->hide();
        return;
    }
    if (notice == nullptr) {
        notice = new QLabel(pane->Content());
        notice->setObjectName(QLatin1String(LimitNoticeName));
        notice->setTextFormat(Qt::PlainText);
        QFont bold = pane->Content()->font();
        bold.setBold(true);
        notice->setFont(bold);
        notice->setPalette(RedPalette(*notice));
    }
    const QString text = lines.join(QLatin1Char('\n'));
    if (notice->text() != text) {
        notice->setText(text);
        notice->adjustSize();
    }
    if (notice->pos() != QPoint(RootLeft, Top))
        notice->move(RootLeft, Top);
    SetShown(notice, true);
}

void TTreeDrawing::ScrollInView(const TClaimTreeNode& Node, QRect TRowGeometry::*Part) {
    if (pane == nullptr || !IsLaidOut(Node))
        return;
    const QRect place = Geometry(Node, View(Node).RowTop).*Part;
    if (place.isEmpty())
        return;
    pane->ScrollInView(place);
    ViewMoved();
}

// Sets every drawn node below Root back to collapsed with its text hidden,
// as a drawing made from scratch shows it: each drawn child collapsed, the
// children of a copy that does not carry its subtree hidden.
void TTreeDrawing::ResetDrawnView(TClaimTreeNode& Root) {
    branchMode = TBranchMode::AllBranches;
    std::vector<TClaimTreeNode*> pending{&Root};
    while (!pending.empty()) {
        TClaimTreeNode& node = *pending.back();
        pending.pop_back();
        TNodeView& view = View(node);
        view.TextMode = TTextMode::None;
        view.DisplayState = TDisplayState::Collapsed;
        const bool carrying = IsCarrying(node);
        for (auto child = node.Children.rbegin(); child != node.Children.rend(); ++child) {
            if (*child == nullptr)
                continue;
            View(**child).DisplayState = TDisplayState::Hidden;
            if (carrying)
                pending.push_back(*child);
        }
    }
}

void TTreeDrawing::BuildDrawing(TClaimTreePane* Pane, const TImageList* Images,
                                TDecomposeHandler DecomposeHandler, int RootIndex, bool ResetView) {
    images = Images;
    decomposeHandler = std::move(DecomposeHandler);
    if (Pane == nullptr)
        return;
    const TRedrawLock lock(Pane);
    Attach(*Pane);
    Pane->SetDrawnTree(&tree);

    if (RootIndex == -1) {
        shownRoot = -1;
        for (TClaimTreeNode* root : tree.Roots) {
            if (root != nullptr && ResetView)
                ResetDrawnView(*root);
        }
    } else if (RootIndex >= 0 && static_cast<std::size_t>(RootIndex) < tree.Roots.size() &&
               tree.Roots[static_cast<std::size_t>(RootIndex)] != nullptr) {
        shownRoot = RootIndex;
        if (ResetView)
            ResetDrawnView(*tree.Roots[static_cast<std::size_t>(RootIndex)]);
    }
    if (tree.Roots.empty())
        AddEmptyDocumentNotice(*Pane);
    Relayout();
}
