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

namespace {

// The pane of a click: the clicked button's, or else the one holding the box.
TClaimTreePane* ClickedPane(const QObject* Sender, const TClaimTreeNode& Node) {
    if (TClaimTreePane* pane = PaneOf(Sender))
        return pane;
    if (Node.Tree != nullptr && Node.Tree->Drawing)
        return Node.Tree->Drawing->Pane();
    return nullptr;
}

// Scrolls the part of Node's box that Part selects into view.
void ScrollPartInView(const TClaimTreeNode& Node, QRect TRowGeometry::*Part) {
    if (Node.Tree != nullptr && Node.Tree->Drawing)
        Node.Tree->Drawing->ScrollInView(Node, Part);
}

// Says at the end of the drawing that Node's claim cannot be opened further.
void RefuseToOpen(const TClaimTreeNode& Node) {
    TClaimTree* tree = Node.OwnerTree();
    if (!tree->Drawing)
        return;
    tree->Drawing->NoteRefusedClaim(Node.Number);
    tree->Drawing->Relayout();
}

void SetChildrenState(TClaimTreeNode& Node, int State) {
    ForEachChild(Node, [State](TClaimTreeNode& child) { child.DisplayState = State; });
}

// Only view state changes before the layout pass, which locks the pane for
// itself; locking around the state changes as well would show and hide every
// control once more for nothing.
void ExpandOrCollapseAll(TClaimTree& Tree, TClaimTreePane* Pane, void (TClaimTreeNode::*Apply)()) {
    if (Tree.ShownRoot == -1) {
        for (TClaimTreeNode* root : Tree.Roots) {
            if (root != nullptr)
                (root->*Apply)();
        }
    } else if (Tree.ShownRoot >= 0 &&
               static_cast<std::size_t>(Tree.ShownRoot) < Tree.Roots.size() &&
               Tree.Roots[static_cast<std::size_t>(Tree.ShownRoot)] != nullptr) {
        (Tree.Roots[static_cast<std::size_t>(Tree.ShownRoot)]->*Apply)();
    }
    Tree.Relayout(Pane);
}

// Walks up from Node: each node on the way is expanded, its other children
// get OtherState.
void OpenPathTo(TClaimTreeNode& Node, int OtherState) {
    TClaimTreeNode* below = &Node;
    for (TClaimTreeNode* at = Node.Parent; at != nullptr; below = at, at = at->Parent) {
        at->DisplayState = 1;
        ForEachChild(*at, [&](TClaimTreeNode& child) {
            if (&child != below)
                child.DisplayState = OtherState;
        });
    }
}

} // namespace

void TClaimTreeNode::ExpandButtonClick(QObject* Sender) {
    TClaimTree* tree = Tree;
    TClaimTreePane* pane = ClickedPane(Sender, *this);
    if (tree == nullptr || pane == nullptr)
        return;
    if (DisplayState == 0) {
        const bool startsCarrying = Kind == TClaimKind::MultipleDependent && InClaimTable(Number);
        if (startsCarrying && !tree->CreateChildren(this)) {
            RefuseToOpen(*this);
            return;
        }
        DisplayState = 1;
        SetChildrenState(*this, 0);
        if (startsCarrying) {
            tree->SubtreeNodeByClaim[static_cast<std::size_t>(Number)] = this;
            // The subtree moves here, drawn without a decomposition handler,
            // and the box gets a new expand button: this click is still
            // running inside the old one, which goes once it has ended.
            // A drawing with widgets for every box makes them all anew, so
            // that they stay in the order of the rows, as the new subtree's
            // rows come in the middle.
            if (tree->Drawing) {
                const bool everyBox = tree->Drawing->Rows().size() <= TTreeDrawing::FullDrawingRows;
                if (tree->DecomposeHandler || everyBox)
                    tree->Drawing->RetireAll(*this);
                else
                    tree->Drawing->Retire(*this);
                tree->DecomposeHandler = nullptr;
            }
        }
        tree->Relayout(pane);
        ScrollPartInView(*this, &TRowGeometry::Expand);
    } else if (DisplayState == 1) {
        DisplayState = 0;
        SetChildrenState(*this, 2);
        tree->Relayout(pane);
        ScrollPartInView(*this, &TRowGeometry::Expand);
    }
}

