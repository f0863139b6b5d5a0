#include "LenientCjk.h"

#include "LenientText.h"

#include <algorithm>
#include <cstring>
#include <span>

namespace {

using TWords = std::span<const std::string_view>;

// One language's words, as UTF-8. Where one word starts another, the longer
// comes first: the first that matches is taken.
struct TCjkLexicon {
    TWords ClaimWords;      // "权利要求": a number after it is a claim's
    TWords NumberPrefixes;  // "第", "제": before a claim number
    TWords NumberSuffixes;  // "项", "항": after it
    TWords ListWords;       // "或", "又は", "또는"
    TWords RangeWords;      // "至", "から", "내지"
    TWords PrecedingWords;  // "前述": with a claim word and no number, all earlier claims
    TWords UnitWords;       // "重量份": the number before is a measure
    TWords ClaimsHeadings;  // whole headings, blanks and brackets left out
    TWords SectionHeadings; // first words of a heading after the claims
};

constexpr std::string_view ChineseClaimWords[] = {"权利要求", "權利要求", "请求项"};
constexpr std::string_view ChinesePrefixes[] = {"第"};
constexpr std::string_view ChineseSuffixes[] = {"项", "項"};
constexpr std::string_view ChineseLists[] = {"或者", "或", "以及", "和", "及"};
constexpr std::string_view ChineseRanges[] = {"至", "到"};
constexpr std::string_view ChinesePreceding[] = {"前述", "前面", "上述", "以上", "之前", "在先"};
constexpr std::string_view ChineseUnits[] = {"重量份", "质量份", "重量", "份", "个", "毫米",
                                             "厘米",   "米",     "克",   "度", "倍"};
constexpr std::string_view ChineseHeadings[] = {"权利要求书", "權利要求書", "权利要求", "權利要求"};
constexpr std::string_view ChineseSections[] = {"说明书摘要", "说明书",   "說明書",
                                                "摘要",       "技术领域", "技術領域",
                                                "背景技术",   "发明内容", "附图说明"};

constexpr std::string_view JapaneseClaimWords[] = {"請求項"};
constexpr std::string_view JapanesePrefixes[] = {"第"};
constexpr std::string_view JapaneseSuffixes[] = {"項"};
constexpr std::string_view JapaneseLists[] = {"又は",   "または",  "若しくは", "もしくは",
                                              "及び",   "および",  "並びに",   "ならびに",
                                              "或いは", "あるいは"};
constexpr std::string_view JapaneseRanges[] = {"から", "ないし", "乃至"};
constexpr std::string_view JapanesePreceding[] = {"先行する", "先の", "前出の"};
constexpr std::string_view JapaneseUnits[] = {"質量部", "重量部", "質量", "重量", "部", "個", "倍"};
// "補正の内容" opens the restated claims of an amendment.
constexpr std::string_view JapaneseHeadings[] = {"特許請求の範囲", "実用新案登録請求の範囲",
                                                 "補正の内容"};
constexpr std::string_view JapaneseSections[] = {
    "明細書",   "発明の詳細な説明", "要約書",   "要約",    "図面",
    "技術分野", "手続補正",         "補正対象", "補正方法"};

constexpr std::string_view KoreanClaimWords[] = {"청구항"};
constexpr std::string_view KoreanPrefixes[] = {"제"};
constexpr std::string_view KoreanSuffixes[] = {"항"};
constexpr std::string_view KoreanLists[] = {"또는", "및", "혹은"};
constexpr std::string_view KoreanRanges[] = {"내지", "부터", "에서"};
constexpr std::string_view KoreanPreceding[] = {"선행하는", "선행", "앞선", "앞의", "이전"};
constexpr std::string_view KoreanUnits[] = {"중량부", "중량", "개", "배"};
constexpr std::string_view KoreanHeadings[] = {"특허청구의범위", "특허청구범위", "청구의범위",
                                               "청구범위"};
constexpr std::string_view KoreanSections[] = {"발명의설명", "요약서", "요약",      "명세서",
                                               "기술분야",   "도면",   "발명의명칭"};

constexpr TCjkLexicon Lexicons[] = {
    {ChineseClaimWords, ChinesePrefixes, ChineseSuffixes, ChineseLists, ChineseRanges,
     ChinesePreceding, ChineseUnits, ChineseHeadings, ChineseSections},
    {JapaneseClaimWords, JapanesePrefixes, JapaneseSuffixes, JapaneseLists, JapaneseRanges,
     JapanesePreceding, JapaneseUnits, JapaneseHeadings, JapaneseSections},
    {KoreanClaimWords, KoreanPrefixes, KoreanSuffixes, KoreanLists, KoreanRanges, KoreanPreceding,
     KoreanUnits, KoreanHeadings, KoreanSections},
};

// Claim numbers have at most this many digits.
constexpr int MaxDigits = 6;
// Bytes before a claim word searched for a preceding-claims word: eight
// characters of these scripts.
constexpr std::size_t PrecedingReach = 24;

bool IsLineBreak(uint32_t C) {
    return C == '\n' || C == '\r';
}

uint32_t CharAt(std::string_view Text, std::size_t Pos, std::size_t& Next) {
    Next = Pos;
    return Pos < Text.size() ? NextChar(Text, Next) : 0;
}

// Past blanks, and line breaks too when Breaks.
std::size_t SkipBlanks(std::string_view Text, std::size_t Pos, bool Breaks) {
    while (Pos < Text.size()) {
        std::size_t next = 0;
        const uint32_t c = CharAt(Text, Pos, next);
        if (!IsBlankChar(c) && !(Breaks && IsLineBreak(c)))
            break;
        Pos = next;
    }
    return Pos;
}

int DigitAt(std::string_view Text, std::size_t Pos, std::size_t& Next) {
    if (Pos >= Text.size())
        return -1;
    const auto b = static_cast<unsigned char>(Text[Pos]);
    if (b >= '0' && b <= '9') {
        Next = Pos + 1;
        return b - '0';
    }
    if (b != 0xEF)
        return -1;
    const uint32_t c = CharAt(Text, Pos, Next);
    return c >= 0xFF10 && c <= 0xFF19 ? static_cast<int>(c - 0xFF10) : -1;
}

// ASCII or full-width digits at Pos: their value, Pos moved past them.
bool ReadDigits(std::string_view Text, std::size_t& Pos, int32_t& Value) {
    std::size_t at = Pos;
    int32_t value = 0;
    int count = 0;
    for (std::size_t next = 0;; ++count) {
        const int d = DigitAt(Text, at, next);
        if (d < 0)
            break;
        if (count == MaxDigits)
            return false;
        value = value * 10 + d;
        at = next;
    }
    if (count == 0)
        return false;
    Pos = at;
    Value = value;
    return true;
}

// Word at Pos, which a copy from a PDF viewer may break ("权利\n要求"):
// blanks and line breaks are passed over between its characters.
bool MatchWord(std::string_view Text, std::size_t& Pos, std::string_view Word, bool Breaks) {
    std::size_t at = Pos;
    std::size_t k = 0;
    while (k < Word.size()) {
        if (at >= Text.size())
            return false;
        if (k > 0 && static_cast<unsigned char>(Word[k]) >= 0xC0)
            at = SkipBlanks(Text, at, Breaks);
        // One character of the word, byte for byte.
        std::size_t end = k + 1;
        while (end < Word.size() && (static_cast<unsigned char>(Word[end]) & 0xC0) == 0x80)
            ++end;
        if (Text.substr(at, end - k) != Word.substr(k, end - k))
            return false;
        at += end - k;
        k = end;
    }
    Pos = at;
    return true;
}

bool MatchAny(std::string_view Text, std::size_t& Pos, TWords Words, bool Breaks) {
    return std::any_of(Words.begin(), Words.end(),
                       [&](std::string_view w) { return MatchWord(Text, Pos, w, Breaks); });
}

// A word of the given kind in any of the lexicons: texts mix them ("如請求項1或2所述"
// is Chinese with the Japanese claim word), and no two languages' words clash.
bool MatchAnyLexicon(std::string_view Text, std::size_t& Pos, TWords TCjkLexicon::*Kind) {
    return std::any_of(std::begin(Lexicons), std::end(Lexicons),
                       [&](const TCjkLexicon& l) { return MatchAny(Text, Pos, l.*Kind, false); });
}

// Which lexicon's claim word starts at Pos; Pos moved past it.
const TCjkLexicon* ClaimWordAt(std::string_view Text, std::size_t& Pos, bool Breaks) {
    for (const TCjkLexicon& lexicon : Lexicons) {
        if (MatchAny(Text, Pos, lexicon.ClaimWords, Breaks))
            return &lexicon;
    }
    return nullptr;
}

// The text without blanks and brackets, and without a "書類名" label.
std::string HeadingCore(std::string_view Line) {
    std::string core;
    for (std::size_t pos = 0; pos < Line.size();) {
        const std::size_t begin = pos;
        const uint32_t c = NextChar(Line, pos);
        if (IsBlankChar(c) || c == 0x3010 || c == 0x3011 || c == '[' || c == ']' || c == 0xFF3B ||
            c == 0xFF3D || c == ':' || c == 0xFF1A)
            continue;
        core.append(Line.substr(begin, pos - begin));
    }
    constexpr std::string_view label = "書類名";
    if (core.starts_with(label))
        core.erase(0, label.size());
    return core;
}

bool IsUnitAt(std::string_view Text, std::size_t Pos) {
    Pos = SkipBlanks(Text, Pos, false);
    if (Pos >= Text.size())
        return false;
    std::size_t next = 0;
    const uint32_t c = CharAt(Text, Pos, next);
    const char a = AsciiForm(c);
    if ((a >= 'a' && a <= 'z') || (a >= 'A' && a <= 'Z') || a == '%' || c == 0x2103 || c == 0xB0)
        return true;
    // "1.5": a decimal.
    if (a == '.' && DigitAt(Text, next, next) >= 0)
        return true;
    return MatchAnyLexicon(Text, Pos, &TCjkLexicon::UnitWords);
}

class TCjkReferenceReader {
public:
    TCjkReferenceReader(std::string_view Text, int32_t Number, std::vector<TReferenceRun>& Runs)
        : text(Text), number(Number), runs(Runs) {}

