#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class TClaimTree;
class TClaimTreeNode;

// The per-claim tables cover claim numbers 0 to 1023.
inline constexpr int32_t ClaimTableSize = 1024;

inline constexpr bool InClaimTable(int32_t Number) {
    return Number >= 0 && Number < ClaimTableSize;
}

// Node counts of the whole tree saturate here.
inline constexpr int64_t SaturatedCount = INT64_MAX;

// Consecutive entries First, First + 1, ... Last of a reference list. A single
// reference is a run with First == Last. Ranges are kept as runs so that
// "claims 1 to 1000 and 1 to 1000 ..." costs memory in proportion to the text.
struct TReferenceRun {
    int32_t First = 0;
    int32_t Last = 0;

    friend bool operator==(const TReferenceRun&, const TReferenceRun&) = default;
};

// One claim as it was read: the claim's data lives here once, and every node
// of the claim refers to it.
struct TClaim {
    std::size_t Index = 0; // position in reading order
    int32_t Number = 0;    // as written in the text
    std::string Text;
    std::vector<TReferenceRun> References; // the reference list, in order, repeats kept
    uint64_t ReferenceCount = 0;           // entries in References
    std::string DependencyText;            // empty for an independent claim
    int32_t Kind = 0;                      // 0 independent, 1 one reference, 2 several
    int64_t FullNodeCount = 0;             // nodes the whole tree gives this claim (saturating)
    // Where the claim starts in the text: the line of its number, from 1, and
    // the byte offset of that line; 0 when unknown.
    int32_t Line = 0;
    std::size_t Offset = 0;
    // Amendment status as written ("Currently amended", "Canceled"); empty when none.
    std::string Status;
    // Reference phrases that could not be read as claim numbers.
    std::vector<std::string> Unresolved;

    // "Claim 5", or "Claim 5 (dependent of 1, 3)" for Kind 2.
    std::string Caption() const;
    // The reference list written out entry by entry.
    std::vector<int32_t> ReferenceList() const;
};

// One place of one claim in the tree.
//
// A Kind 2 node that does not carry its claim's subtree (SubtreeNodeByClaim)
// keeps its children uncreated: ChildrenCreated is false, Children is empty,
// and HasChildren()/ChildNumbers() still answer for the whole tree.
// TClaimTree::CreateChildren creates them when the node starts to carry.
class TClaimTreeNode {
public:
    // Independent claim: a root.
    TClaimTreeNode(TClaimTree* Owner, const TClaim& Claim);
    // Dependent claim below Parent, made for entry EntryIndex of the claim's
    // reference list; appends itself to Parent's Children.
    TClaimTreeNode(TClaimTree* Owner, TClaimTreeNode* Parent, const TClaim& Claim,
                   int64_t EntryIndex);
    TClaimTreeNode(const TClaimTreeNode&) = delete;
    TClaimTreeNode& operator=(const TClaimTreeNode&) = delete;

    // Position among the tree's nodes, from 0 in the order of creation; it
    // never changes, so views of the tree can keep tables by it.
    std::size_t Index = 0;
    int32_t Kind = 0;
    TClaimTreeNode* Parent = nullptr;
    std::vector<TClaimTreeNode*> Children; // created children, in order; owned by the tree
    int32_t Number = 0;
    const TClaim* Claim = nullptr;
    int64_t EntryIndex = -1; // entry of Claim's reference list that made this node; -1 for a root
    bool ChildrenCreated = false;

    const std::string& Text() const { return Claim->Text; }
    const std::string& DependencyText() const { return Claim->DependencyText; }
    std::string Caption() const { return Claim->Caption(); }

    // Whether the node has children in the whole tree, created or not.
    bool HasChildren() const;
    // Claim numbers of all children in the whole tree, in Children order.
    std::vector<int32_t> ChildNumbers() const;
    TClaimTree* OwnerTree() const { return Owner; }

private:
    TClaimTree* Owner = nullptr;
};

// Whether a tree creates its nodes, or only its roots: the counts and the
// walk over the whole tree need no nodes below the roots, and the nodes of a
// crafted text can cost hundreds of megabytes.
enum class TNodes { Created, Counted };

// How a text is read: to the letter of the program's own reading rules, or
// as a careful person reads real claim texts (headings and numbering of any
// kind, many languages, amendment listings, scanning errors).
enum class TReading { Standard, Lenient };