void TClaimTreeNode::ShowTextButtonClick(QObject* Sender) {
    TClaimTreePane* pane = ClickedPane(Sender, *this);
    if (Tree == nullptr || pane == nullptr)
        return;
    if (TextMode == 1) {
        // A second click shows the whole text only when the preview was cut.
        if (Tree->Drawing &&
            Tree->Drawing->Geometry(*this, RowTop).Memo.height() == BoxGeometry::PreviewHeight)
            TextMode = 2;
    } else {
        ++TextMode;
    }
    TextMode = std::min(TextMode, 2);
    Tree->Relayout(pane);
    ScrollPartInView(*this, &TRowGeometry::ShowText);
}

void TClaimTreeNode::HideTextButtonClick(QObject* Sender) {
    TClaimTreePane* pane = ClickedPane(Sender, *this);
    if (Tree == nullptr || pane == nullptr)
        return;
    TextMode = 0;
    Tree->Relayout(pane);
    ScrollPartInView(*this, &TRowGeometry::HideText);
}

void TClaimTreeNode::BranchButtonClick(QObject* Sender) {
    TClaimTree* tree = Tree;
    TClaimTreePane* pane = ClickedPane(Sender, *this);
    if (tree == nullptr || pane == nullptr)
        return;
    if (tree->BranchMode == 0) {
        for (TClaimTreeNode* root : tree->Roots) {
            if (root != nullptr)
                root->DisplayState = 2;
        }
        DisplayState = 0;
        OpenPathTo(*this, 2);
        tree->BranchMode = 1;
    } else {
        for (TClaimTreeNode* root : tree->Roots) {
            if (root != nullptr)
                root->DisplayState = 0;
        }
        SetChildrenState(*this, 0);
        OpenPathTo(*this, 0);
        tree->BranchMode = 0;
    }
    tree->Relayout(pane);
    ScrollPartInView(*this, &TRowGeometry::Branch);
}

void TClaimTreeNode::DecomposeButtonClick(QObject*) {
    if (Tree != nullptr && Tree->DecomposeHandler)
        Tree->DecomposeHandler(this);
}

void TClaimTree::ExpandAll(TClaimTreePane* Pane) {
    ExpandOrCollapseAll(*this, Pane, &TClaimTreeNode::ExpandSubtree);
}

void TClaimTree::CollapseAll(TClaimTreePane* Pane) {
    ExpandOrCollapseAll(*this, Pane, &TClaimTreeNode::CollapseSubtree);
}

void TClaimTreeNode::ExpandSubtree() {
    ForEachInSubtree(*this, [](TClaimTreeNode& node) {
        node.DisplayState = node.HasChildren() ? 1 : 0;
        node.TextMode = 0;
    });
}

void TClaimTreeNode::CollapseSubtree() {
    ForEachInSubtree(*this, [](TClaimTreeNode& node) {
        node.DisplayState = 0;
        node.TextMode = 0;
    });
}

TClaimTreeNode* TClaimTreeNode::Reveal() {
    TClaimTree* tree = OwnerTree();
    // Climb to the root first: a copy on the way that does not carry its
    // claim's subtree makes the node unrevealable, and nothing changes.
    std::vector<TClaimTreeNode*> path;
    for (TClaimTreeNode* node = this; node != nullptr; node = node->Parent) {
        if (node->Kind == TClaimKind::MultipleDependent) {
            if (!InClaimTable(node->Number))
                return nullptr;
            const TClaimTreeNode* carrying =
                tree->SubtreeNodeByClaim[static_cast<std::size_t>(node->Number)];
            if (carrying != nullptr && carrying != node)
                return nullptr;
        }
        path.push_back(node);
        if (node->Kind == TClaimKind::Independent)
            break;
    }
    // Children first: when the node limit refuses them, nothing has changed.
    for (TClaimTreeNode* node : path) {
        if (node->Kind == TClaimKind::MultipleDependent && !tree->CreateChildren(node)) {
            RefuseToOpen(*node);
            return nullptr;
        }
    }
    for (auto node = path.rbegin(); node != path.rend(); ++node) {
        TClaimTreeNode& at = **node;
        at.DisplayState = 1;
        if (at.Kind == TClaimKind::MultipleDependent)
            tree->SubtreeNodeByClaim[static_cast<std::size_t>(at.Number)] = &at;
        SetChildrenState(at, 0);
    }
    return this;
}
