#include "LenientReader.h"

#include "LenientCjk.h"
#include "LenientLayouts.h"
#include "LenientLexicon.h"
#include "LenientNumbering.h"
#include "LenientReferences.h"
#include "LenientText.h"
#include "TextEncoding.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace {

// A claim longer than this is taken for a stretch of description.
constexpr std::size_t MaxClaimBytes = 256 * 1024;
// A heading counts for a claim that starts within this many lines after it.
constexpr int64_t HeadingReach = 4;
// Numbers a claim set may skip ("1, 2, 4" when claim 3 was left out).
constexpr int32_t MaxSkip = 4;

enum class TEventKind : uint8_t { Claim, ClaimsHeading, SectionHeading };

// One a line that starts a claim or heads one: ordered without padding.
struct TEvent {
    std::size_t LineStart = 0;
    std::size_t LineEnd = 0; // before the line break
    std::size_t TextBegin = 0;
    int64_t NonBlank = 0; // count of non-blank lines before this one
    int32_t Line = 0;
    TEventKind Kind = TEventKind::Claim;
    bool AfterClause = false;   // the line before ends a sentence, or is blank
    bool TitleLike = false;     // "1. Field of the Invention": short, no closing punctuation
    bool AfterSentence = false; // the line before ends with a period, or is blank
    TClaimStart Start;
};

struct TChain {
    std::vector<std::size_t> Members; // event indices
    TNumbering Numbering = TNumbering::Period;
    int32_t Last = 0;
    std::size_t End = std::numeric_limits<std::size_t>::max();
    bool Headed = false;
    int Level = 0;
};

bool IsAsciiBlank(char c) {
    return c == ' ' || c == '\t' || c == '\f' || c == '\v';
}

// First character of the line that is no blank.
std::size_t SkipLeadingBlanks(std::string_view Text, std::size_t From, std::size_t To) {
    while (From < To) {
        if (IsAsciiBlank(Text[From])) {
            ++From;
            continue;
        }
        if (static_cast<unsigned char>(Text[From]) < 0x80)
            break;
        std::size_t next = From;
        if (!IsBlankChar(NextChar(Text.substr(0, To), next)))
            break;
        From = next;
    }
    return From;
}

std::size_t TrimEnd(std::string_view Text, std::size_t From, std::size_t To) {
    while (To > From &&
           (IsAsciiBlank(Text[To - 1]) || Text[To - 1] == '\r' || Text[To - 1] == '\n'))
        --To;
    return To;
}

// A trimmed line's last character, a full-width or CJK mark ("。", "】") as its ASCII form.
char LastChar(std::string_view Line) {
    if (static_cast<unsigned char>(Line.back()) < 0x80)
        return Line.back();
    if (const char cjk = CjkLineEnd(Line))
        return cjk;
    return Line.back();
}

class TLineScanner {
public:
    explicit TLineScanner(std::string_view Text) : text(Text) {}

