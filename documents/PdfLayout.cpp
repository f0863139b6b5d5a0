#include "PdfLayout.h"

#include <algorithm>
#include <cmath>

// A first reading: each page's words by line, top to bottom, left to right.
TPdfText LayOutPdfPages(const std::vector<TPdfPage>& Pages) {
    TPdfText text;
    for (std::size_t p = 0; p < Pages.size(); ++p) {
        std::vector<TPdfWord> words = Pages[p].Words;
        std::erase_if(words, [](const TPdfWord& w) {
            return !std::isfinite(w.Top) || !std::isfinite(w.Left) || w.Text.isEmpty();
        });
        std::stable_sort(words.begin(), words.end(), [](const TPdfWord& a, const TPdfWord& b) {
            if (std::abs(a.Top - b.Top) > 2)
                return a.Top < b.Top;
            return a.Left < b.Left;
        });
        double lineTop = 0;
        bool first = true;
        for (const TPdfWord& w : words) {
            if (first || std::abs(w.Top - lineTop) > 2) {
                if (!first)
                    text.Text += QLatin1Char('\n');
                text.Lines.push_back({static_cast<int>(p) + 1, 0, 0});
                lineTop = w.Top;
                first = false;
            } else {
                text.Text += QLatin1Char(' ');
            }
            text.Text += w.Text;
        }
        if (!first)
            text.Text += QLatin1Char('\n');
    }
    if (text.Text.endsWith(QLatin1Char('\n')))
        text.Text.chop(1);
    return text;
}
