#include "ClaimExport.h"

#include "TextEncoding.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <stdexcept>
#include <utility>
#include <vector>

namespace {

// Who refers to whom in reading order; with Closure, also through other
// claims, in bit rows of Count() bits.
class TDependencies {
public:
    TDependencies(const TClaimTree& Tree, bool Closure)
        : count(Tree.Claims.size()), Targets(count) {
        if (Closure) {
            if (count > MaxMatrixClaims)
                throw std::length_error("the dependency matrix takes at most " +
                                        std::to_string(MaxMatrixClaims) + " claims, not " +
                                        std::to_string(count));
            words = (count + 63) / 64;
            reach.assign(count * words, 0);
        }
        std::map<int32_t, std::vector<std::size_t>> earlier;
        std::map<int32_t, int> seen;
        for (std::size_t i = 0; i < count; ++i) {
            const TClaim& claim = Tree.Claims[i];
            std::vector<std::size_t>& targets = Targets[i];
            for (const TReferenceRun& run : claim.References) {
                // Runs can be long: walk the numbers that exist, not the run.
                for (auto it = earlier.lower_bound(run.First);
                     it != earlier.end() && it->first <= run.Last; ++it)
                    targets.insert(targets.end(), it->second.begin(), it->second.end());
            }
            std::sort(targets.begin(), targets.end());
            targets.erase(std::unique(targets.begin(), targets.end()), targets.end());
            if (Closure) {
                // Every target is read before claim i, so its own row is complete.
                for (std::size_t target : targets) {
                    Set(i, target);
                    for (std::size_t w = 0; w < words; ++w)
                        reach[i * words + w] |= reach[target * words + w];
                }
            }
            std::string label = std::to_string(claim.Number);
            if (const int k = ++seen[claim.Number]; k > 1) {
                label += '#';
                label += std::to_string(k);
            }
            Labels.push_back(std::move(label));
            earlier[claim.Number].push_back(i);
        }
        // Numbers seen again later make the earlier claim's name ambiguous too.
        std::map<int32_t, int> first;
        for (std::size_t i = 0; i < count; ++i) {
            const int32_t number = Tree.Claims[i].Number;
            if (seen[number] > 1 && first[number]++ == 0)
                Labels[i] += "#1";
        }
    }

    std::size_t Count() const { return count; }
    // "D", "I" or "" (with Closure only).
    const char* Mark(std::size_t From, std::size_t To) const {
        if (!((reach[From * words + To / 64] >> (To % 64)) & 1U))
            return "";
        return std::binary_search(Targets[From].begin(), Targets[From].end(), To) ? "D" : "I";
    }

private:
    void Set(std::size_t Row, std::size_t Column) {
        reach[Row * words + Column / 64] |= uint64_t{1} << (Column % 64);
    }