    void Read() {
        std::size_t pos = 0;
        const std::size_t n = text.size();
        while (pos < n) {
            if (static_cast<unsigned char>(text[pos]) < 0x80) {
                ++pos;
                continue;
            }
            std::size_t at = pos;
            if (ClaimWordAt(text, at, true) != nullptr) {
                pos = ReadAfterClaimWord(pos, at);
                continue;
            }
            // Korean writes "제1항": the claim word after the number.
            if (MatchAny(text, at, KoreanPrefixes, false)) {
                int32_t value = 0;
                if (ReadNumber(at, value, true)) {
                    pos = ReadList(at, value);
                    continue;
                }
            }
            NextChar(text, pos);
        }
    }

private:
    void Add(int64_t First, int64_t Last) {
        runs.push_back({static_cast<int32_t>(First), static_cast<int32_t>(Last)});
    }

    // "第1项", "１", "제 2 항": a number with the lexicon's prefix and suffix
    // around it, the suffix required when NeedSuffix. Pos moved past it.
    bool ReadNumber(std::size_t& Pos, int32_t& Value, bool NeedSuffix) const {
        std::size_t at = SkipBlanks(text, Pos, true);
        if (MatchAnyLexicon(text, at, &TCjkLexicon::NumberPrefixes))
            at = SkipBlanks(text, at, false);
        int32_t value = 0;
        if (!ReadDigits(text, at, value) || value < 1)
            return false;
        if (IsUnitAt(text, at))
            return false;
        std::size_t suffix = SkipBlanks(text, at, false);
        if (MatchAnyLexicon(text, suffix, &TCjkLexicon::NumberSuffixes))
            at = suffix;
        else if (NeedSuffix)
            return false;
        Pos = at;
        Value = value;
        return true;
    }

