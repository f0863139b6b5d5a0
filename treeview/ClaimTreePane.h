#pragma once

#include <QPointer>
#include <QScrollArea>
#include <cstdint>
#include <vector>

class TClaimTree;

// The tree pane: a white scroll box whose content widget owns the drawn
// controls. Controls sit at content coordinates; the content widget covers
// the extents of its visible children, which gives the scroll range.
class TClaimTreePane : public QScrollArea {
    Q_OBJECT

public:
    explicit TClaimTreePane(QWidget* Parent = nullptr);

    // Parent of every control drawn into the pane.
    QWidget* Content() const { return content; }

    int ClientWidth() const;
    int ClientHeight() const;

    // Deletes every control the pane holds.
    void DestroyComponents();

    // The tree whose boxes the pane holds, or null; only compared, never
    // dereferenced, so a deleted tree is harmless.
    const TClaimTree* DrawnTree() const { return drawnTree; }
    void SetDrawnTree(const TClaimTree* Tree) { drawnTree = Tree; }

    // Boxes that one drawing may hold at most (MaxDrawnBoxes unless set).
    int64_t MaxBoxes() const { return maxBoxes; }
    void SetMaxBoxes(int64_t Boxes) { maxBoxes = Boxes; }

    // Keeps Control's right edge at the same distance from the pane's right
    // edge when the pane is resized.
    void AnchorRight(QWidget* Control);

    // Sizes the content to the extents of its visible children, at least the
    // visible area, so that the scroll range follows the picture.
    void FitContent();

    // Scrolls by the least amount that brings Control inside the visible
    // area, each direction on its own; a control larger than the visible area
    // gets its left or top edge shown. A null Control is ignored.
    void ScrollInView(QWidget* Control);

protected:
    void resizeEvent(QResizeEvent* Event) override;

private:
    QWidget* content;
    std::vector<QPointer<QWidget>> rightAnchored;
    const TClaimTree* drawnTree = nullptr;
    int64_t maxBoxes;
    int lastClientWidth = 0;
};
