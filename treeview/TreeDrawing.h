#pragma once

#include <QPointer>
#include <QRect>
#include <QString>
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

struct TClaim;
class QLabel;
class QObject;
class QPixmap;
class QWidget;
class TGlyphButton;
class TClaimTree;
class TClaimTreeNode;
class TClaimTreePane;
class TMemoText;

// One drawn box, in top-to-bottom order: every node the drawing shows or
// hides has one. Rows are plain data; widgets exist only for the rows in or
// near the visible area (all of them for trees of ordinary size).
struct TDrawnRow {
    TClaimTreeNode* Node = nullptr;
    int32_t Level = 0;        // 0 for a root
    int Top = 0;              // content y of the row
    int Height = 0;           // room down to the next row; 0 when hidden
    int ChildLineHeight = -1; // the vertical line down to the last shown child, if any
};

// Where the controls of one box stand, in content coordinates. A control the
// box does not have gets an empty rectangle.
struct TRowGeometry {
    bool Shown = false; // DisplayState is not 2
    QRect LinkLine;
    bool LinkLineShown = false;
    QRect Expand;
    QRect ChildLine; // height 1; the row's ChildLineHeight gives the real one
    bool ChildLineShown = false;
    QRect Caption;
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

// The drawing of one tree in one pane: the rows as data, and the widgets of
// the rows in or near the visible area. Owned by its tree (TClaimTree::Drawing)
// and destroyed before the tree's nodes, so no widget outlives its node.
class TTreeDrawing {
public:
    // Every row gets widgets while the drawing has at most this many rows.
    static constexpr std::size_t FullDrawingRows = 4096;

    explicit TTreeDrawing(TClaimTree& Tree);
    ~TTreeDrawing();
    TTreeDrawing(const TTreeDrawing&) = delete;
    TTreeDrawing& operator=(const TTreeDrawing&) = delete;

    // The drawing of Tree, made on first use.
    static TTreeDrawing& Of(TClaimTree& Tree);
    // The drawing of Tree, or null when it was never drawn.
    static const TTreeDrawing* Find(const TClaimTree& Tree);

    TClaimTree& Tree() const { return tree; }
    TClaimTreePane* Pane() const { return pane; }

    // Takes Pane over for a new build: the pane's previous drawing, whoever's,
    // lets go of its widgets, and the pane is emptied.
    void Attach(TClaimTreePane& Pane);
    // Forgets every widget without deleting it: the pane deletes them.
    void Detach();

    // The layout pass: the rows from the view state, then the widgets.
    void Relayout();
    // Widgets for the rows that scrolling or resizing brought near the view.
    void ViewMoved();
    // The box marks changed: the shown boxes show the new ones.
    void MarksChanged();

    // The rows as drawn, top to bottom; hidden boxes have Height 0.
    const std::vector<TDrawnRow>& Rows() const { return rows; }
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

    const TClaimLook& LookOf(const TClaimTreeNode& Node) const;
    int MemoWidth(int MemoLeft, const TClaimLook& Look) const;
    static int MemoHeight(const TClaimTreeNode& Node, const TClaimLook& Look, int Width);
    void LayOutRows();
    void Materialise(bool Force);
    TGlyphButton* NewButton(TClaimTreeNode& N, void (TClaimTreeNode::*Click)(QObject*),
                            const QPixmap& Glyph, const char* Hint);
    void Create(TClaimTreeNode& Node, const TBoxLook& Look);
    void Place(const TDrawnRow& Row, const TBoxLook& Look);
    void PlaceMarker(const TClaimTreeNode& Node, const TRowGeometry& Geometry);
    void Release(TClaimTreeNode& Node, bool Delete);
    // Deletes the widgets of every box; Busy's go once the running event has ended.
    void ReleaseAll(const TClaimTreeNode* Busy);
    void ShowNotice(int Top);

    TClaimTree& tree;
    QPointer<TClaimTreePane> pane;
    std::vector<TDrawnRow> rows;
    int rowsEnd = 0; // y below the last row
    QRect extent;
    std::size_t windowFirst = 0; // rows that have widgets, as last materialised
    std::size_t windowLast = 0;
    bool truncated = false;
    bool busy = false;
    int memoPaneWidth = 0;             // the pane's width at the build, for the memos
    std::vector<TClaimTreeNode*> live; // nodes that have widgets
    std::unordered_map<const TClaimTreeNode*, QPointer<QWidget>> markers;
    QPointer<QLabel> notice;
    std::vector<int32_t> refusedClaims;
    // By the claim's Index; made on first use.
    mutable std::vector<std::unique_ptr<TClaimLook>> looks;
};

// Scrolls the pane that shows Node's box so that its caption is in view.
void ScrollBoxInView(const TClaimTreeNode& Node);
