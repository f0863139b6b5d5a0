#include "ModeReport.h"

#include "Batch.h"
#include "ClaimChecks.h"
#include "ClaimCitation.h"
#include "ClaimExport.h"
#include "FullTextReport.h"
#include "Report.h"
#include "TextEncoding.h"

#include <algorithm>
#include <limits>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <streambuf>

namespace {

// Counts what a report would write, and stops the writer with TPastLimit as
// soon as it passes its limit.
class TCountingBuffer : public std::streambuf {
public:
    struct TPastLimit {};

    explicit TCountingBuffer(int64_t Limit) : limit(Limit) { setp(buffer, buffer + sizeof buffer); }

    int64_t Count() {
        Take();
        return count;
    }

protected:
    int_type overflow(int_type C) override {
        Take();
        if (!traits_type::eq_int_type(C, traits_type::eof())) {
            *pptr() = traits_type::to_char_type(C);
            pbump(1);
        }
        return traits_type::not_eof(C);
    }

private:
    void Take() {
        count += pptr() - pbase();
        setp(buffer, buffer + sizeof buffer);
        if (count > limit)
            throw TPastLimit();
    }

    char buffer[1 << 14];
    int64_t count = 0;
    int64_t limit;
};

// The bytes Write writes to the stream it is given, or the first count past Limit.
template <typename TWrite> int64_t ReportBytes(int64_t Limit, TWrite&& Write) {
    TCountingBuffer counter(Limit);
    std::ostream out(&counter);
    // The stream hands the writer's stop on rather than only going bad.
    out.exceptions(std::ios::badbit);
    try {
        Write(out);
        out.flush();
        return counter.Count();
    } catch (const TCountingBuffer::TPastLimit&) {
        return Limit + 1;
    }
}

std::string TooManyBytes(const TReportInput& Of, const char* What, int64_t Most) {
    return Of.Name + ": " + What + " takes more than " + std::to_string(Most) + " bytes";
}

int Fail(std::ostream& Err, const std::string& Message, int Status) {
    Err << "veltrum-claims: " << Message << '\n';
    return Status;
}

// Why the whole tree cannot be written, or nothing when it can.
std::string TreeTooLarge(const TReportOptions& Options, const TReportInput& Of,
                         const TClaimTree& Tree, int64_t MostBytes) {
    if (Tree.FullNodeCount > Options.MaxNodes)
        return Of.Name + ": the tree has " + std::to_string(Tree.FullNodeCount) +
               (Tree.FullNodeCount == SaturatedCount ? " or more" : "") +
               " nodes, over the limit of " + std::to_string(Options.MaxNodes);
    // Without the nodes past the limit the whole tree is not known.
    if (Tree.NodeLimitReached)
        return Of.Name + ": the tree's node limit of " + std::to_string(Tree.CreatedNodeLimit()) +
               " was reached";
    if (TreeReportSize(Tree, MostBytes) > MostBytes)
        return Of.Name + ": the tree takes more than " + std::to_string(MostBytes) + " bytes";
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

int64_t MaxReportBytes(std::size_t InputBytes) {
    constexpr int64_t perByte = 64;
    constexpr int64_t more = int64_t{1} << 20;
    const auto input = static_cast<int64_t>(
        std::min<std::size_t>(InputBytes, std::numeric_limits<int64_t>::max() / perByte / 2));
    return input * perByte + more;
}

int64_t MaxTreeBytes(std::size_t InputBytes, int64_t MaxNodes) {
    return std::min(MaxTreeReportBytes(MaxNodes), MaxReportBytes(InputBytes) + (int64_t{3} << 20));
}

int64_t MaxTreeReportBytes(int64_t MaxNodes) {
    constexpr int64_t perNode = 256;
    constexpr int64_t least = int64_t{256} << 20;
    return MaxNodes > std::numeric_limits<int64_t>::max() / perNode
               ? std::numeric_limits<int64_t>::max()
               : std::max(least, MaxNodes * perNode);
}

std::unique_ptr<TClaimTree> OtherReading(std::string_view Text, TReading Reading) {
    const TReading other = Reading == TReading::Lenient ? TReading::Standard : TReading::Lenient;
    return std::make_unique<TClaimTree>(Text, other, 0, TNodes::Counted);
}

std::string ReadingLine(const std::string& Name, TReading InUse,
                        const TReadingDifference& Difference) {
    if (!Difference.Differ())
        return {};
    const bool lenient = InUse == TReading::Lenient;
    const auto claims = [](std::size_t Count) {
        return std::to_string(Count) + (Count == 1 ? " claim" : " claims");
    };
    std::string line = Name + ": the " + ReadingName(InUse) + " reading found " +
                       claims(Difference.Claims) + "; the " + (lenient ? "standard" : "lenient") +
                       " reading ";
    if (Difference.Claims != Difference.OtherClaims)
        line += "finds " + std::to_string(Difference.OtherClaims);
    else
        line += "reads " + std::to_string(Difference.Differing) + " of them differently";
    return line + (lenient ? " (without --lenient)" : " (use --lenient)");
}

namespace {

// The "citation" member of each claim's JSON, by the claim's Index; none
// without the lines' origins.
std::vector<std::string> CitationKeys(const TClaimTree& Tree, std::string_view Input,
                                      const TTextOrigins& Lines) {
    if (Lines.First.empty())
        return {};
    std::vector<std::string> keys;
    for (const std::optional<TCitation>& citation : ClaimCitations(Tree, Input, Lines))
        keys.push_back(citation ? "\"citation\": " + CitationJson(*citation) : std::string());
    return keys;
}

// Problems of the kinds Skip names taken out.
void LeaveOut(std::vector<TClaimProblem>& Problems, const std::vector<TProblemKind>& Skip) {
    if (Skip.empty())
        return;
    std::erase_if(Problems, [&](const TClaimProblem& Problem) {
        return std::find(Skip.begin(), Skip.end(), Problem.Kind) != Skip.end();
    });
}

// The problems a report shows: the checks, the markup's links against the
// text, less the kinds left out.
TClaimChecks ChecksOf(const TReportOptions& Options, const TClaimTree& Tree, std::string_view Input,
                      const std::vector<TMarkupLink>& Links) {
    TClaimChecks checks =
        CheckAndCountFees(Tree, {Options.Wording, Input, Options.AntecedentBasis});
    AddLinkProblems(checks.Problems, Tree, Links);
    LeaveOut(checks.Problems, Options.Skip);
    return checks;
}

int WriteReportOf(std::ostream& Out, std::ostream& Err, const TReportOptions& Options,
                  const TReportInput& Of, const TClaimTree& Tree, std::string_view Input,
                  const TReadingDifference& difference) {
    const int64_t most = MaxReportBytes(Input.size());
    switch (Options.Mode) {
    case TMode::Summary:
        if (Of.Batched)
            Out << Of.File << ": ";
        Out << ClaimCountsText(Tree) << '\n';
        return Written;
    case TMode::Json: {
        const bool utf8 = IsValidUtf8(Input);
        const TClaimChecks checks = ChecksOf(Options, Tree, Input, Of.Links);
        // Of a PDF, each claim says where it stands on the pages.
        const std::vector<std::string> citations =
            CitationKeys(Tree, Input, {Of.LineOrigins, Of.LastLineOrigins});
        int64_t citationBytes = 0;
        for (const std::string& key : citations)
            citationBytes += static_cast<int64_t>(key.size()) + 8;
        const auto write = [&](std::ostream& To) {
            WriteJsonReport(To, Tree, utf8, checks, citations.empty() ? nullptr : &citations);
        };
        // Measured first, when a bound does not show at once that it fits:
        // the report is written as it is made.
        if (JsonReportBound(Tree, checks) + citationBytes > most && ReportBytes(most, write) > most)
            return Fail(Err, TooManyBytes(Of, "the JSON report", most), OverLimit);
        if (Of.Batched) {
            std::ostringstream pretty;
            write(pretty);
            std::string file = Of.File;
            std::string keys;
            if (Of.OneOfSeveral)
                file.resize(file.size() - std::min(file.size(), Of.Document.size() + 1));
            if (Of.OneOfSeveral)
                keys += "\"document\": " + JsonString(DecodeToUtf8(Of.Document)) + ", ";
            if (!Of.Format.empty())
                keys += "\"format\": " + JsonString(Of.Format) + ", ";
            if (Of.Ocr)
                keys += "\"ocr\": true, ";
            Out << JsonLine(pretty.str(), file, keys) << '\n';
        } else if (!Of.Format.empty()) {
            // Plain texts keep the report they always had.
            std::ostringstream pretty;
            write(pretty);
            std::string report = std::move(pretty).str();
            const std::size_t open = report.find("{\n");
            if (open != std::string::npos)
                report.insert(open + 2, "  \"format\": " + JsonString(Of.Format) + ",\n" +
                                            (Of.Ocr ? "  \"ocr\": true,\n" : ""));
            Out << report;
        } else {
            write(Out);
        }
        return Written;
    }
    case TMode::Terms: {
        const bool utf8 = IsValidUtf8(Input);
        const auto write = [&](std::ostream& To) { WriteTermsReport(To, Tree, utf8); };
        if (ReportBytes(most, write) > most)
            return Fail(Err, TooManyBytes(Of, "the terms report", most), OverLimit);
        if (Of.Batched) {
            std::ostringstream pretty;
            write(pretty);
            Out << JsonLine(pretty.str(), Of.File) << '\n';
        } else {
            write(Out);
        }
        return Written;
    }
    case TMode::Tree: {
        if (Of.Batched)
            Out << Of.File << ":\n";
        if (const std::string tooLarge =
                TreeTooLarge(Options, Of, Tree, MaxTreeBytes(Input.size(), Options.MaxNodes));
            !tooLarge.empty())
            return Fail(Err, tooLarge, OverLimit);
        WriteTreeReport(Out, Tree, Options.MaxNodes);
        return Written;
    }
    case TMode::Check: {
        TClaimChecks checks = ChecksOf(Options, Tree, Input, Of.Links);
        // What the other reading finds goes first; claims left out are
        // after every claim read.
        std::vector<TClaimProblem> reading = ReadingProblems(Options.Reading, difference);
        if (!reading.empty()) {
            checks.Problems.insert(checks.Problems.begin(), std::move(reading.front()));
            for (std::size_t i = 1; i < reading.size(); ++i)
                checks.Problems.push_back(std::move(reading[i]));
        }
        LeaveOut(checks.Problems, Options.Skip);
        const auto write = [&](std::ostream& To) {
            WriteCheckReport(To, Of.File, checks.Problems, checks.Fees);
        };
        if (ReportBytes(most, write) > most)
            return Fail(Err, TooManyBytes(Of, "the check report", most), OverLimit);
        write(Out);
        return HasError(checks.Problems) ? ChecksFailed : Written;
    }
    case TMode::Dot:
    case TMode::Matrix:
        // Both are refused whole, before a byte is written, when too large.
        try {
            const auto limit = static_cast<std::size_t>(most);
            if (Options.Mode == TMode::Dot)
                Out << ClaimGraphDot(Tree, limit);
            else
                WriteDependencyMatrixCsv(Out, Tree, limit);
        } catch (const std::length_error& error) {
            return Fail(Err, Of.Name + ": " + error.what(), OverLimit);
        }
        return Written;
    case TMode::FullText: {
        const bool utf8 = IsValidUtf8(Input);
        const auto write = [&](std::ostream& To) {
            return WriteFullTextReport(To, Tree, Options.FullTextClaim, utf8);
        };
        if (ReportBytes(most, write) > most)
            return Fail(Err, TooManyBytes(Of, "the claim's full text", most), OverLimit);
        if (write(Out))
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
    }
    return Written;
}

} // namespace

int WriteModeReport(std::ostream& Out, std::ostream& Err, const TReportOptions& Options,
                    const TReportInput& Of, const TClaimTree& Tree, std::string_view Input,
                    const TClaimTree* Other) {
    const TReadingDifference difference =
        Other != nullptr ? CompareReadings(Tree, *Other) : TReadingDifference();
    const int status = WriteReportOf(Out, Err, Options, Of, Tree, Input, difference);
    // A failure is said in one line of its own.
    if (status == Written || status == ChecksFailed) {
        if (const std::string line = ReadingLine(Of.Name, Options.Reading, difference);
            !line.empty())
            Err << "veltrum-claims: " << line << '\n';
    }
    return status;
}
