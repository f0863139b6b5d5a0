// Every report of veltrum-claims, in both readings, over any input: each
// writes at most its share of the input's size, or nothing and a one-line
// failure with its own exit status.

#include "ClaimTree.h"
#include "ModeReport.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ostream>
#include <sstream>
#include <streambuf>
#include <string>
#include <string_view>

namespace {

void Check(bool Condition, const char* What, int Mode, TReading Reading) {
    if (!Condition) {
        std::fprintf(stderr, "broken: %s (mode %d, %s reading)\n", What, Mode,
                     Reading == TReading::Lenient ? "lenient" : "standard");
        std::abort();
    }
}

// Counts the bytes written and keeps none of them.
class TCounter : public std::streambuf {
public:
    int64_t Count = 0;

protected:
    int_type overflow(int_type C) override {
        if (!traits_type::eq_int_type(C, traits_type::eof()))
            ++Count;
        return traits_type::not_eof(C);
    }
    std::streamsize xsputn(const char*, std::streamsize N) override {
        Count += N;
        return N;
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, std::size_t Size) {
    const std::string_view input(reinterpret_cast<const char*>(Data), Size);
    const TReportInput of{"fuzz", "fuzz", false, {}, {}, false};
    for (const TReading reading : {TReading::Standard, TReading::Lenient}) {
        const TClaimTree tree(input, reading, TClaimTree::MaxCreatedNodes, TNodes::Counted);
        for (const TMode mode : {TMode::Summary, TMode::Json, TMode::Tree, TMode::Check,
                                 TMode::FullText, TMode::Dot, TMode::Matrix}) {
            TReportOptions options;
            options.Mode = mode;
            options.Reading = reading;
            options.FullTextClaim = 1;
            TCounter counter;
            std::ostream out(&counter);
            std::ostringstream err;
            const int status = WriteModeReport(out, err, options, of, tree, input);
            const int m = static_cast<int>(mode);
            const int64_t most =
                mode == TMode::Tree ? MaxTreeBytes(Size, options.MaxNodes) : MaxReportBytes(Size);
            Check(counter.Count <= most, "a report larger than its input allows", m, reading);
            const std::string message = err.str();
            if (status == OverLimit || status == Failed) {
                // Nothing written, but a tree's heading in a batch; one line naming the input.
                Check(status == Failed || counter.Count == 0, "a report over its limit written", m,
                      reading);
                Check(message.starts_with("veltrum-claims: fuzz: ") &&
                          message.find('\n') == message.size() - 1,
                      "a failure without its one line", m, reading);
                Check(status == OverLimit || mode == TMode::FullText, "failed", m, reading);
            } else {
                Check(status == Written || (status == ChecksFailed && mode == TMode::Check),
                      "exit status", m, reading);
                Check(message.empty(), "a message with a report", m, reading);
            }
        }
    }
    return 0;
}
