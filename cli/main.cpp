// veltrum-claims: the claim analysis on the command line.

#include "Batch.h"
#include "BuiltinExamples.h"
#include "ClaimTree.h"
#include "CompareReport.h"
#include "StandardOutput.h"
#include "TextEncoding.h"
#include "VeltrumVersion.h"

#include <array>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <memory>
#include <new>
#include <optional>
#include <stdexcept>
#include <streambuf>
#include <string>
#include <string_view>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

constexpr const char* Usage =
    "usage: veltrum-claims [--json | --tree | --summary | --check | --full-text N | --dot |\n"
    "                       --matrix | --terms] [--lenient] [--max-nodes N] [--jobs N]\n"
    "                      [--language CODE] [--ocr | --no-ocr] [--original-text]\n"
    "                      [--wording] [--antecedent] [--skip KIND]...\n"
    "                      (FILE... | FOLDER... | - | --example N)\n"
    "       veltrum-claims --compare [--json | --html | --docx] [--language CODE] A B\n"
    "       veltrum-claims --version | --help";

constexpr const char* Help =
    "Reads the claims of a patent document and reports how they depend on each other.\n"
    "\n"
    "Modes (one; --summary is the default):\n"
    "  --summary        one line: the counts of independent, dependent and all claims\n"
    "  --json           the claims, their references and texts as one JSON object\n"
    "  --tree           the whole tree, one caption per node, two spaces a level\n"
    "  --check          one line per problem, FILE:LINE: severity: claim N: message,\n"
    "                   then the fee counts\n"
    "  --full-text N    claim N read in full, as JSON, from its independent claim down\n"
    "  --dot            the claim graph in Graphviz DOT\n"
    "  --matrix         the dependency matrix as CSV (D direct, I through others)\n"
    "  --compare A B    the claims of B against those of A, the earlier version: where\n"
    "                   each claim comes from, its status, the words inserted and\n"
    "                   deleted; both read the lenient way. With --json as JSON,\n"
    "                   with --html or --docx the listing of claims of a response\n"
    "                   (a Word document goes to standard output, never a terminal)\n"
    "  --terms          the terms the claims introduce, with the claims that use\n"
    "                   them, as JSON\n"
    "\n"
    "Options:\n"
    "  --lenient        read as a careful person does: any heading, numbering and\n"
    "                   reference style, not only the program's own strict rules\n"
    "  --antecedent     with --check and --json, also check that each term the\n"
    "                   claims refer back to (\"the valve\") is introduced before\n"
    "  --max-nodes N    with --tree, give up past N nodes (default 1000000)\n"
    "  --jobs N         with several files or a folder, use N threads\n"
    "  --language CODE  of a document with claims in several languages, read\n"
    "                   these (de, en, fr); by default the language of the\n"
    "                   proceedings, else English\n"
    "  --ocr            recognise the text of PDF pages that have none, such as\n"
    "                   scans (the default): pages with text are read as they are\n"
    "  --no-ocr         read only the text PDF pages have: faster, and a scan\n"
    "                   then fails\n"
    "  --original-text  read the tracked changes of Word and OpenDocument files as\n"
    "                   the text was before them (deletions kept, insertions left out)\n"
    "  --wording        --check and --json also check the claims' wording: more\n"
    "                   than one independent claim of a category, reference signs\n"
    "  --skip KIND      --check and --json leave out problems of KIND (as gap,\n"
    "                   reference-sign); repeatable\n"
    "  --example N      read built-in example N (1 to 5) instead of a file\n"
    "  -                read standard input\n"
    "  --version        print the version\n"
    "  --help           print this help\n"
    "\n"
    "A FOLDER stands for its .txt, .docx, .odt, .xml, .html, .htm and .pdf files,\n"
    "sorted by name; with several files each line of the reports starts with the\n"
    "file's name. Word and OpenDocument files, patent-office XML, saved web pages\n"
    "and PDFs are recognised by their content and read as their text; a file of\n"
    "several documents gives a report of each, as FILE#NUMBER. In JSON, each claim\n"
    "of a PDF gives its \"citation\", where it stands on the pages, and \"ocr\": true\n"
    "says that some text was recognised from page images.\n"
    "\n"
    "Exit status: 0 success; 1 a --check problem that is an error; 2 wrong\n"
    "arguments, a file that cannot be read or output that cannot be written, or\n"
    "memory running out; 3 a limit reached (tree nodes, DOT edges, matrix size).\n"
    "\n"
    "Example:\n"
    "  veltrum-claims --dot claims.txt | dot -Tpdf -o claims.pdf\n";