    std::size_t ReadAfterClaimWord(std::size_t Word, std::size_t At) {
        int32_t value = 0;
        if (ReadNumber(At, value, false))
            return ReadList(At, value);
        // "根据前述权利要求中任一项", "선행하는 청구항 중 어느 한 항".
        const std::size_t from = Word > PrecedingReach ? Word - PrecedingReach : 0;
        const std::string_view before = text.substr(from, Word - from);
        const bool preceding =
            std::any_of(std::begin(Lexicons), std::end(Lexicons), [&](const TCjkLexicon& l) {
                return std::any_of(
                    l.PrecedingWords.begin(), l.PrecedingWords.end(),
                    [&](std::string_view w) { return before.find(w) != std::string_view::npos; });
            });
        if (preceding && number >= 2)
            Add(1, number - 1);
        return At;
    }

    // The list after a first number Value ending at Pos: "或2", "至5", "～３",
    // "、2又は3", "또는 제2항". Returns where the reading stopped.
    std::size_t ReadList(std::size_t Pos, int32_t Value) {
        bool open = true; // Value not yet added
        for (;;) {
            std::size_t at = SkipBlanks(text, Pos, true);
            std::size_t next = 0;
            const uint32_t c = CharAt(text, at, next);
            const char a = AsciiForm(c);
            bool range = false;
            bool joined = false;
            if (a == '-' || a == '~' || (at < text.size() && IsDashChar(c))) {
                range = true;
                at = next;
            } else if (MatchAnyLexicon(text, at, &TCjkLexicon::RangeWords)) {
                range = true;
            } else if (a == ',') {
                at = next;
            } else if (MatchAnyLexicon(text, at, &TCjkLexicon::ListWords)) {
                joined = true;
            } else {
                break;
            }
            // "請求項１～請求項３", "제1항 또는 제2항".
            std::size_t item = SkipBlanks(text, at, true);
            if (ClaimWordAt(text, item, true) == nullptr)
                item = at;
            int32_t following = 0;
            if (!ReadNumber(item, following, false))
                break;
            if (range) {
                if (!open || following <= Value)
                    break;
                Add(Value, following);
                open = false;
            } else {
                // After a comma only an earlier claim: "权利要求1，2个把手" counts handles.
                if (!joined && following >= number)
                    break;
                if (open)
                    Add(Value, Value);
                open = true;
            }
            Value = following;
            Pos = item;
        }
        if (open)
            Add(Value, Value);
        return Pos;
    }

