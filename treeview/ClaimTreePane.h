#pragma once

#include <QPointer>
#include <QRgb>
#include <QScrollArea>
#include <QString>
#include <cstdint>
#include <unordered_map>
#include <vector>

class QKeyEvent;
class TClaimTree;
class TClaimTreeNode;
class TTreeDrawing;

// Marks that a box can carry, as bits: the claim has problems found by the
// checks, or its text matches the find bar.
enum class TBoxMark : unsigned { Problem = 1, Found = 2 };

// A word or two on a coloured ground beside a box's caption, saying what the
// claim is to the reader (how it changed between two versions). The words
// carry the meaning; the colour only helps the eye.
struct TBoxTag {
    QString Text;
    QRgb Colour = 0xff808080;
    QString Hint;  // the tool tip
    int Width = 0; // in pixels, set by the pane
};

// The tree pane: a white scroll box whose content widget owns the drawn
// controls. Controls sit at content coordinates; the content widget covers
// the extents of its visible children, which gives the scroll range.
class TClaimTreePane : public QScrollArea {
    Q_OBJECT

public:
    explicit TClaimTreePane(QWidget* Parent = nullptr);
    ~TClaimTreePane() override;

    // Parent of every control drawn into the pane.
    QWidget* Content() const { return content; }

    int ClientWidth() const;
    int ClientHeight() const;

    // Deletes every control the pane holds; the drawing that placed boxes in
    // the pane lets go of them first.
    void DestroyComponents();

    // The drawing whose boxes the pane holds, or null.
    TTreeDrawing* Drawing() const { return drawing; }
    // A new drawing, or none, forgets the current box.
    void SetDrawing(TTreeDrawing* Drawing);
    // The extent of the whole drawing, which may be larger than that of the
    // controls it has made so far; FitContent covers it.
    void SetDrawingExtent(QSize Extent) { drawingExtent = Extent; }

    // The tree whose boxes the pane holds, or null; only compared, never
    // dereferenced, so a deleted tree is harmless.
    const TClaimTree* DrawnTree() const { return drawnTree; }
    void SetDrawnTree(const TClaimTree* Tree) { drawnTree = Tree; }

    // Boxes that one drawing may hold at most (MaxDrawnBoxes unless set).
    int64_t MaxBoxes() const { return maxBoxes; }
    void SetMaxBoxes(int64_t Boxes) { maxBoxes = Boxes; }

    // Marks of the boxes by claim number (bits of TBoxMark); a claim not in
    // Marks carries none. The drawing shows them on every box of the claim,
    // at once for the boxes shown.
    void SetBoxMarks(std::unordered_map<int32_t, unsigned> Marks);
    unsigned BoxMarks(int32_t ClaimNumber) const;

    // Tags of the boxes by claim number. Tags take room in a box's row, so
    // they are set before the drawing is built; a drawing built without
    // tags is laid out as ever.
    void SetBoxTags(std::unordered_map<int32_t, TBoxTag> Tags);
    const TBoxTag* BoxTag(int32_t ClaimNumber) const;
    // The claim whose tags are drawn framed, as the one selected; 0 for none.
    void SetSelectedTag(int32_t ClaimNumber);
    int32_t SelectedTag() const { return selectedTag; }

    // Keeps Control's right edge at the same distance from the pane's right
    // edge when the pane is resized.
    void AnchorRight(QWidget* Control);

    // Sizes the content to the extents of its visible children and of the
    // drawing, at least the visible area, so that the scroll range follows
    // the picture.
    void FitContent();

    // Scrolls by the least amount that brings Control inside the visible
    // area, each direction on its own; a control larger than the visible area
    // gets its left or top edge shown. A null Control is ignored.
    void ScrollInView(QWidget* Control);
    // The same for a rectangle in content coordinates.
    void ScrollInView(const QRect& ContentRect);

    // The box the keys act on, or null. It is forgotten with the drawing;
    // a box that a collapse hid gives way to its nearest shown ancestor.
    TClaimTreeNode* CurrentBox() const { return current; }
    // Makes Node, a box the drawing shows, the current box and scrolls it
    // into view; any other node is ignored.
    void SetCurrentBox(TClaimTreeNode* Node);
    // What a screen reader says for a box: its caption, which names the
    // claim, and whether its dependants are shown.
    static QString BoxAccessibleName(const TClaimTreeNode& Node, bool Expanded);

signals:
    // A box made current by a press of the mouse or by the keys.
    void BoxChosen(TClaimTreeNode* Node);

protected:
    void resizeEvent(QResizeEvent* Event) override;
    void scrollContentsBy(int Dx, int Dy) override;
    void keyPressEvent(QKeyEvent* Event) override;
    void focusInEvent(QFocusEvent* Event) override;
    void focusOutEvent(QFocusEvent* Event) override;
    void contextMenuEvent(QContextMenuEvent* Event) override;
    bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
    // The current box if shown, else its nearest shown ancestor, else the
    // first box in view; null without shown boxes.
    TClaimTreeNode* ShownCurrent() const;
    // Acts on a key; false for a key that is not the tree's.
    bool TreeKey(int Key, Qt::KeyboardModifiers Modifiers);
    void OpenBoxMenu(const TClaimTreeNode& Node);
    // Shows the focus mark around the current box while the keyboard is in
    // the pane, hides it otherwise.
    void UpdateFocusMark();

    QWidget* content;
    QWidget* focusMark; // on the viewport, above the content
    TClaimTreeNode* current = nullptr;
    // Set once the pane is reached or used from the keyboard, so that a
    // click alone leaves the picture as it was.
    bool keyboardUsed = false;
    std::vector<QPointer<QWidget>> rightAnchored;
    const TClaimTree* drawnTree = nullptr;
    TTreeDrawing* drawing = nullptr;
    QSize drawingExtent;
    std::unordered_map<int32_t, unsigned> boxMarks;
    std::unordered_map<int32_t, TBoxTag> boxTags;
    int32_t selectedTag = 0;
    int64_t maxBoxes;
    int lastClientWidth = 0;
};
