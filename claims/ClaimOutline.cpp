#include "ClaimOutline.h"

#include "ClaimTree.h"

#include <algorithm>
#include <limits>
#include <map>
#include <regex>

namespace {

constexpr std::size_t NoParent = std::numeric_limits<std::size_t>::max();

// A claim of a crafted text can name a million others; past this many the
// list says only that there are more.
constexpr std::size_t MaxListedParents = 2000;

// The number stands in the document's first lines; further down, numbers
// are cited prior art.
constexpr std::size_t NumberSearchLines = 10;
constexpr std::size_t NumberSearchBytes = 2000;
constexpr int MinNumberDigits = 6;

} // namespace

std::vector<TOutlineEntry> ClaimOutline(const TClaimTree& Tree) {
    const std::size_t count = Tree.Claims.size();
    std::vector<TOutlineEntry> byClaim(count);
    std::vector<std::size_t> parentOf(count, NoParent);
    std::vector<std::vector<std::size_t>> children(count);
    // By number, the claim read first among those that have a place: the
    // dependants of a number hang on it.
    std::map<int32_t, std::size_t> placed;
    for (std::size_t i = 0; i < count; ++i) {
        const TClaim& claim = Tree.Claims[i];
        TOutlineEntry& entry = byClaim[i];
        entry.ClaimIndex = i;
        entry.Number = claim.Number;
        bool hasPlace = claim.Kind == TClaimKind::Independent;
        if (!hasPlace) {
            std::vector<int32_t> others;
            for (const TReferenceRun& run : claim.References) {
                const int32_t first = std::min(run.First, run.Last);
                const int32_t last = std::max(run.First, run.Last);
                for (auto at = placed.lower_bound(first); at != placed.end() && at->first <= last;
                     ++at) {
                    if (parentOf[i] == NoParent) {
                        parentOf[i] = at->second;
                    } else if (at->first != Tree.Claims[parentOf[i]].Number) {
                        if (others.size() == MaxListedParents) {
                            entry.MoreParents = true;
                            break;
                        }
                        others.push_back(at->first);
                    }
                }
            }
            std::sort(others.begin(), others.end());
            others.erase(std::unique(others.begin(), others.end()), others.end());
            entry.OtherParents = std::move(others);
            hasPlace = parentOf[i] != NoParent;
            if (hasPlace)
                children[parentOf[i]].push_back(i);
            else
                entry.Unattached = true;
        }
        // Added only now: a claim that names its own number hangs on an
        // earlier claim of that number.
        if (hasPlace)
            placed.emplace(claim.Number, i);
    }

    // Depth first without recursion: a chain of claims can be as deep as
    // the set is long.
    std::vector<TOutlineEntry> outline;
    outline.reserve(count);
    std::vector<std::pair<std::size_t, std::size_t>> stack; // claim, next child
    for (std::size_t root = 0; root < count; ++root) {
        if (parentOf[root] != NoParent)
            continue;
        stack.emplace_back(root, 0);
        outline.push_back(std::move(byClaim[root]));
        while (!stack.empty()) {
            auto& [claim, next] = stack.back();
            if (next == children[claim].size()) {
                stack.pop_back();
                continue;
            }
            const std::size_t child = children[claim][next++];
            byClaim[child].Depth = static_cast<int>(stack.size());
            outline.push_back(std::move(byClaim[child]));
            stack.emplace_back(child, 0);
        }
    }
    return outline;
}

std::string ClaimNumbersText(const std::vector<int32_t>& Numbers) {
    std::string text;
    for (std::size_t i = 0; i < Numbers.size();) {
        std::size_t end = i + 1;
        while (end < Numbers.size() && static_cast<int64_t>(Numbers[end]) == Numbers[end - 1] + 1)
            ++end;
        if (!text.empty())
            text += ", ";
        text += std::to_string(Numbers[i]);
        if (end - i >= 3) {
            text += "\xE2\x80\x93" + std::to_string(Numbers[end - 1]); // an en dash
            i = end;
        } else {
            ++i;
        }
    }
    return text;
}

std::string AlsoDependsText(const std::vector<int32_t>& Numbers) {
    if (Numbers.empty())
        return {};
    return (Numbers.size() == 1 ? "also depends on claim " : "also depends on claims ") +
           ClaimNumbersText(Numbers);
}

std::string FindDocumentNumber(std::string_view Text) {
    std::size_t end = 0;
    for (std::size_t lines = 0; end < Text.size() && end < NumberSearchBytes; ++end) {
        if (Text[end] == '\n' && ++lines == NumberSearchLines)
            break;
    }
    const std::string top(Text.substr(0, std::min(end, NumberSearchBytes)));
    // An office's two letters, the digits with the separators offices
    // print, and a kind code with its digit.
    static const std::regex number(
        R"(\b(US|EP|WO|GB|DE|FR|JP|CN|KR|CA|AU|IN)[ -]?(\d[\d ,./-]*\d)([ -]?[A-Z]\d)?\b)");
    for (auto at = std::sregex_iterator(top.begin(), top.end(), number);
         at != std::sregex_iterator(); ++at) {
        const std::string digits = (*at)[2].str();
        if (std::count_if(digits.begin(), digits.end(),
                          [](char c) { return c >= '0' && c <= '9'; }) >= MinNumberDigits)
            return at->str();
    }
    return {};
}
