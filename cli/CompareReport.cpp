#include "CompareReport.h"

#include "ClaimListing.h"
#include "ClaimListingDocx.h"
#include "ClaimTree.h"
#include "InputDocuments.h"
#include "InputFile.h"
#include "Report.h"
#include "StandardOutput.h"
#include "TextEncoding.h"

#include <cerrno>
#include <cstring>
#include <optional>

namespace {

template <typename T> std::string JsonArray(const std::vector<T>& Items) {
    std::string out = "[";
    for (std::size_t k = 0; k < Items.size(); ++k) {
        out += k ? ", " : "";
        if constexpr (std::is_same_v<T, std::string>)
            out += JsonString(Items[k]);
        else
            out += std::to_string(Items[k]);
    }
    return out + "]";
}

// The claims text of one input, or a message saying why there is none.
std::optional<std::string> ReadClaims(const std::string& Name, const std::string& Language,
                                      std::string& Text) {
    bool document = false;
    if (auto error = ReadFile(Name, Text, &document))
        return error;
    if (!document)
        return std::nullopt;
    const std::string shown = Name == "-" ? "standard input" : Name;
    std::vector<TInputDocument> documents;
    if (auto error = ReadInputDocuments(Text, shown, Language, documents))
        return error;
    // A weekly file of many patents is no version of one claim set.
    if (documents.size() != 1)
        return shown + " holds " + std::to_string(documents.size()) +
               " documents; a comparison takes one claim set from each input";
    Text = std::move(documents.front().Text);
    return std::nullopt;
}

} // namespace

std::string ComparisonJson(const TClaimComparison& Comparison) {
    std::string out = "{\n  \"claims\": [";
    for (std::size_t k = 0; k < Comparison.Claims.size(); ++k) {
        const TComparedClaim& claim = Comparison.Claims[k];
        out += k ? ",\n" : "\n";
        out += "    { \"number\": " + std::to_string(claim.Number) +
               ", \"from\": " + (claim.From ? std::to_string(claim.From) : std::string("null")) +
               ", \"status\": " + JsonString(AmendmentStatusName(claim.Status)) +
               ", \"mergedFrom\": " + JsonArray(claim.MergedFrom) +
               ",\n      \"inserted\": " + JsonArray(claim.Inserted) +
               ",\n      \"deleted\": " + JsonArray(claim.Deleted) +
               ",\n      \"referencesAdded\": " + JsonArray(claim.ReferencesAdded) +
               ", \"referencesDropped\": " + JsonArray(claim.ReferencesDropped) + " }";
    }
    out += Comparison.Claims.empty() ? "],\n" : "\n  ],\n";
    out += "  \"canceled\": " + JsonArray(Comparison.Canceled) + "\n}\n";
    return out;
}

int RunComparison(const std::string& A, const std::string& B, TCompareOutput Output,
                  const std::string& Language, bool ToTerminal, std::ostream& Out,
                  std::ostream& Err) {
    const auto fail = [&Err](const std::string& Message) {
        Err << "veltrum-claims: " << Message << '\n';
        return 2;
    };
    // Refused before any reading: nothing to lose.
    if (Output == TCompareOutput::Docx && ToTerminal)
        return fail("a Word document is no text for a terminal: send standard output to a "
                    "file (> listing.docx)");
    std::string aText, bText;
    if (auto error = ReadClaims(A, Language, aText))
        return fail(*error);
    if (auto error = ReadClaims(B, Language, bText))
        return fail(*error);
    const TClaimTree a(aText, TReading::Lenient, TClaimTree::MaxCreatedNodes, TNodes::Counted);
    const TClaimTree b(bText, TReading::Lenient, TClaimTree::MaxCreatedNodes, TNodes::Counted);
    const TClaimComparison comparison = CompareClaims(a, b);
    const std::string title = DecodeToUtf8("Claims of " + B + " against " + A);
    std::string written;
    switch (Output) {
    case TCompareOutput::Text:
        written = ClaimComparisonText(comparison);
        break;
    case TCompareOutput::Json:
        written = ComparisonJson(comparison);
        break;
    case TCompareOutput::Html:
        written = ClaimListingHtml(comparison, title);
        break;
    case TCompareOutput::Docx: {
        std::string error;
        written = ClaimListingDocx(comparison, title, error);
        if (!error.empty())
            return fail(error);
        break;
    }
    }
    if (!(Out << written << std::flush))
        return fail("cannot write the comparison of " + A + " and " + B + ": " +
                    std::strerror(WriteError(Out)));
    return 0;
}
