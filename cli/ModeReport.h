#pragma once

// The report of one analysed input in the mode the arguments chose: the one
// place that writes it, for a single input and for every file of a batch.

#include "ClaimChecks.h"
#include "ClaimTree.h"
#include "DocumentReader.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

enum class TMode { Summary, Json, Tree, Check, FullText, Dot, Matrix, Terms };

struct TReportOptions {
    TMode Mode = TMode::Summary;
    int64_t MaxNodes = 1'000'000;
    TReading Reading = TReading::Standard;
    int64_t FullTextClaim = 0;
    // The claims language of a document that has several; empty for its own.
    std::string Language;
    // The pages of a PDF that have no text are recognised from their images.
    bool Ocr = true;
    // Also check the claims' wording (categories, reference signs).
    bool Wording = false;
    // Kinds of problem that --check and --json leave out.
    std::vector<TProblemKind> Skip;
    // Tracked changes of Word and OpenDocument files read as the text was
    // before them.
    bool OriginalText = false;
    // --check and --json also check the antecedent basis of the terms.
    bool AntecedentBasis = false;
};

// Exit statuses.
inline constexpr int Written = 0;
inline constexpr int ChecksFailed = 1; // --check found an error
inline constexpr int Failed = 2;
inline constexpr int OverLimit = 3; // a tree, graph or matrix too large to write

// --tree writes no more than 256 bytes a node of MaxNodes, and at least
// 256 MiB: a claim that names another many times has a long caption and as
// many nodes under it.
int64_t MaxTreeReportBytes(int64_t MaxNodes);

// No report takes more than 64 bytes for each byte of its input and 1 MiB
// more: past that a run stops with OverLimit before it writes a byte.
int64_t MaxReportBytes(std::size_t InputBytes);
// A tree may branch more: the dependants of dependants of a short text (one
// of the built-in examples writes 1.9 MB of tree from 11 KB) take up to
// 3 MiB more than any other report, and no more than MaxTreeReportBytes.
int64_t MaxTreeBytes(std::size_t InputBytes, int64_t MaxNodes);

// Which input a report is of.
struct TReportInput {
    // How messages name it: a path, "standard input", "example N".
    std::string Name;
    // How the report's own lines name it: the path, "-", "example-N".
    std::string File;
    // In a batch every report says which file it is of: a prefix on each
    // line, a "FILE:" line before a tree, a "file" key in JSON.
    bool Batched = false;
    // For a document that is not a plain text: its format ("docx") and, in a
    // file of several, its publication number. The JSON report names both.
    std::string Format;
    std::string Document;
    bool OneOfSeveral = false;
    // Of a PDF: where each line of the input stands on the pages, for the
    // claims' citations in JSON, and whether some of it was recognised from
    // page images.
    std::vector<TLineOrigin> LineOrigins;
    std::vector<TLineOrigin> LastLineOrigins;
    bool Ocr = false;
    // The markup's own claim links, which the checks compare with the text's
    // references; empty for a plain text.
    std::vector<TMarkupLink> Links = {};
};

// Writes the report of Tree, read from Input, to Out, and a one-line message
// "veltrum-claims: ..." to Err for a failure; returns the exit status.
// Whether Out could be written is the caller's to check. Other, the other
// reading of Input, when given: a line on Err says where it reads other
// claims or references, and --check lists that among the problems.
int WriteModeReport(std::ostream& Out, std::ostream& Err, const TReportOptions& Options,
                    const TReportInput& Of, const TClaimTree& Tree, std::string_view Input,
                    const TClaimTree* Other = nullptr);

// The other reading of Text than Reading, with the claims and references
// only: what CompareReadings needs.
std::unique_ptr<TClaimTree> OtherReading(std::string_view Text, TReading Reading);

// "NAME: the standard reading found 0 claims; the lenient reading finds 12
// (use --lenient)", or empty when the readings agree.
std::string ReadingLine(const std::string& Name, TReading InUse,
                        const TReadingDifference& Difference);
