#pragma once

#include <QPointer>
#include <QRect>
#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <unordered_map>
#include <vector>

struct TClaim;
class QLabel;
class QObject;
class QPixmap;
class QWidget;
class TClaimMemo;
class TDottedLine;
class TGlyphButton;
class TImageList;
class TClaimTree;
class TClaimTreeNode;
class TClaimTreePane;
class TMemoText;

// Whether a box is shown, and its children with it.
enum class TDisplayState { Collapsed = 0, Expanded = 1, Hidden = 2 };

// How much of the claim's text a box shows under its row.
enum class TTextMode { None = 0, Preview = 1, Whole = 2 };

// Whether every drawn claim is shown, or only the path to one box ("Show
// branch"); the branch buttons offer the other.
enum class TBranchMode { AllBranches = 0, OneBranch = 1 };

using TDecomposeHandler = std::function<void(TClaimTreeNode*)>;

// The view state of one node: what the user made of its box, where the
// layout put it, and its widgets while it has them (null otherwise).
struct TNodeView {
    TDisplayState DisplayState = TDisplayState::Collapsed;
    TTextMode TextMode = TTextMode::None;
    unsigned Layout = 0; // the layout that last placed the box; 0 for none
    int RowLeft = 0;
    int RowTop = 0;
    TGlyphButton* ExpandButton = nullptr;
    TGlyphButton* ShowTextButton = nullptr;
    TGlyphButton* HideTextButton = nullptr;
    TGlyphButton* BranchButton = nullptr;
    TGlyphButton* DecomposeButton = nullptr;
    TClaimMemo* TextMemo = nullptr;
    QLabel* CaptionLabel = nullptr;
    QLabel* DependentsLabel = nullptr;
    TDottedLine* LinkLine = nullptr;
    TDottedLine* ChildLine = nullptr;
};

// One drawn box, in top-to-bottom order: every node the drawing shows or
// hides has one. Rows are plain data; widgets exist only for the rows in or
// near the visible area (all of them for trees of ordinary size).
struct TDrawnRow {
    TClaimTreeNode* Node = nullptr;
    int32_t Level = 0;        // 0 for a root
    int Top = 0;              // content y of the row
    int Height = 0;           // room down to the next row; 0 when hidden
    int ChildLineHeight = -1; // the vertical line down to the last shown child, if any
    int Right = -1;           // right and bottom pixel of what the shown row covers
    int Bottom = -1;
};

// Where the controls of one box stand, in content coordinates. A control the
// box does not have gets an empty rectangle.
struct TRowGeometry {
    bool Shown = false; // not hidden
    QRect LinkLine;
    bool LinkLineShown = false;
    QRect Expand;
    QRect ChildLine; // height 1; the row's ChildLineHeight gives the real one
    bool ChildLineShown = false;
    QRect Caption;
    QRect Tag; // empty for a box without a tag
    QRect ShowText;
    QRect HideText;
    QRect Branch;
    bool BranchShown = false;
    QRect Decompose;
    QRect Dependents;
    QRect Memo; // height -1 while TextMode leaves it
    bool MemoShown = false;
    int Height = 0; // room the box takes
    QRect Extent;   // what the shown controls cover
};

// The drawing of one tree in one pane: the view state of every node, the
// rows as data, and the widgets of the rows in or near the visible area.
// Whoever holds the tree holds its drawing too and destroys the drawing
// first; the drawing's destructor never reads a node, all the same.
class TTreeDrawing {
public:
    // Every row gets widgets while the drawing has at most this many rows.
    static constexpr std::size_t FullDrawingRows = 4096;

    explicit TTreeDrawing(TClaimTree& Tree);
    ~TTreeDrawing();
    TTreeDrawing(const TTreeDrawing&) = delete;
    TTreeDrawing& operator=(const TTreeDrawing&) = delete;

    TClaimTree& Tree() const { return tree; }
    TClaimTreePane* Pane() const;

    // Draws the tree into Pane, which it empties first: all roots when
    // RootIndex is -1, else that root alone (an index without a root draws
    // nothing and keeps ShownRoot). ResetView shows every drawn box
    // collapsed with its text hidden. Boxes get a Decompose button when
    // DecomposeHandler is set.
    void BuildDrawing(TClaimTreePane* Pane, const TImageList* Images,
                      TDecomposeHandler DecomposeHandler, int RootIndex, bool ResetView);
    void ExpandAll();
    void CollapseAll();
    void ExpandSubtree(TClaimTreeNode& Node);
    void CollapseSubtree(TClaimTreeNode& Node);
    // Opens the path down to Node and Node itself; null, with nothing
    // changed, when a copy on the way does not carry its claim's subtree or
    // the node limit refuses a copy's children. KeepOthers opens only the
    // boxes on the way that are closed, and leaves Node and every other
    // box as they are.
    TClaimTreeNode* Reveal(TClaimTreeNode& Node, bool KeepOthers = false);