    std::string_view text;
    int32_t number;
    std::vector<TReferenceRun>& runs;
};

// "2,4-" after "1.": the locants of a chemical name, so the period ends a
// claim number rather than starting a decimal.
bool IsLocantAt(std::string_view Line, std::size_t Pos) {
    for (;;) {
        int32_t value = 0;
        if (!ReadDigits(Line, Pos, value))
            return false;
        std::size_t next = 0;
        const uint32_t c = CharAt(Line, Pos, next);
        if (AsciiForm(c) == ',') {
            Pos = next;
            continue;
        }
        if (!IsDashChar(c) && AsciiForm(c) != '-')
            return false;
        std::size_t after = 0;
        return next < Line.size() && DigitAt(Line, next, after) < 0 &&
               !IsBlankChar(CharAt(Line, next, after));
    }
}

void SetText(std::string_view Line, std::size_t Pos, TClaimStart& Start) {
    Start.TextBegin = SkipBlanks(Line, Pos, false);
    std::size_t next = 0;
    const uint32_t c = CharAt(Line, Start.TextBegin, next);
    Start.CapitalStart = Start.TextBegin >= Line.size() || !(c >= 'a' && c <= 'z');
}

// "1、", "1．", "１．", "1.2,4-…".
std::optional<TClaimStart> ReadNumbered(std::string_view Line) {
    std::size_t pos = 0;
    TClaimStart start;
    const bool ascii = Line[0] >= '0' && Line[0] <= '9';
    if (!ReadDigits(Line, pos, start.First) || pos >= Line.size())
        return std::nullopt;
    // The ASCII forms are read as they always were, but for a chemical name.
    if (ascii && static_cast<unsigned char>(Line[pos]) < 0x80 && Line[pos] != '.')
        return std::nullopt;
    start.Last = start.First;
    std::size_t next = 0;
    const uint32_t c = CharAt(Line, pos, next);
    const char a = AsciiForm(c);
    std::size_t after = 0;
    const bool digitAfter = DigitAt(Line, next, after) >= 0;
    if (a == '.' || c == 0x3001) {
        if (digitAfter) {
            if (a != '.' || !IsLocantAt(Line, next) || !HasCjkText(Line.substr(next)))
                return std::nullopt;
        } else if (c == '.' && ascii) {
            return std::nullopt;
        }
        start.Numbering = TNumbering::Period;
    } else if (c == 0xFF09) {
        start.Numbering = TNumbering::Bracket;
    } else {
        return std::nullopt;
    }
    SetText(Line, next, start);
    return start;
}

// "【請求項１】", "[청구항 1]", "청구항 1" alone on its line.
std::optional<TClaimStart> ReadWordNumbered(std::string_view Line) {
    std::size_t pos = 0;
    std::string_view close;
    for (const auto& [open, shut] :
         {std::pair<std::string_view, std::string_view>{"【", "】"}, {"[", "]"}, {"［", "］"}}) {
        if (Line.starts_with(open)) {
            pos = SkipBlanks(Line, open.size(), false);
            close = shut;
            break;
        }
    }
    const TCjkLexicon* lexicon = ClaimWordAt(Line, pos, false);
    if (lexicon == nullptr)
        return std::nullopt;
    pos = SkipBlanks(Line, pos, false);
    TClaimStart start;
    if (MatchAny(Line, pos, lexicon->NumberPrefixes, false))
        pos = SkipBlanks(Line, pos, false);
    if (!ReadDigits(Line, pos, start.First) || start.First < 1)
        return std::nullopt;
    start.Last = start.First;
    pos = SkipBlanks(Line, pos, false);
    if (MatchAny(Line, pos, lexicon->NumberSuffixes, false))
        pos = SkipBlanks(Line, pos, false);
    start.Numbering = TNumbering::Word;
    if (!close.empty()) {
        if (!Line.substr(pos).starts_with(close))
            return std::nullopt;
        SetText(Line, pos + close.size(), start);
        return start;
    }
    // Without brackets only alone or before a colon or period: a line of a
    // claim's text may start with "权利要求1所述的".
    if (pos < Line.size()) {
        std::size_t next = 0;
        const char a = AsciiForm(CharAt(Line, pos, next));
        if (a != '.' && a != ':')
            return std::nullopt;
        pos = next;
    }
    SetText(Line, pos, start);
    return start;
}

} // namespace