struct TOptions {
    TMode Mode = TMode::Summary;
    int64_t MaxNodes = 1'000'000;
    std::optional<std::string> File;
    int Example = 0;
    int64_t FullTextClaim = 0;
    TReading Reading = TReading::Standard;
    // Batch use: every FILE or FOLDER given, and the threads to analyse them on.
    std::vector<std::string> Files;
    int Jobs = 0;
    std::string Language;
    bool Ocr = true;
    bool Wording = false;
    std::vector<TProblemKind> Skip;

    TReportOptions Report() const {
        return {Mode, MaxNodes, Reading, FullTextClaim, Language,
                Ocr,  Wording,  Skip,    OriginalText,  AntecedentBasis};
    }
    bool Compare = false;
    // With --compare: --json, --html or --docx; Text for none.
    TCompareOutput CompareOutput = TCompareOutput::Text;
    bool ListingGiven = false; // --html or --docx
    bool OriginalText = false;
    bool AntecedentBasis = false;
};

int Fail(const std::string& Message, int Status = Failed) {
    std::cerr << "veltrum-claims: " << Message << '\n';
    return Status;
}

bool ParseCount(std::string_view Text, int64_t& Value) {
    const char* end = Text.data() + Text.size();
    const auto [ptr, ec] = std::from_chars(Text.data(), end, Value);
    return ec == std::errc() && ptr == end && Value >= 0;
}

// Whether argv[i] is Option, given as "Option N" (moving i past N) or
// "Option=N"; Value is then N, empty when it is missing.
bool NumericOption(std::string_view Option, int argc, char** argv, int& i,
                   std::string_view& Value) {
    const std::string_view arg = argv[i];
    if (arg == Option) {
        Value = ++i < argc ? std::string_view(argv[i]) : std::string_view();
        return true;
    }
    if (arg.size() > Option.size() && arg.starts_with(Option) && arg[Option.size()] == '=') {
        Value = arg.substr(Option.size() + 1);
        return true;
    }
    return false;
}

// Every kind of problem, as --skip takes them.
std::string ProblemKindList() {
    std::string list;
    for (int k = 0; k <= static_cast<int>(LastProblemKind); ++k)
        list += (k ? ", " : "") + std::string(ProblemKindName(static_cast<TProblemKind>(k)));
    return list;
}

std::string NeedsNumber(const std::string& Message, std::string_view Given) {
    return Given.empty() ? Message : Message + ", not '" + std::string(Given) + "'";
}

