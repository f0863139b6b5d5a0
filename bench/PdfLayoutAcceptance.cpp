// Every claims text of the lenient corpus laid out as two-column grant pages
// and as one-column publication pages, read back by the layout step and
// then by the lenient reading, and compared with the lenient reading of the
// plain text: the share of claims read the same and of files read exactly
// the same. Usage: pdf_layout_acceptance [CORPUS_DIR [NAME]]; with NAME,
// that file's laid-out texts are printed too.

#include "ClaimTree.h"
#include "PdfLayout.h"
#include "PdfTestPages.h"
#include "TextEncoding.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

using TReadClaims = std::vector<std::pair<int32_t, std::vector<int32_t>>>;

TReadClaims Read(const std::string& Text) {
    const TClaimTree tree(Text, TReading::Lenient);
    TReadClaims claims;
    for (const TClaim& claim : tree.Claims) {
        std::vector<int32_t> refs = claim.ReferenceList();
        std::sort(refs.begin(), refs.end());
        claims.push_back({claim.Number, refs});
    }
    return claims;
}

// Claims of the plain reading that the other reading reads alike.
int Alike(const TReadClaims& Plain, const TReadClaims& Other) {
    std::map<std::pair<int32_t, std::vector<int32_t>>, int> left;
    for (const auto& c : Other)
        ++left[c];
    int alike = 0;
    for (const auto& c : Plain)
        if (left[c] > 0) {
            --left[c];
            ++alike;
        }
    return alike;
}

} // namespace

int main(int argc, char** argv) {
    const fs::path dir = argc > 1 ? fs::path(argv[1]) : fs::path(LENIENT_CORPUS_DIR);
    std::vector<fs::path> texts;
    for (const auto& entry : fs::directory_iterator(dir))
        if (entry.path().extension() == ".txt" && entry.path().filename() != "README.txt")
            texts.push_back(entry.path());
    std::sort(texts.begin(), texts.end());
    struct TStyle {
        const char* Name;
        TPdfTestLayout Layout;
        int Claims = 0, Alike = 0, Files = 0, Exact = 0;
    };
    TPdfTestLayout us;
    TPdfTestLayout ep;
    ep.Style = TPdfTestStyle::Ep;
    ep.Indent = false;
    std::vector<TStyle> styles{{"two-column grant", us}, {"one-column publication", ep}};
    for (const fs::path& path : texts) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        const std::string plain = DecodeToUtf8(bytes.str());
        QString text = QString::fromStdString(plain);
        text.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(u'\t', u' ');
        const TReadClaims want = Read(plain);
        const bool show = argc > 2 && path.stem() == argv[2];
        for (TStyle& style : styles) {
            const TPdfTestDocument doc = LayOutTestPages(text.split(u'\n'), style.Layout);
            const std::string laidOut = LayOutPdfPages(doc.Pages).Text.toStdString();
            const TReadClaims got = Read(laidOut);
            if (show)
                std::printf("---- %s\n%s\n", style.Name, laidOut.c_str());
            const int alike = Alike(want, got);
            const int total = static_cast<int>(std::max(want.size(), got.size()));
            style.Claims += total;
            style.Alike += alike;
            ++style.Files;
            if (got == want)
                ++style.Exact;
            else
                std::printf("%-24s %-36s %d of %d claims alike\n", style.Name,
                            path.stem().string().c_str(), alike, total);
        }
    }
    for (const TStyle& style : styles)
        std::printf("%s: claims read alike %d of %d (%.1f %%), files read exactly alike %d of %d "
                    "(%.1f %%)\n",
                    style.Name, style.Alike, style.Claims,
                    100.0 * style.Alike / std::max(1, style.Claims), style.Exact, style.Files,
                    100.0 * style.Exact / std::max(1, style.Files));
    return 0;
}
