#include "ClaimTree.h"

#include "ClaimSplitter.h"
#include "LenientReader.h"
#include "LenientReferences.h"
#include "ReferenceReader.h"
#include "TextEncoding.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace {

int64_t SaturatingAdd(int64_t a, int64_t b) {
    return a > SaturatedCount - b ? SaturatedCount : a + b;
}

// Saturating sums over claim numbers 0..1023, queried by range; a range
// reference costs a few steps however wide it is.
class TNumberSums {
public:
    void Add(int32_t Number, int64_t Value) {
        for (std::size_t i = static_cast<std::size_t>(Number) + ClaimTableSize; i >= 1; i /= 2)
            sums[i] = SaturatingAdd(sums[i], Value);
    }

    int64_t Sum(int32_t First, int32_t Last) const {
        int64_t total = 0;
        std::size_t lo = static_cast<std::size_t>(First) + ClaimTableSize;
        std::size_t hi = static_cast<std::size_t>(Last) + ClaimTableSize + 1;
        while (lo < hi) {
            if (lo & 1)
                total = SaturatingAdd(total, sums[lo++]);
            if (hi & 1)
                total = SaturatingAdd(total, sums[--hi]);
            lo /= 2;
            hi /= 2;
        }
        return total;
    }

private:
    std::array<int64_t, 2 * ClaimTableSize> sums{};
};

// The claim numbers that have nodes, with a quick walk over those in a range.
class TNumberSet {
public:
    void Insert(int32_t Number) {
        words[static_cast<std::size_t>(Number) / 64] |= uint64_t{1} << (Number % 64);
    }

    // Calls Visit(number) for each member in First..Last, ascending, until it
    // returns false.
    template <typename F> bool ForEachIn(int32_t First, int32_t Last, F&& Visit) const {
        for (int32_t w = First / 64; w <= Last / 64; ++w) {
            uint64_t bits = words[static_cast<std::size_t>(w)];
            if (w == First / 64)
                bits &= ~uint64_t{0} << (First % 64);
            if (w == Last / 64 && Last % 64 != 63)
                bits &= (uint64_t{1} << (Last % 64 + 1)) - 1;
            while (bits != 0) {
                const int32_t number = w * 64 + std::countr_zero(bits);
                if (!Visit(number))
                    return false;
                bits &= bits - 1;
            }
        }
        return true;
    }

private:
    std::array<uint64_t, ClaimTableSize / 64> words{};
};

// The part of a run that lies inside the per-claim tables.
bool ClipToTable(const TReferenceRun& Run, int32_t& First, int32_t& Last) {
    First = std::max(Run.First, 0);
    Last = std::min(Run.Last, ClaimTableSize - 1);
    return First <= Last;
}

// Steps that "claim 1 or any claim dependent thereon" may take in one tree,
// in all: the walk over earlier claims would make a text of such phrases
// quadratic.
constexpr int64_t DependantWalkSteps = 20'000'000;

// Adds to Refs the claims before this one that depend on a claim of Of,
// directly or through others. False, and Refs as it was, when the steps ran out.
bool AddEarlierDependants(TReferences& Refs, const std::vector<int32_t>& Of,
                          const std::deque<TClaim>& Claims, int64_t& Steps) {
    std::vector<bool> reached(ClaimTableSize, false);
    for (int32_t n : Of) {
        if (InClaimTable(n))
            reached[static_cast<std::size_t>(n)] = true;
    }
    std::vector<TReferenceRun> runs = Refs.Runs;
    for (const TClaim& claim : Claims) {
        if (--Steps < 0)
            return false;
        // No reference names claim 0, though a text may number a claim so.
        if (claim.Number < 1 || !InClaimTable(claim.Number) ||
            reached[static_cast<std::size_t>(claim.Number)])
            continue;
        for (const TReferenceRun& run : claim.References) {
            const int32_t first = std::max<int32_t>(run.First, 0);
            const int32_t last = std::min<int32_t>(run.Last, ClaimTableSize - 1);
            Steps -= std::max<int64_t>(1, static_cast<int64_t>(last) - first + 1);
            if (Steps < 0)
                return false;
            bool hit = false;
            for (int32_t r = first; r <= last && !hit; ++r)
                hit = reached[static_cast<std::size_t>(r)];
            if (hit) {
                reached[static_cast<std::size_t>(claim.Number)] = true;
                runs.push_back({claim.Number, claim.Number});
                break;
            }
        }
    }
    Refs = ReferencesOf(std::move(runs));
    return true;
}

} // namespace

