// Writes a benchmark text to standard output, for whole-process timing and
// peak memory of veltrum-claims (e.g. with /usr/bin/time -v):
//   write_claim_text all-preceding 1000 > /tmp/t.txt
//   /usr/bin/time -v veltrum-claims /tmp/t.txt

#include "ClaimTexts.h"

#include <cstdlib>
#include <iostream>
#include <string_view>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: write_claim_text (document MB | cjk-document MB | ordinary N | "
                     "all-preceding N)\n";
        return 2;
    }
    const std::string_view kind = argv[1];
    const long n = std::strtol(argv[2], nullptr, 10);
    if (n <= 0) {
        std::cerr << "write_claim_text: a positive count, please\n";
        return 2;
    }
    if (kind == "document")
        std::cout << LongDocument(static_cast<std::size_t>(n) << 20);
    else if (kind == "cjk-document")
        std::cout << LongCjkDocument(static_cast<std::size_t>(n) << 20);
    else if (kind == "ordinary")
        std::cout << OrdinaryClaims(static_cast<int>(n));
    else if (kind == "all-preceding")
        std::cout << AllPrecedingClaims(static_cast<int>(n));
    else
        return 2;
    return 0;
}
