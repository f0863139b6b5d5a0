#include "ClaimCitation.h"

#include "ClaimTree.h"

#include <algorithm>

namespace {

bool IsBlank(char C) {
    return C == ' ' || C == '\t' || C == '\r' || C == '\n' || C == '\f' || C == '\v';
}

// Where Place stands: page and column, without the line.
bool SamePlace(const TLineOrigin& A, const TLineOrigin& B) {
    return A.Page == B.Page && A.Column == B.Column;
}

std::string PlaceJson(const TLineOrigin& Place) {
    std::string json = "\"page\": " + std::to_string(Place.Page);
    if (Place.Column > 0)
        json += ", \"column\": " + std::to_string(Place.Column);
    return json;
}

QString PlaceText(const TLineOrigin& Place) {
    return Place.Column > 0 ? QStringLiteral("col. %1").arg(Place.Column)
                            : QStringLiteral("page %1").arg(Place.Page);
}

// The lines of Text: where each starts.
std::vector<std::size_t> LineStarts(std::string_view Text) {
    std::vector<std::size_t> starts{0};
    for (std::size_t i = 0; i < Text.size(); ++i)
        if (Text[i] == '\n')
            starts.push_back(i + 1);
    return starts;
}

} // namespace

std::optional<TCitation> LinesCitation(const TTextOrigins& Lines, int FirstLine, int LastLine) {
    const auto origin = [](const std::vector<TLineOrigin>& Of, int Line) -> const TLineOrigin* {
        if (Line < 1 || static_cast<std::size_t>(Line) > Of.size() ||
            Of[static_cast<std::size_t>(Line) - 1].Page < 1)
            return nullptr;
        return &Of[static_cast<std::size_t>(Line) - 1];
    };
    const TLineOrigin* first = origin(Lines.First, FirstLine);
    const TLineOrigin* last =
        origin(Lines.Last.size() == Lines.First.size() ? Lines.Last : Lines.First,
               std::max(FirstLine, LastLine));
    if (first == nullptr || last == nullptr)
        return std::nullopt;
    return TCitation{*first, *last};
}

std::vector<std::optional<TCitation>> ClaimCitations(const TClaimTree& Tree, std::string_view Text,
                                                     const TTextOrigins& Lines) {
    std::vector<std::optional<TCitation>> citations(Tree.Claims.size());
    if (Lines.First.empty())
        return citations;
    const std::vector<std::size_t> starts = LineStarts(Text);
    const auto lineCount = static_cast<int>(starts.size());
    const auto lineEnd = [&](int Line) {
        return static_cast<std::size_t>(Line) < starts.size()
                   ? starts[static_cast<std::size_t>(Line)] - 1
                   : Text.size();
    };
    // Every line a claim or a range of claims starts on, in order.
    std::vector<int> claimStarts;
    for (const TClaim& claim : Tree.Claims)
        claimStarts.push_back(claim.Line);
    for (const TUnreadRange& range : Tree.UnreadRanges)
        claimStarts.push_back(range.Line);
    std::sort(claimStarts.begin(), claimStarts.end());

    for (const TClaim& claim : Tree.Claims) {
        if (claim.Line < 1 || claim.Line > lineCount)
            continue;
        const auto next = std::upper_bound(claimStarts.begin(), claimStarts.end(), claim.Line);
        const int bound = next == claimStarts.end() ? lineCount : std::min(*next - 1, lineCount);
        // The claim's text, blanks aside, met in order in the lines from its
        // first: the reading may leave out its number or a line's break, but
        // adds nothing.
        std::size_t matched = 0;
        const std::string& want = claim.Text;
        while (matched < want.size() && IsBlank(want[matched]))
            ++matched;
        int last = 0;
        int lastNonBlank = claim.Line;
        for (int line = claim.Line; line <= bound && matched < want.size(); ++line) {
            for (std::size_t i = starts[static_cast<std::size_t>(line) - 1]; i < lineEnd(line);
                 ++i) {
                if (IsBlank(Text[i]))
                    continue;
                lastNonBlank = line;
                if (Text[i] != want[matched])
                    continue;
                do
                    ++matched;
                while (matched < want.size() && IsBlank(want[matched]));
                if (matched == want.size()) {
                    last = line;
                    break;
                }
            }
        }
        // Text the reading changed: up to the next claim.
        if (last == 0)
            last = lastNonBlank;
        citations[claim.Index] = LinesCitation(Lines, claim.Line, last);
    }
    return citations;
}

std::string CitationJson(const TCitation& Citation) {
    const TLineOrigin& first = Citation.First;
    const TLineOrigin& last = Citation.Last;
    if (SamePlace(first, last)) {
        std::string json = "{" + PlaceJson(first);
        if (first.Line > 0 && last.Line > 0)
            json += ", \"lines\": [" + std::to_string(first.Line) + ", " +
                    std::to_string(last.Line) + "]";
        return json + "}";
    }
    const auto point = [](const TLineOrigin& Point) {
        std::string json = PlaceJson(Point);
        if (Point.Line > 0)
            json += ", \"line\": " + std::to_string(Point.Line);
        return json;
    };
    return "{" + point(first) + ", \"to\": {" + point(last) + "}}";
}

QString CitationText(const TCitation& Citation) {
    const TLineOrigin& first = Citation.First;
    const TLineOrigin& last = Citation.Last;
    if (SamePlace(first, last)) {
        if (first.Line <= 0 || last.Line <= 0)
            return PlaceText(first);
        if (first.Line == last.Line)
            return PlaceText(first) + QStringLiteral(", l. %1").arg(first.Line);
        return PlaceText(first) + QStringLiteral(", ll. %1\u2013%2").arg(first.Line).arg(last.Line);
    }
    const auto point = [](const TLineOrigin& Point) {
        return Point.Line > 0 ? PlaceText(Point) + QStringLiteral(", l. %1").arg(Point.Line)
                              : PlaceText(Point);
    };
    return point(first) + QStringLiteral(" \u2013 ") + point(last);
}