std::string TClaim::Caption() const {
    std::string caption = "Claim " + std::to_string(Number);
    if (Kind == TClaimKind::MultipleDependent)
        caption += " (dependent of " + DependencyText + ")";
    return caption;
}

std::vector<int32_t> TClaim::ReferenceList() const {
    std::vector<int32_t> list;
    for (const TReferenceRun& run : References) {
        for (int64_t v = run.First; v <= run.Last; ++v)
            list.push_back(static_cast<int32_t>(v));
    }
    return list;
}

// Places each claim as it is closed. Nodes are created in the order in which
// placing every copy would create them, skipping the children of multiple dependent nodes
// that do not carry their claim's subtree. With TNodes::Counted only the roots
// are created, and the rest is counted as if it were.
class TTreeBuilder {
public:
    TTreeBuilder(TClaimTree& Tree, int64_t MaxNodes, TNodes Nodes)
        : tree(Tree), maxNodes(MaxNodes), createNodes(Nodes == TNodes::Created) {}

    void Close(int32_t Number, std::string Text) {
        TClaim& claim = Open(Number, std::move(Text));
        Place(claim, ReadReferences(claim.Text, Number));
    }

    TClaim& Open(int32_t Number, std::string Text) {
        tree.ClaimCount = Number;
        TClaim& claim = tree.Claims.emplace_back();
        claim.Index = tree.Claims.size() - 1;
        claim.Number = Number;
        claim.Text = std::move(Text);
        return claim;
    }

    // Places a claim with the references read from it.
    void Place(TClaim& claim, TReferences references) {
        const int32_t Number = claim.Number;
        claim.References = std::move(references.Runs);
        claim.ReferenceCount = references.Count;
        claim.Kind = references.Count == 0   ? TClaimKind::Independent
                     : references.Count == 1 ? TClaimKind::Dependent
                                             : TClaimKind::MultipleDependent;
        if (claim.Kind != TClaimKind::Independent)
            claim.DependencyText = std::move(references.DependencyText);

        if (!InClaimTable(Number))
            return;
        claim.FullNodeCount = CountFullNodes(claim);
        tree.FullNodeCount = SaturatingAdd(tree.FullNodeCount, claim.FullNodeCount);
        if (!tree.NodeLimitReached)
            PlaceNodes(claim);
        fullCounts.Add(Number, claim.FullNodeCount);
    }

private:
    int64_t CountFullNodes(const TClaim& Claim) const {
        if (Claim.Kind == TClaimKind::Independent)
            return 1;
        int64_t count = 0;
        for (const TReferenceRun& run : Claim.References) {
            int32_t first, last;
            if (ClipToTable(run, first, last))
                count = SaturatingAdd(count, fullCounts.Sum(first, last));
        }
        return count;
    }

    // Nodes that placing Claim creates, or more than Limit when it creates more.
    int64_t CountNewNodes(const TClaim& Claim, int64_t Limit) const {
        int64_t count = 0;
        for (const TReferenceRun& run : Claim.References) {
            int32_t first, last;
            if (!ClipToTable(run, first, last))
                continue;
            const bool within = withNodes.ForEachIn(first, last, [&](int32_t r) {
                count += expandingCount[static_cast<std::size_t>(r)];
                return count <= Limit;
            });
            if (!within)
                return count;
        }
        return count;
    }

