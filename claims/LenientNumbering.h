#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// How a claim's number is written at the start of its line. Claims of one set
// share a style, so a line in another style inside a claim ("1) heating")
// is the claim's own text.
enum class TNumbering : uint8_t {
    Period,  // "1. ", "1 .", "1:", "1." alone on its line
    Bracket, // "1)"
    Paren,   // "(1)"
    Word,    // "Claim 1.", "[Claim 1]", "Anspruch 1"
    Bare,    // "1" alone on its line, or before a tab
};

// The start of a claim (or of a run of cancelled claims, "3-5. (Canceled)").
// Every line that starts a claim holds one: its members are ordered so that
// no padding comes between them.
struct TClaimStart {
    std::size_t TextBegin = 0; // in the line: where the claim's text starts
    // The amendment status as written, without brackets: a view into the line read.
    std::string_view Status;
    int32_t First = 0;
    int32_t Last = 0;
    TNumbering Numbering = TNumbering::Period;
    bool Cancelled = false;
    bool CapitalStart = false; // the text starts with a capital, a status, or on the next line
};

// Reads a claim number at the start of Line (from its first character other
// than a blank; no line break in it). The start's Status views Line.
std::optional<TClaimStart> ReadClaimStart(std::string_view Line);

// Whether a line (trimmed) is a claims heading: "Claims", "CLAIMS (12)",
// "What is claimed is:", "Patentansprüche", "Revendications", "Listing of Claims:".
bool IsClaimsHeading(std::string_view Line);

// Whether a line (trimmed) opens a section that follows the claims:
// "Abstract", "ZUSAMMENFASSUNG", "Description".
bool IsSectionHeading(std::string_view Line);
