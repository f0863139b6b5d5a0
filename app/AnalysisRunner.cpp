#include "AnalysisRunner.h"

#include "TextEncoding.h"
#include "VelkinApplication.h"

#include <QThread>
#include <memory>

namespace {

// The bytes that end every line of a text with Format, when one kind of
// line end does: a new text's NativeLineBreak, or the file's own when all its
// lines end alike. Empty when lines keep ends of their own.
std::string_view OneLineEnd(const TDocumentFormat& Format) {
    if (Format.Lines && !Format.Lines->OneBreak())
        return {};
    switch (Format.Lines ? Format.Lines->NewLineBreak() : NativeLineBreak) {
    case TLineBreak::Lf:
        return "\n";
    case TLineBreak::CrLf:
        return "\r\n";
    case TLineBreak::Cr:
        return "\r";
    default:
        return {};
    }
}

} // namespace

std::string AnalysedPaneText(QStringView Shown, const TDocumentFormat& Format) {
    const std::string_view lineEnd = OneLineEnd(Format);
    // Lines that keep ends of their own are matched with the file's lines.
    if (lineEnd.empty())
        return AnalysedDocumentText(Shown.toString(), Format);
    // Room for three bytes per unit, left uncleared: the pages that the text
    // does not need are never touched.
    const std::unique_ptr<char[]> bytes(new char[static_cast<std::size_t>(Shown.size()) * 3 + 1]);
    char* out = bytes.get();
    const char16_t* in = Shown.utf16();
    const char16_t* const end = in + Shown.size();
    while (in != end) {
        const char16_t unit = *in++;
        if (unit < 0x80 && unit != u'\n') {
            *out++ = static_cast<char>(unit);
        } else if (unit == u'\n' || unit == QChar::ParagraphSeparator) {
            // Two bytes at most, where three per unit were made room for.
            for (const char byte : lineEnd)
                *out++ = byte;
        } else if (unit == NonBreakingHyphen && Format.ShowsByte30) {
            *out++ = NonBreakingHyphenByte;
        } else if (unit == SoftHyphen && Format.ShowsByte31) {
            *out++ = OptionalHyphenByte;
        } else if (unit < 0x800) {
            *out++ = static_cast<char>(0xC0 | (unit >> 6));
            *out++ = static_cast<char>(0x80 | (unit & 0x3F));
        } else if (unit < 0xD800 || unit > 0xDFFF) {
            *out++ = static_cast<char>(0xE0 | (unit >> 12));
            *out++ = static_cast<char>(0x80 | ((unit >> 6) & 0x3F));
            *out++ = static_cast<char>(0x80 | (unit & 0x3F));
        } else if (unit <= 0xDBFF && in != end && *in >= 0xDC00 && *in <= 0xDFFF) {
            const char32_t code = 0x10000 + ((char32_t{unit} - 0xD800) << 10) + (*in++ - 0xDC00);
            *out++ = static_cast<char>(0xF0 | (code >> 18));
            *out++ = static_cast<char>(0x80 | ((code >> 12) & 0x3F));
            *out++ = static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            *out++ = static_cast<char>(0x80 | (code & 0x3F));
        } else {
            // An unpaired surrogate: Qt's own conversion decides what it becomes.
            return AnalysedDocumentText(Shown.toString(), Format);
        }
    }
    std::string utf8(bytes.get(), out);
    if (Format.Encoding == TTextEncoding::Utf8)
        return utf8;
    return Windows1252OrUtf8(utf8);
}

TAnalysis AnalyseOrder(const TAnalysisOrder& Order) {
    TAnalysis analysis;
    analysis.Text = AnalysedPaneText(Order.Shown, Order.Format);
    analysis.Tree = std::make_unique<TClaimTree>(analysis.Text, Order.Reading);
    if (Order.Notice) {
        // Claims and references are all the comparison needs: no nodes.
        const TReading other =
            Order.Reading == TReading::Lenient ? TReading::Standard : TReading::Lenient;
        analysis.Other = std::make_unique<TClaimTree>(analysis.Text, other, 0);
    }
    if (Order.Checks) {
        analysis.Checks = CheckAndCountFees(*analysis.Tree);
        analysis.Checked = true;
    }
    return analysis;
}

struct TAnalysisRunner::TJob {
    TAnalysisOrder Order;
    uint64_t Generation = 0;
    TAnalysis Result;
    // Running out of memory on the thread, passed on to the window.
    std::exception_ptr Failure;
};

TAnalysisRunner::TAnalysisRunner(std::function<void(TAnalysis)> Done, QObject* Parent)
    : QObject(Parent), done(std::move(Done)) {}

TAnalysisRunner::~TAnalysisRunner() {
    if (thread != nullptr) {
        thread->wait();
        delete thread;
    }
}

void TAnalysisRunner::Start(TAnalysisOrder Order) {
    ++generation;
    if (thread != nullptr) {
        waiting = std::move(Order);
        return;
    }
    Run(std::move(Order));
}

void TAnalysisRunner::Drop() {
    ++generation;
    waiting.reset();
}

void TAnalysisRunner::Run(TAnalysisOrder Order) {
    job = std::make_shared<TJob>();
    job->Order = std::move(Order);
    job->Generation = generation;
    // The thread has the job to itself until it finishes.
    thread = QThread::create([Job = job] {
        try {
            Job->Result = AnalyseOrder(Job->Order);
        } catch (...) {
            Job->Failure = std::current_exception();
        }
    });
    connect(thread, &QThread::finished, this, [this] { RunHandler([this] { Finished(); }); });
    thread->start();
}

void TAnalysisRunner::Finished() {
    thread->wait();
    thread->deleteLater();
    thread = nullptr;
    const std::shared_ptr<TJob> finished = std::move(job);
    if (waiting) {
        TAnalysisOrder next = std::move(*waiting);
        waiting.reset();
        Run(std::move(next));
    }
    if (finished->Generation != generation)
        return;
    if (finished->Failure)
        std::rethrow_exception(finished->Failure);
    done(std::move(finished->Result));
}
