#pragma once

#include "LenientNumbering.h"
#include "ReferenceReader.h"

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

// Chinese, Japanese and Korean claims as the lenient reading sees them.
// Full-width digits and punctuation are read as their ASCII forms where they
// are met, never by rewriting the text, so every offset stays one into the
// text as the user has it.

// The ASCII form of a full-width digit or punctuation mark ("１" gives '1',
// "．" '.', "、" ',', "～" and "〜" '~', "（" '('), or of an ASCII character;
// 0 for anything else.
char AsciiForm(uint32_t C);

// Ideographs, kana and hangul: letters without case, so that any of them may
// open a claim's text.
bool IsCjkLetter(uint32_t C);

// Whether Text holds a character of the CJK blocks or the full-width forms
// (as UTF-8: a lead byte E3 to ED or EF with a continuation byte after it).
bool HasCjkText(std::string_view Text);

// A claim number at the start of a line as these languages write it: "1、",
// "1．", "１．", "1.2,4-二氨基…" (claim 1 on a chemical name), "【請求項１】",
// "【청구항 1】", "청구항 1" alone on its line.
std::optional<TClaimStart> ReadCjkClaimStart(std::string_view Line);
// Whether ReadCjkClaimStart may find anything in Line: a test for every line
// of a text, cheap enough to be inline.
inline bool MayStartCjkClaim(std::string_view Line) {
    if (Line.empty())
        return false;
    const auto b = static_cast<unsigned char>(Line[0]);
    return (b >= '0' && b <= '9') || b == '[' || b >= 0xE0;
}

// "权利要求书", "【特許請求の範囲】", "【書類名】特許請求の範囲", "청구범위".
bool IsCjkClaimsHeading(std::string_view Line);

// Headings of what follows the claims: "说明书", "【発明の詳細な説明】",
// "【書類名】要約書", "【手続補正２】", "【발명의 설명】".
bool IsCjkSectionHeading(std::string_view Line);

// The ASCII form of a line's last character when it is full-width or CJK
// punctuation ("。" gives '.', "】" ']', "：" ':'); 0 for anything else.
char CjkLineEnd(std::string_view Line);

// Appends the references of claim Number's Text: "根据权利要求1所述的",
// "权利要求1至5中任一项", "根据前述权利要求中任一项", "請求項１～３のいずれか",
// "請求項1から3", "제1항 내지 제3항 중 어느 한 항에 있어서", "청구항 1 또는 2".
// Ranges in the claim's own text ("5至10mm", "1-5重量份") are no references:
// only numbers after a claim word count.
void ReadCjkReferences(std::string_view Text, int32_t Number, std::vector<TReferenceRun>& Runs);
