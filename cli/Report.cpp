#include "Report.h"

#include "TextEncoding.h"

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
    for (const TReferenceRun& run : Claim.References) {
        for (int64_t v = run.First; v <= run.Last; ++v) {
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

} // namespace

void WriteJsonReport(std::ostream& Out, const TClaimTree& Tree, bool InputIsUtf8) {
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
    for (const TClaim& claim : Tree.Claims) {
        Out << (claim.Index ? ",\n" : "\n");
        Out << "    { \"number\": " << claim.Number << ", \"kind\": " << claim.Kind
            << ", \"references\": ";
        WriteReferences(Out, claim);
        Out << ",\n      \"dependencyText\": " << JsonString(claim.DependencyText)
            << ", \"nodes\": " << claim.FullNodeCount
            << ",\n      \"text\": " << JsonText(claim.Text, InputIsUtf8);
        if (lenient)
            WriteLenientFields(Out, claim, InputIsUtf8);
        Out << " }";
    }
    Out << (Tree.Claims.empty() ? "]\n" : "\n  ]\n") << "}\n";
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
