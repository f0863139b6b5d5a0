#include "ClaimExport.h"

#include "TextEncoding.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <map>
#include <stdexcept>
#include <utility>
#include <vector>

namespace {

// The runs of a claim's references, sorted and merged where they overlap or
// touch, so that no number is walked twice however often it is named.
std::vector<TReferenceRun> MergedRuns(const std::vector<TReferenceRun>& Runs) {
    std::vector<TReferenceRun> merged;
    merged.reserve(Runs.size());
    for (const TReferenceRun& run : Runs)
        if (run.First <= run.Last)
            merged.push_back(run);
    std::sort(merged.begin(), merged.end(),
              [](const TReferenceRun& a, const TReferenceRun& b) { return a.First < b.First; });
    std::size_t kept = 0;
    for (const TReferenceRun& run : merged) {
        if (kept > 0 && int64_t{run.First} <= int64_t{merged[kept - 1].Last} + 1)
            merged[kept - 1].Last = std::max(merged[kept - 1].Last, run.Last);
        else
            merged[kept++] = run;
    }
    merged.resize(kept);
    return merged;
}

// Who refers to whom in reading order. Without Closure, the links by claim,
// at most MaxGraphEdges of them; with it, bit rows of Count() bits of the
// direct links and of every dependency through other claims.
class TDependencies {
public:
    TDependencies(const TClaimTree& Tree, bool Closure) : count(Tree.Claims.size()) {
        if (Closure) {
            if (count > MaxMatrixClaims)
                throw std::length_error("the dependency matrix takes at most " +
                                        std::to_string(MaxMatrixClaims) + " claims, not " +
                                        std::to_string(count));
            words = (count + 63) / 64;
            reach.assign(count * words, 0);
            direct.assign(count * words, 0);
            spans.assign(count, {words, 0});
        } else {
            Targets.resize(count);
        }
        std::map<int32_t, std::vector<std::size_t>> earlier;
        std::map<int32_t, int> seen;
        std::size_t edges = 0;
        std::vector<std::size_t> targets;
        for (std::size_t i = 0; i < count; ++i) {
            const TClaim& claim = Tree.Claims[i];
            targets.clear();
            for (const TReferenceRun& run : MergedRuns(claim.References)) {
                // Runs can be long: walk the numbers that exist, not the run.
                for (auto it = earlier.lower_bound(run.First);
                     it != earlier.end() && it->first <= run.Last; ++it) {
                    // A number repeated many times links every claim that
                    // names it to all of them: refuse before the memory goes.
                    edges += it->second.size();
                    if (!Closure && edges > MaxGraphEdges)
                        throw std::length_error("the claim graph takes at most " +
                                                std::to_string(MaxGraphEdges) + " edges");
                    targets.insert(targets.end(), it->second.begin(), it->second.end());
                }
            }
            std::sort(targets.begin(), targets.end());
            if (Closure) {
                // Every target is read before claim i, so its own row is
                // complete; a target reached already brings nothing new, as
                // its row is within the row that reaches it. Later targets
                // tend to reach more: take them first.
                for (auto it = targets.rbegin(); it != targets.rend(); ++it) {
                    Set(direct, i, *it);
                    if (Has(reach, i, *it))
                        continue;
                    Set(reach, i, *it);
                    Widen(i, *it / 64, *it / 64 + 1);
                    // Only the words the target's row uses: an independent
                    // claim's row is empty.
                    for (std::size_t w = spans[*it].first; w < spans[*it].second; ++w)
                        reach[i * words + w] |= reach[*it * words + w];
                    Widen(i, spans[*it].first, spans[*it].second);
                }
            } else {
                Targets[i] = targets;
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
        if (!Has(reach, From, To))
            return "";
        return Has(direct, From, To) ? "D" : "I";
    }
    // The columns [first, second) outside which row Row has no mark (with
    // Closure only).
    std::pair<std::size_t, std::size_t> MarkedColumns(std::size_t Row) const {
        const auto [first, last] = spans[Row];
        if (first >= last)
            return {0, 0};
        return {first * 64, std::min(last * 64, count)};
    }
    // How many marks row Row holds (with Closure only).
    std::size_t Marks(std::size_t Row) const {
        std::size_t marks = 0;
        for (std::size_t w = spans[Row].first; w < spans[Row].second; ++w)
            marks += static_cast<std::size_t>(std::popcount(reach[Row * words + w]));
        return marks;
    }

private:
    bool Has(const std::vector<uint64_t>& Bits, std::size_t Row, std::size_t Column) const {
        return (Bits[Row * words + Column / 64] >> (Column % 64)) & 1U;
    }
    void Set(std::vector<uint64_t>& Bits, std::size_t Row, std::size_t Column) const {
        Bits[Row * words + Column / 64] |= uint64_t{1} << (Column % 64);
    }

    // Row's words in use grow to take in [First, Last).
    void Widen(std::size_t Row, std::size_t First, std::size_t Last) {
        if (First >= Last)
            return;
        spans[Row].first = std::min(spans[Row].first, First);
        spans[Row].second = std::max(spans[Row].second, Last);
    }

    std::size_t count;
    std::size_t words = 0;
    std::vector<uint64_t> reach;
    std::vector<uint64_t> direct;
    // The words of each reach row outside which it is all zero: [first, second).
    std::vector<std::pair<std::size_t, std::size_t>> spans;

public:
    // The claims each claim refers to, by index, ascending (without Closure only).
    std::vector<std::vector<std::size_t>> Targets;
    std::vector<std::string> Labels;
};

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

namespace {

// The graph, piece by piece, to Put: once to measure it, once to write it.
template <typename TPut>
void GraphDot(const TClaimTree& Tree, const TDependencies& Links, TPut&& Put) {
    Put("digraph claims {\n  rankdir=BT;\n  node [shape=box];\n  {rank=same;");
    for (std::size_t i = 0; i < Links.Count(); ++i) {
        if (Tree.Claims[i].Kind == TClaimKind::Independent) {
            Put(" \"");
            Put(Links.Labels[i]);
            Put("\";");
        }
    }
    Put("}\n");
    for (std::size_t i = 0; i < Links.Count(); ++i) {
        Put("  \"");
        Put(Links.Labels[i]);
        Put("\";\n");
    }
    for (std::size_t from = 0; from < Links.Count(); ++from) {
        for (std::size_t to : Links.Targets[from]) {
            Put("  \"");
            Put(Links.Labels[from]);
            Put("\" -> \"");
            Put(Links.Labels[to]);
            Put("\";\n");
        }
    }
    Put("}\n");
}

std::length_error TooManyBytes(const char* What, std::size_t MaxBytes) {
    return std::length_error(std::string(What) + " takes more than " + std::to_string(MaxBytes) +
                             " bytes");
}

// The CSV matrix's size: the header, then each row's label, a comma a
// column, the marks and the line end.
std::size_t MatrixCsvSize(const TDependencies& Links) {
    std::size_t size = 7;
    for (std::size_t row = 0; row < Links.Count(); ++row)
        size += 2 * Links.Labels[row].size() + 1 + Links.Count() + Links.Marks(row) + 2;
    return size;
}

// Appends row Row of the CSV matrix to Out.
void AppendMatrixRow(std::string& Out, const TDependencies& Links, std::size_t Row) {
    Out += Links.Labels[Row];
    // Most cells are empty: the columns before and after the row's marks are
    // written as runs of commas.
    const auto [first, last] = Links.MarkedColumns(Row);
    Out.append(first, ',');
    for (std::size_t column = first; column < last; ++column) {
        Out += ',';
        Out += Links.Mark(Row, column);
    }
    Out.append(Links.Count() - last, ',');
    Out += "\r\n";
}

// Every row holds a comma a column: a matrix that cannot fit is refused
// before its closure is worked out.
void CheckMatrixFits(const TClaimTree& Tree, std::size_t MaxBytes) {
    const std::size_t n = Tree.Claims.size();
    if (n <= MaxMatrixClaims && n * (n + 3) > MaxBytes)
        throw TooManyBytes("the dependency matrix", MaxBytes);
}

std::string MatrixCsvHeader(const TDependencies& Links) {
    std::string out = "claim";
    for (const std::string& label : Links.Labels)
        out += "," + label;
    out += "\r\n";
    return out;
}

} // namespace

std::string ClaimGraphDot(const TClaimTree& Tree, std::size_t MaxBytes) {
    const TDependencies links(Tree, false);
    std::size_t size = 0;
    GraphDot(Tree, links, [&size](std::string_view Piece) { size += Piece.size(); });
    if (size > MaxBytes)
        throw TooManyBytes("the claim graph", MaxBytes);
    std::string out;
    out.reserve(size);
    GraphDot(Tree, links, [&out](std::string_view Piece) { out += Piece; });
    return out;
}

std::string DependencyMatrixCsv(const TClaimTree& Tree, std::size_t MaxBytes) {
    CheckMatrixFits(Tree, MaxBytes);
    const TDependencies links(Tree, true);
    // Up to 10,000 by 10,000 cells: sized once, as growing would need the
    // old and the new copy at once.
    const std::size_t size = MatrixCsvSize(links);
    if (size > MaxBytes)
        throw TooManyBytes("the dependency matrix", MaxBytes);
    std::string out;
    out.reserve(size);
    out += MatrixCsvHeader(links);
    for (std::size_t row = 0; row < links.Count(); ++row)
        AppendMatrixRow(out, links, row);
    return out;
}

void WriteDependencyMatrixCsv(std::ostream& Out, const TClaimTree& Tree, std::size_t MaxBytes) {
    CheckMatrixFits(Tree, MaxBytes);
    const TDependencies links(Tree, true);
    if (MatrixCsvSize(links) > MaxBytes)
        throw TooManyBytes("the dependency matrix", MaxBytes);
    Out << MatrixCsvHeader(links);
    std::string row;
    for (std::size_t r = 0; r < links.Count() && Out; ++r) {
        row.clear();
        AppendMatrixRow(row, links, r);
        Out << row;
    }
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
