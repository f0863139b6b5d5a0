#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

// The input up to its first NUL, with two blanks put in front of a claim
// number 1 to 99 that starts a line ("\n2. " becomes "\n  2. ") and a colon put
// behind a heading line "Claims" or "CLAIMS". One pass over the text.
std::string PrepareText(std::string_view Text);

// Finds the claims section in a prepared text and hands each claim, as soon
// as it is complete, to Close with its number and text.
void SplitClaims(std::string_view Prepared,
                 const std::function<void(int32_t Number, std::string Text)>& Close);

// As SplitClaims, and also hands over where the claim's number starts in Prepared.
void SplitClaimsAt(
    std::string_view Prepared,
    const std::function<void(int32_t Number, std::string Text, std::size_t NumberPos)>& Close);

// The claims of Text, which holds no NUL, as SplitClaimsAt finds them in
// PrepareText(Text), each with the line its number stands on (from 1) and the
// offset in Text of that line's start. Only the claims section is prepared,
// Piece bytes at a time from where it starts.
void SplitTextClaims(std::string_view Text,
                     const std::function<void(int32_t Number, std::string Text, int32_t Line,
                                              std::size_t LineStart)>& Close,
                     std::size_t Piece = std::size_t{1} << 20);
