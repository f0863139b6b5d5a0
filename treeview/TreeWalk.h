#pragma once

#include "ClaimTree.h"

class QObject;

// Whether the drawing shows Node's subtree below Node: always, except for a
// node of a claim that depends on several claims, whose subtree only the
// carrying copy (SubtreeNodeByClaim) shows.
inline bool IsCarrying(const TClaimTreeNode& Node, const TClaimTree& Tree) {
    if (Node.Kind != TClaimKind::MultipleDependent)
        return true;
    return InClaimTable(Node.Number) &&
           Tree.SubtreeNodeByClaim[static_cast<std::size_t>(Node.Number)] == &Node;
}

// Calls Visit(node) for every non-null child of Node, in order.
template <typename F> void ForEachChild(const TClaimTreeNode& Node, F&& Visit) {
    for (TClaimTreeNode* child : Node.Children) {
        if (child != nullptr)
            Visit(*child);
    }
}

// Calls Visit(node) for Node and every created node below it, each before its
// children, children in order; an explicit stack, so any depth is fine.
template <typename F> void ForEachInSubtree(TClaimTreeNode& Node, F&& Visit) {
    std::vector<TClaimTreeNode*> pending{&Node};
    while (!pending.empty()) {
        TClaimTreeNode* node = pending.back();
        pending.pop_back();
        Visit(*node);
        for (auto child = node->Children.rbegin(); child != node->Children.rend(); ++child) {
            if (*child != nullptr)
                pending.push_back(*child);
        }
    }
}

class TClaimTreePane;

// The tree pane that holds Control, or null.
TClaimTreePane* PaneOf(const QObject* Control);
