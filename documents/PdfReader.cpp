// PDF files read with Poppler: each page's words with their boxes, or for a
// page without a text layer the words recognised on its image, laid out into
// the text a person reads.

#include "DocumentReaders.h"
#include "PdfLayout.h"
#include "PdfOcr.h"

#include <QByteArray>
#include <QImage>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <mutex>
#include <poppler-qt6.h>
#include <vector>

namespace {

// Recognition reads small print well at 300 dpi. A page larger than any
// paper is rendered at less, so that its grey image stays within
// MaxOcrPixels bytes; it is rendered in strips of at most StripPixels, each
// of four bytes a pixel until it is turned grey.
constexpr double OcrDpi = 300;
constexpr double MaxOcrPixels = 24e6;
constexpr int StripPixels = 4'000'000;
// The languages of the patent offices' publications.
const QString OcrLanguages = QStringLiteral("eng+deu+fra");
// No claim set has this much text; a file that makes this much is hostile.
constexpr qsizetype MaxTextCharacters = qsizetype{64} << 20;

// Poppler reports every fault of a damaged file on its own; the reading
// says what matters in its Error.
void QuietPoppler() {
    static std::once_flag once;
    std::call_once(once, [] {
        Poppler::setDebugErrorFunction([](const QString&, const QVariant&) {}, QVariant());
    });
}

// A whole PDF ends with its end mark; a writer may add a line or two after it.
bool HasEndMark(std::string_view Bytes) {
    const std::size_t tail = std::min<std::size_t>(Bytes.size(), 1024);
    return Bytes.substr(Bytes.size() - tail).find("%%EOF") != std::string_view::npos;
}

bool HasText(const TPdfPage& Page) {
    return std::any_of(Page.Words.begin(), Page.Words.end(),
                       [](const TPdfWord& Word) { return !Word.Text.trimmed().isEmpty(); });
}

// The grey image of a page of Points size, at OcrDpi or less.
struct TGreyPage {
    std::vector<uint8_t> Pixels;
    int Width = 0;
    int Height = 0;
    double Dpi = OcrDpi;
};

// False when rendering failed or Cancelled said so.
bool RenderGrey(const Poppler::Page& Page, QSizeF Points, const std::function<bool()>& Cancelled,
                TGreyPage& Grey) {
    const double squareInches = Points.width() / 72 * (Points.height() / 72);
    if (!(squareInches > 0) || !std::isfinite(squareInches))
        return false;
    Grey.Dpi = std::min(OcrDpi, std::sqrt(MaxOcrPixels / squareInches));
    Grey.Width = std::max(1, static_cast<int>(Points.width() / 72 * Grey.Dpi));
    Grey.Height = std::max(1, static_cast<int>(Points.height() / 72 * Grey.Dpi));
    Grey.Pixels.assign(static_cast<std::size_t>(Grey.Width) * static_cast<std::size_t>(Grey.Height),
                       255);
    const int stripRows = std::max(1, StripPixels / Grey.Width);
    for (int top = 0; top < Grey.Height; top += stripRows) {
        if (Cancelled && Cancelled())
            return false;
        const int rows = std::min(stripRows, Grey.Height - top);
        const QImage strip = Page.renderToImage(Grey.Dpi, Grey.Dpi, 0, top, Grey.Width, rows)
                                 .convertToFormat(QImage::Format_Grayscale8);
        if (strip.isNull())
            return false;
        const int width = std::min(strip.width(), Grey.Width);
        for (int y = 0; y < std::min(rows, strip.height()); ++y)
            std::memcpy(&Grey.Pixels[static_cast<std::size_t>(top + y) *
                                     static_cast<std::size_t>(Grey.Width)],
                        strip.constScanLine(y), static_cast<std::size_t>(width));
    }
    return true;
}

} // namespace

TDocumentRead ReadPdfDocument(std::string_view Bytes, const TReadOptions& Options) {
    QuietPoppler();
    TDocumentRead read;
    if (!HasEndMark(Bytes)) {
        read.Error = QStringLiteral("is a truncated PDF: it ends before its end mark");
        return read;
    }
    const std::unique_ptr<Poppler::Document> document = Poppler::Document::loadFromData(
        QByteArray(Bytes.data(), static_cast<qsizetype>(Bytes.size())));
    if (!document) {
        read.Error = QStringLiteral("is a damaged PDF that cannot be read");
        return read;
    }
    if (document->isLocked()) {
        read.Error = QStringLiteral("is a PDF locked with a password: save it without the "
                                    "password first");
        return read;
    }
    const int total = document->numPages();
    if (total <= 0) {
        read.Error = QStringLiteral("is a damaged PDF: it has no pages");
        return read;
    }
    document->setRenderHint(Poppler::Document::Antialiasing);
    document->setRenderHint(Poppler::Document::TextAntialiasing);

    int done = 0;
    const auto cancelled = [&] { return Options.Progress && !Options.Progress(done, total); };
    std::vector<TPdfPage> pages(static_cast<std::size_t>(total));
    bool anyText = false;
    bool recognised = false;
    qsizetype characters = 0;
    QString ocrError;
    for (; done < total; ++done) {
        if (cancelled()) {
            read.Error = QStringLiteral("was cancelled");
            return read;
        }
        const std::unique_ptr<Poppler::Page> page = document->page(done);
        if (!page)
            continue;
        TPdfPage& into = pages[static_cast<std::size_t>(done)];
        const QSizeF size = page->pageSizeF();
        into.Width = size.width();
        into.Height = size.height();
        for (const std::unique_ptr<Poppler::TextBox>& box : page->textList()) {
            const QRectF r = box->boundingBox();
            characters += box->text().size();
            into.Words.push_back({r.left(), r.top(), r.right(), r.bottom(), box->text()});
        }
        if (HasText(into)) {
            anyText = true;
        } else if (Options.Ocr) {
            TGreyPage grey;
            if (!RenderGrey(*page, size, cancelled, grey)) {
                if (cancelled()) {
                    read.Error = QStringLiteral("was cancelled");
                    return read;
                }
                continue;
            }
            TRecognisedWords words =
                RecogniseWords({grey.Pixels.data(), grey.Width, grey.Height, grey.Width, grey.Dpi},
                               OcrLanguages, cancelled);
            if (cancelled()) {
                read.Error = QStringLiteral("was cancelled");
                return read;
            }
            if (!words.Error.isEmpty())
                ocrError = words.Error;
            into.Words = std::move(words.Words);
            for (const TPdfWord& word : into.Words)
                characters += word.Text.size();
            recognised = recognised || HasText(into);
        }
        if (characters > MaxTextCharacters) {
            read.Error = QStringLiteral("is a PDF with more text than any patent (over %L1 "
                                        "characters)")
                             .arg(MaxTextCharacters);
            return read;
        }
    }
    if (Options.Progress)
        Options.Progress(total, total);
    if (!anyText && !recognised) {
        read.Error = !Options.Ocr ? QStringLiteral("is a PDF of page images without text, and "
                                                   "text recognition is off")
                     : ocrError.isEmpty()
                         ? QStringLiteral("is a PDF without text: no words were recognised on "
                                          "its pages")
                         : QStringLiteral("is a PDF of page images without text, and text "
                                          "recognition failed: ") +
                               ocrError;
        return read;
    }
    TPdfText text = LayOutPdfPages(pages);
    read.Format = QStringLiteral("pdf");
    TReadDocument& one = read.Documents.emplace_back();
    one.Text = std::move(text.Text);
    one.LineOrigins = std::move(text.Lines);
    one.LastLineOrigins = std::move(text.LastLines);
    one.Ocr = recognised;
    return read;
}
