#pragma once

#include "ClaimTree.h"

class QObject;

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
