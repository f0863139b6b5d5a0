#include "ModeReport.h"

#include "Batch.h"
#include "ClaimChecks.h"
#include "ClaimExport.h"
#include "FullTextReport.h"
#include "Report.h"
#include "TextEncoding.h"

#include <algorithm>
#include <limits>
#include <sstream>
#include <stdexcept>

namespace {

int Fail(std::ostream& Err, const std::string& Message, int Status) {
    Err << "veltrum-claims: " << Message << '\n';
    return Status;
}

// Why the whole tree cannot be written, or nothing when it can.
std::string TreeTooLarge(const TReportOptions& Options, const TReportInput& Of,
                         const TClaimTree& Tree) {
    if (Tree.FullNodeCount > Options.MaxNodes)
        return Of.Name + ": the tree has " + std::to_string(Tree.FullNodeCount) +
               (Tree.FullNodeCount == SaturatedCount ? " or more" : "") +
               " nodes, over the limit of " + std::to_string(Options.MaxNodes);
    // Without the nodes past the limit the whole tree is not known.
    if (Tree.NodeLimitReached)
        return Of.Name + ": the tree's node limit of " + std::to_string(Tree.CreatedNodeLimit()) +
               " was reached";
    if (const int64_t most = MaxTreeReportBytes(Options.MaxNodes);
        TreeReportSize(Tree, most) > most)
        return Of.Name + ": the tree takes more than " + std::to_string(most) + " bytes";
    return {};
}

// Whether claim Number is in the text but was left out of the tree when the
// node limit stopped the placing of claims.
bool CutBefore(const TClaimTree& Tree, int64_t Number) {
    if (!Tree.NodeLimitReached)
        return false;
    return std::any_of(Tree.Claims.begin() + static_cast<std::ptrdiff_t>(Tree.FirstUnplaced),
                       Tree.Claims.end(),
                       [Number](const TClaim& Claim) { return Claim.Number == Number; });
}

} // namespace

int64_t MaxTreeReportBytes(int64_t MaxNodes) {
    constexpr int64_t perNode = 256;
    constexpr int64_t least = int64_t{256} << 20;
    return MaxNodes > std::numeric_limits<int64_t>::max() / perNode
               ? std::numeric_limits<int64_t>::max()
               : std::max(least, MaxNodes * perNode);
}

int WriteModeReport(std::ostream& Out, std::ostream& Err, const TReportOptions& Options,
                    const TReportInput& Of, const TClaimTree& Tree, std::string_view Input) {
    switch (Options.Mode) {
    case TMode::Summary:
        if (Of.Batched)
            Out << Of.File << ": ";
        Out << ClaimCountsText(Tree) << '\n';
        return Written;
    case TMode::Json:
        if (Of.Batched) {
            std::ostringstream pretty;
            WriteJsonReport(pretty, Tree, IsValidUtf8(Input));
            Out << JsonLine(pretty.str(), Of.File) << '\n';
        } else {
            WriteJsonReport(Out, Tree, IsValidUtf8(Input));
        }
        return Written;
    case TMode::Tree: {
        if (Of.Batched)
            Out << Of.File << ":\n";
        if (const std::string tooLarge = TreeTooLarge(Options, Of, Tree); !tooLarge.empty())
            return Fail(Err, tooLarge, OverLimit);
        WriteTreeReport(Out, Tree, Options.MaxNodes);
        return Written;
    }
    case TMode::Check: {
        const auto [problems, fees] = CheckAndCountFees(Tree);
        WriteCheckReport(Out, Of.File, problems, fees);
        return HasError(problems) ? ChecksFailed : Written;
    }
    case TMode::Dot:
    case TMode::Matrix:
        // Both are refused whole, before a byte is written, when too large.
        try {
            Out << (Options.Mode == TMode::Dot ? ClaimGraphDot(Tree) : DependencyMatrixCsv(Tree));
        } catch (const std::length_error& error) {
            return Fail(Err, Of.Name + ": " + error.what(), OverLimit);
        }
        return Written;
    case TMode::FullText:
        if (WriteFullTextReport(Out, Tree, Options.FullTextClaim, IsValidUtf8(Input)))
            return Written;
        if (CutBefore(Tree, Options.FullTextClaim))
            return Fail(Err,
                        Of.Name + ": the tree was cut at its node limit of " +
                            std::to_string(Tree.CreatedNodeLimit()) + " nodes before claim " +
                            std::to_string(Options.FullTextClaim),
                        OverLimit);
        return Fail(Err,
                    Of.Name + ": claim " + std::to_string(Options.FullTextClaim) +
                        " is not in the tree",
                    Failed);
    }
    return Written;
}
