#include "ClaimCategories.h"

#include "ClaimTree.h"
#include "TextEncoding.h"

#include <algorithm>
#include <array>
#include <initializer_list>
#include <map>
#include <span>
#include <string>

namespace {

// A preamble is read no further: the category is named in its first words.
constexpr std::size_t PreambleWords = 16;

bool IsWordByte(unsigned char C) {
    return (C >= 'a' && C <= 'z') || (C >= 'A' && C <= 'Z') || (C >= '0' && C <= '9') ||
           C >= 0x80 || C == '-';
}

// The first words of Text, ASCII lowered, and the punctuation that ends a
// preamble (",", ":", ";", "(", ".") as words of its own. French elisions
// ("l'utilisation", "d’un") give the article as a word of its own.
std::vector<std::string> FirstWords(std::string_view Text, std::size_t Most) {
    std::vector<std::string> words;
    words.reserve(std::min<std::size_t>(Most, 64));
    std::size_t i = 0;
    while (i < Text.size() && words.size() < Most) {
        const auto c = static_cast<unsigned char>(Text[i]);
        if (c == ',' || c == ':' || c == ';' || c == '(' || c == '.') {
            words.emplace_back(1, static_cast<char>(c));
            ++i;
            continue;
        }
        if (!IsWordByte(c)) {
            ++i;
            continue;
        }
        std::string word;
        while (i < Text.size()) {
            const auto b = static_cast<unsigned char>(Text[i]);
            if (b == '\'') {
                word += '\'';
                ++i;
                break;
            }
            // U+2019, the typeset apostrophe.
            if (b == 0xE2 && Text.substr(i, 3) == "\xE2\x80\x99") {
                word += '\'';
                i += 3;
                break;
            }
            if (!IsWordByte(b))
                break;
            word += static_cast<char>(b >= 'A' && b <= 'Z' ? b + 32 : b);
            ++i;
        }
        words.push_back(std::move(word));
    }
    return words;
}

bool In(std::string_view Word, std::initializer_list<std::string_view> List) {
    return std::find(List.begin(), List.end(), Word) != List.end();
}

bool EndsWithAny(std::string_view Word, std::initializer_list<std::string_view> List) {
    return std::any_of(List.begin(), List.end(),
                       [&](std::string_view End) { return Word.ends_with(End); });
}

bool Punctuation(std::string_view Word) {
    return Word.size() == 1 &&
           (Word[0] == ',' || Word[0] == ':' || Word[0] == ';' || Word[0] == '(' || Word[0] == '.');
}

// The words from First up to a stop word or punctuation, at most eight.
std::vector<std::string_view> Span(const std::vector<std::string>& Words, std::size_t First,
                                   std::span<const std::string_view> Stops) {
    std::vector<std::string_view> span;
    for (std::size_t i = First; i < Words.size() && span.size() < 8; ++i) {
        if (Punctuation(Words[i]) || std::find(Stops.begin(), Stops.end(), Words[i]) != Stops.end())
            break;
        span.push_back(Words[i]);
    }
    return span;
}

bool SpanHas(const std::vector<std::string_view>& Span, std::string_view Part) {
    return std::any_of(Span.begin(), Span.end(),
                       [&](std::string_view w) { return w.find(Part) != std::string_view::npos; });
}

std::size_t SkipArticles(const std::vector<std::string>& Words,
                         std::initializer_list<std::string_view> Articles) {
    std::size_t i = 0;
    while (i < Words.size() && i < 2 && In(Words[i], Articles))
        ++i;
    return i;
}

struct TNamed {
    TClaimCategory Category = TClaimCategory::Unknown;
    bool Named = false;
};

// A noun the tables do not know names a thing; a number or a claim word
// ("Claim 1, wherein ...") names nothing.
TNamed Guess(std::string_view Head) {
    const auto first = static_cast<unsigned char>(Head.empty() ? '0' : Head.front());
    if ((first >= '0' && first <= '9') || first == '-' ||
        In(Head, {"claim", "claims", "anspruch", "revendication"}))
        return {};
    return {TClaimCategory::Apparatus, false};
}

TNamed EnglishCategory(const std::vector<std::string>& Words) {
    const std::size_t first = SkipArticles(Words, {"a", "an", "the", "one"});
    if (first < Words.size() && Words[first] == "use")
        return {TClaimCategory::Use, true};
    static constexpr std::string_view stops[] = {"for",
                                                 "of",
                                                 "to",
                                                 "in",
                                                 "on",
                                                 "at",
                                                 "with",
                                                 "by",
                                                 "from",
                                                 "as",
                                                 "comprising",
                                                 "comprises",
                                                 "including",
                                                 "includes",
                                                 "having",
                                                 "has",
                                                 "which",
                                                 "that",
                                                 "wherein",
                                                 "whereby",
                                                 "where",
                                                 "characterized",
                                                 "characterised",
                                                 "consisting",
                                                 "according",
                                                 "being",
                                                 "configured",
                                                 "adapted",
                                                 "operable",
                                                 "storing",
                                                 "containing",
                                                 "suitable",
                                                 "used",
                                                 "using",
                                                 "obtainable",
                                                 "obtained",
                                                 "made",
                                                 "produced",
                                                 "prepared",
                                                 "useful",
                                                 "capable",
                                                 "arranged",
                                                 "defined",
                                                 "claimed",
                                                 "recited",
                                                 "executable",
                                                 "embodied",
                                                 "encoded",
                                                 "carrying",
                                                 "and",
                                                 "or",
                                                 "said",
                                                 "holding",
                                                 "embodying",
                                                 "tangibly",
                                                 "whose",
                                                 "selected",
                                                 "represented",
                                                 "chosen",
                                                 "provided",
                                                 "mounted",
                                                 "disposed",
                                                 "located",
                                                 "connected",
                                                 "intended",
                                                 "designed"};
    const auto span = Span(Words, first, stops);
    if (span.empty())
        return {};
    const std::string_view head = span.back();
    if (In(head, {"method", "methods", "process", "processes", "procedure"}))
        return {TClaimCategory::Method, true};
    if (head == "use")
        return {TClaimCategory::Use, true};
    if ((In(head, {"medium", "media", "mediums"}) &&
         (SpanHas(span, "readable") || SpanHas(span, "storage") || SpanHas(span, "recording") ||
          SpanHas(span, "memory") || SpanHas(span, "transitory") || SpanHas(span, "computer"))) ||
        (head == "product" && (SpanHas(span, "program") || SpanHas(span, "software"))) ||
        In(head, {"program", "programme", "software"}))
        return {TClaimCategory::Medium, true};
    if (head == "means")
        return {TClaimCategory::MeansPlusFunction, true};
    // "A culture medium"; "The medium of claim 14" names no category of its own.
    if (In(head, {"medium", "media"}))
        return {TClaimCategory::Product, false};
    if (In(head,
           {"composition", "compositions", "compound",    "compounds",  "formulation", "mixture",
            "alloy",       "product",      "kit",         "material",   "polymer",     "copolymer",
            "resin",       "emulsion",     "solution",    "suspension", "dispersion",  "salt",
            "tablet",      "capsule",      "preparation", "medicament", "vaccine",     "antibody",
            "peptide",     "protein",      "catalyst",    "adhesive",   "coating",     "foam",
            "fibre",       "fiber",        "laminate",    "fabric",     "textile",     "glass",
            "ceramic",     "concrete",     "cement",      "fertilizer", "fertiliser",  "detergent",
            "lubricant",   "ink",          "paint",       "pigment",    "fuel",        "foodstuff",
            "beverage",    "powder",       "granulate",   "extract",    "gel",         "cream",
            "ointment",    "steel",        "article",     "medium",     "media",       "liquid",
            "oil"}))
        return {TClaimCategory::Product, true};
    if (In(head, {"apparatus", "device", "system", "machine", "assembly", "arrangement", "unit",
                  "tool", "instrument", "equipment", "circuit", "installation", "plant", "vehicle",
                  "mechanism", "appliance", "structure", "kit-of-parts"}))
        return {TClaimCategory::Apparatus, true};
    return Guess(head);
}

TNamed GermanCategory(const std::vector<std::string>& Words) {
    const std::size_t first =
        SkipArticles(Words, {"ein", "eine", "einer", "eines", "einem", "einen", "der", "die", "das",
                             "den", "dem", "des"});
    if (first < Words.size() && EndsWithAny(Words[first], {"verwendung", "gebrauch"}))
        return {TClaimCategory::Use, true};
    static constexpr std::string_view stops[] = {
        "zur",          "zum",       "zu",         "für",        "fuer",        "von",
        "vom",          "mit",       "nach",       "gemäß",      "gemaess",     "gemäss",
        "entsprechend", "umfassend", "aufweisend", "enthaltend", "beinhaltend", "bestehend",
        "dadurch",      "wobei",     "welche",     "welcher",    "welches",     "die",
        "der",          "das",       "in",         "im",         "an",          "am",
        "auf",          "bei",       "durch",      "mittels",    "als",         "aus",
        "insbesondere", "und",       "oder"};
    const auto span = Span(Words, first, stops);
    if (span.empty())
        return {};
    const std::string_view head = span.back();
    if (head.ends_with("verfahren") || In(head, {"methode", "prozess", "prozeß"}))
        return {TClaimCategory::Method, true};
    if (head.ends_with("verwendung"))
        return {TClaimCategory::Use, true};
    if (EndsWithAny(head, {"speichermedium", "speichermedien", "datenträger", "programmprodukt",
                           "aufzeichnungsmedium", "computerprogramm", "programm"}) ||
        (EndsWithAny(head, {"medium", "medien"}) && SpanHas(span, "lesbar")))
        return {TClaimCategory::Medium, true};
    if (EndsWithAny(head, {"zusammensetzung",
                           "mischung",
                           "gemisch",
                           "legierung",
                           "formulierung",
                           "zubereitung",
                           "erzeugnis",
                           "produkt",
                           "werkstoff",
                           "material",
                           "polymer",
                           "polymerisat",
                           "harz",
                           "kit",
                           "arzneimittel",
                           "präparat",
                           "emulsion",
                           "dispersion",
                           "lösung",
                           "klebstoff",
                           "beschichtungsmittel"}) ||
        head == "verbindung")
        return {TClaimCategory::Product, true};
    if (EndsWithAny(head, {"vorrichtung", "einrichtung", "anordnung", "system", "gerät", "apparat",
                           "maschine", "anlage", "baugruppe", "werkzeug"}))
        return {TClaimCategory::Apparatus, true};
    return Guess(head);
}

TNamed FrenchCategory(const std::vector<std::string>& Words) {
    const std::size_t first =
        SkipArticles(Words, {"un", "une", "le", "la", "les", "l'", "des", "du"});
    if (first >= Words.size() || Punctuation(Words[first]))
        return {};
    // The noun comes first; what qualifies it follows.
    const std::string_view head = Words[first];
    std::vector<std::string_view> after;
    for (std::size_t i = first + 1; i < Words.size() && after.size() < 6; ++i)
        after.push_back(Words[i]);
    if (In(head, {"procédé", "procede", "procédés", "méthode", "methode", "processus"}))
        return {TClaimCategory::Method, true};
    if (In(head, {"utilisation", "emploi", "usage"}))
        return {TClaimCategory::Use, true};
    if ((In(head, {"support", "supports", "médium", "medium"}) &&
         (SpanHas(after, "lisible") || SpanHas(after, "enregistrement") ||
          SpanHas(after, "stockage") || SpanHas(after, "informatique") ||
          SpanHas(after, "ordinateur"))) ||
        (head == "produit" && !after.empty() && after.front().starts_with("programme")) ||
        head == "programme")
        return {TClaimCategory::Medium, true};
    if (In(head, {"moyen", "moyens"}))
        return {TClaimCategory::MeansPlusFunction, true};
    if (In(head,
           {"composition", "compositions", "composé",     "compose",     "composés",   "mélange",
            "melange",     "alliage",      "formulation", "produit",     "matériau",   "materiau",
            "matière",     "polymère",     "kit",         "préparation", "médicament", "émulsion",
            "solution",    "revêtement",   "sel"}))
        return {TClaimCategory::Product, true};
    if (In(head, {"dispositif", "appareil", "système", "systeme", "machine", "installation",
                  "ensemble", "équipement", "outil", "agencement", "unité", "appareillage"}))
        return {TClaimCategory::Apparatus, true};
    return Guess(head);
}

// Whether an apparatus claim is written as means for functions: most of its
// elements ("means for ...;") are.
bool MeansForFunctions(std::string_view Text, TClaimLanguage Language) {
    const std::vector<std::string> words = FirstWords(Text, 4000);
    int means = 0;
    int elements = 1;
    for (std::size_t i = 0; i + 1 < words.size(); ++i) {
        const std::string& w = words[i];
        const std::string& next = words[i + 1];
        if (w == ";")
            ++elements;
        const bool found =
            Language == TClaimLanguage::English
                ? w == "means" && In(next, {"for", "to", "adapted", "configured", "arranged",
                                            "operable", "responsive"})
            : Language == TClaimLanguage::German
                ? w == "mittel" && In(next, {"zum", "zur", "für"})
                : In(w, {"moyen", "moyens"}) && In(next, {"de", "d'", "pour", "destinés", "destiné",
                                                          "agencés", "configurés"});
        means += found ? 1 : 0;
    }
    return means >= 2 && 2 * means >= elements;
}

// Categories that name the same kind of thing: a claim of means for
// functions is an apparatus claim written so.
TClaimCategory Family(TClaimCategory Category) {
    return Category == TClaimCategory::MeansPlusFunction ? TClaimCategory::Apparatus : Category;
}

bool IsCancelled(const TClaim& Claim) {
    std::string status = Claim.Status;
    for (char& c : status)
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    return status.find("cancel") != std::string::npos;
}

const char* CategoryNoun(TClaimCategory Category) {
    switch (Category) {
    case TClaimCategory::Method:
        return "method";
    case TClaimCategory::Apparatus:
    case TClaimCategory::MeansPlusFunction:
        return "apparatus";
    case TClaimCategory::Product:
        return "product";
    case TClaimCategory::Use:
        return "use";
    case TClaimCategory::Medium:
        return "computer-readable medium";
    case TClaimCategory::Unknown:
        break;
    }
    return "unknown";
}

} // namespace

