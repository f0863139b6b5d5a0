#pragma once

#include <cstdint>
#include <string_view>

// The words that the lenient reading knows, folded to lower-case ASCII
// ("Ansprüche" is "anspruche"), in English, German, French, Italian,
// Spanish, Portuguese, Dutch, the Nordic languages and Finnish.

enum class TClaimWord {
    None,
    Singular, // "claim", "Anspruch", "revendication"
    Plural,   // "claims", "Ansprüche", "revendications"
    Weak, // also an everyday word ("krav", Finnish "vaatimus"): a claim word only with a number or
          // a preceding-claims word
};

TClaimWord ClaimWordKind(std::string_view Fold);
// "clairn": a claim word as a scanner misread it.
bool IsScannedClaimWord(std::string_view Fold);

// "preceding", "vorhergehenden", "précédentes": all claims before this one.
bool IsPrecedingWord(std::string_view Fold);
// "any", "einem", "quelconque": makes "the preceding claim" any preceding claim.
bool IsQuantifierWord(std::string_view Fold);
// "and", "or", "oder", "ou", "of" (Dutch): joins two references.
bool IsListWord(std::string_view Fold);
bool IsListTailWord(std::string_view Fold);
// "valves", "layers": an English plural noun that a number before it counts.
bool IsCountedNounWord(std::string_view Fold);
// "to", "through", "bis", "à", "tot": a range of references.
bool IsRangeWord(std::string_view Fold);
// Words that may stand between a claim word and its number, or in a range:
// "no", "Nr", "from", "da", "en met".
bool IsFillerWord(std::string_view Fold);
// Units and measures after a number ("parts", "mm", "wt"): the number is no
// claim number.
bool IsUnitWord(std::string_view Fold);

// Words of an amendment status: "currently", "amended", "canceled", "new".
bool IsStatusWord(std::string_view Fold);
// Whether a folded status word says the claim is cancelled.
bool IsCancelWord(std::string_view Fold);

// Words of a claims heading beside the claim words: "what", "is", "claimed".
bool IsClaimsHeadingWord(std::string_view Fold);
// First words of the sections that follow the claims: "abstract",
// "zusammenfassung", "description".
bool IsSectionEndWord(std::string_view Fold);

// The tables of Russian, Polish, Czech, Turkish and Portuguese, which the
// look-ups above consult too.
enum class TWordLanguage : uint8_t { Other, Russian, Polish, Czech, Turkish, Portuguese };

TClaimWord WiderClaimWordKind(std::string_view Fold);
// The language whose own table holds the claim word; Other for the older tables.
TWordLanguage ClaimWordLanguage(std::string_view Fold);
// "п", "пп", "zastrz": a claim word that a period may follow before its number.
bool IsAbbreviatedClaimWord(std::string_view Fold);
bool IsWiderPrecedingWord(std::string_view Fold);
bool IsWiderQuantifierWord(std::string_view Fold);
// List and range words after a claim word of Language: Czech "a" joins two
// claims, where Portuguese "a" ends a range.
bool IsListWordIn(TWordLanguage Language, std::string_view Fold);
bool IsRangeWordIn(TWordLanguage Language, std::string_view Fold);
// "формула изобретения": heading words that stand for the claim word.
bool IsWiderHeadingWord(std::string_view Fold);
bool IsWiderSectionEndWord(std::string_view Fold);
// The one of those words that a claims heading needs, as others need a claim word.
bool IsHeadingClaimWord(std::string_view Fold);

// "first" 1, "zweiten" 2, "troisième" 3; 0 for any other word.
int32_t OrdinalValue(std::string_view Fold);
// "the", "dem", "la": before an ordinal that names a claim.
bool IsDefiniteArticle(std::string_view Fold);

// "dependent", "depending" and "thereon", "therefrom": "any claim dependent thereon".
bool IsDependingWord(std::string_view Fold);
bool IsThereonWord(std::string_view Fold);

// "albo", "veya", "или": joins claims in the alternative; "i", "ve", "и":
// joins them together. Only for the languages of the tables above.
bool IsOrWordIn(TWordLanguage Language, std::string_view Fold);
bool IsAndWordIn(TWordLanguage Language, std::string_view Fold);
// "od", "с": fillers of the languages above.
bool IsWiderFillerWord(std::string_view Fold);
