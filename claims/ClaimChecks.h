#pragma once

// Checks of a claim set as a drafter needs them, and the official fee counts
// that follow from the claims. Computed from an analysed TClaimTree.

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class TClaimTree;
enum class TReading;

enum class TSeverity { Warning, Error, Note };

// "error", "warning" or "note".
const char* SeverityName(TSeverity Severity);

enum class TProblemKind {
    MissingReference,
    LaterReference,
    OwnReference,
    UnresolvedReference,
    NoBox,
    TreeTooLarge,
    CancelledReference,
    UsNotAlternative,
    UsMultipleOnMultiple,
    RepeatedNumber,
    OutOfOrder,
    NumberTooLarge,
    NoClaim1,
    Gap,
    RangeTooWide,
    RangeWithText,
    OtherReading,
    ClaimsLeftOut,
    CategoryCount,
    ReferenceSign,
    ClaimLink,
    AntecedentBasis,
};

// The last kind above: a new kind goes after it, and takes its place here.
inline constexpr TProblemKind LastProblemKind = TProblemKind::AntecedentBasis;

// The short stable key that scripts read: "later-reference", "gap", ...
const char* ProblemKindName(TProblemKind Kind);
// The kind of a key, or false when no kind has it.
bool ProblemKindOfName(std::string_view Name, TProblemKind& Kind);

// One problem of one claim; Message is a sentence a drafter understands.
struct TClaimProblem {
    TClaimProblem() = default;
    TClaimProblem(int32_t Claim, int32_t Line, TSeverity Severity, TProblemKind Kind,
                  std::string Message, std::string Term = {})
        : Claim(Claim), Line(Line), Severity(Severity), Kind(Kind), Message(std::move(Message)),
          Term(std::move(Term)) {}

    int32_t Claim = 0;
    int32_t Line = 0; // line of the claim in the text, from 1; 0 when unknown
    TSeverity Severity = TSeverity::Warning;
    TProblemKind Kind = TProblemKind::MissingReference;
    std::string Message;
    // The term a problem of the claim's words is about; empty for others.
    std::string Term;
};

// What the checks look at beyond the references and the numbering.
struct TCheckOptions {
    // The claims' wording: more than one independent claim of a category,
    // and reference signs.
    bool Wording = false;
    // What the tree was read from: its description, the text before the
    // claims, tells which reference signs it never uses. Empty when unknown.
    std::string_view Text;
    // Terms used without being introduced before (antecedent basis).
    bool AntecedentBasis = false;
};

// Every problem of the claim set, in text order.
std::vector<TClaimProblem> CheckClaims(const TClaimTree& Tree, const TCheckOptions& Options = {});

// Problem's message as it reads after "claim N: ": a leading "Claim N" is
// left out, one further in reads "this claim".
std::string MessageAfterClaim(const TClaimProblem& Problem);

// A claim link that a document's markup makes, from the claim holding it to
// the claim it names: a second witness of the references besides the text.
struct TMarkupLink {
    int32_t From = 0;
    int32_t To = 0;
};

// A warning for each claim whose markup links and text references name other
// claims, as one of the two is wrong. A range the text reads ("claims 1 to
// 5") agrees with links to its ends. None when Links is empty: a text without
// markup has nothing to compare.
std::vector<TClaimProblem> LinkProblems(const TClaimTree& Tree,
                                        const std::vector<TMarkupLink>& Links);

// Problems with LinkProblems(Tree, Links) merged in, in text order.
void AddLinkProblems(std::vector<TClaimProblem>& Problems, const TClaimTree& Tree,
                     const std::vector<TMarkupLink>& Links);

// How the other reading of the same text differs from the one in use.
struct TReadingDifference {
    std::size_t Claims = 0;      // claims the reading in use finds
    std::size_t OtherClaims = 0; // claims the other reading finds
    // Claim numbers that one reading lacks or reads with other references
    // (the last claim of a number counts), the lowest with its line.
    std::size_t Differing = 0;
    int32_t FirstClaim = 0;
    int32_t FirstLine = 0;
    // Claims numbered 100 and more that the lenient reading finds and the
    // standard one in use leaves out, as runs, with the first one's line.
    std::vector<std::pair<int32_t, int32_t>> LeftOut;
    int32_t LeftOutLine = 0;

    bool Differ() const { return Differing != 0; }
};

// In time and memory linear in the claims and their references (ranges
// are compared as ranges), and the sorting of the claim numbers.
TReadingDifference CompareReadings(const TClaimTree& InUse, const TClaimTree& Other);

// A warning when the readings differ, and an error for the claims the
// standard reading leaves out; InUse is the reading in use.
std::vector<TClaimProblem> ReadingProblems(TReading InUse, const TReadingDifference& Difference);

// "standard" or "lenient".
const char* ReadingName(TReading Reading);

struct TUsFeeCounts {
    int64_t Total = 0; // the claims as counted for fees
    int64_t Independent = 0;
    int64_t ExcessTotal = 0;        // Total less 20, never below 0
    int64_t ExcessIndependent = 0;  // Independent less 3, never below 0
    bool MultipleDependent = false; // a proper multiple dependent claim is present
};

struct TEpFeeCounts {
    int64_t Claims = 0;
    int64_t Excess15 = 0; // the 16th to the 50th claim
    int64_t Excess50 = 0; // the 51st claim on
};

struct TFeeCounts {
    TUsFeeCounts Us;
    TEpFeeCounts Ep;
};

TFeeCounts CountFees(const TClaimTree& Tree);

// Both of the above from one reading of the claims: what a report shows.
struct TClaimChecks {
    std::vector<TClaimProblem> Problems;
    TFeeCounts Fees;
};

TClaimChecks CheckAndCountFees(const TClaimTree& Tree, const TCheckOptions& Options = {});
