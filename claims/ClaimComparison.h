#pragma once

// Two versions of a claim set compared as patent people compare them: each
// claim of the later version B matched by its words to the claim of A it
// comes from, whatever its number; the words inserted and deleted; the
// references added and dropped; and the status a US claim listing gives it.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class TClaimTree;

// The status identifiers of a US claim listing.
enum class TAmendmentStatus {
    Original,
    CurrentlyAmended,
    PreviouslyPresented,
    New,
    Canceled,
    Withdrawn,
    NotEntered,
};

// "Original", "Currently Amended", "Previously Presented", "New", "Canceled",
// "Withdrawn", "Not Entered".
const char* AmendmentStatusName(TAmendmentStatus Status);

// The status a listing's identifier names ("Currently amended", "Cancelled",
// "Withdrawn - currently amended"), in any case; nothing for another text.
std::optional<TAmendmentStatus> ReadAmendmentStatus(std::string_view Identifier);

enum class TTextChange { Same, Inserted, Deleted };

// A run of words of one kind, with the single spaces between them.
struct TTextPiece {
    TTextChange Change = TTextChange::Same;
    std::string Text;
    bool operator==(const TTextPiece&) const = default;
};

// One claim of B and where it comes from.
struct TComparedClaim {
    int32_t Number = 0; // in B
    int32_t From = 0;   // the claim of A it comes from; 0 when new
    // Further claims of A whose words it took in (a dependent claim merged
    // into its independent claim).
    std::vector<int32_t> MergedFrom;
    TAmendmentStatus Status = TAmendmentStatus::New;
    // B's text as changes from A's, on whitespace-normalised words: the Same
    // and Inserted pieces give B's words, the Same and Deleted ones A's, but
    // that Same pieces write A's claim references in B's numbers. All UTF-8.
    // Empty for a claim B lists as canceled; all Inserted for a new claim.
    std::vector<TTextPiece> Redline;
    std::vector<std::string> Inserted; // the inserted runs of words
    std::vector<std::string> Deleted;
    // References of B, in B's numbers, that A's claim did not make (mapped
    // through the matching), and those of A's claim, in A's numbers, that
    // B's no longer makes (a canceled claim has no number in B).
    std::vector<int32_t> ReferencesAdded;
    std::vector<int32_t> ReferencesDropped;

    bool Changed() const { return !Inserted.empty() || !Deleted.empty(); }
    bool DependencyChanged() const {
        return !ReferencesAdded.empty() || !ReferencesDropped.empty();
    }
    bool Moved() const { return From != 0 && From != Number; }
};

struct TClaimComparison {
    // In B's order. A claim a listing gives as "N. (Canceled)" is here too,
    // with Status Canceled and From the claim of A numbered N, if any.
    std::vector<TComparedClaim> Claims;
    // Claims of A that no claim of B continues, ascending: canceled ones,
    // those merged into another claim, and those B lists as canceled.
    std::vector<int32_t> Canceled;
};

// Linear in memory; about quadratic in the words of one claim only.
TClaimComparison CompareClaims(const TClaimTree& A, const TClaimTree& B);

// The whitespace-separated words of Text (ASCII blanks, line ends and the
// no-break space separate them).
std::vector<std::string_view> SplitWords(std::string_view Text);

// The word diff of two texts (Myers, in linear memory): kept, deleted and
// inserted runs, deletions before insertions where both replace words.
std::vector<TTextPiece> DiffWords(std::string_view A, std::string_view B);