    void PlaceNodes(const TClaim& Claim) {
        const int64_t room = maxNodes - placed;
        std::vector<TClaimTreeNode*> created;
        int64_t count = 1;
        if (Claim.Kind == TClaimKind::Independent) {
            if (room < 1) {
                StopPlacing(Claim);
                return;
            }
            TClaimTreeNode* root = tree.NewRoot(Claim);
            tree.Roots.push_back(root);
            created.push_back(root);
        } else {
            count = CountNewNodes(Claim, room);
            if (count > room) {
                StopPlacing(Claim);
                return;
            }
            int64_t entry = 0;
            for (const TReferenceRun& run : Claim.References) {
                int32_t first, last;
                if (ClipToTable(run, first, last)) {
                    withNodes.ForEachIn(first, last, [&](int32_t r) {
                        const int64_t entryIndex = entry + (r - run.First);
                        if (createNodes) {
                            for (TClaimTreeNode* parent : expanding[static_cast<std::size_t>(r)])
                                created.push_back(tree.NewChild(parent, Claim, entryIndex));
                        }
                        tree.Dependants[static_cast<std::size_t>(r)].push_back(
                            {Claim.Index, entryIndex});
                        return true;
                    });
                }
                entry += static_cast<int64_t>(run.Last) - run.First + 1;
            }
        }

        // Added only now, so that a claim that refers to its own number hangs
        // below the nodes that number had before.
        if (count == 0)
            return;
        placed += count;
        const auto number = static_cast<std::size_t>(Claim.Number);
        // Only the first node of a multiple dependent claim carries its subtree.
        expandingCount[number] += Claim.Kind != TClaimKind::MultipleDependent ? count
                                  : placedByNumber[number] == 0               ? 1
                                                                              : 0;
        placedByNumber[number] += count;
        withNodes.Insert(Claim.Number);
        if (created.empty())
            return;
        auto& nodes = tree.NodesByClaim[number];
        for (TClaimTreeNode* node : created) {
            nodes.push_back(node);
            const bool carries =
                Claim.Kind != TClaimKind::MultipleDependent || node == nodes.front();
            node->ChildrenCreated = carries && createNodes;
            if (carries)
                expanding[number].push_back(node);
        }
        if (tree.SubtreeNodeByClaim[number] == nullptr)
            tree.SubtreeNodeByClaim[number] = nodes.front();
    }

    void StopPlacing(const TClaim& Claim) {
        tree.NodeLimitReached = true;
        tree.FirstUnplaced = Claim.Index;
    }

    TClaimTree& tree;
    const int64_t maxNodes;
    const bool createNodes;
    TNumberSums fullCounts;
    TNumberSet withNodes;
    // Per number, the created nodes that get their children now.
    std::array<std::vector<TClaimTreeNode*>, ClaimTableSize> expanding;
    // Nodes placed, created or counted: in all, per number, and per number
    // those that get their children now.
    int64_t placed = 0;
    std::array<int64_t, ClaimTableSize> placedByNumber{};
    std::array<int64_t, ClaimTableSize> expandingCount{};
};

TClaimTreeNode::TClaimTreeNode(TClaimTree* Owner, const TClaim& Claim)
    : Kind(TClaimKind::Independent), Number(Claim.Number), Claim(&Claim), Owner(Owner) {}

TClaimTreeNode::TClaimTreeNode(TClaimTree* Owner, TClaimTreeNode* Parent, const TClaim& Claim,
                               int64_t EntryIndex)
    : Kind(Claim.Kind == TClaimKind::MultipleDependent ? TClaimKind::MultipleDependent
                                                       : TClaimKind::Dependent),
      Parent(Parent), Number(Claim.Number), Claim(&Claim), EntryIndex(EntryIndex), Owner(Owner) {
    Parent->Children.push_back(this);
}

bool TClaimTreeNode::HasChildren() const {
    if (ChildrenCreated)
        return !Children.empty();
    const auto [first, last] = Owner->DependantsOf(*this);
    return first != last;
}

std::vector<int32_t> TClaimTreeNode::ChildNumbers() const {
    std::vector<int32_t> numbers;
    if (ChildrenCreated) {
        for (const TClaimTreeNode* child : Children) {
            if (child != nullptr)
                numbers.push_back(child->Number);
        }
        return numbers;
    }
    const auto [first, last] = Owner->DependantsOf(*this);
    for (auto it = first; it != last; ++it)
        numbers.push_back(Owner->Claims[it->ClaimIndex].Number);
    return numbers;
}

bool FullTreeOrderLess(const TClaimTreeNode* a, const TClaimTreeNode* b) {
    while (a != b && a != nullptr && b != nullptr) {
        if (a->Claim->Index != b->Claim->Index)
            return a->Claim->Index < b->Claim->Index;
        if (a->EntryIndex != b->EntryIndex)
            return a->EntryIndex < b->EntryIndex;
        a = a->Parent;
        b = b->Parent;
    }
    return false;
}

