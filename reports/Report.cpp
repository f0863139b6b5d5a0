#include "Report.h"

#include "AntecedentBasis.h"
#include "ClaimCategories.h"
#include "TextEncoding.h"

#include <algorithm>
#include <cstdio>

std::string ClaimCountsText(const TClaimTree& Tree) {
    const auto independent = static_cast<int64_t>(Tree.Roots.size());
    const int64_t total = Tree.ClaimCount;
    return "Tree of claims: independent " + std::to_string(independent) + "; dependent " +
           std::to_string(total - independent) + "; total " + std::to_string(total);
}

std::string JsonString(std::string_view Utf8) {
    std::string out;
    out.reserve(Utf8.size() + 2);
    out += '"';
    for (char c : Utf8) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\b':
            out += "\\b";
            break;
        case '\f':
            out += "\\f";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
                out += escaped;
            } else {
                out += c;
            }
        }
    }
    out += '"';
    return out;
}

namespace {

std::string JsonText(std::string_view Bytes, bool InputIsUtf8) {
    return JsonString(InputIsUtf8 ? std::string(Bytes) : Windows1252ToUtf8(Bytes));
}

void WriteReferences(std::ostream& Out, const TClaim& Claim) {
    Out << '[';
    bool first = true;
    // Past the claim table a reading may give a range far wider than its
    // text ("claims 1 to 100000"); numbers written one by one each take
    // bytes of the text, so no more of them than it holds are listed.
    int64_t beyond = 0;
    const auto most = static_cast<int64_t>(Claim.Text.size());
    for (const TReferenceRun& run : Claim.References) {
        for (int64_t v = run.First; v <= run.Last; ++v) {
            if (v >= ClaimTableSize && beyond++ >= most)
                break;
            if (!first)
                Out << ", ";
            first = false;
            Out << v;
        }
    }
    Out << ']';
}

// Where the claim stands, its amendment status and the phrases left unread.
void WriteLenientFields(std::ostream& Out, const TClaim& Claim, bool InputIsUtf8) {
    Out << ",\n      \"line\": " << Claim.Line << ", \"status\": "
        << (Claim.Status.empty() ? std::string("null") : JsonText(Claim.Status, InputIsUtf8))
        << ", \"unresolved\": [";
    for (std::size_t i = 0; i < Claim.Unresolved.size(); ++i)
        Out << (i ? ", " : "") << JsonText(Claim.Unresolved[i], InputIsUtf8);
    Out << ']';
}

// "category", and for a claim that refers to a claim of another category,
// that claim and its category.
void WriteCategory(std::ostream& Out, const TCategoryOfClaim& Of) {
    Out << ",\n      \"category\": \"" << ClaimCategoryName(Of.Category) << '"';
    if (Of.OtherCategoryClaim != 0)
        Out << ", \"otherCategory\": { \"claim\": " << Of.OtherCategoryClaim << ", \"category\": \""
            << ClaimCategoryName(Of.OtherCategory) << "\" }";
}

// The keys "problems" and "fees", each on lines of their own.
void WriteJsonChecks(std::ostream& Out, const TClaimChecks& Checks, bool InputIsUtf8) {
    const auto& [problems, fees] = Checks;
    Out << "  \"problems\": [";
    for (std::size_t i = 0; i < problems.size(); ++i) {
        const TClaimProblem& p = problems[i];
        Out << (i ? ",\n" : "\n") << "    { \"claim\": " << p.Claim << ", \"line\": " << p.Line
            << ", \"severity\": \"" << SeverityName(p.Severity) << "\", \"kind\": \""
            << ProblemKindName(p.Kind)
            << "\",\n      \"message\": " << JsonText(p.Message, InputIsUtf8);
        if (!p.Term.empty())
            Out << ", \"term\": " << JsonText(p.Term, InputIsUtf8);
        Out << " }";
    }
    Out << (problems.empty() ? "],\n" : "\n  ],\n");
    Out << "  \"fees\": { \"us\": { \"total\": " << fees.Us.Total
        << ", \"independent\": " << fees.Us.Independent
        << ", \"excessTotal\": " << fees.Us.ExcessTotal
        << ", \"excessIndependent\": " << fees.Us.ExcessIndependent
        << ", \"multipleDependent\": " << (fees.Us.MultipleDependent ? "true" : "false")
        << " },\n           \"ep\": { \"claims\": " << fees.Ep.Claims
        << ", \"excess15\": " << fees.Ep.Excess15 << ", \"excess50\": " << fees.Ep.Excess50
        << " } }\n";
}

} // namespace