const char* ClaimCategoryName(TClaimCategory Category) {
    switch (Category) {
    case TClaimCategory::Method:
        return "method";
    case TClaimCategory::Apparatus:
        return "apparatus";
    case TClaimCategory::Product:
        return "product";
    case TClaimCategory::Use:
        return "use";
    case TClaimCategory::Medium:
        return "medium";
    case TClaimCategory::MeansPlusFunction:
        return "means-plus-function";
    case TClaimCategory::Unknown:
        break;
    }
    return "unknown";
}

TClaimLanguage ClaimSetLanguage(const TClaimTree& Tree) {
    // Words only one of the languages uses often; the last count is of
    // languages whose claims look alike but the tables do not read.
    std::array<int, 4> counts{};
    std::size_t claims = 0;
    for (const TClaim& claim : Tree.Claims) {
        if (++claims > 50)
            break;
        const std::string utf8 = Tree.TextIsUtf8 ? claim.Text : Windows1252ToUtf8(claim.Text);
        for (const std::string& w : FirstWords(utf8, 60)) {
            if (In(w, {"the", "of", "and", "wherein", "said", "claim", "a", "an", "which"}))
                ++counts[0];
            else if (In(w, {"der", "die", "das", "und", "nach", "anspruch", "ein", "eine", "einer",
                            "wobei", "dadurch", "mit"}))
                ++counts[1];
            else if (In(w, {"le", "la", "les", "et", "selon", "revendication", "un", "une", "du",
                            "dans", "caractérisé"}))
                ++counts[2];
            else if (In(w, {"el", "y", "il", "según", "secondo", "rivendicazione", "reivindicación",
                            "conclusie", "volgens", "het", "een", "och", "og", "krav", "ifølge",
                            "o", "com", "que"}))
                ++counts[3];
        }
    }
    const auto most = std::max_element(counts.begin(), counts.end());
    if (*most == 0)
        return TClaimLanguage::Other;
    switch (most - counts.begin()) {
    case 0:
        return TClaimLanguage::English;
    case 1:
        return TClaimLanguage::German;
    case 2:
        return TClaimLanguage::French;
    default:
        return TClaimLanguage::Other;
    }
}