TClaimTree::TClaimTree(std::string_view Text, int64_t MaxNodes, TNodes Nodes)
    : NodeLimit(MaxNodes), NodesCreated(Nodes == TNodes::Created) {
    Text = Text.substr(0, ScanAnalysedText(Text, TextIsUtf8));
    TTreeBuilder builder(*this, MaxNodes, Nodes);
    SplitTextClaims(
        Text, [&](int32_t Number, std::string ClaimText, int32_t Line, std::size_t LineStart) {
            builder.Close(Number, std::move(ClaimText));
            TClaim& claim = Claims.back();
            claim.Line = Line;
            claim.Offset = LineStart;
        });
}

TClaimTree::TClaimTree(std::string_view Text, TReading Reading, int64_t MaxNodes, TNodes Nodes)
    : TClaimTree(Reading == TReading::Standard ? Text : std::string_view(), MaxNodes, Nodes) {
    this->Reading = Reading;
    if (Reading == TReading::Standard)
        return;
    Text = Text.substr(0, ScanAnalysedText(Text, TextIsUtf8));
    TTreeBuilder builder(*this, MaxNodes, Nodes);
    int64_t dependantSteps = DependantWalkSteps;
    // Each claim is placed as it is read: a million claims are never held twice.
    FurtherClaimSets = ReadLenientClaims(Text, [&](TLenientClaim&& found) {
        if (found.Last != found.Number && (!InClaimTable(found.Last) || !found.Text.empty())) {
            UnreadRanges.push_back({found.Number, found.Last, found.Line, found.Offset,
                                    std::move(found.Status), !found.Text.empty(), Claims.size()});
            return;
        }
        if (found.Last == found.Number) {
            TClaim& claim = builder.Open(found.Number, std::move(found.Text));
            claim.Line = found.Line;
            claim.Offset = found.Offset;
            claim.Status = std::move(found.Status);
            claim.Unresolved = std::move(found.Unresolved);
            if (!found.WithDependants.empty() &&
                !AddEarlierDependants(found.References, found.WithDependants, Claims,
                                      dependantSteps))
                claim.Unresolved.push_back("any claim dependent thereon");
            builder.Place(claim, std::move(found.References));
            return;
        }
        // A range of statuses within the tables is a claim per number, at most
        // as many as the tables hold.
        for (int32_t number = found.Number; number <= found.Last; ++number) {
            TClaim& claim = builder.Open(number, found.Text);
            claim.Line = found.Line;
            claim.Offset = found.Offset;
            claim.Status = found.Status;
            TLenientReferences refs = ReadLenientReferences(claim.Text, number);
            claim.Unresolved = std::move(refs.Unresolved);
            builder.Place(claim, std::move(refs.References));
        }
    });
}

TClaimTree::~TClaimTree() {
    Roots.clear();
    Nodes.clear();
}

TClaimTreeNode* TClaimTree::NewRoot(const TClaim& Claim) {
    TClaimTreeNode& node = Nodes.emplace_back(this, Claim);
    node.Index = Nodes.size() - 1;
    return &node;
}

TClaimTreeNode* TClaimTree::NewChild(TClaimTreeNode* Parent, const TClaim& Claim,
                                     int64_t EntryIndex) {
    TClaimTreeNode& node = Nodes.emplace_back(this, Parent, Claim, EntryIndex);
    node.Index = Nodes.size() - 1;
    return &node;
}

std::pair<const TClaimTree::TDependant*, const TClaimTree::TDependant*>
TClaimTree::DependantsOf(const TClaimTreeNode& Node) const {
    return DependantsOf(Node.Number, Node.Claim->Index);
}

std::pair<const TClaimTree::TDependant*, const TClaimTree::TDependant*>
TClaimTree::DependantsOf(int32_t Number, std::size_t ClaimIndex) const {
    if (!InClaimTable(Number))
        return {nullptr, nullptr};
    const auto& list = Dependants[static_cast<std::size_t>(Number)];
    const auto first = std::upper_bound(
        list.begin(), list.end(), ClaimIndex,
        [](std::size_t index, const TDependant& d) { return index < d.ClaimIndex; });
    const TDependant* base = list.data();
    return {base + (first - list.begin()), base + list.size()};
}