void WriteJsonReport(std::ostream& Out, const TClaimTree& Tree, bool InputIsUtf8) {
    WriteJsonReport(Out, Tree, InputIsUtf8, CheckAndCountFees(Tree));
}

void WriteJsonReport(std::ostream& Out, const TClaimTree& Tree, bool InputIsUtf8,
                     const TClaimChecks& Checks, const std::vector<std::string>* ClaimKeys) {
    const auto independent = static_cast<int64_t>(Tree.Roots.size());
    const int64_t total = Tree.ClaimCount;
    const bool lenient = Tree.Reading == TReading::Lenient;
    Out << "{\n";
    Out << "  \"reading\": " << (lenient ? "\"lenient\"" : "\"standard\"") << ",\n";
    if (lenient)
        Out << "  \"furtherClaimSets\": " << Tree.FurtherClaimSets << ",\n";
    Out << "  \"claimCount\": " << total << ",\n";
    Out << "  \"independent\": " << independent << ", \"dependent\": " << total - independent
        << ", \"total\": " << total << ",\n";
    Out << "  \"roots\": [";
    for (std::size_t i = 0; i < Tree.Roots.size(); ++i)
        Out << (i ? ", " : "") << Tree.Roots[i]->Number;
    Out << "],\n";
    Out << "  \"nodes\": " << Tree.FullNodeCount << ",\n";
    Out << "  \"nodesSaturated\": " << (Tree.FullNodeCount == SaturatedCount ? "true" : "false")
        << ",\n";
    Out << "  \"claims\": [";
    const std::vector<TCategoryOfClaim> categories = ClaimCategories(Tree);
    for (const TClaim& claim : Tree.Claims) {
        Out << (claim.Index ? ",\n" : "\n");
        Out << "    { \"number\": " << claim.Number
            << ", \"kind\": " << static_cast<int>(claim.Kind) << ", \"references\": ";
        WriteReferences(Out, claim);
        Out << ",\n      \"dependencyText\": " << JsonString(claim.DependencyText)
            << ", \"nodes\": " << claim.FullNodeCount
            << ",\n      \"text\": " << JsonText(claim.Text, InputIsUtf8);
        if (lenient)
            WriteLenientFields(Out, claim, InputIsUtf8);
        WriteCategory(Out, categories[claim.Index]);
        if (ClaimKeys != nullptr && claim.Index < ClaimKeys->size() &&
            !(*ClaimKeys)[claim.Index].empty())
            Out << ",\n      " << (*ClaimKeys)[claim.Index];
        Out << " }";
    }
    Out << (Tree.Claims.empty() ? "],\n" : "\n  ],\n");
    WriteJsonChecks(Out, Checks, InputIsUtf8);
    Out << "}\n";
}

void WriteTermsReport(std::ostream& Out, const TClaimTree& Tree, bool InputIsUtf8) {
    const std::vector<TClaimTerm> terms = ListTerms(Tree);
    Out << "{\n  \"terms\": [";
    for (std::size_t i = 0; i < terms.size(); ++i) {
        const TClaimTerm& term = terms[i];
        Out << (i ? ",\n" : "\n") << "    { \"term\": " << JsonText(term.Term, InputIsUtf8)
            << ", \"claim\": " << term.Introduced.Claim << ", \"line\": " << term.Introduced.Line
            << ",\n      \"uses\": [";
        for (std::size_t k = 0; k < term.Uses.size(); ++k)
            Out << (k ? ", " : "") << "{ \"claim\": " << term.Uses[k].Claim
                << ", \"line\": " << term.Uses[k].Line << " }";
        Out << "] }";
    }
    Out << (terms.empty() ? "]\n" : "\n  ]\n") << "}\n";
}