// Returns an error message, or nothing when the arguments are good.
std::optional<std::string> ParseArguments(int argc, char** argv, TOptions& Options) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        std::string_view value;
        if (arg == "--json") {
            Options.Mode = TMode::Json;
            Options.CompareOutput = TCompareOutput::Json;
        } else if (arg == "--compare") {
            Options.Compare = true;
        } else if (arg == "--html" || arg == "--docx") {
            Options.CompareOutput = arg == "--html" ? TCompareOutput::Html : TCompareOutput::Docx;
            Options.ListingGiven = true;
        } else if (arg == "--tree") {
            Options.Mode = TMode::Tree;
        } else if (arg == "--summary") {
            Options.Mode = TMode::Summary;
        } else if (arg == "--dot") {
            Options.Mode = TMode::Dot;
        } else if (arg == "--matrix") {
            Options.Mode = TMode::Matrix;
        } else if (arg == "--terms") {
            Options.Mode = TMode::Terms;
        } else if (arg == "--lenient") {
            Options.Reading = TReading::Lenient;
        } else if (arg == "--ocr" || arg == "--no-ocr") {
            Options.Ocr = arg == "--ocr";
        } else if (arg == "--original-text") {
            Options.OriginalText = true;
        } else if (arg == "--antecedent") {
            Options.AntecedentBasis = true;
        } else if (arg == "--check") {
            Options.Mode = TMode::Check;
        } else if (arg == "--wording") {
            Options.Wording = true;
        } else if (NumericOption("--skip", argc, argv, i, value)) {
            TProblemKind kind{};
            if (value.empty())
                return "--skip needs a kind of problem, as gap or reference-sign";
            if (!ProblemKindOfName(value, kind))
                return "--skip: unknown kind of problem '" + std::string(value) +
                       "'; the kinds are " + ProblemKindList();
            Options.Skip.push_back(kind);
        } else if (NumericOption("--language", argc, argv, i, value)) {
            if (value.empty() || value.size() > 8)
                return "--language needs a language code, as de or en";
            Options.Language = std::string(value);
        } else if (NumericOption("--jobs", argc, argv, i, value)) {
            int64_t n = 0;
            if (!ParseCount(value, n) || n < 1 || n > 1024)
                return NeedsNumber("--jobs needs a number from 1 to 1024", value);
            Options.Jobs = static_cast<int>(n);
        } else if (NumericOption("--max-nodes", argc, argv, i, value)) {
            if (!ParseCount(value, Options.MaxNodes))
                return NeedsNumber("--max-nodes needs a number", value);
        } else if (NumericOption("--full-text", argc, argv, i, value)) {
            if (!ParseCount(value, Options.FullTextClaim))
                return NeedsNumber("--full-text needs a claim number", value);
            Options.Mode = TMode::FullText;
        } else if (NumericOption("--example", argc, argv, i, value)) {
            int64_t n = 0;
            if (!ParseCount(value, n) || n < 1 || n > BuiltinExampleCount)
                return NeedsNumber("--example needs a number from 1 to 5", value);
            if (Options.File || Options.Example)
                return "give one file or one example";
            Options.Example = static_cast<int>(n);
        } else if (arg.size() > 1 && arg[0] == '-') {
            return "unknown option '" + std::string(arg) + "'";
        } else {
            if (Options.Example)
                return "give one file or one example";
            Options.Files.emplace_back(arg);
            Options.File = Options.Files.front();
        }
    }
    if (Options.ListingGiven && !Options.Compare)
        return "--html and --docx write the listing of a comparison: use them with --compare";
    if (Options.Compare) {
        if (Options.Example || Options.Files.size() != 2)
            return "--compare takes two files: the earlier version, then the later";
        if (Options.Mode != TMode::Summary && Options.Mode != TMode::Json)
            return "--compare writes a report of its own: no other mode goes with it";
        return std::nullopt;
    }
    if (!Options.File && !Options.Example)
        return "no file given";
    if (Options.Mode == TMode::FullText && IsBatch(Options.Files))
        return "--full-text reads one file";
    return std::nullopt;
}

// The input as messages name it.
std::string InputName(const TOptions& Options) {
    if (Options.Example)
        return "example " + std::to_string(Options.Example);
    return *Options.File == "-" ? std::string("standard input") : *Options.File;
}

// Writes the report that Options ask for to standard output; returns the
// exit status, with a message on standard error for a failure.
int WriteReport(const TOptions& Options, const std::string& Name, const TClaimTree& Tree,
                std::string_view Input, const TClaimTree& Other,
                const TReportInput* Document = nullptr) {
    TStandardOutput output;
    std::ostream out(&output);
    // Lines in the form FILE:LINE: ..., with "-" for standard input.
    const std::string file =
        Options.Example ? "example-" + std::to_string(Options.Example) : *Options.File;
    const int status = WriteModeReport(
        out, std::cerr, Options.Report(),
        Document ? *Document : TReportInput{Name, file, false, {}, {}, false, {}, {}, false}, Tree,
        Input, &Other);
    out.flush();
    if (!out)
        return Fail("cannot write the report of " + Name + ": " + std::strerror(WriteError(out)));
    return status;
}

