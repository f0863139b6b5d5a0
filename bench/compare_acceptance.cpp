// How well the comparison finds amendments: pairs of versions made from the
// claim sets given (files, or folders of .txt files) with generated
// amendments, and the share of the later version's claims with the right
// source and status, and with the right inserted and deleted words.
//
//   compare_acceptance [--pairs N] [--verbose] PATH...

#include "ClaimAmendments.h"
#include "ClaimComparison.h"
#include "ClaimTree.h"

#include <algorithm>
#include <cstdlib>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string ReadWhole(const std::filesystem::path& Path) {
    std::ifstream in(Path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Mostly Chinese, Japanese or Korean: words are not separated by blanks there.
bool WrittenWithoutBlanks(const std::string& Text) {
    const auto wide = std::count_if(Text.begin(), Text.end(),
                                    [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
    return wide * 3 > static_cast<std::ptrdiff_t>(Text.size());
}

} // namespace

int main(int argc, char** argv) {
    int pairsPerSet = 20;
    bool verbose = false;
    std::vector<std::filesystem::path> files;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--pairs" && i + 1 < argc) {
            pairsPerSet = std::stoi(argv[++i]);
        } else if (arg == "--verbose") {
            verbose = true;
        } else if (std::filesystem::is_directory(arg)) {
            for (const auto& entry : std::filesystem::directory_iterator(arg)) {
                if (entry.path().extension() == ".txt")
                    files.push_back(entry.path());
            }
        } else {
            files.push_back(arg);
        }
    }
    std::sort(files.begin(), files.end());
    std::mt19937 random(2112);
    long claims = 0, rightSource = 0, rightWords = 0, pairs = 0, unread = 0, merges = 0,
         mergesFound = 0, canceledRight = 0, sets = 0, skipped = 0;
    for (const auto& file : files) {
        const std::string text = ReadWhole(file);
        if (WrittenWithoutBlanks(text)) {
            ++skipped;
            continue;
        }
        const TClaimTree tree(text, TReading::Lenient);
        const std::vector<TBaseClaim> base = BaseClaims(tree);
        if (base.size() < 3) {
            ++skipped;
            continue;
        }
        ++sets;
        for (int p = 0; p < pairsPerSet; ++p) {
            const TAmendedPair pair = AmendClaims(base, random, p % 4 == 3);
            const TClaimTree a(pair.A, TReading::Lenient);
            const TClaimTree b(pair.B, TReading::Lenient);
            if (a.Claims.size() != base.size() || b.Claims.size() != pair.Expected.size()) {
                ++unread;
                continue;
            }
            ++pairs;
            const TClaimComparison comparison = CompareClaims(a, b);
            canceledRight += comparison.Canceled == pair.Canceled;
            for (std::size_t k = 0; k < pair.Expected.size(); ++k) {
                const TExpectedClaim& expected = pair.Expected[k];
                const TComparedClaim& got = comparison.Claims[k];
                ++claims;
                const bool source = got.From == expected.From && got.Status == expected.Status;
                const bool words = SortedWords(got.Inserted) == expected.Inserted &&
                                   SortedWords(got.Deleted) == expected.Deleted;
                rightSource += source;
                rightWords += source && words;
                if (expected.MergedFrom) {
                    ++merges;
                    const bool found = got.MergedFrom == std::vector<int32_t>{expected.MergedFrom};
                    mergesFound += found;
                    if (verbose && !found && std::getenv("DUMP_MISSED_MERGE")) {
                        std::ofstream(std::string(std::getenv("DUMP_MISSED_MERGE")) + ".a") << pair.A;
                        std::ofstream(std::string(std::getenv("DUMP_MISSED_MERGE")) + ".b") << pair.B;
                    }
                    if (verbose && !found)
                        std::cout << file.filename().string() << " pair " << p
                                  << ": merge missed: claim " << expected.MergedFrom << " into "
                                  << expected.Number << " (from " << got.From << ")\n"
                                  << b.Claims[k].Text << "\n"
                                  << a.Claims[static_cast<std::size_t>(expected.MergedFrom - 1)].Text
                                  << "\n";
                }
                if (verbose && !(source && words))
                    std::cout << file.filename().string() << " pair " << p << ": claim "
                              << expected.Number << " expected from " << expected.From << " "
                              << AmendmentStatusName(expected.Status) << ", got from " << got.From
                              << " " << AmendmentStatusName(got.Status)
                              << (words ? "" : " (words differ)") << "\n";
                if (verbose && !words) {
                    for (const std::string& w : got.Inserted)
                        std::cout << "    +" << w << "\n";
                    for (const std::string& w : got.Deleted)
                        std::cout << "    -" << w << "\n";
                    for (const std::string& w : expected.Inserted)
                        std::cout << "    expected +" << w << "\n";
                    for (const std::string& w : expected.Deleted)
                        std::cout << "    expected -" << w << "\n";
                }
            }
        }
    }
    const auto share = [](long Part, long Whole) {
        return Whole ? 100.0 * static_cast<double>(Part) / static_cast<double>(Whole) : 0.0;
    };
    std::printf("claim sets %ld (skipped %ld: fewer than 3 claims or no blanks between words)\n",
                sets, skipped);
    std::printf("pairs %ld (%ld left out: a generated text read with other claims)\n", pairs,
                unread);
    std::printf("claims of B %ld\n", claims);
    std::printf("right source and status   %6.2f %%\n", share(rightSource, claims));
    std::printf("right inserted and deleted %5.2f %%\n", share(rightWords, claims));
    std::printf("merges found              %6.2f %% of %ld\n", share(mergesFound, merges), merges);
    std::printf("canceled lists right      %6.2f %%\n", share(canceledRight, pairs));
    return 0;
}