int64_t JsonReportBound(const TClaimTree& Tree, const TClaimChecks& Checks) {
    // Fixed text around the parts, and the widest number with its separator.
    constexpr int64_t fixed = 1024, perClaim = 208 + 112, perProblem = 136, number = 13;
    // A string's bytes escaped, or read as Windows-1252 (three bytes at most).
    const auto string = [](std::string_view Bytes) {
        int64_t size = 2;
        for (const char c : Bytes) {
            const auto b = static_cast<unsigned char>(c);
            size += b < 0x20 ? 6 : b >= 0x80 ? 3 : (b == '"' || b == '\\') ? 2 : 1;
        }
        return size;
    };
    int64_t bound = fixed + number * static_cast<int64_t>(Tree.Roots.size());
    for (const TClaim& claim : Tree.Claims) {
        bound +=
            perClaim + string(claim.DependencyText) + string(claim.Text) + string(claim.Status);
        for (const std::string& phrase : claim.Unresolved)
            bound += string(phrase) + 2;
        // The numbers WriteReferences lists: those in the table, and past it
        // no more than the text has bytes.
        int64_t listed = 0;
        int64_t beyond = 0;
        for (const TReferenceRun& run : claim.References) {
            if (run.First < ClaimTableSize)
                listed += std::min<int64_t>(run.Last, ClaimTableSize - 1) - run.First + 1;
            if (run.Last >= ClaimTableSize)
                beyond += int64_t{run.Last} - std::max(run.First, ClaimTableSize) + 1;
        }
        listed += std::min<int64_t>(beyond, static_cast<int64_t>(claim.Text.size()) + 1);
        bound += number * listed;
    }
    for (const TClaimProblem& problem : Checks.Problems)
        bound += perProblem + string(problem.Message) + string(problem.Term) + 10;
    return bound;
}

void WriteCheckReport(std::ostream& Out, std::string_view File,
                      const std::vector<TClaimProblem>& Problems, const TFeeCounts& Fees) {
    // Written in pieces of some 64 KiB: a claim set of a million claims has
    // as many problems, and the whole text at once would be a copy of them all.
    std::string text;
    const auto flush = [&](std::size_t Above) {
        if (text.size() > Above) {
            Out << text;
            text.clear();
        }
    };
    for (const TClaimProblem& p : Problems) {
        text.append(File);
        text += ':' + std::to_string(p.Line) + ": " + SeverityName(p.Severity) + ": claim " +
                std::to_string(p.Claim) + ": " + MessageAfterClaim(p) + '\n';
        flush(std::size_t{1} << 16);
    }
    const TUsFeeCounts& us = Fees.Us;
    text.append(File);
    text += ": US fees: " + std::to_string(us.Total) + " claims as counted for fees (" +
            std::to_string(us.ExcessTotal) + " over 20), " + std::to_string(us.Independent) +
            " independent (" + std::to_string(us.ExcessIndependent) + " over 3), " +
            (us.MultipleDependent ? "multiple dependent claim fee due"
                                  : "no multiple dependent claim") +
            '\n';
    text.append(File);
    text += ": EP claims fee: " + std::to_string(Fees.Ep.Claims) + " claims, " +
            std::to_string(Fees.Ep.Excess15) + " from the 16th to the 50th, " +
            std::to_string(Fees.Ep.Excess50) + " from the 51st on\n";
    flush(0);
}

bool HasError(const std::vector<TClaimProblem>& Problems) {
    return std::any_of(Problems.begin(), Problems.end(),
                       [](const TClaimProblem& p) { return p.Severity == TSeverity::Error; });
}

int64_t TreeReportSize(const TClaimTree& Tree, int64_t Limit) {
    // Captions by claim, measured once: a tree repeats its claims.
    std::vector<int64_t> captions(Tree.Claims.size(), -1);
    int64_t size = 0;
    Tree.ForEachFullTreeNode([&](int Depth, const TClaim& Claim) {
        int64_t& caption = captions[Claim.Index];
        if (caption < 0)
            caption = static_cast<int64_t>(Claim.Caption().size());
        size += int64_t{Depth} * 2 + caption + 1;
        return size <= Limit;
    });
    return size;
}

bool WriteTreeReport(std::ostream& Out, const TClaimTree& Tree, int64_t MaxNodes) {
    if (Tree.FullNodeCount > MaxNodes)
        return false;
    std::string line;
    return Tree.ForEachFullTreeNode([&](int Depth, const TClaim& Claim) {
        line.assign(static_cast<std::size_t>(Depth) * 2, ' ');
        line += Claim.Caption();
        line += '\n';
        Out << line;
        return static_cast<bool>(Out);
    });
}