int64_t TClaimTree::CountChildrenToCreate(const TClaimTreeNode& Node, int64_t Limit) const {
    // The same walk as CreateChildren, over claims instead of new nodes.
    int64_t count = 0;
    std::vector<const TClaim*> pending{Node.Claim};
    while (!pending.empty()) {
        const TClaim* parent = pending.back();
        pending.pop_back();
        const auto [first, last] = DependantsOf(parent->Number, parent->Index);
        for (auto it = first; it != last; ++it) {
            if (++count > Limit)
                return count;
            const TClaim& child = Claims[it->ClaimIndex];
            if (child.Kind != TClaimKind::MultipleDependent)
                pending.push_back(&child);
        }
    }
    return count;
}

bool TClaimTree::CreateChildren(TClaimTreeNode* Node) {
    if (Node == nullptr || Node->ChildrenCreated)
        return true;
    if (!NodesCreated)
        return false;
    const int64_t room = NodeLimit - CreatedNodeCount();
    if (CountChildrenToCreate(*Node, std::max<int64_t>(room, 0)) > room)
        return false;
    std::vector<TClaimTreeNode*> created;
    std::vector<TClaimTreeNode*> pending{Node};
    while (!pending.empty()) {
        TClaimTreeNode* parent = pending.back();
        pending.pop_back();
        parent->ChildrenCreated = true;
        const auto [first, last] = DependantsOf(*parent);
        const std::size_t firstNew = created.size();
        for (auto it = first; it != last; ++it)
            created.push_back(NewChild(parent, Claims[it->ClaimIndex], it->EntryIndex));
        // A new multiple dependent node never carries: its claim's carrying node exists.
        for (std::size_t i = created.size(); i-- > firstNew;) {
            if (created[i]->Kind != TClaimKind::MultipleDependent)
                pending.push_back(created[i]);
        }
    }

    std::sort(created.begin(), created.end(), [](const TClaimTreeNode* a, const TClaimTreeNode* b) {
        return a->Number != b->Number ? a->Number < b->Number : FullTreeOrderLess(a, b);
    });
    for (std::size_t i = 0; i < created.size();) {
        std::size_t j = i;
        while (j < created.size() && created[j]->Number == created[i]->Number)
            ++j;
        auto& list = NodesByClaim[static_cast<std::size_t>(created[i]->Number)];
        const auto middle = static_cast<std::ptrdiff_t>(list.size());
        list.insert(list.end(), created.begin() + static_cast<std::ptrdiff_t>(i),
                    created.begin() + static_cast<std::ptrdiff_t>(j));
        std::inplace_merge(list.begin(), list.begin() + middle, list.end(), FullTreeOrderLess);
        i = j;
    }
    return true;
}

bool TClaimTree::ForEachFullTreeNode(
    const std::function<bool(int Depth, const TClaim&)>& Visit) const {
    if (NodeLimitReached)
        return false;
    struct TFrame {
        const TDependant* Next;
        const TDependant* End;
    };
    std::vector<TFrame> stack;
    const auto children = [this](const TClaim& Claim) -> TFrame {
        const auto& list = Dependants[static_cast<std::size_t>(Claim.Number)];
        const auto first = std::upper_bound(
            list.begin(), list.end(), Claim.Index,
            [](std::size_t index, const TDependant& d) { return index < d.ClaimIndex; });
        return {list.data() + (first - list.begin()), list.data() + list.size()};
    };
    for (const TClaimTreeNode* root : Roots) {
        if (!Visit(0, *root->Claim))
            return false;
        stack.push_back(children(*root->Claim));
        while (!stack.empty()) {
            TFrame& top = stack.back();
            if (top.Next == top.End) {
                stack.pop_back();
                continue;
            }
            const TClaim& claim = Claims[top.Next->ClaimIndex];
            ++top.Next;
            if (!Visit(static_cast<int>(stack.size()), claim))
                return false;
            stack.push_back(children(claim));
        }
    }
    return true;
}