    // The clicks on a box's buttons. Sender is the clicked button, or null.
    void ExpandButtonClick(TClaimTreeNode& Node, QObject* Sender);
    void ShowTextButtonClick(TClaimTreeNode& Node, QObject* Sender);
    void HideTextButtonClick(TClaimTreeNode& Node, QObject* Sender);
    void BranchButtonClick(TClaimTreeNode& Node, QObject* Sender);
    void DecomposeButtonClick(TClaimTreeNode& Node, QObject* Sender);

    // Node's view state; a node the drawing has not met yet is collapsed.
    TNodeView& View(const TClaimTreeNode& Node);
    const TNodeView& View(const TClaimTreeNode& Node) const;
    // Whether the drawing shows Node's subtree below Node: always, but for a
    // copy of a claim that depends on several claims that does not carry it.
    bool IsCarrying(const TClaimTreeNode& Node) const;
    // Whether the last layout placed Node's box, and whether it shows it.
    bool IsLaidOut(const TClaimTreeNode& Node) const;
    bool IsShown(const TClaimTreeNode& Node) const;

    TBranchMode BranchMode() const { return branchMode; }
    // The index in Roots of the one root drawn, or -1 for all.
    int ShownRoot() const { return shownRoot; }

    // Takes Pane over for a new build: the pane's previous drawing, whoever's,
    // lets go of its widgets, and the pane is emptied.
    void Attach(TClaimTreePane& Pane);
    // Forgets every widget without deleting it: the pane deletes them.
    void Detach();

    // The layout pass: the rows from the view state, then the widgets.
    void Relayout();
    // The same after a change of the view state of Node and its children
    // (of the roots and of paths down from them when Node is null) that
    // leaves the set of rows alone: only Node's subtree is laid out again,
    // the rows below move by the difference, and boxes hidden before and
    // after keep their hidden subtrees as they are.
    // With KeepInView, the view scrolls to that part of Node's box first.
    void RelayoutBelow(const TClaimTreeNode* Node, QRect TRowGeometry::*KeepInView = nullptr);
    // The same after the subtree of claim New's number moved from Old (null
    // when nothing carried it) to New: only the rows of the two boxes'
    // subtrees are made again, the rows between and below move.
    void RelayoutMoved(TClaimTreeNode* Old, TClaimTreeNode& New,
                       QRect TRowGeometry::*KeepInView = nullptr);
    // Widgets for the rows that scrolling or resizing brought near the view.
    void ViewMoved();
    // The box marks changed: the shown boxes show the new ones.
    void MarksChanged();

    // The rows as drawn, top to bottom; hidden boxes have Height 0.
    const std::vector<TDrawnRow>& Rows() const { return rows; }
    // Whether the last layout left rows out: too many, or too far down.
    bool Truncated() const { return truncated; }
    // Where the controls of Row stand; one function for layout and placing.
    TRowGeometry Geometry(const TDrawnRow& Row) const;
    TRowGeometry Geometry(const TClaimTreeNode& Node, int Top) const;
    // The shown box whose row band holds the content point, or null.
    TClaimTreeNode* NodeAt(QPoint ContentPoint) const;

    // Gives Node's widgets up, for a box whose widgets must be made anew;
    // they are deleted once the running event has ended.
    void Retire(TClaimTreeNode& Node);
    // The same for every box, Clicked's widgets being the only ones in use:
    // the next layout makes all widgets anew, in the order of the rows.
    void RetireAll(const TClaimTreeNode& Clicked);
    // Says at the end of the drawing that claim Number could not be opened
    // further because the node limit was reached.
    void NoteRefusedClaim(int32_t Number);
    // Scrolls the pane so that the part of Node's box that Part selects is
    // in view, Node's widgets included.
    void ScrollInView(const TClaimTreeNode& Node, QRect TRowGeometry::*Part);

private:
    struct TClaimLook;
    class TBoxLook;
    struct TBoxWidgets;

