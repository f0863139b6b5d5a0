#pragma once

// Pairs of versions of a claim set made by amending one the way prosecution
// does: claims canceled and the rest renumbered, a dependent claim merged
// into its independent claim, words amended, new claims, references
// changed, lines re-wrapped; with what a comparison should find.

#include "ClaimComparison.h"

#include <random>
#include <string>
#include <vector>

class TClaimTree;

// One word of a claim; its claim numbers are slots for the claims they name,
// so that a version writes them in its own numbering.
struct TClaimWord {
    std::string Text;
    std::vector<std::size_t> SlotAt;  // where a number starts in Text
    std::vector<std::size_t> SlotEnd; // and ends
    std::vector<int> Targets;         // the claims named, as indices of the base set
};

struct TBaseClaim {
    std::vector<TClaimWord> Words;
    std::vector<int> Targets; // every claim it names
};

// The live claims of a tree whose references all name live claims; claims
// naming others are left out, and those naming them, in turn.
std::vector<TBaseClaim> BaseClaims(const TClaimTree& Tree);

// Generated claims for a set of Count claims with varied words.
std::vector<TBaseClaim> VariedClaims(int Count, std::mt19937& Random);

struct TExpectedClaim {
    int32_t Number = 0;
    int32_t From = 0;
    TAmendmentStatus Status = TAmendmentStatus::Original;
    std::vector<std::string> Inserted; // words, sorted
    std::vector<std::string> Deleted;
    int32_t MergedFrom = 0;
};

struct TAmendedPair {
    std::string A, B;
    std::vector<TExpectedClaim> Expected; // B's claims in order
    std::vector<int32_t> Canceled;
    int Merges = 0;
};

// A version of Base (numbered 1, 2, ... with no statuses) and an amended
// one. Listing: the amended one keeps the numbers and gives every claim its
// status identifier, canceled claims as "N. (Canceled)", as a US response
// does; else canceled claims are dropped and the rest renumbered.
TAmendedPair AmendClaims(const std::vector<TBaseClaim>& Base, std::mt19937& Random, bool Listing);

// The words of pieces of text, sorted.
std::vector<std::string> SortedWords(const std::vector<std::string>& Pieces);