char AsciiForm(uint32_t C) {
    if (C < 0x80)
        return static_cast<char>(C);
    if (C >= 0xFF01 && C <= 0xFF5E)
        return static_cast<char>(C - 0xFF01 + '!');
    switch (C) {
    case 0x3001: // 、
        return ',';
    case 0x3002: // 。
    case 0xFF61:
        return '.';
    case 0x301C: // 〜
        return '~';
    case 0x3010: // 【
        return '[';
    case 0x3011:
        return ']';
    case 0x3000:
        return ' ';
    default:
        return 0;
    }
}

bool IsCjkLetter(uint32_t C) {
    return (C >= 0x3040 && C <= 0x30FF) || (C >= 0x3400 && C <= 0x4DBF) ||
           (C >= 0x4E00 && C <= 0x9FFF) || (C >= 0xAC00 && C <= 0xD7AF) ||
           (C >= 0x1100 && C <= 0x11FF) || (C >= 0xF900 && C <= 0xFAFF) ||
           (C >= 0x20000 && C <= 0x2FFFF);
}

bool HasCjkText(std::string_view Text) {
    const std::size_t n = Text.size();
    std::size_t i = 0;
    // Eight bytes at a time over ASCII: every claim's text passes here.
    constexpr uint64_t high = 0x8080808080808080u;
    for (uint64_t word = 0; i + 8 <= n; i += 8) {
        std::memcpy(&word, Text.data() + i, 8);
        if ((word & high) != 0)
            break;
    }
    for (; i + 1 < n; ++i) {
        const auto b = static_cast<unsigned char>(Text[i]);
        if (((b >= 0xE3 && b <= 0xED) || b == 0xEF) &&
            (static_cast<unsigned char>(Text[i + 1]) & 0xC0) == 0x80)
            return true;
    }
    return false;
}