// Reads the input, analyses it and writes the report.
int Run(const TOptions& Options, const std::string& Name) {
    TInputText input(Options.Example ? BuiltinExampleText(Options.Example) : std::string());
    if (!Options.Example) {
        if (const auto error = ReadFile(*Options.File, input))
            return Fail(*error);
    }
    // The reports need the counts and the walk over the whole tree, not the
    // nodes; the claim in full follows a node's path.
    const TNodes nodes = Options.Mode == TMode::FullText ? TNodes::Created : TNodes::Counted;
    if (input.Document()) {
        std::vector<TInputDocument> documents;
        if (const auto error = ReadInputDocuments(input.View(), Name, Options.Language, documents,
                                                  Options.Ocr, Options.OriginalText))
            return Fail(*error);
        int status = Written;
        for (const TInputDocument& one : documents) {
            const TClaimTree tree(one.Text, Options.Reading, TClaimTree::MaxCreatedNodes, nodes);
            // Said on standard error when it reads other claims or references.
            const std::unique_ptr<TClaimTree> other = OtherReading(one.Text, Options.Reading);
            const TReportInput of = DocumentInput(Name, *Options.File, one, documents, false);
            if (!one.Note.empty())
                std::cerr << "veltrum-claims: " << of.File << ' ' << one.Note
                          << ": its own claims are read\n";
            status = WorseStatus(status, WriteReport(Options, Name, tree, one.Text, *other, &of));
            if (status == Failed)
                break;
        }
        return status;
    }
    const TClaimTree tree(input.View(), Options.Reading, TClaimTree::MaxCreatedNodes, nodes);
    // Said on standard error when it reads other claims or references.
    const std::unique_ptr<TClaimTree> other = OtherReading(input.View(), Options.Reading);
    return WriteReport(Options, Name, tree, input.View(), *other);
}

// Maps the stack the analysis will use before the heap may fill the address
// space: throwing bad_alloc then needs fresh stack pages for the unwinder,
// and a stack that cannot grow ends in a crash instead of the message.
[[gnu::noinline]] void ReserveStack() {
    volatile char pages[512 * 1024];
    for (std::size_t i = 0; i < sizeof pages; i += 4096)
        pages[i] = 0;
}

// Writes Text to standard output; the exit status says whether it got there.
int WriteOut(const std::string& Text, const char* What) {
    TStandardOutput output;
    std::ostream out(&output);
    if (!(out << Text << std::flush))
        return Fail(std::string("cannot write ") + What + ": " + std::strerror(WriteError(out)));
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    // Alone, so that scripts can ask any build which it is.
    if (argc == 2 && std::string_view(argv[1]) == "--version")
        return WriteOut("veltrum-claims " VELTRUM_VERSION "\n", "the version");
    if (argc == 2 && (std::string_view(argv[1]) == "--help" || std::string_view(argv[1]) == "-h"))
        return WriteOut(std::string(Usage) + "\n\n" + Help, "the help");
    TOptions options;
    if (const auto error = ParseArguments(argc, argv, options)) {
        std::cerr << "veltrum-claims: " << *error << '\n' << Usage << '\n';
        return 2;
    }

    if (options.Compare) {
        TStandardOutput output;
        std::ostream out(&output);
        ReserveStack();
        try {
            return RunComparison(options.Files[0], options.Files[1], options.CompareOutput,
                                 options.Language, isatty(STDOUT_FILENO) == 1, out, std::cerr);
        } catch (const std::bad_alloc&) {
            return Fail("comparing " + options.Files[0] + " and " + options.Files[1] +
                        ": not enough memory");
        }
    }

    if (IsBatch(options.Files)) {
        const int jobs =
            options.Jobs ? options.Jobs : static_cast<int>(std::thread::hardware_concurrency());
        TStandardOutput output;
        std::ostream out(&output);
        return RunBatch(options.Files, options.Report(), jobs, out, std::cerr);
    }

    const std::string name = InputName(options);
    ReserveStack();
    try {
        return Run(options, name);
    } catch (const std::bad_alloc&) {
        return Fail(name + ": not enough memory");
    }
}