namespace {

// The preamble's category, an apparatus claim of means for functions not yet
// told apart: that reads the whole claim, and only a claim of its own
// category needs it.
TNamed NamedCategory(std::string_view Text, TClaimLanguage Language) {
    const std::vector<std::string> words = FirstWords(Text, PreambleWords);
    switch (Language) {
    case TClaimLanguage::English:
        return EnglishCategory(words);
    case TClaimLanguage::German:
        return GermanCategory(words);
    case TClaimLanguage::French:
        return FrenchCategory(words);
    case TClaimLanguage::Other:
        break;
    }
    return {};
}

TClaimCategory WithMeans(TClaimCategory Category, std::string_view Text, TClaimLanguage Language) {
    return Category == TClaimCategory::Apparatus && MeansForFunctions(Text, Language)
               ? TClaimCategory::MeansPlusFunction
               : Category;
}

} // namespace

TClaimCategory PreambleCategory(std::string_view Text, TClaimLanguage Language, bool& Named) {
    const TNamed found = NamedCategory(Text, Language);
    Named = found.Named;
    return WithMeans(found.Category, Text, Language);
}

std::vector<TCategoryOfClaim> ClaimCategories(const TClaimTree& Tree) {
    std::vector<TCategoryOfClaim> categories(Tree.Claims.size());
    const TClaimLanguage language = ClaimSetLanguage(Tree);
    if (language == TClaimLanguage::Other)
        return categories;
    // The last claim read with each number: a reference names it.
    std::vector<std::size_t> latest(ClaimTableSize, SIZE_MAX);
    std::map<int32_t, std::size_t> latestBeyond;
    for (const TClaim& claim : Tree.Claims) {
        TCategoryOfClaim& of = categories[claim.Index];
        const std::string utf8 = Tree.TextIsUtf8 ? std::string() : Windows1252ToUtf8(claim.Text);
        const std::string_view text = Tree.TextIsUtf8 ? std::string_view(claim.Text) : utf8;
        const TNamed found = NamedCategory(text, language);
        const TClaimCategory own = found.Category;
        const bool named = found.Named;
        std::size_t parent = SIZE_MAX;
        for (const TReferenceRun& run : claim.References) {
            // The first number of the run read before this claim.
            for (int64_t n = run.First; n <= run.Last && parent == SIZE_MAX; ++n) {
                if (InClaimTable(static_cast<int32_t>(n))) {
                    parent = latest[static_cast<std::size_t>(n)];
                } else {
                    const auto it = latestBeyond.find(static_cast<int32_t>(n));
                    if (it != latestBeyond.end())
                        parent = it->second;
                    // Past the tables a range may be wide: its first number
                    // decides, as it does for the tree.
                    break;
                }
                if (n - run.First > 64)
                    break;
            }
            if (parent != SIZE_MAX)
                break;
        }
        if (parent == SIZE_MAX || categories[parent].Category == TClaimCategory::Unknown) {
            of.Category = WithMeans(own, text, language);
        } else {
            const TClaimCategory inherited = categories[parent].Category;
            // "A dryer for carrying out the method of claim 1": a thing,
            // though the tables do not know its name, is not a method.
            const bool thing =
                own == TClaimCategory::Apparatus &&
                (inherited == TClaimCategory::Method || inherited == TClaimCategory::Use);
            if ((named || thing) && Family(own) != Family(inherited)) {
                of.Category = WithMeans(own, text, language);
                of.OtherCategoryClaim = Tree.Claims[parent].Number;
                of.OtherCategory = inherited;
            } else {
                of.Category = inherited;
            }
        }
        if (InClaimTable(claim.Number))
            latest[static_cast<std::size_t>(claim.Number)] = claim.Index;
        else
            latestBeyond[claim.Number] = claim.Index;
    }
    return categories;
}

void AddCategoryProblems(const TClaimTree& Tree, const std::vector<TCategoryOfClaim>& Categories,
                         std::vector<std::pair<std::size_t, TClaimProblem>>& Problems) {
    // The first independent claim of each category.
    std::map<TClaimCategory, int32_t> first;
    for (const TClaim& claim : Tree.Claims) {
        const TCategoryOfClaim& of = Categories[claim.Index];
        if (of.Category == TClaimCategory::Unknown || IsCancelled(claim) ||
            !of.StandsAlone(claim.Kind == TClaimKind::Independent))
            continue;
        const auto [at, isFirst] = first.emplace(Family(of.Category), claim.Number);
        if (isFirst)
            continue;
        Problems.emplace_back(
            claim.Index,
            TClaimProblem{claim.Number, claim.Line, TSeverity::Warning, TProblemKind::CategoryCount,
                          "EP practice: claim " + std::to_string(claim.Number) +
                              " is a further independent " + CategoryNoun(of.Category) +
                              " claim after claim " + std::to_string(at->second) +
                              "; one independent claim per category is the rule, with "
                              "exceptions (Rule 43(2) EPC)."});
    }
}
