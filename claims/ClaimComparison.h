#pragma once

// Two versions of a claim set compared as patent people compare them: each
// claim of the later version B matched by its words to the claim of A it
// comes from, whatever its number; the words inserted and deleted; the
// references added and dropped; and the status a US claim listing gives it.

#include <cstdint>
#include <string>
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
    // B's text as changes from A's, on whitespace-normalised words.
    std::vector<TTextPiece> Redline;
    std::vector<std::string> Inserted; // the inserted runs of words
    std::vector<std::string> Deleted;
    // References of B, in B's numbers, that A's claim did not make (mapped
    // through the matching), and those of A's claim that B's no longer makes.
    std::vector<int32_t> ReferencesAdded;
    std::vector<int32_t> ReferencesDropped;

    bool Changed() const { return !Inserted.empty() || !Deleted.empty(); }
    bool DependencyChanged() const {
        return !ReferencesAdded.empty() || !ReferencesDropped.empty();
    }
    bool Moved() const { return From != 0 && From != Number; }
};

struct TClaimComparison {
    std::vector<TComparedClaim> Claims; // in B's order
    std::vector<int32_t> Canceled;      // claims of A with no successor, ascending
};

// Linear in memory; about quadratic in the words of one claim only.
TClaimComparison CompareClaims(const TClaimTree& A, const TClaimTree& B);
