#pragma once

// What every format reader promises for any bytes: an error and nothing
// else, or at least one document whose claim links name claims.

#include "DocumentReader.h"

#include <cstdio>
#include <cstdlib>

inline void CheckRead(const TDocumentRead& Read) {
    const auto fail = [](const char* What) {
        std::fprintf(stderr, "broken: %s\n", What);
        std::abort();
    };
    if (Read.Error.isEmpty() == Read.Documents.empty())
        fail("an error with documents, or neither");
    if (Read.Error.isEmpty() == Read.Format.isEmpty())
        fail("a format with an error, or neither");
    for (const TReadDocument& document : Read.Documents)
        for (const TClaimLink& link : document.Links)
            if (link.From <= 0 || link.To <= 0)
                fail("a claim link to no claim");
}
