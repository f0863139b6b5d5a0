// What the user does to the drawn tree: the buttons of a box, "+" and "-"
// above the pane, and revealing a claim's box from the Claims menu.

#include "BoxGeometry.h"
#include "TreeView.h"
#include "TreeWalk.h"

#include <QLabel>

TClaimTreePane* PaneOf(const QObject* Control) {
    for (QObject* parent = Control != nullptr ? Control->parent() : nullptr; parent != nullptr;
         parent = parent->parent()) {
        if (auto* pane = qobject_cast<TClaimTreePane*>(parent))
            return pane;
    }
    return nullptr;
}

// The pane of a click: the clicked button's, or else the one holding the boxes.
TClaimTreePane* TTreeDrawing::ClickedPane(const QObject* Sender) const {
    if (TClaimTreePane* clicked = PaneOf(Sender))
        return clicked;
    return pane;
}

// Says at the end of the drawing that Node's claim cannot be opened further.
void TTreeDrawing::RefuseToOpen(const TClaimTreeNode& Node) {
    NoteRefusedClaim(Node.Number);
    Relayout();
}

void TTreeDrawing::SetChildrenState(const TClaimTreeNode& Node, TDisplayState State) {
    for (TClaimTreeNode* child : Node.Children) {
        if (child != nullptr)
            View(*child).DisplayState = State;
    }
}

// Only view state changes before the layout pass, which locks the pane for
// itself; locking around the state changes as well would show and hide every
// control once more for nothing.
void TTreeDrawing::ExpandOrCollapseAll(void (TTreeDrawing::*Apply)(TClaimTreeNode&)) {
    for (TClaimTreeNode* root : ShownRoots())
        (this->*Apply)(*root);
    Relayout();
}

// Walks up from Node: each node on the way is expanded, its other children
// get OtherState.
void TTreeDrawing::OpenPathTo(const TClaimTreeNode& Node, TDisplayState OtherState) {
    const TClaimTreeNode* below = &Node;
    for (TClaimTreeNode* at = Node.Parent; at != nullptr; below = at, at = at->Parent) {
        View(*at).DisplayState = TDisplayState::Expanded;
        for (TClaimTreeNode* child : at->Children) {
            if (child != nullptr && child != below)
                View(*child).DisplayState = OtherState;
        }
    }
}

void TTreeDrawing::ExpandButtonClick(TClaimTreeNode& Node, QObject* Sender) {
    if (ClickedPane(Sender) == nullptr || Node.OwnerTree() != &tree)
        return;
    TNodeView& view = View(Node);
    if (view.DisplayState == TDisplayState::Collapsed) {
        const bool startsCarrying =
            Node.Kind == TClaimKind::MultipleDependent && InClaimTable(Node.Number);
        if (startsCarrying && !tree.CreateChildren(&Node)) {
            RefuseToOpen(Node);
            return;
        }
        View(Node).DisplayState = TDisplayState::Expanded;
        SetChildrenState(Node, TDisplayState::Collapsed);
        if (startsCarrying) {
            TClaimTreeNode*& carrying =
                tree.SubtreeNodeByClaim[static_cast<std::size_t>(Node.Number)];
            TClaimTreeNode* old = carrying;
            carrying = &Node;
            // The subtree moves here, drawn without a decomposition handler,
            // and the box gets a new expand button: this click is still
            // running inside the old one, which goes once it has ended.
            // A drawing with widgets for every box makes them all anew, so
            // that they stay in the order of the rows, as the new subtree's
            // rows come in the middle.
            const bool everyBox = rows.size() <= FullDrawingRows;
            if (decomposeHandler || everyBox)
                RetireAll(Node);
            else
                Retire(Node);
            decomposeHandler = nullptr;
            RelayoutMoved(old, Node, &TRowGeometry::Expand);
        } else {
            RelayoutBelow(&Node, &TRowGeometry::Expand);
        }
        ScrollInView(Node, &TRowGeometry::Expand);
    } else if (view.DisplayState == TDisplayState::Expanded) {
        view.DisplayState = TDisplayState::Collapsed;
        SetChildrenState(Node, TDisplayState::Hidden);
        RelayoutBelow(&Node, &TRowGeometry::Expand);
        ScrollInView(Node, &TRowGeometry::Expand);
    }
}

void TTreeDrawing::ShowTextButtonClick(TClaimTreeNode& Node, QObject* Sender) {
    if (ClickedPane(Sender) == nullptr || Node.OwnerTree() != &tree)
        return;
    TNodeView& view = View(Node);
    if (view.TextMode == TTextMode::Preview) {
        // A second click shows the whole text only when the preview was cut.
        if (Geometry(Node, view.RowTop).Memo.height() == BoxGeometry::PreviewHeight)
            view.TextMode = TTextMode::Whole;
    } else {
        view.TextMode = view.TextMode == TTextMode::None ? TTextMode::Preview : TTextMode::Whole;
    }
    RelayoutBelow(&Node, &TRowGeometry::ShowText);
    ScrollInView(Node, &TRowGeometry::ShowText);
}

