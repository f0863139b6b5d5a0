// How well scanned claims pages read: each text of the lenient corpus is set
// on US-grant-like and EP-publication-like pages, rendered at 300 dpi,
// recognised, laid out and read leniently; each claim counts as right when it
// is read with the number and the references the plain text's reading gives
// it. Two figures per layout: through the layout step (LayOutPdfPages on the
// whole pages), and with the columns taken from the rendering, which measures
// recognition alone.
//
//   ocr_corpus [--languages eng+deu+fra] [--layout us|ep|both] [--verbose]
//              [CORPUS_DIR] [NAME_PREFIX...]

#include "ClaimTree.h"
#include "PageImages.h"
#include "PdfLayout.h"
#include "PdfOcr.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

using TRead = std::multimap<int32_t, std::vector<int32_t>>;

TRead ReadOf(const QString& Text) {
    TRead read;
    for (const TClaim& claim : TClaimTree(Text.toStdString(), TReading::Lenient).Claims) {
        std::vector<int32_t> refs = claim.ReferenceList();
        std::sort(refs.begin(), refs.end());
        refs.erase(std::unique(refs.begin(), refs.end()), refs.end());
        read.emplace(claim.Number, std::move(refs));
    }
    return read;
}

struct TScore {
    int Right = 0;
    int Total = 0;
    int Files = 0;
    int ExactFiles = 0;
};

// Claims of Want found in Got with the same references; claims of Got beyond
// them count against.
void Compare(const TRead& Want, TRead Got, TScore& Score, const QString& Name, bool Verbose) {
    int right = 0;
    for (const auto& [number, refs] : Want) {
        auto [from, to] = Got.equal_range(number);
        auto hit = std::find_if(from, to, [&](const auto& g) { return g.second == refs; });
        if (hit != to) {
            ++right;
            Got.erase(hit);
        } else if (Verbose) {
            std::printf("  %s: claim %d misread\n", qPrintable(Name), number);
        }
    }
    const int total = static_cast<int>(Want.size() + Got.size());
    Score.Right += right;
    Score.Total += total;
    ++Score.Files;
    Score.ExactFiles += right == total;
}

std::vector<TPdfPage> ColumnsOf(const std::vector<TRenderedPage>& Rendered,
                                const std::vector<TPdfPage>& Pages) {
    std::vector<TPdfPage> columns;
    for (std::size_t p = 0; p < Pages.size(); ++p) {
        for (const QRectF& column : Rendered[p].Columns) {
            TPdfPage page{Pages[p].Width, Pages[p].Height, {}};
            for (const TPdfWord& w : Pages[p].Words) {
                const QPointF centre((w.Left + w.Right) / 2, (w.Top + w.Bottom) / 2);
                if (column.adjusted(-2, -2, 2, 2).contains(centre))
                    page.Words.push_back(w);
            }
            columns.push_back(std::move(page));
        }
    }
    return columns;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QString languages = QStringLiteral("eng+deu+fra");
    QString corpus = QStringLiteral(LENIENT_CORPUS_DIR);
    bool verbose = false;
    std::vector<TPageLayout> layouts = {TPageLayout::UsGrant, TPageLayout::EpPublication};
    QStringList prefixes;
    const QStringList args = app.arguments().mid(1);
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--languages") && i + 1 < args.size())
            languages = args[++i];
        else if (args[i] == QLatin1String("--verbose"))
            verbose = true;
        else if (args[i] == QLatin1String("--layout") && i + 1 < args.size()) {
            const QString l = args[++i];
            if (l == QLatin1String("us"))
                layouts = {TPageLayout::UsGrant};
            else if (l == QLatin1String("ep"))
                layouts = {TPageLayout::EpPublication};
        } else if (QDir(args[i]).exists())
            corpus = args[i];
        else
            prefixes << args[i];
    }
    if (!OcrAvailable()) {
        std::fprintf(stderr, "no language data for text recognition\n");
        return 2;
    }
    QStringList names = QDir(corpus).entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name);
    names.removeAll(QStringLiteral("README.txt"));
    int skipped = 0;
    for (const TPageLayout layout : layouts) {
        const char* layoutName =
            layout == TPageLayout::UsGrant ? "US two columns" : "EP one column";
        TScore throughLayout, columnsKnown;
        int pages = 0;
        double seconds = 0;
        skipped = 0;
        for (const QString& name : names) {
            if (!prefixes.isEmpty() &&
                std::none_of(prefixes.begin(), prefixes.end(),
                             [&](const QString& p) { return name.startsWith(p); }))
                continue;
            QFile file(corpus + QLatin1Char('/') + name);
            if (!file.open(QIODevice::ReadOnly))
                continue;
            const QString text = QString::fromUtf8(file.readAll());
            // Scripts without language data here (Chinese, Japanese, Korean,
            // Cyrillic) are left out.
            if (std::any_of(text.begin(), text.end(), [](QChar c) {
                    const char16_t u = c.unicode();
                    return (u >= 0x0400 && u <= 0x052F) || (u >= 0x2E80 && u <= 0xFFEF);
                })) {
                ++skipped;
                continue;
            }
            const std::vector<TRenderedPage> rendered = RenderPages(text, layout);
            std::vector<TPdfPage> recognised;
            const auto start = std::chrono::steady_clock::now();
            for (const TRenderedPage& page : rendered) {
                TRecognisedWords got = RecogniseWords(PageImageOf(page), languages);
                if (!got.Error.isEmpty())
                    std::fprintf(stderr, "%s: %s\n", qPrintable(name), qPrintable(got.Error));
                recognised.push_back({page.Width, page.Height, std::move(got.Words)});
            }
            seconds +=
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            pages += static_cast<int>(rendered.size());
            const TRead want = ReadOf(text);
            const TPdfText whole = LayOutPdfPages(recognised);
            const TPdfText byColumn = LayOutPdfPages(ColumnsOf(rendered, recognised));
            Compare(want, ReadOf(whole.Text), throughLayout, name + QStringLiteral(" (layout)"),
                    verbose);
            Compare(want, ReadOf(byColumn.Text), columnsKnown, name + QStringLiteral(" (columns)"),
                    verbose);
            if (verbose && ReadOf(byColumn.Text) != want)
                std::printf("---- %s as recognised:\n%s\n", qPrintable(name),
                            qPrintable(byColumn.Text));
            std::fflush(stdout);
        }
        const auto share = [](const TScore& s) {
            return s.Total ? 100.0 * s.Right / s.Total : 100.0;
        };
        std::printf("%s: %d files, %d pages, %.1f s a page\n", layoutName, throughLayout.Files,
                    pages, pages ? seconds / pages : 0.0);
        std::printf(
            "  through the layout step: %.1f %% of claims (%d of %d), %d of %d files exact\n",
            share(throughLayout), throughLayout.Right, throughLayout.Total,
            throughLayout.ExactFiles, throughLayout.Files);
        std::printf(
            "  columns known:           %.1f %% of claims (%d of %d), %d of %d files exact\n",
            share(columnsKnown), columnsKnown.Right, columnsKnown.Total, columnsKnown.ExactFiles,
            columnsKnown.Files);
    }
    std::printf("left out (no language data for their script): %d files\n", skipped);
    return 0;
}