    std::vector<TEvent> Scan() {
        const std::size_t n = text.size();
        const char* data = text.data();
        std::size_t pos = 0;
        int32_t line = 1;
        while (pos <= n) {
            std::size_t end = n;
            std::size_t next = n + 1;
            if (pos < n) {
                // One pass for either line-end byte: searching for one and then
                // the other rescans the rest of a text that has only the other.
                end = FindLineBreak(text, pos);
                next =
                    end + 1 < n && data[end] == '\r' && data[end + 1] == '\n' ? end + 2 : end + 1;
            }
            Line(pos, end, line);
            pos = next;
            if (line < std::numeric_limits<int32_t>::max())
                ++line;
        }
        return std::move(events);
    }

private:
    void Line(std::size_t Begin, std::size_t End, int32_t Number) {
        const std::size_t first = SkipLeadingBlanks(text, Begin, End);
        const std::size_t last = TrimEnd(text, first, End);
        if (first == last) {
            blankBefore = true;
            return;
        }
        const bool afterClause = blankBefore || nonBlank == 0 || headingBefore ||
                                 std::strchr(".:;)]\"", lastChar) != nullptr;
        const bool afterSentence = blankBefore || nonBlank == 0 || headingBefore ||
                                   std::strchr(".)]\"", lastChar) != nullptr;
        headingBefore = false;
        const std::string_view content = text.substr(first, last - first);
        const char c = content[0];
        TEvent event;
        event.LineStart = Begin;
        event.LineEnd = End;
        event.Line = Number;
        event.NonBlank = nonBlank;
        event.AfterClause = afterClause;
        event.AfterSentence = afterSentence;
        if ((c == '.' || c == 'C') && IsFullTextMarkupLine(content))
            markup = true;
        const bool punctuation = !(c >= '0' && c <= '9') && c != '(' && c != '[' &&
                                 static_cast<unsigned char>(c) < 0x80 &&
                                 !((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'));
        if (!punctuation) {
            if (auto start = ReadClaimStart(content)) {
                event.Start = std::move(*start);
                event.TextBegin = first + event.Start.TextBegin;
                event.TitleLike = event.TextBegin < last && last - event.TextBegin < 60 &&
                                  event.Start.Status.empty() &&
                                  std::strchr(".,;:", LastChar(content)) == nullptr;
                events.push_back(std::move(event));
            } else if (content.size() <= 90 && IsClaimsHeading(content)) {
                event.Kind = TEventKind::ClaimsHeading;
                events.push_back(event);
                headingBefore = true;
            } else if (content.size() <= 60 && IsSectionHeading(content)) {
                event.Kind = TEventKind::SectionHeading;
                events.push_back(event);
            } else if (const std::size_t colon = content.substr(0, 60).find(':');
                       colon != std::string_view::npos) {
                // "What is claimed is: 1. A pump ..." on one line.
                const std::size_t rest = SkipLeadingBlanks(text, first + colon + 1, last);
                if (rest < last && IsClaimsHeading(content.substr(0, colon + 1))) {
                    if (auto start = ReadClaimStart(text.substr(rest, last - rest))) {
                        TEvent heading = event;
                        heading.Kind = TEventKind::ClaimsHeading;
                        events.push_back(heading);
                        event.Start = std::move(*start);
                        event.TextBegin = rest + event.Start.TextBegin;
                        event.AfterClause = true;
                        events.push_back(std::move(event));
                    }
                }
            }
        }
        lastChar = LastChar(content);
        blankBefore = false;
        ++nonBlank;
    }

public:
    // A line showed the markup of a reissue or of tagged full text.
    bool markup = false;

private:
    std::string_view text;
    std::vector<TEvent> events;
    int64_t nonBlank = 0;
    bool blankBefore = true;
    bool headingBefore = false;
    char lastChar = '\0';
};

bool SameStyle(TNumbering Chain, const TClaimStart& Start) {
    return Start.Numbering == Chain || !Start.Status.empty();
}

// "2. The pump ..." after claim 2, as a claim of its own: written in the set's
// style, after a sentence, starting with a capital.
bool IsRepeatedClaim(const TChain& Chain, const TEvent& Event) {
    const TClaimStart& start = Event.Start;
    return start.First == Chain.Last && start.Last == start.First &&
           start.Numbering == Chain.Numbering && Event.AfterSentence && start.CapitalStart &&
           !start.Cancelled;
}

// Groups the claim starts into claim sets: each runs 1, 2, 3, ... in one
// numbering style; numbers that do not continue the set are text.
std::vector<TChain> FindChains(const std::vector<TEvent>& Events) {
    std::vector<TChain> chains;
    TChain* open = nullptr;
    int64_t headingAt = std::numeric_limits<int64_t>::min() / 2;
    // A claims heading after the open set's last claim: where that set ends
    // if a new one follows. A page header may repeat the heading inside a set.
    std::size_t headingSince = std::numeric_limits<std::size_t>::max();
    const auto close = [&](std::size_t At) {
        if (open != nullptr)
            open->End = std::min(At, headingSince);
        open = nullptr;
        headingSince = std::numeric_limits<std::size_t>::max();
    };
    const auto begin = [&](std::size_t Index, const TEvent& Event, bool Headed) {
        TChain& chain = chains.emplace_back();
        chain.Members.push_back(Index);
        chain.Numbering = Event.Start.Numbering;
        chain.Last = Event.Start.Last;
        chain.Headed = Headed || (Event.NonBlank == 0 && !Event.TitleLike);
        open = &chain;
    };
    for (std::size_t i = 0; i < Events.size(); ++i) {
        const TEvent& event = Events[i];
        if (event.Kind == TEventKind::ClaimsHeading) {
            if (open != nullptr)
                headingSince = std::min(headingSince, event.LineStart);
            headingAt = event.NonBlank;
            continue;
        }
        if (event.Kind == TEventKind::SectionHeading) {
            // A table in a claim, copied one cell per line, may have a cell
            // "Description": a heading follows a finished sentence.
            if (event.AfterSentence)
                close(event.LineStart);
            continue;
        }
        const TClaimStart& start = event.Start;
        const bool headed = event.NonBlank - headingAt <= HeadingReach;
        if (open != nullptr) {
            const TEvent& last = Events[open->Members.back()];
            if (event.LineStart - last.LineStart > MaxClaimBytes) {
                close(event.LineStart);
            } else {
                const int64_t expected = static_cast<int64_t>(open->Last) + 1;
                // "CLAIMS 1. A pump" then "2. The pump": the set's style is the second claim's.
                if (open->Members.size() == 1 && open->Numbering == TNumbering::Word &&
                    start.Numbering == TNumbering::Period && start.First == expected)
                    open->Numbering = TNumbering::Period;
                const bool same = SameStyle(open->Numbering, start);
                if (same && (start.First == expected ||
                             (start.First > expected && start.First <= expected + MaxSkip &&
                              start.Numbering == open->Numbering && event.AfterClause &&
                              start.CapitalStart))) {
                    open->Members.push_back(i);
                    open->Last = start.Last;
                    headingSince = std::numeric_limits<std::size_t>::max();
                    continue;
                }
                // The same number again: a second claim, kept for the checks to report.
                if (IsRepeatedClaim(*open, event)) {
                    // "2. cooling." of a list in claim 1, then the true claim 2:
                    // the item goes back into claim 1's text.
                    if (!Events[open->Members.back()].Start.CapitalStart &&
                        open->Members.size() > 1)
                        open->Members.pop_back();
                    open->Members.push_back(i);
                    headingSince = std::numeric_limits<std::size_t>::max();
                    continue;
                }
                // A new claim set, not a list inside a claim ("steps:\n1. heating;").
                if (start.First == 1 && event.AfterSentence && start.CapitalStart &&
                    (start.Numbering == open->Numbering ||
                     headingSince != std::numeric_limits<std::size_t>::max())) {
                    close(event.LineStart);
                    begin(i, event, headed);
                }
                continue;
            }
        }
        if (start.First == 1 || (headed && event.NonBlank - headingAt <= 2))
            begin(i, event, headed);
    }
    return chains;
}

// Where the last claim of a set ends: at the end of its first line that ends
// with a period, or at a paragraph that no longer reads as its text.
std::size_t LastClaimEnd(std::string_view Text, const TEvent& Event, std::size_t Limit) {
    if (Event.Start.Cancelled && TrimEnd(Text, Event.TextBegin, Event.LineEnd) == Event.TextBegin)
        return Event.LineEnd;
    std::size_t pos = Event.TextBegin;
    bool text = false;
    char lastChar = '\0';
    bool blank = false;
    while (pos < Limit) {
        std::size_t end = pos;
        while (end < Limit && Text[end] != '\n' && Text[end] != '\r')
            ++end;
        const std::size_t first = SkipLeadingBlanks(Text, pos, end);
        const std::size_t last = TrimEnd(Text, first, end);
        if (first == last) {
            blank = text;
        } else {
            const char c = Text[first];
            if (blank && std::strchr(",;:", lastChar) == nullptr && c >= 'A' && c <= 'Z')
                return pos;
            blank = false;
            text = true;
            lastChar = LastChar(Text.substr(first, last - first));
            if (lastChar == '.')
                return last;
        }
        if (end >= Limit)
            break;
        pos = end + (Text[end] == '\r' && end + 1 < Limit && Text[end + 1] == '\n' ? 2 : 1);
    }
    return Limit;
}

std::string Trimmed(std::string_view Text, std::size_t Begin, std::size_t End) {
    if (End <= Begin)
        return {};
    Begin = SkipLeadingBlanks(Text, Begin, End);
    while (Begin < End && (Text[Begin] == '\r' || Text[Begin] == '\n'))
        Begin = SkipLeadingBlanks(Text, Begin + 1, End);
    End = TrimEnd(Text, Begin, End);
    return std::string(Text.substr(Begin, End - Begin));
}

class TChainReader {
public:
    TChainReader(std::string_view Text, const std::vector<TEvent>& Events)
        : text(Text), events(Events) {}

    // The claim texts of a set, member by member.
    std::pair<std::size_t, std::size_t> Span(const TChain& Chain, std::size_t Member) const {
        const TEvent& event = events[Chain.Members[Member]];
        if (Member + 1 < Chain.Members.size())
            return {event.TextBegin,
                    std::max(event.TextBegin, events[Chain.Members[Member + 1]].LineStart)};
        const std::size_t limit = std::min(Chain.End, text.size());
        return {
            event.TextBegin,
            std::max(event.TextBegin, LastClaimEnd(text, event, std::max(limit, event.TextBegin)))};
    }

    // 2: headed, at the start of the text, or with amendment statuses;
    // 1: its claims refer to earlier ones; 0: a numbered list of some other kind.
    int Level(const TChain& Chain) const {
        if (Chain.Headed)
            return 2;
        for (std::size_t m : Chain.Members) {
            if (!events[m].Start.Status.empty())
                return 2;
        }
        for (std::size_t k = 1; k < Chain.Members.size(); ++k) {
            const auto [begin, end] = Span(Chain, k);
            const int32_t number = events[Chain.Members[k]].Start.First;
            const TLenientReferences refs =
                ReadLenientReferences(text.substr(begin, end - begin), number);
            if (!refs.References.Runs.empty() && refs.References.Runs.front().First < number)
                return 1;
        }
        return 0;
    }

    // "1. Field of the Invention", "2. Description of the Related Art": a
    // description's numbered headings, whatever its paragraphs cite.
    bool OnlyHeadings(const TChain& Chain) const {
        if (Chain.Headed)
            return false;
        for (std::size_t m : Chain.Members) {
            const TEvent& event = events[m];
            if (!event.TitleLike)
                return false;
            for (const std::string& word :
                 FoldedWords(text.substr(event.TextBegin, event.LineEnd - event.TextBegin))) {
                if (ClaimWordKind(word) != TClaimWord::None)
                    return false;
            }
        }
        return true;
    }

    void Read(const TChain& Chain, const TLenientClaimSink& Claims) const {
        for (std::size_t k = 0; k < Chain.Members.size(); ++k) {
            const TEvent& event = events[Chain.Members[k]];
            auto [begin, end] = Span(Chain, k);
            if (event.Start.First != event.Start.Last) {
                TLenientClaim range = Made(event.Start.First, event.Line, event.LineStart,
                                           event.Start.Status, begin, end);
                range.Last = event.Start.Last;
                Claims(std::move(range));
                continue;
            }
            // Claims run together in one paragraph ("... housing. 2. The pump
            // of claim 1 ...") until the next claim that starts a line.
            const int32_t next = k + 1 < Chain.Members.size()
                                     ? events[Chain.Members[k + 1]].Start.First
                                     : std::numeric_limits<int32_t>::max();
            int32_t number = event.Start.First;
            int32_t line = event.Line;
            std::size_t lineStart = event.LineStart;
            std::string_view status = event.Start.Status;
            std::size_t at = 0;
            std::size_t textBegin = 0;
            // Line breaks are counted once, from where the last count stopped.
            std::size_t counted = lineStart;
            while (number < next - 1 && InlineStart(begin, end, number + 1, at, textBegin)) {
                Claims(Made(number, line, lineStart, status, begin, at));
                for (std::size_t i = counted; i < at; ++i) {
                    if (text[i] == '\n' || (text[i] == '\r' && text[i + 1] != '\n')) {
                        ++line;
                        lineStart = i + 1;
                    }
                }
                counted = std::max(counted, at);
                status = {};
                ++number;
                begin = textBegin;
            }
            Claims(Made(number, line, lineStart, status, begin, end));
        }
    }

private:
    TLenientClaim Made(int32_t Number, int32_t Line, std::size_t Offset, std::string_view Status,
                       std::size_t Begin, std::size_t End) const {
        TLenientClaim claim;
        claim.Number = Number;
        claim.Last = Number;
        claim.Text = Trimmed(text, Begin, End);
        claim.Line = Line;
        claim.Offset = Offset;
        claim.Status = Status;
        TLenientReferences refs = ReadLenientReferences(claim.Text, claim.Number);
        claim.References = std::move(refs.References);
        claim.Unresolved = std::move(refs.Unresolved);
        claim.WithDependants = std::move(refs.WithDependants);
        return claim;
    }

    // "claim 1. 2. The" or "housing; 2) A": Number after a sentence's end,
    // within Begin..End, with a capital after it.
    bool InlineStart(std::size_t Begin, std::size_t End, int32_t Number, std::size_t& At,
                     std::size_t& TextBegin) const {
        const std::string digits = std::to_string(Number);
        const std::string_view span = text.substr(Begin, End - Begin);
        for (std::size_t from = 0;;) {
            const std::size_t found = span.find(digits, from);
            if (found == std::string_view::npos)
                return false;
            from = found + 1;
            std::size_t before = found;
            while (before > 0 && (span[before - 1] == ' ' || span[before - 1] == '\t'))
                --before;
            if (before == found || before == 0 ||
                (span[before - 1] != '.' && span[before - 1] != ';'))
                continue;
            std::size_t after = found + digits.size();
            if (after >= span.size() || (span[after] != '.' && span[after] != ')'))
                continue;
            ++after;
            const std::size_t blanks = after;
            while (after < span.size() && (span[after] == ' ' || span[after] == '\t'))
                ++after;
            if (after == blanks || after >= span.size() ||
                !((span[after] >= 'A' && span[after] <= 'Z') || span[after] == '('))
                continue;
            At = Begin + found;
            TextBegin = Begin + after;
            return true;
        }
    }

public:
private:
    std::string_view text;
    const std::vector<TEvent>& events;
};

} // namespace

int32_t ReadLenientClaims(std::string_view Text, const TLenientClaimSink& Claims) {
    if (const auto nul = Text.find('\0'); nul != std::string_view::npos)
        Text = Text.substr(0, nul);
    int32_t further = 0;
    TLineScanner scanner(Text);
    std::vector<TEvent> events = scanner.Scan();
    std::string unmarked;
    if (scanner.markup && UnmarkFullTextLayout(Text, unmarked)) {
        Text = unmarked;
        events = TLineScanner(Text).Scan();
    }
    std::vector<TChain> chains = FindChains(events);
    if (chains.empty())
        return further;
    const TChainReader reader(Text, events);
    int best = -1;
    std::size_t chosen = 0;
    for (std::size_t c = 0; c < chains.size(); ++c) {
        chains[c].Level = reader.Level(chains[c]);
        const int level = chains[c].Level;
        if (level > best) {
            best = level;
            chosen = c;
        } else if (level == 0 && best == 0 &&
                   chains[c].Members.size() >= chains[chosen].Members.size()) {
            // Of numbered lists alone, the longest, and the later one: claims
            // end a document.
            chosen = c;
        }
    }
    for (std::size_t c = chosen + 1; c < chains.size(); ++c) {
        if (chains[c].Level >= 1 && !reader.OnlyHeadings(chains[c]))
            ++further;
    }
    reader.Read(chains[chosen], Claims);
    return further;
}

TLenientClaims ReadLenientClaims(std::string_view Text) {
    TLenientClaims result;
    result.FurtherClaimSets = ReadLenientClaims(
        Text, [&](TLenientClaim&& Claim) { result.Claims.push_back(std::move(Claim)); });
    return result;
}