// The analysed claim set of one text. The constructor runs the whole analysis
// and never fails, but for running out of memory.
//
// With TNodes::Counted every node but the roots is only counted, against
// MaxNodes as if it were created: the counts, NodeLimitReached and the
// full-tree walk are those of a tree with nodes, NodesByClaim lists the roots
// only and CreateChildren creates nothing.
class TClaimTree {
public:
    // Nodes created beyond this would cost hundreds of megabytes; past it,
    // claims are still read and counted but no longer placed.
    static constexpr int64_t MaxCreatedNodes = 2'000'000;

    explicit TClaimTree(std::string_view Text, int64_t MaxNodes = MaxCreatedNodes,
                        TNodes Nodes = TNodes::Created);
    TClaimTree(std::string_view Text, TReading Reading, int64_t MaxNodes = MaxCreatedNodes,
               TNodes Nodes = TNodes::Created);
    ~TClaimTree();
    TClaimTree(const TClaimTree&) = delete;
    TClaimTree& operator=(const TClaimTree&) = delete;

    std::vector<TClaimTreeNode*> Roots;
    std::array<std::vector<TClaimTreeNode*>, ClaimTableSize> NodesByClaim;
    std::array<TClaimTreeNode*, ClaimTableSize> SubtreeNodeByClaim{};
    int32_t ClaimCount = 0;

    TReading Reading = TReading::Standard;
    // Claim sets after the one read (another language, the original claims
    // after an amendment); the lenient reading counts them.
    int32_t FurtherClaimSets = 0;

    // Every claim closed, in reading order.
    std::deque<TClaim> Claims;
    // Whether the analysed text is valid UTF-8 as a whole. Else the whole
    // document reads as Windows-1252, every claim's bytes included, even
    // where a claim on its own would be valid UTF-8.
    bool TextIsUtf8 = true;
    // Nodes of the whole tree, every copy (saturating).
    int64_t FullNodeCount = 0;
    // Set when the node limit stopped the placing of claims; Claims[FirstUnplaced]
    // is the first claim left out of the tree.
    bool NodeLimitReached = false;
    std::size_t FirstUnplaced = 0;

    int64_t CreatedNodeCount() const { return static_cast<int64_t>(Nodes.size()); }

    // The most nodes this tree creates, in the analysis and afterwards.
    int64_t CreatedNodeLimit() const { return NodeLimit; }

    // Creates Node's children, and below them every node that carries its
    // subtree, if that has not happened yet. NodesByClaim stays in the order
    // of the whole tree. Creates nothing and returns false when that would
    // pass CreatedNodeLimit().
    bool CreateChildren(TClaimTreeNode* Node);

    // Visits the whole tree depth first, every copy, as if every node had been
    // created: Visit(depth, claim) returns false to stop. Returns false when
    // stopped, or when NodeLimitReached makes the whole tree unknown.
    bool ForEachFullTreeNode(const std::function<bool(int Depth, const TClaim&)>& Visit) const;

private:
    friend class TClaimTreeNode;
    friend class TTreeBuilder;

    // A claim that refers to a number, by entry of its reference list.
    struct TDependant {
        std::size_t ClaimIndex;
        int64_t EntryIndex;
    };

    TClaimTreeNode* NewRoot(const TClaim& Claim);
    TClaimTreeNode* NewChild(TClaimTreeNode* Parent, const TClaim& Claim, int64_t EntryIndex);
    // The dependants of Node's number read after Node's claim: its children.
    std::pair<const TDependant*, const TDependant*> DependantsOf(const TClaimTreeNode& Node) const;
    std::pair<const TDependant*, const TDependant*> DependantsOf(int32_t Number,
                                                                 std::size_t ClaimIndex) const;
    // Nodes that CreateChildren(&Node) would create, or more than Limit.
    int64_t CountChildrenToCreate(const TClaimTreeNode& Node, int64_t Limit) const;

    int64_t NodeLimit;
    bool NodesCreated;

    std::deque<TClaimTreeNode> Nodes; // owns every node
    std::array<std::vector<TDependant>, ClaimTableSize> Dependants;
};

// True when a comes before b in the order in which placing every claim in
// full would create them; both nodes carry the same number.
bool FullTreeOrderLess(const TClaimTreeNode* a, const TClaimTreeNode* b);