std::optional<TClaimStart> ReadCjkClaimStart(std::string_view Line) {
    if (Line.empty())
        return std::nullopt;
    const auto b = static_cast<unsigned char>(Line[0]);
    if (b >= '0' && b <= '9') {
        // ASCII digits then ASCII are the Latin numbering's, but for "1.2,4-".
        std::size_t i = 1;
        while (i < Line.size() && Line[i] >= '0' && Line[i] <= '9')
            ++i;
        if (i < Line.size() && static_cast<unsigned char>(Line[i]) < 0x80 &&
            !(Line[i] == '.' && i + 1 < Line.size() && Line[i + 1] >= '0' && Line[i + 1] <= '9'))
            return std::nullopt;
        return ReadNumbered(Line);
    }
    std::size_t next = 0;
    if (DigitAt(Line, 0, next) >= 0)
        return ReadNumbered(Line);
    if (b == '[' || b >= 0xE0)
        return ReadWordNumbered(Line);
    return std::nullopt;
}

bool IsCjkClaimsHeading(std::string_view Line) {
    if (Line.empty() || Line.size() > 90 || static_cast<unsigned char>(Line[0]) < 0xE0)
        return false;
    const std::string core = HeadingCore(Line);
    return std::any_of(std::begin(Lexicons), std::end(Lexicons), [&](const TCjkLexicon& l) {
        return std::find(l.ClaimsHeadings.begin(), l.ClaimsHeadings.end(), core) !=
               l.ClaimsHeadings.end();
    });
}

bool IsCjkSectionHeading(std::string_view Line) {
    if (Line.empty() || Line.size() > 60 || static_cast<unsigned char>(Line[0]) < 0xE0)
        return false;
    // A bracketed heading may go on ("【手続補正２】"); a bare one is the whole line,
    // since a claim's text may start with the same word.
    const bool bracketed = Line.starts_with("【") || Line.starts_with("［");
    const std::string core = HeadingCore(Line);
    return std::any_of(std::begin(Lexicons), std::end(Lexicons), [&](const TCjkLexicon& l) {
        return std::any_of(
            l.SectionHeadings.begin(), l.SectionHeadings.end(),
            [&](std::string_view w) { return bracketed ? core.starts_with(w) : core == w; });
    });
}

char CjkLineEnd(std::string_view Line) {
    if (Line.size() < 3 || static_cast<unsigned char>(Line.back()) < 0x80)
        return 0;
    std::size_t pos = Line.size() - 3;
    const uint32_t c = NextChar(Line, pos);
    if (pos != Line.size() || !(c >= 0x3000 || c == 0xFF61))
        return 0;
    const char a = AsciiForm(c);
    return a == '.' || a == ':' || a == ';' || a == ')' || a == ']' || a == ',' ? a : 0;
}

void ReadCjkReferences(std::string_view Text, int32_t Number, std::vector<TReferenceRun>& Runs) {
    TCjkReferenceReader(Text, Number, Runs).Read();
}
