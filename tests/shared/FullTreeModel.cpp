#include "FullTreeModel.h"

#include <map>

namespace {

void InsertUntilGone(std::string& Text, const std::string& Pattern, std::size_t InsertAt,
                     const std::string& Insertion) {
    for (std::size_t pos = Text.find(Pattern); pos != std::string::npos; pos = Text.find(Pattern))
        Text.insert(pos + InsertAt, Insertion);
}

} // namespace

std::string PrepareTextByRescanning(std::string_view Input) {
    std::string text(Input.substr(0, Input.find('\0')));
    for (int j = 1; j <= 99; ++j) {
        const std::string number = std::to_string(j) + ".";
        InsertUntilGone(text, "\n" + number + " ", 1, "  ");
        InsertUntilGone(text, "\r" + number + " ", 1, "  ");
        InsertUntilGone(text, "\n" + number + "\t", 1, "  ");
        InsertUntilGone(text, "\r" + number + "\t", 1, "  ");
    }
    const struct {
        const char* Open;
        const char* Word;
        const char* Close;
    } markers[] = {{"\n", "Claims", "\n"}, {"\n", "CLAIMS", "\n"}, {"\r", "Claims", "\n"},
                   {"\r", "CLAIMS", "\n"}, {"\r", "Claims", "\r"}, {"\r", "CLAIMS", "\r"},
                   {"\n", "Claims", "\r"}, {"\n", "CLAIMS", "\r"}};
    for (const auto& m : markers)
        InsertUntilGone(text, std::string(m.Open) + m.Word + m.Close, 7, ":");
    return text;
}

TFullTreeModel::TFullTreeModel(const TClaimTree& Tree, std::size_t MaxNodes)
    : NodesByClaim(ClaimTableSize) {
    for (const TClaim& claim : Tree.Claims) {
        if (!InClaimTable(claim.Number))
            continue;
        std::vector<int> created;
        if (claim.Kind == TClaimKind::Independent) {
            created.push_back(static_cast<int>(Nodes.size()));
            Nodes.push_back({claim.Index, claim.Number, -1, {}});
            Roots.push_back(created.back());
        } else {
            // The lists as they stood when this claim's placing began.
            const std::vector<std::vector<int>> snapshot = NodesByClaim;
            for (int32_t r : claim.ReferenceList()) {
                if (!InClaimTable(r))
                    continue;
                for (int parent : snapshot[static_cast<std::size_t>(r)]) {
                    if (Nodes.size() >= MaxNodes) {
                        Complete = false;
                        return;
                    }
                    const int node = static_cast<int>(Nodes.size());
                    Nodes.push_back({claim.Index, claim.Number, parent, {}});
                    Nodes[static_cast<std::size_t>(parent)].Children.push_back(node);
                    created.push_back(node);
                }
            }
        }
        auto& list = NodesByClaim[static_cast<std::size_t>(claim.Number)];
        list.insert(list.end(), created.begin(), created.end());
    }
}

namespace {

class TComparison {
public:
    TComparison(const TClaimTree& Tree, const TFullTreeModel& Model) : tree(Tree), model(Model) {}

    std::string Run() {
        if (!model.Complete)
            return "model incomplete";
        if (tree.Roots.size() != model.Roots.size())
            return "root count differs";
        for (std::size_t i = 0; i < tree.Roots.size() && error.empty(); ++i)
            Match(tree.Roots[i], model.Roots[i]);
        if (!error.empty())
            return error;
        return CheckTables();
    }

private:
    void Fail(const std::string& What, const TClaimTreeNode* Node) {
        if (error.empty())
            error = What + " at a node of claim " + std::to_string(Node->Number);
    }