void TTreeDrawing::HideTextButtonClick(TClaimTreeNode& Node, QObject* Sender) {
    if (ClickedPane(Sender) == nullptr || Node.OwnerTree() != &tree)
        return;
    View(Node).TextMode = TTextMode::None;
    RelayoutBelow(&Node, &TRowGeometry::HideText);
    ScrollInView(Node, &TRowGeometry::HideText);
}

void TTreeDrawing::BranchButtonClick(TClaimTreeNode& Node, QObject* Sender) {
    if (ClickedPane(Sender) == nullptr || Node.OwnerTree() != &tree)
        return;
    if (branchMode == TBranchMode::AllBranches) {
        for (TClaimTreeNode* root : tree.Roots) {
            if (root != nullptr)
                View(*root).DisplayState = TDisplayState::Hidden;
        }
        View(Node).DisplayState = TDisplayState::Collapsed;
        OpenPathTo(Node, TDisplayState::Hidden);
        branchMode = TBranchMode::OneBranch;
    } else {
        for (TClaimTreeNode* root : tree.Roots) {
            if (root != nullptr)
                View(*root).DisplayState = TDisplayState::Collapsed;
        }
        // A collapsed box keeps its children hidden, as the layout would
        // make them again.
        if (View(Node).DisplayState == TDisplayState::Expanded)
            SetChildrenState(Node, TDisplayState::Collapsed);
        OpenPathTo(Node, TDisplayState::Collapsed);
        branchMode = TBranchMode::AllBranches;
    }
    RelayoutBelow(nullptr);
    ScrollInView(Node, &TRowGeometry::Branch);
}

void TTreeDrawing::DecomposeButtonClick(TClaimTreeNode& Node, QObject*) {
    if (decomposeHandler)
        decomposeHandler(&Node);
}

void TTreeDrawing::ExpandAll() {
    ExpandOrCollapseAll(&TTreeDrawing::ExpandSubtree);
}

void TTreeDrawing::CollapseAll() {
    ExpandOrCollapseAll(&TTreeDrawing::CollapseSubtree);
}

void TTreeDrawing::ExpandSubtree(TClaimTreeNode& Node) {
    ForEachInSubtree(Node, [this](TClaimTreeNode& node) {
        TNodeView& view = View(node);
        view.DisplayState = node.HasChildren() ? TDisplayState::Expanded : TDisplayState::Collapsed;
        view.TextMode = TTextMode::None;
    });
}

void TTreeDrawing::CollapseSubtree(TClaimTreeNode& Node) {
    ForEachInSubtree(Node, [this](TClaimTreeNode& node) {
        TNodeView& view = View(node);
        view.DisplayState = TDisplayState::Collapsed;
        view.TextMode = TTextMode::None;
    });
}

TClaimTreeNode* TTreeDrawing::Reveal(TClaimTreeNode& Node, bool KeepOthers) {
    if (Node.OwnerTree() != &tree)
        return nullptr;
    // Climb to the root first: a copy on the way that does not carry its
    // claim's subtree makes the node unrevealable, and nothing changes.
    std::vector<TClaimTreeNode*> path;
    for (TClaimTreeNode* node = &Node; node != nullptr; node = node->Parent) {
        if (node->Kind == TClaimKind::MultipleDependent) {
            if (!InClaimTable(node->Number))
                return nullptr;
            const TClaimTreeNode* carrying =
                tree.SubtreeNodeByClaim[static_cast<std::size_t>(node->Number)];
            if (carrying != nullptr && carrying != node)
                return nullptr;
        }
        path.push_back(node);
        if (node->Kind == TClaimKind::Independent)
            break;
    }
    // Children first: when the node limit refuses them, nothing has changed.
    for (TClaimTreeNode* node : path) {
        if (KeepOthers && node == &Node)
            continue;
        if (node->Kind == TClaimKind::MultipleDependent && !tree.CreateChildren(node)) {
            RefuseToOpen(*node);
            return nullptr;
        }
    }
    for (auto node = path.rbegin(); node != path.rend(); ++node) {
        TClaimTreeNode& at = **node;
        if (KeepOthers && &at == &Node)
            break;
        if (KeepOthers && View(at).DisplayState == TDisplayState::Expanded) {
            // Open, yet its child on the way may be hidden by "Show branch".
            TNodeView& next = View(**(node + 1));
            if (next.DisplayState == TDisplayState::Hidden)
                next.DisplayState = TDisplayState::Collapsed;
            continue;
        }
        View(at).DisplayState = TDisplayState::Expanded;
        if (at.Kind == TClaimKind::MultipleDependent)
            tree.SubtreeNodeByClaim[static_cast<std::size_t>(at.Number)] = &at;
        SetChildrenState(at, TDisplayState::Collapsed);
    }
    return &Node;
}
