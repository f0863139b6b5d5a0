#include "LenientLexicon.h"

#include <algorithm>
#include <array>

namespace {

template <std::size_t N> bool In(const std::array<std::string_view, N>& Words, std::string_view W) {
    return std::find(Words.begin(), Words.end(), W) != Words.end();
}

constexpr std::array<std::string_view, 16> Singulars = {
    "claim",          "anspruch",        "anspruchs",        "anspruches",
    "patentanspruch", "patentanspruchs", "schutzanspruch",   "revendication",
    "rivendicazione", "reivindicacion",  "reivindicacao",    "conclusie",
    "kravet",         "patentkravet",    "patenttivaatimus", "patenttivaatimuksen"};

constexpr std::array<std::string_view, 21> Plurals = {"claims",
                                                      "anspruche",
                                                      "anspruchen",
                                                      "ansprueche",
                                                      "anspruechen",
                                                      "patentanspruche",
                                                      "patentanspruchen",
                                                      "schutzanspruche",
                                                      "revendications",
                                                      "rivendicazioni",
                                                      "reivindicaciones",
                                                      "reivindicacoes",
                                                      "conclusies",
                                                      "kravene",
                                                      "kraven",
                                                      "patentkravene",
                                                      "patentkraven",
                                                      "patenttivaatimukset",
                                                      "patenttivaatimusten",
                                                      "patenttivaatimuksista",
                                                      "patenttivaatimuksiin"};

constexpr std::array<std::string_view, 9> Weaks = {"krav",          "patentkrav",   "vaatimus",
                                                   "vaatimuksen",   "vaatimukset",  "vaatimusten",
                                                   "vaatimuksista", "vaatimukseen", "vaatimuksiin"};

constexpr std::array<std::string_view, 62> Preceding = {
    "preceding",       "foregoing",      "previous",       "prior",          "above",
    "aforegoing",      "aforementioned", "abovementioned", "precedent",      "vorhergehenden",
    "vorhergehende",   "vorhergehendem", "vorhergehender", "vorangehenden",  "vorangehende",
    "vorangehendem",   "vorstehenden",   "vorstehende",    "voranstehenden", "voranstehende",
    "vorigen",         "obigen",         "vorherigen",     "vorausgehenden", "vorausgehende",
    "vorangegangenen", "vorgenannten",   "precedentes",    "precedente",     "precedents",
    "anterieures",     "anterieure",     "precedenti",     "anteriori",      "anteriore",
    "anteriores",      "anterior",       "voorgaande",     "voorafgaande",   "vorige",
    "bovenstaande",    "voorgaand",      "foregaende",     "forutgaende",    "forrige",
    "ovenstaende",     "ovanstaende",    "foregaaende",    "edellisten",     "edellisen",
    "edellinen",       "edelliset",      "edellista",      "edella",         "aiempien",
    "aikaisempien",    "edeltavien",     "edeltavan",      "aforesaid",      "previously",
    "hereinbefore",    "herebefore"};

constexpr std::array<std::string_view, 50> Quantifiers = {
    "any",        "each",         "every",     "all",       "one",         "either",     "einem",
    "einer",      "jedem",        "jeder",     "allen",     "irgendeinem", "quelconque", "une",
    "chacune",    "toutes",       "qualsiasi", "qualunque", "una",         "ciascuna",   "tutte",
    "cualquiera", "cualquier",    "todas",     "qualquer",  "uma",         "een",        "elke",
    "ieder",      "willekeurige", "der",       "hvilket",   "hvilken",     "ethvert",    "et",
    "ett",        "nagot",        "nagon",     "alla",      "alle",        "hver",       "jonkin",
    "minka",      "kaikkien",     "kaikista",  "ein",       "eines",       "plusieurs",  "several",
    "more"};

constexpr std::array<std::string_view, 29> Lists = {"and",
                                                    "or",
                                                    "und",
                                                    "oder",
                                                    "et",
                                                    "ou",
                                                    "e",
                                                    "o",
                                                    "y",
                                                    "u",
                                                    "ed",
                                                    "od",
                                                    "en",
                                                    "of",
                                                    "og",
                                                    "och",
                                                    "eller",
                                                    "ja",
                                                    "tai",
                                                    "seka",
                                                    "sowie",
                                                    "bzw",
                                                    "beziehungsweise",
                                                    "nor",
                                                    "und/oder",
                                                    "respectively",
                                                    "oppure",
                                                    "ovvero",
                                                    "nonche"};

// Second words of a connective: "o bien", "ou bien", "ou ainda".
constexpr std::array<std::string_view, 2> ListTails = {"bien", "ainda"};

constexpr std::array<std::string_view, 12> Ranges = {"to",  "through", "thru", "bis",   "a", "al",
                                                     "til", "till",    "tot",  "until", "t", "ate"};

constexpr std::array<std::string_view, 20> Fillers = {
    "no", "nos", "nr",  "n",    "number", "numbers", "from",      "da",        "van",
    "de", "von", "fra", "fran", "en",     "met",     "including", "inclusive", "einschliesslich",
    "up", "m"};

constexpr std::array<std::string_view, 62> Units = {
    "mm",     "cm",  "m",   "km",      "nm",     "um",      "mum",     "micron", "microns",
    "g",      "mg",  "kg",  "ug",      "l",      "ml",      "ul",      "s",      "ms",
    "min",    "h",   "hr",  "hours",   "hour",   "seconds", "minutes", "days",   "day",
    "c",      "k",   "f",   "degrees", "degree", "mol",     "mmol",    "bar",    "mbar",
    "pa",     "kpa", "mpa", "psi",     "v",      "mv",      "kv",      "w",      "kw",
    "hz",     "khz", "mhz", "ghz",     "rpm",    "percent", "parts",   "part",   "wt",
    "weight", "vol", "ppm", "times",   "fold",   "gew",     "teile",   "mass"};

constexpr std::array<std::string_view, 44> Statuses = {
    "currently",  "amended",    "original",  "originally", "presented",    "previously",
    "new",        "withdrawn",  "canceled",  "cancelled",  "cancel",       "deleted",
    "rejected",   "allowed",    "objected",  "added",      "rewritten",    "replaced",
    "entered",    "gestrichen", "geandert",  "neu",        "ursprunglich", "unverandert",
    "supprimee",  "modifiee",   "annulee",   "nouvelle",   "originale",    "cancellata",
    "modificata", "nuova",      "eliminada", "modificada", "nueva",        "suprimida",
    "amend",      "withdraw",   "pending",   "restored",   "reinstated",   "renumbered",
    "unchanged",  "status"};

constexpr std::array<std::string_view, 12> Cancels = {
    "canceled", "cancelled",  "cancel",    "deleted",   "gestrichen", "supprimee",
    "annulee",  "cancellata", "eliminada", "suprimida", "geschrapt",  "slettet"};

constexpr std::array<std::string_view, 34> HeadingWords = {
    "what",      "is",       "are",       "claimed",    "we",        "i",          "the",
    "invention", "listing",  "of",        "amendments", "amendment", "to",         "in",
    "patent",    "set",      "as",        "follows",    "defining",  "originally", "filed",
    "amended",   "original", "new",       "pending",    "this",      "following",  "current",
    "version",   "our",      "applicant", "claim",      "claims",    "s"};

constexpr std::array<std::string_view, 22> SectionEnds = {
    "abstract",       "zusammenfassung", "abrege",       "riassunto",
    "resumen",        "resumo",          "samenvatting", "sammendrag",
    "sammanfattning", "tiivistelma",     "description",  "beschreibung",
    "drawings",       "drawing",         "figures",      "bezugszeichenliste",
    "reference",      "sequence",        "references",   "zeichnungen",
    "figuren",        "dessins"};

// Words ending in "s" that follow a reference but count nothing.
constexpr std::array<std::string_view, 12> NotCounted = {
    "comprises", "includes", "contains", "consists", "provides", "whereas",
    "thus",      "plus",     "always",   "does",     "requires", "characterises"};

} // namespace