    void Match(const TClaimTreeNode* Root, int ModelRoot) {
        std::vector<std::pair<const TClaimTreeNode*, int>> pending{{Root, ModelRoot}};
        while (!pending.empty() && error.empty()) {
            const auto [node, index] = pending.back();
            pending.pop_back();
            const TModelNode& m = model.Nodes[static_cast<std::size_t>(index)];
            if (node->Claim->Index != m.ClaimIndex || node->Number != m.Number)
                return Fail("claim differs", node);
            if (node->Kind != node->Claim->Kind && !(node->Claim->Kind == TClaimKind::Independent))
                return Fail("kind differs from the claim's", node);
            matched[node] = index;
            std::vector<int32_t> numbers;
            for (int child : m.Children)
                numbers.push_back(model.Nodes[static_cast<std::size_t>(child)].Number);
            if (node->ChildNumbers() != numbers)
                return Fail("child numbers differ", node);
            if (node->HasChildren() != !m.Children.empty())
                return Fail("HasChildren differs", node);
            if (!node->ChildrenCreated) {
                if (!node->Children.empty())
                    return Fail("uncreated children present", node);
                continue;
            }
            if (node->Children.size() != m.Children.size())
                return Fail("child count differs", node);
            for (std::size_t i = 0; i < node->Children.size(); ++i) {
                if (node->Children[i]->Parent != node)
                    return Fail("parent link broken", node);
                pending.emplace_back(node->Children[i], m.Children[i]);
            }
        }
    }

    std::string CheckTables() {
        std::size_t listed = 0;
        for (int32_t n = 0; n < ClaimTableSize; ++n) {
            const auto& nodes = tree.NodesByClaim[static_cast<std::size_t>(n)];
            const auto& modelNodes = model.NodesByClaim[static_cast<std::size_t>(n)];
            // Position of each model node in its list, to check the order.
            std::map<int, std::size_t> position;
            for (std::size_t i = 0; i < modelNodes.size(); ++i)
                position[modelNodes[i]] = i;
            std::size_t previous = 0;
            for (std::size_t i = 0; i < nodes.size(); ++i) {
                const auto it = matched.find(nodes[i]);
                if (it == matched.end())
                    return "NodesByClaim[" + std::to_string(n) + "] holds an unreachable node";
                const std::size_t at = position.at(it->second);
                if (i > 0 && at <= previous)
                    return "NodesByClaim[" + std::to_string(n) + "] is out of order";
                previous = at;
            }
            listed += nodes.size();
            if (nodes.empty() != modelNodes.empty())
                return "claim " + std::to_string(n) + " has nodes in one tree only";
            const TClaimTreeNode* carrier = tree.SubtreeNodeByClaim[static_cast<std::size_t>(n)];
            if (nodes.empty() ? carrier != nullptr : carrier != nodes.front())
                return "SubtreeNodeByClaim[" + std::to_string(n) + "] is not the first node";
        }
        if (listed != matched.size())
            return "NodesByClaim and the tree hold different nodes";
        if (static_cast<int64_t>(model.Nodes.size()) != tree.FullNodeCount)
            return "FullNodeCount differs";
        for (const TClaim& claim : tree.Claims) {
            int64_t count = 0;
            for (const TModelNode& node : model.Nodes)
                count += node.ClaimIndex == claim.Index;
            if (count != claim.FullNodeCount)
                return "FullNodeCount of claim " + std::to_string(claim.Number) + " differs";
        }
        return {};
    }

    const TClaimTree& tree;
    const TFullTreeModel& model;
    std::map<const TClaimTreeNode*, int> matched;
    std::string error;
};

} // namespace

std::string CompareWithModel(const TClaimTree& Tree, const TFullTreeModel& Model) {
    return TComparison(Tree, Model).Run();
}

void CreateAllNodes(TClaimTree& Tree) {
    std::vector<TClaimTreeNode*> pending(Tree.Roots.begin(), Tree.Roots.end());
    while (!pending.empty()) {
        TClaimTreeNode* node = pending.back();
        pending.pop_back();
        Tree.CreateChildren(node);
        pending.insert(pending.end(), node->Children.begin(), node->Children.end());
    }
}