    std::size_t count;
    std::size_t words = 0;
    std::vector<uint64_t> reach;

public:
    // The claims each claim refers to, by index, ascending.
    std::vector<std::vector<std::size_t>> Targets;
    std::vector<std::string> Labels;
};

std::string HtmlEscaped(std::string_view Utf8) {
    std::string out;
    out.reserve(Utf8.size());
    for (char c : Utf8) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

const char* KindName(TClaimKind Kind) {
    switch (Kind) {
    case TClaimKind::Independent:
        return "independent";
    case TClaimKind::Dependent:
        return "dependent";
    case TClaimKind::MultipleDependent:
        break;
    }
    return "multiple dependent";
}

} // namespace

std::string CsvField(std::string_view Utf8) {
    if (Utf8.find_first_of(",\"\r\n") == std::string_view::npos)
        return std::string(Utf8);
    std::string out = "\"";
    for (char c : Utf8) {
        if (c == '"')
            out += '"';
        out += c;
    }
    out += '"';
    return out;
}

std::string ClaimGraphDot(const TClaimTree& Tree) {
    const TDependencies links(Tree, false);
    std::string out = "digraph claims {\n  rankdir=BT;\n  node [shape=box];\n";
    out += "  {rank=same;";
    for (std::size_t i = 0; i < links.Count(); ++i) {
        if (Tree.Claims[i].Kind == TClaimKind::Independent)
            out += " \"" + links.Labels[i] + "\";";
    }
    out += "}\n";
    for (std::size_t i = 0; i < links.Count(); ++i)
        out += "  \"" + links.Labels[i] + "\";\n";
    for (std::size_t from = 0; from < links.Count(); ++from) {
        for (std::size_t to : links.Targets[from])
            out += "  \"" + links.Labels[from] + "\" -> \"" + links.Labels[to] + "\";\n";
    }
    out += "}\n";
    return out;
}

std::string DependencyMatrixCsv(const TClaimTree& Tree) {
    const TDependencies links(Tree, true);
    std::string out = "claim";
    for (const std::string& label : links.Labels)
        out += "," + label;
    out += "\r\n";
    for (std::size_t row = 0; row < links.Count(); ++row) {
        out += links.Labels[row];
        for (std::size_t column = 0; column < links.Count(); ++column) {
            out += ',';
            out += links.Mark(row, column);
        }
        out += "\r\n";
    }
    return out;
}

std::string DependencyMatrixHtml(const TClaimTree& Tree, std::string_view Title) {
    const TDependencies links(Tree, true);
    const std::string title = HtmlEscaped(Title);
    std::string out = "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
                      "<title>Dependency matrix";
    if (!title.empty())
        out += " - " + title;
    out += "</title>\n<style>\n"
           "body { font-family: sans-serif; margin: 1.5em; }\n"
           "table { border-collapse: collapse; }\n"
           "th, td { border: 1px solid #bbb; min-width: 1.8em; padding: 0.2em 0.3em; "
           "text-align: center; }\n"
           "thead th { position: sticky; top: 0; background: #eef; }\n"
           "tbody th { position: sticky; left: 0; background: #eef; }\n"
           "td.D { background: #36c; color: #fff; font-weight: bold; }\n"
           "td.I { background: #bcd8f5; }\n"
           "</style>\n</head>\n<body>\n<h1>Dependency matrix</h1>\n";
    if (!title.empty())
        out += "<p>" + title + "</p>\n";
    out += "<p>Each row is a claim. <b>D</b>: it refers to the claim of the column. "
           "<b>I</b>: it depends on that claim through other claims.</p>\n";
    out += "<table>\n<thead><tr><th>Claim</th>";
    for (const std::string& label : links.Labels)
        out += "<th scope=\"col\">" + label + "</th>";
    out += "</tr></thead>\n<tbody>\n";
    for (std::size_t row = 0; row < links.Count(); ++row) {
        out += "<tr><th scope=\"row\">" + links.Labels[row] + "</th>";
        for (std::size_t column = 0; column < links.Count(); ++column) {
            const std::string mark = links.Mark(row, column);
            out += mark.empty() ? "<td></td>" : "<td class=\"" + mark + "\">" + mark + "</td>";
        }
        out += "</tr>\n";
    }
    out += "</tbody>\n</table>\n</body>\n</html>\n";
    return out;
}

std::string ClaimsCsv(const TClaimTree& Tree, bool InputIsUtf8) {
    const auto text = [InputIsUtf8](std::string_view Bytes) {
        return CsvField(InputIsUtf8 ? std::string(Bytes) : Windows1252ToUtf8(Bytes));
    };
    std::string out = "number,kind,references,dependency text,text\r\n";
    for (const TClaim& claim : Tree.Claims) {
        std::string references;
        for (int32_t number : claim.ReferenceList())
            references += (references.empty() ? "" : ", ") + std::to_string(number);
        out += std::to_string(claim.Number) + ',' + KindName(claim.Kind) + ',' +
               CsvField(references) + ',' + text(claim.DependencyText) + ',' + text(claim.Text) +
               "\r\n";
    }
    return out;
}
