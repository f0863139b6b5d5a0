#include "ExportRows.h"

#include "BoxLabel.h"
#include "ClaimMemo.h"
#include "ClaimTree.h"
#include "TreeView.h"

#include <unordered_map>
#include <utility>

namespace {

QString DependentsText(const std::vector<int32_t>& Numbers) {
    QString text;
    for (const int32_t number : Numbers)
        AppendDependent(text, number);
    return text;
}

// A claim's caption as its boxes show it, made once for all its rows.
class TCaptions {
public:
    const QString& Of(const TClaim& Claim) {
        QString& known = captions[&Claim];
        if (known.isNull())
            known = BoxLabelText(Claim.Caption());
        return known;
    }

private:
    std::unordered_map<const TClaim*, QString> captions;
};

// Cuts Rows to MaxRows, saying so.
void LimitRows(TExportTree& Export, int64_t MaxRows) {
    if (static_cast<int64_t>(Export.Rows.size()) <= MaxRows)
        return;
    Export.Rows.resize(static_cast<std::size_t>(MaxRows));
    Export.Notices << DrawingLimitNotice(MaxRows);
}

void AddNodeLimitNotice(const TClaimTree& Tree, TExportTree& Export) {
    if (Tree.NodeLimitReached && Tree.FirstUnplaced < Tree.Claims.size())
        Export.Notices << NodeLimitNotice(Tree.Claims[Tree.FirstUnplaced].Number);
}

} // namespace

TExportTree ShownExportTree(const TTreeDrawing& Drawing, int64_t MaxRows) {
    const TClaimTree& tree = Drawing.Tree();
    TExportTree exported;
    exported.BranchMode = Drawing.BranchMode();
    std::unordered_map<const TClaim*, std::shared_ptr<const TMemoText>> texts;
    TCaptions captions;
    for (const TDrawnRow& drawn : Drawing.Rows()) {
        if (drawn.Height == 0)
            continue;
        if (static_cast<int64_t>(exported.Rows.size()) > MaxRows)
            break;
        const TClaimTreeNode& node = *drawn.Node;
        const TNodeView& view = Drawing.View(node);
        TExportRow row;
        row.Depth = drawn.Level;
        row.Number = node.Number;
        row.Kind = node.Kind;
        row.Caption = captions.Of(*node.Claim);
        row.HasChildren = node.HasChildren();
        if (row.HasChildren)
            row.Dependents = DependentsText(node.ChildNumbers());
        row.Expanded = view.DisplayState == TDisplayState::Expanded && Drawing.IsCarrying(node) &&
                       !node.Children.empty();
        row.TextMode = view.TextMode;
        if (row.TextMode != TTextMode::None) {
            auto& text = texts[node.Claim];
            if (!text)
                text = std::make_shared<TMemoText>(node.Text(), tree.TextIsUtf8);
            row.Text = text;
        }
        exported.Rows.push_back(std::move(row));
    }
    LimitRows(exported, MaxRows);
    // Rows the drawing itself left out: the export shows what the window shows.
    if (Drawing.Truncated() && static_cast<int64_t>(exported.Rows.size()) <= MaxRows &&
        exported.Notices.isEmpty())
        exported.Notices << DrawingLimitNotice(static_cast<int64_t>(Drawing.Rows().size()));
    AddNodeLimitNotice(tree, exported);
    return exported;
}

TExportTree WholeExportTree(const TClaimTree& Tree, int64_t MaxRows) {
    TExportTree exported;
    std::vector<std::pair<int, const TClaim*>> nodes;
    const bool whole = Tree.ForEachFullTreeNode([&](int Depth, const TClaim& Claim) {
        nodes.emplace_back(Depth, &Claim);
        return static_cast<int64_t>(nodes.size()) <= MaxRows;
    });
    if (!whole && Tree.NodeLimitReached) {
        // The whole tree is unknown past the limit: the created nodes, every
        // box expanded, as far as they go.
        nodes.clear();
        std::vector<std::pair<const TClaimTreeNode*, int>> pending;
        for (auto root = Tree.Roots.rbegin(); root != Tree.Roots.rend(); ++root) {
            if (*root != nullptr)
                pending.emplace_back(*root, 0);
        }
        while (!pending.empty() && static_cast<int64_t>(nodes.size()) <= MaxRows) {
            const auto [node, depth] = pending.back();
            pending.pop_back();
            nodes.emplace_back(depth, node->Claim);
            for (auto child = node->Children.rbegin(); child != node->Children.rend(); ++child) {
                if (*child != nullptr)
                    pending.emplace_back(*child, depth + 1);
            }
        }
    }
    // Each row's dependants are the rows one level deeper below it.
    std::vector<std::size_t> parents;
    TCaptions captions;
    exported.Rows.reserve(nodes.size());
    for (const auto& [depth, claim] : nodes) {
        while (!parents.empty() && exported.Rows[parents.back()].Depth >= depth)
            parents.pop_back();
        if (!parents.empty()) {
            TExportRow& parent = exported.Rows[parents.back()];
            parent.HasChildren = parent.Expanded = true;
            AppendDependent(parent.Dependents, claim->Number);
        }
        TExportRow row;
        row.Depth = depth;
        row.Number = claim->Number;
        row.Kind = claim->Kind;
        row.Caption = captions.Of(*claim);
        parents.push_back(exported.Rows.size());
        exported.Rows.push_back(std::move(row));
    }
    LimitRows(exported, MaxRows);
    AddNodeLimitNotice(Tree, exported);
    return exported;
}

QString OutlineText(const TExportTree& Tree) {
    QString text;
    for (const TExportRow& row : Tree.Rows) {
        text += QString(row.Depth * 2, QLatin1Char(' '));
        text += row.Caption;
        text += QLatin1Char('\n');
    }
    return text;
}