// Claim words as scanners misread them.
constexpr std::array<std::string_view, 6> Scanned = {"clairn", "clairns", "ciaim",
                                                     "ciaims", "c1aim",   "c1aims"};

bool IsScannedClaimWord(std::string_view Fold) {
    return In(Scanned, Fold);
}

TClaimWord ClaimWordKind(std::string_view Fold) {
    // Every claim word starts with one of these letters.
    if (Fold.size() < 4 ||
        std::string_view("acknprsv").find(Fold.front()) == std::string_view::npos)
        return TClaimWord::None;
    if (In(Scanned, Fold))
        return Fold.back() == 's' ? TClaimWord::Plural : TClaimWord::Singular;
    if (Fold.size() < 4 || Fold.size() > 21)
        return TClaimWord::None;
    if (In(Singulars, Fold))
        return TClaimWord::Singular;
    if (In(Plurals, Fold))
        return TClaimWord::Plural;
    if (In(Weaks, Fold))
        return TClaimWord::Weak;
    return TClaimWord::None;
}

bool IsPrecedingWord(std::string_view Fold) {
    return In(Preceding, Fold);
}
bool IsQuantifierWord(std::string_view Fold) {
    return In(Quantifiers, Fold);
}
bool IsListWord(std::string_view Fold) {
    return In(Lists, Fold);
}
bool IsListTailWord(std::string_view Fold) {
    return In(ListTails, Fold);
}
bool IsCountedNounWord(std::string_view Fold) {
    if (Fold.size() < 4 || Fold.back() != 's' || Fold.ends_with("ss") || Fold.ends_with("us") ||
        Fold.ends_with("is"))
        return false;
    return ClaimWordKind(Fold) == TClaimWord::None && !In(NotCounted, Fold) &&
           !IsPrecedingWord(Fold) && !IsUnitWord(Fold);
}
bool IsRangeWord(std::string_view Fold) {
    return In(Ranges, Fold);
}
bool IsFillerWord(std::string_view Fold) {
    return In(Fillers, Fold);
}
bool IsUnitWord(std::string_view Fold) {
    return In(Units, Fold);
}
bool IsStatusWord(std::string_view Fold) {
    return In(Statuses, Fold);
}
bool IsCancelWord(std::string_view Fold) {
    return In(Cancels, Fold);
}
bool IsClaimsHeadingWord(std::string_view Fold) {
    return In(HeadingWords, Fold);
}
bool IsSectionEndWord(std::string_view Fold) {
    return In(SectionEnds, Fold);
}