    const TClaimLook& LookOf(const TClaimTreeNode& Node) const;
    int MemoWidth(int MemoLeft, const TClaimLook& Look) const;
    static int MemoHeight(TTextMode Mode, const TClaimLook& Look, int Width);
    void LayOutRows();
    // Lays out the rows of Node's subtree from y = Top on, as row Next and
    // the rows after it. InPlace, the rows are there already, node for node,
    // and get new places: false when they are not, or a row would pass the
    // content's reach. Otherwise the rows are appended, the budget cutting
    // them.
    bool LayOutSubtree(TClaimTreeNode& Node, int32_t Level, int& Top, int64_t& Budget,
                       std::size_t& Next, bool InPlace);
    // The in-place passes of RelayoutBelow; false when a whole layout is needed.
    bool LayOutAgain(const TClaimTreeNode* Node);
    bool LayOutAgainBelow(const TClaimTreeNode& Node);
    // Lays the subtrees of Old (when given) and New out anew in place of
    // their old rows, which may differ in number; false when a whole layout
    // is needed.
    bool LayOutSubtreesAnew(TClaimTreeNode* Old, TClaimTreeNode& New);
    // Gives the vertical lines of Node's ancestors their new ends; false
    // when an ancestor's row is not where the layout left it.
    bool MeetChildLines(const TClaimTreeNode& Node);
    void FindExtent(); // of the shown rows
    // Sizes the content to the rows, scrolls Part of Keep's box in view when
    // given, and gives the rows near the view widgets.
    void ShowLayout(const TClaimTreeNode* Keep = nullptr, QRect TRowGeometry::*Part = nullptr);
    // The row of a node laid out by the last layout.
    std::size_t RowOf(const TClaimTreeNode& Node) const { return rowOf[Node.Index]; }
    // The rows of Node's subtree as laid out, [First, End); false when
    // Node's row is not where its index says.
    bool SubtreeRows(const TClaimTreeNode& Node, std::size_t& First, std::size_t& End) const;
    void Materialise(bool Force);
    TGlyphButton* NewButton(TBoxWidgets& Box,
                            void (TTreeDrawing::*Click)(TClaimTreeNode&, QObject*),
                            const QPixmap& Glyph, const char* Hint);
    void ResetDrawnView(TClaimTreeNode& Root);
    std::vector<TClaimTreeNode*> ShownRoots() const;
    TClaimTreePane* ClickedPane(const QObject* Sender) const;
    void RefuseToOpen(const TClaimTreeNode& Node);
    void SetChildrenState(const TClaimTreeNode& Node, TDisplayState State);
    void OpenPathTo(const TClaimTreeNode& Node, TDisplayState OtherState);
    void ExpandOrCollapseAll(void (TTreeDrawing::*Apply)(TClaimTreeNode&));
    void Create(TClaimTreeNode& Node, const TBoxLook& Look);
    // Binds a spare set of widgets of the right kind to Node; false when
    // there is none.
    bool Reuse(TClaimTreeNode& Node, const TBoxLook& Look);
    // Takes Node's widgets off its box and keeps them for another box, or
    // deletes them when enough are kept.
    void Recycle(std::size_t Node);
    void Place(const TDrawnRow& Row, const TBoxLook& Look);
    void PlaceMarker(const TClaimTreeNode& Node, const TRowGeometry& Geometry);
    void Release(std::size_t Node, bool Delete);
    // Deletes the widgets of every box; Busy's go once the running event has ended.
    void ReleaseAll(const TClaimTreeNode* Busy);
    void ShowNotice(int Top);

    TClaimTree& tree;
    QPointer<TClaimTreePane> pane;
    const TImageList* images = nullptr;
    TDecomposeHandler decomposeHandler;
    TBranchMode branchMode = TBranchMode::AllBranches;
    int shownRoot = -1;
    // By the node's Index; grows as nodes are met. A laid-out node's RowTop
    // is brought up to date from its row when it is asked for: the rows below
    // a click move without a visit to every node.
    mutable std::vector<TNodeView> views;
    mutable std::vector<std::size_t> rowOf; // by the node's Index: its row
    std::vector<TDrawnRow> rows;
    int rowsEnd = 0;      // y below the last row
    unsigned layouts = 0; // layouts made, the last one's number
    int extentRight = -1; // of all shown rows
    int extentBottom = -1;
    std::size_t windowFirst = 0; // rows that have widgets, as last materialised
    std::size_t windowLast = 0;
    bool truncated = false;
    bool busy = false;
    int memoPaneWidth = 0; // the pane's width at the build, for the memos
    // Nodes that have widgets, by Index, with the sets of widgets.
    std::unordered_map<std::size_t, std::unique_ptr<TBoxWidgets>> live;
    // Hidden sets of widgets for boxes that scroll into the window, by kind.
    std::array<std::vector<std::unique_ptr<TBoxWidgets>>, 8> spare;
    std::size_t spareCount = 0;
    std::size_t spareLimit = 0; // the most sets kept spare
    std::unordered_map<std::size_t, QPointer<QWidget>> markers;
    QPointer<QLabel> notice;
    std::vector<int32_t> refusedClaims;
    // By the claim's Index; made on first use.
    mutable std::vector<std::unique_ptr<TClaimLook>> looks;
    // Each claim's category, by Index, as the caption's tool tip says it;
    // found with the first look.
    mutable std::vector<QString> categoryHints;
};

// Scrolls the pane so that the caption of Node's box is in view.
inline void ScrollBoxInView(TTreeDrawing& Drawing, const TClaimTreeNode& Node) {
    Drawing.ScrollInView(Node, &TRowGeometry::Caption);
}
