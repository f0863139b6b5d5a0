// veltrum-claims: the claim analysis on the command line.

#include "BuiltinExamples.h"
#include "ClaimTree.h"
#include "FullTextReport.h"
#include "Report.h"
#include "TextEncoding.h"

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <new>
#include <optional>
#include <string>
#include <string_view>

namespace {

constexpr const char* Usage =
    "usage: veltrum-claims [--json | --tree | --summary | --full-text N] [--max-nodes N] "
    "(FILE | - | --example N)";

enum class TMode { Summary, Json, Tree, FullText };

struct TOptions {
    TMode Mode = TMode::Summary;
    int64_t MaxNodes = 1'000'000;
    std::optional<std::string> File;
    int Example = 0;
    int64_t FullTextClaim = 0;
};

int Fail(const std::string& Message) {
    std::cerr << "veltrum-claims: " << Message << '\n';
    return 2;
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
        } else if (arg == "--tree") {
            Options.Mode = TMode::Tree;
        } else if (arg == "--summary") {
            Options.Mode = TMode::Summary;
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
            if (Options.File || Options.Example)
                return "give one file or one example";
            Options.File = std::string(arg);
        }
    }
    if (!Options.File && !Options.Example)
        return "no file given";
    return std::nullopt;
}

// Reads the whole file, or standard input for "-"; an error message on failure.
std::optional<std::string> ReadWhole(const std::string& Name, std::string& Bytes) {
    std::FILE* file = Name == "-" ? stdin : std::fopen(Name.c_str(), "rb");
    if (file == nullptr)
        return "cannot open " + Name + ": " + std::strerror(errno);
    char buffer[1 << 16];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        Bytes.append(buffer, got);
    const bool failed = std::ferror(file) != 0;
    const int error = errno;
    if (file != stdin)
        std::fclose(file);
    if (failed)
        return "cannot read " + Name + ": " + std::strerror(error);
    return std::nullopt;
}

} // namespace

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    TOptions options;
    if (const auto error = ParseArguments(argc, argv, options)) {
        std::cerr << "veltrum-claims: " << *error << '\n' << Usage << '\n';
        return 2;
    }

    std::string input;
    try {
        if (options.Example) {
            input = BuiltinExampleText(options.Example);
        } else if (const auto error = ReadWhole(*options.File, input)) {
            return Fail(*error);
        }
    } catch (const std::bad_alloc&) {
        return Fail("cannot read " + options.File.value_or("the example") + ": not enough memory");
    }
    if (const auto nul = input.find('\0'); nul != std::string::npos)
        input.resize(nul);

    const TClaimTree tree(input);
    switch (options.Mode) {
    case TMode::Summary:
        std::cout << ClaimCountsText(tree) << '\n';
        break;
    case TMode::Json:
        WriteJsonReport(std::cout, tree, IsValidUtf8(input));
        break;
    case TMode::Tree:
        if (!WriteTreeReport(std::cout, tree, options.MaxNodes)) {
            std::cerr << "veltrum-claims: the tree has " << tree.FullNodeCount
                      << (tree.FullNodeCount == SaturatedCount ? " or more" : "")
                      << " nodes, over the limit of " << options.MaxNodes << '\n';
            return 3;
        }
        break;
    case TMode::FullText:
        if (!WriteFullTextReport(std::cout, tree, options.FullTextClaim, IsValidUtf8(input)))
            return Fail("claim " + std::to_string(options.FullTextClaim) + " is not in the tree");
        break;
    }
    std::cout.flush();
    return std::cout ? 0 : 2;
}
