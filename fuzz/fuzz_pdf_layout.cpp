// The layout of printed pages: any word boxes (NaN, inverted, huge, piled
// up) give text with one citation per line, and never fail.

#include "PdfLayout.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace {

// Per word: a control byte (0xFF starts a new page), four 16-bit
// coordinates in quarter points, then (control & 15) bytes of text. The
// control's high bits put a special value in one coordinate.
std::vector<TPdfPage> PagesOf(const uint8_t* Data, size_t Size) {
    std::vector<TPdfPage> pages(1, TPdfPage{612, 792, {}});
    size_t at = 0;
    while (at < Size) {
        const uint8_t control = Data[at++];
        if (control == 0xFF) {
            pages.push_back(TPdfPage{612, 792, {}});
            continue;
        }
        if (Size - at < 8)
            break;
        double v[4];
        for (double& c : v) {
            int16_t raw;
            std::memcpy(&raw, Data + at, 2);
            at += 2;
            c = raw / 4.0;
        }
        static const double specials[] = {std::numeric_limits<double>::quiet_NaN(),
                                          std::numeric_limits<double>::infinity(), 1e300};
        if (control & 0x80)
            v[(control >> 4) & 3] = specials[((control >> 6) & 1) + ((control >> 5) & 1)];
        const size_t length = std::min<size_t>(control & 15, Size - at);
        const QString text = QString::fromUtf8(reinterpret_cast<const char*>(Data + at),
                                               static_cast<qsizetype>(length));
        at += length;
        pages.back().Words.push_back({v[0], v[1], v[2], v[3], text});
    }
    return pages;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    const TPdfText read = LayOutPdfPages(PagesOf(Data, Size));
    const std::size_t lines = read.Text.isEmpty() ? 0 : read.Text.count(u'\n') + 1;
    if (read.Lines.size() != lines || read.LastLines.size() != lines) {
        std::fprintf(stderr, "broken: not one citation per line\n");
        std::abort();
    }
    return 0;
}
