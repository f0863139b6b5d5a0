#include "PdfLayout.h"

#include <QRegularExpression>
#include <QSet>
#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Coordinates beyond this are off any page; clamping keeps the arithmetic finite.
constexpr double FarAway = 1e7;

struct TWord {
    double L = 0, T = 0, R = 0, B = 0;
    QString Text;
    int Column = 0; // -1: crosses a gutter
    double Height() const { return B - T; }
    double Center() const { return (T + B) / 2; }
};

struct TLine {
    std::vector<TWord> Words;
    double CoreT = 0, CoreB = 0; // the band of its body-size words
    bool CoreFromSmall = true;
    double L = 0, T = 0, R = 0, B = 0;
    double Base = 0; // the median bottom of its body-size words
    double EmH = 0;  // the median height of its body-size words
    int Column = 0;  // -1: a full-width line
    QString Text;
    bool Drop = false;
};

struct TPrintedLine {
    QString Text;
    TLineOrigin Origin;
    bool Indented = false;
    bool Short = false;    // ends before the column's right edge
    bool Wide = false;     // a full-width line on a page of columns
    bool GapAbove = false; // a blank line before it
};

bool IsDigits(const QString& S) {
    if (S.isEmpty() || S.size() > 4)
        return false;
    return std::all_of(S.begin(), S.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

bool HasLetter(const QString& S) {
    return std::any_of(S.begin(), S.end(), [](QChar c) { return c.isLetter(); });
}

// Ligatures as letters, non-breaking spaces as spaces, soft hyphens dropped
// but for one at the end: that one marks where the typesetter broke a word.
QString CleanText(const QString& In) {
    QString out;
    out.reserve(In.size());
    for (qsizetype i = 0; i < In.size(); ++i) {
        const QChar c = In[i];
        switch (c.unicode()) {
        case 0xFB00:
            out += QLatin1String("ff");
            break;
        case 0xFB01:
            out += QLatin1String("fi");
            break;
        case 0xFB02:
            out += QLatin1String("fl");
            break;
        case 0xFB03:
            out += QLatin1String("ffi");
            break;
        case 0xFB04:
            out += QLatin1String("ffl");
            break;
        case 0xFB05:
        case 0xFB06:
            out += QLatin1String("st");
            break;
        case 0x00A0:
        case 0x2007:
        case 0x202F:
            out += QLatin1Char(' ');
            break;
        case 0x00AD:
            if (i + 1 == In.size())
                out += c;
            break;
        default:
            out += c.unicode() < 0x20 || c.unicode() == 0x7F ? QChar(u' ') : c;
        }
    }
    return out.simplified();
}

double Clamp(double V) {
    return std::clamp(V, -FarAway, FarAway);
}

double Median(std::vector<double> V, double Otherwise) {
    if (V.empty())
        return Otherwise;
    const auto mid = V.begin() + static_cast<std::ptrdiff_t>(V.size() / 2);
    std::nth_element(V.begin(), mid, V.end());
    return *mid;
}

double Overlap(double T1, double B1, double T2, double B2) {
    return std::min(B1, B2) - std::max(T1, T2);
}

// ---- Columns ----

struct TColumns {
    std::vector<double> Cuts;         // gutter middles, left to right
    std::vector<double> TextL, TextR; // each column's text extent
    int ColumnOf(double X) const {
        return static_cast<int>(std::upper_bound(Cuts.begin(), Cuts.end(), X) - Cuts.begin());
    }
};

// Gutters are vertical runs of white space that nearly no word crosses, from
// the words' horizontal spread; numbers alone (line numbers in the gutter)
// and words wider than a column do not count, nor do words above Top or
// below Bottom (a running header wider than the text).
TColumns FindColumns(const std::vector<TWord>& Words, double Em, double Top, double Bottom) {
    TColumns cols;
    double x0 = FarAway, x1 = -FarAway;
    const auto counts = [&](const TWord& w) {
        return !IsDigits(w.Text) && w.B > Top && w.T < Bottom;
    };
    for (const TWord& w : Words) {
        if (!counts(w))
            continue;
        x0 = std::min(x0, w.L);
        x1 = std::max(x1, w.R);
    }
    if (!(x1 - x0 > 4 * Em)) {
        cols.TextL = {x0};
        cols.TextR = {x1};
        return cols;
    }
    constexpr int Bins = 400;
    const double bin = (x1 - x0) / Bins;
    const auto binOf = [&](double X) {
        return std::clamp(static_cast<int>((X - x0) / bin), 0, Bins - 1);
    };
    std::vector<int> delta(Bins + 1, 0), centers(Bins + 1, 0), anyDelta(Bins + 1, 0);
    int counted = 0;
    for (const TWord& w : Words) {
        if (!counts(w))
            continue;
        ++anyDelta[binOf(w.L)];
        --anyDelta[binOf(w.R) + 1];
        if (w.R - w.L > 0.6 * (x1 - x0))
            continue;
        ++delta[binOf(w.L)];
        --delta[binOf(w.R) + 1];
        ++centers[binOf((w.L + w.R) / 2) + 1];
        ++counted;
    }
    std::vector<int> cover(Bins, 0), anyCover(Bins, 0);
    int maxCover = 0;
    for (int i = 0, run = 0, any = 0; i < Bins; ++i) {
        run += delta[i];
        any += anyDelta[i];
        cover[i] = run;
        anyCover[i] = any;
        maxCover = std::max(maxCover, run);
        centers[i + 1] += centers[i]; // words whose middle is left of bin i + 1
    }
    std::vector<int> gutterBins; // start, end and cut of each
    if (counted >= 6) {
        // A title or a table row may cross the gutter; on a page of few lines
        // a word alone may not.
        const int quiet = maxCover >= 8 ? std::max(1, maxCover / 10) : 0;
        const int minRun = std::max(2, static_cast<int>(std::ceil(1.5 * Em / bin)));
        for (int i = Bins / 20; i < Bins - Bins / 20;) {
            if (cover[i] > quiet) {
                ++i;
                continue;
            }
            int j = i;
            while (j < Bins - Bins / 20 && cover[j] <= quiet)
                ++j;
            if (j - i >= minRun && gutterBins.size() < 30) {
                // The gutter proper is the emptiest part of the run (the run
                // may reach into a column where few lines are that long); word
                // gaps of lines across the page are no gutter, so more lines
                // are allowed while the emptiest part is that narrow.
                const int least = *std::min_element(cover.begin() + i, cover.begin() + j);
                int from = i, to = i;
                for (int allowed = least; allowed <= quiet; ++allowed) {
                    for (int k = i; k < j;) {
                        int e = k;
                        while (e < j && cover[e] <= allowed)
                            ++e;
                        if (e - k > to - from) {
                            from = k;
                            to = e;
                        }
                        k = std::max(e, k + 1);
                    }
                    if (to - from >= minRun)
                        break;
                }
                // The cut where lines across the page have words, so that
                // they are seen to cross it.
                int cut = (from + to) / 2;
                for (int k = from; k < to; ++k)
                    if (cover[k] > cover[cut] ||
                        (cover[k] == cover[cut] &&
                         std::abs(2 * k - from - to) < std::abs(2 * cut - from - to)))
                        cut = k;
                gutterBins.push_back(from);
                gutterBins.push_back(to);
                gutterBins.push_back(cut);
            }
            i = j;
        }
    }
    // Each column must hold some of the text, else the "gutter" is the white
    // space of a short line or a table.
    std::vector<int> edges{0};
    const int needed = std::max(3, counted / 30);
    for (std::size_t g = 0; g < gutterBins.size(); g += 3) {
        const int next = g + 3 < gutterBins.size() ? gutterBins[g + 3] : Bins;
        if (centers[gutterBins[g]] - centers[edges.back()] < needed ||
            centers[next] - centers[gutterBins[g + 1]] < needed)
            continue;
        edges.push_back(gutterBins[g]);
        edges.push_back(gutterBins[g + 1]);
        cols.Cuts.push_back(x0 + (gutterBins[g + 2] + 0.5) * bin);
    }
    edges.push_back(Bins);
    for (std::size_t e = 0; e + 1 < edges.size(); e += 2) {
        int a = edges[e], b = edges[e + 1] - 1;
        while (a < b && anyCover[a] == 0)
            ++a;
        while (b > a && anyCover[b] == 0)
            --b;
        cols.TextL.push_back(x0 + a * bin);
        cols.TextR.push_back(x0 + (b + 1) * bin);
    }
    return cols;
}

// ---- Lines ----

// Words into lines by vertical overlap, in order of their middles. A word
// smaller than the body text (a superscript or subscript) needs less overlap;
// only the last two lines are candidates, so any pile of boxes stays linear.
std::vector<TLine> BuildLines(std::vector<TWord> Words, double Em) {
    std::stable_sort(Words.begin(), Words.end(),
                     [](const TWord& a, const TWord& b) { return a.Center() < b.Center(); });
    std::vector<TLine> lines;
    for (TWord& w : Words) {
        const bool small = w.Height() < 0.8 * Em;
        TLine* best = nullptr;
        double bestRatio = 0;
        for (std::size_t k = lines.size() >= 2 ? lines.size() - 2 : 0; k < lines.size(); ++k) {
            TLine& c = lines[k];
            const double ov = Overlap(w.T, w.B, c.CoreT, c.CoreB);
            const double ratio = ov / std::max(std::min(w.Height(), c.CoreB - c.CoreT), 1e-9);
            if (ratio > bestRatio) {
                bestRatio = ratio;
                best = &c;
            }
        }
        if (best == nullptr || bestRatio < (small || best->CoreFromSmall ? 0.3 : 0.5)) {
            TLine line;
            line.CoreT = w.T;
            line.CoreB = w.B;
            line.CoreFromSmall = small;
            line.Words.push_back(std::move(w));
            lines.push_back(std::move(line));
            continue;
        }
        if (!small && best->CoreFromSmall) {
            best->CoreT = w.T;
            best->CoreB = w.B;
            best->CoreFromSmall = false;
        } else if (!small) {
            best->CoreT = std::min(best->CoreT, w.T);
            best->CoreB = std::max(best->CoreB, w.B);
        }
        best->Words.push_back(std::move(w));
    }
    return lines;
}

// Its box, baseline and body height; its words left to right and their text:
// a small raised or lowered word ("CH" "3", "10" "5") joins the word before
// it without a space, as do words that touch.
void FinishLine(TLine& Line, double Em) {
    std::sort(Line.Words.begin(), Line.Words.end(),
              [](const TWord& a, const TWord& b) { return a.L < b.L; });
    std::vector<double> bottoms, heights;
    Line.L = Line.T = FarAway;
    Line.R = Line.B = -FarAway;
    for (const TWord& w : Line.Words) {
        Line.L = std::min(Line.L, w.L);
        Line.T = std::min(Line.T, w.T);
        Line.R = std::max(Line.R, w.R);
        Line.B = std::max(Line.B, w.B);
        if (w.Height() >= 0.8 * Em || Line.CoreFromSmall) {
            bottoms.push_back(w.B);
            heights.push_back(w.Height());
        }
    }
    Line.Base = Median(bottoms, Line.B);
    Line.EmH = Median(heights, Em);
    const double mid = Line.Base - Line.EmH / 2;
    QString text;
    for (std::size_t i = 0; i < Line.Words.size(); ++i) {
        const TWord& w = Line.Words[i];
        if (i > 0) {
            const double gap = w.L - Line.Words[i - 1].R;
            const auto isScript = [&](const TWord& x) {
                return x.Height() < 0.8 * Line.EmH && std::abs(x.Center() - mid) > 0.15 * Line.EmH;
            };
            const bool script = isScript(w) || isScript(Line.Words[i - 1]);
            if (gap >= (script ? 0.15 : 0.08) * Line.EmH)
                text += QLatin1Char(' ');
        }
        text += w.Text;
    }
    Line.Text = std::move(text);
}

// ---- Headers, footers and numbers ----

bool IsPageNumber(const QString& S) {
    static const QRegularExpression re(
        QStringLiteral(
            R"(^[-–—(\[]?\s*(?:(?:page|seite|p\.)\s*)?(\d{1,4})\s*(?:(?:/|of|von|sur)\s*\d{1,4})?\s*[-–—)\]]?$)"),
        QRegularExpression::CaseInsensitiveOption);
    return re.match(S).hasMatch();
}

int PageNumberOf(const QString& S) {
    static const QRegularExpression re(QStringLiteral(R"(\d{1,4})"));
    const QRegularExpressionMatch m = re.match(S);
    return m.hasMatch() ? m.captured(0).toInt() : 0;
}

// A patent number, "U.S. Patent" or "Sheet 3 of 7": what running headers hold.
bool LooksLikeHeader(const QString& S) {
    static const QRegularExpression re(QStringLiteral(
        R"((?:^|\s)(?:US|EP|WO|DE|GB|FR|JP|CN|CA|AU|AT|CH)\s?\d[\d ,./]{4,}(?:\s?[A-Z]\d?)?(?:\s|$))"
        R"(|U\.\s?S\.\s+Patent|Sheet\s+\d+\s+of\s+\d+)"));
    return re.match(S).hasMatch();
}

// Digits masked: the same header with another page's number.
QString Masked(const QString& S) {
    QString out = S;
    for (QChar& c : out)
        if (c.isDigit())
            c = u'#';
    return out;
}

struct TPage {
    std::vector<TWord> Words;
    std::vector<TLine> Lines; // in reading order once laid out
    std::vector<int> ColumnNumbers;
    std::vector<std::pair<double, int>> Labels; // baseline, printed line number
    int PrintedPage = 0;
    double BandTop = 0, BandBottom = 0; // where headers and footers stand
    double EdgeTop = 0, EdgeBottom = 0; // nearer the edges: no line numbers
    TColumns Columns;
    double Em = 10;
};

// Longest run of labels whose numbers grow down the page: a stray number
// in the margin (a page number, a formula's) is not a line number.
std::vector<std::pair<double, int>> ConsistentLabels(std::vector<std::pair<double, int>> Labels) {
    std::sort(Labels.begin(), Labels.end());
    std::vector<int> tailIndex, previous(Labels.size(), -1);
    for (std::size_t i = 0; i < Labels.size(); ++i) {
        const auto pos = std::lower_bound(tailIndex.begin(), tailIndex.end(), Labels[i].second,
                                          [&](int idx, int v) { return Labels[idx].second < v; });
        if (pos != tailIndex.begin())
            previous[i] = *(pos - 1);
        if (pos == tailIndex.end())
            tailIndex.push_back(static_cast<int>(i));
        else
            *pos = static_cast<int>(i);
    }
    std::vector<std::pair<double, int>> chain;
    for (int i = tailIndex.empty() ? -1 : tailIndex.back(); i >= 0; i = previous[i])
        chain.push_back(Labels[i]);
    std::reverse(chain.begin(), chain.end());
    return chain;
}

// The page's words cleaned and its columns found.
TPage PreparePage(const TPdfPage& Page) {
    TPage page;
    std::vector<TWord>& words = page.Words;
    words.reserve(Page.Words.size());
    for (const TPdfWord& in : Page.Words) {
        if (!std::isfinite(in.Left) || !std::isfinite(in.Top) || !std::isfinite(in.Right) ||
            !std::isfinite(in.Bottom))
            continue;
        TWord w;
        w.Text = CleanText(in.Text);
        if (w.Text.isEmpty())
            continue;
        w.L = Clamp(std::min(in.Left, in.Right));
        w.R = Clamp(std::max(in.Left, in.Right));
        w.T = Clamp(std::min(in.Top, in.Bottom));
        w.B = Clamp(std::max(in.Top, in.Bottom));
        words.push_back(std::move(w));
    }
    if (words.empty())
        return page;
    std::vector<double> heights;
    for (const TWord& w : words)
        if (w.Height() > 0)
            heights.push_back(w.Height());
    const double em = std::max(Median(heights, 10), 1e-3);
    page.Em = em;
    // Boxes with no height, or taller than a few lines, as one body line.
    for (TWord& w : words) {
        if (w.Height() < 0.05 * em || w.Height() > 4 * em) {
            const double c = w.Center();
            w.T = c - em / 2;
            w.B = c + em / 2;
        }
    }
    double top = FarAway, bottom = -FarAway;
    for (const TWord& w : words) {
        top = std::min(top, w.T);
        bottom = std::max(bottom, w.B);
    }
    const bool sized = std::isfinite(Page.Height) && Page.Height > 0 && Page.Height < FarAway;
    const double pageTop = sized ? std::min(0.0, top) : top;
    const double pageBottom = sized ? std::max(Page.Height, bottom) : bottom;
    page.BandTop = pageTop + 0.12 * (pageBottom - pageTop);
    page.BandBottom = pageBottom - 0.12 * (pageBottom - pageTop);
    page.EdgeTop = pageTop + 0.06 * (pageBottom - pageTop);
    page.EdgeBottom = pageBottom - 0.06 * (pageBottom - pageTop);

    page.Columns = FindColumns(words, em, page.EdgeTop, page.EdgeBottom);
    if (!(page.Columns.TextL.front() < page.Columns.TextR.back()))
        page.Columns = FindColumns(words, em, -FarAway, FarAway);
    return page;
}

// A page's lines in reading order, with its line and column numbers.
void LayOutPage(TPage& page) {
    std::vector<TWord>& words = page.Words;
    if (words.empty())
        return;
    const double em = page.Em;
    const TColumns& cols = page.Columns;

    // Margin and gutter line numbers: numbers alone outside every column's
    // text, not where headers and footers stand.
    std::vector<std::pair<double, int>> labels;
    const bool text = cols.TextL.front() < cols.TextR.back();
    std::erase_if(words, [&](const TWord& w) {
        if (!text || !IsDigits(w.Text) || w.B <= page.EdgeTop || w.T >= page.EdgeBottom)
            return false;
        bool outside = true;
        for (std::size_t c = 0; c < cols.TextL.size(); ++c)
            if (w.R > cols.TextL[c] && w.L < cols.TextR[c])
                outside = false;
        const int value = w.Text.toInt();
        if (!outside || value % 5 != 0 || value == 0)
            return false;
        labels.push_back({w.B, value});
        return true;
    });
    page.Labels = ConsistentLabels(std::move(labels));

    const int columnCount = static_cast<int>(cols.Cuts.size()) + 1;
    // Column numbers: a number alone over the middle of every column, near
    // the top, the numbers following each other ("27", "28").
    if (columnCount >= 2) {
        std::vector<std::size_t> tops;
        for (int c = 0; c < columnCount; ++c) {
            const double middle = (cols.TextL[c] + cols.TextR[c]) / 2;
            const double reach = 0.2 * (cols.TextR[c] - cols.TextL[c]);
            std::size_t top = words.size();
            for (std::size_t i = 0; i < words.size(); ++i) {
                const TWord& w = words[i];
                if (IsDigits(w.Text) && w.B <= page.BandTop &&
                    std::abs((w.L + w.R) / 2 - middle) <= reach &&
                    (top == words.size() || w.T < words[top].T))
                    top = i;
            }
            if (top == words.size() ||
                (c > 0 && words[top].Text.toInt() != words[tops.back()].Text.toInt() + 1))
                break;
            tops.push_back(top);
        }
        if (static_cast<int>(tops.size()) == columnCount) {
            for (std::size_t i : tops)
                page.ColumnNumbers.push_back(words[i].Text.toInt());
            std::sort(tops.begin(), tops.end());
            for (auto it = tops.rbegin(); it != tops.rend(); ++it)
                words.erase(words.begin() + static_cast<std::ptrdiff_t>(*it));
        }
    }
    std::vector<std::vector<TWord>> byColumn(columnCount + 1);
    for (TWord& w : words) {
        w.Column = cols.ColumnOf((w.L + w.R) / 2);
        for (double cut : cols.Cuts)
            if (w.L < cut && w.R > cut && !IsDigits(w.Text))
                w.Column = -1;
        byColumn[w.Column < 0 ? columnCount : w.Column].push_back(std::move(w));
    }
    std::vector<TLine> wide = BuildLines(std::move(byColumn[columnCount]), em);
    std::vector<std::vector<TLine>> columnLines(columnCount);
    for (int c = 0; c < columnCount; ++c) {
        columnLines[c] = BuildLines(std::move(byColumn[c]), em);
        for (TLine& line : columnLines[c]) {
            line.Column = c;
            FinishLine(line, em);
        }
    }
    for (TLine& line : wide) {
        line.Column = -1;
        FinishLine(line, em);
    }

    // Parts of a full-width line that fell into the columns join it.
    std::sort(wide.begin(), wide.end(), [](const TLine& a, const TLine& b) { return a.T < b.T; });
    std::vector<double> wideCenters;
    for (const TLine& line : wide)
        wideCenters.push_back((line.T + line.B) / 2);
    std::vector<TLine> all;
    for (auto& lines : columnLines) {
        for (TLine& line : lines) {
            if (line.Drop)
                continue;
            const double center = (line.T + line.B) / 2;
            auto it = std::lower_bound(wideCenters.begin(), wideCenters.end(), center - em);
            bool merged = false;
            for (; it != wideCenters.end() && *it <= center + em && !merged; ++it) {
                TLine& w = wide[it - wideCenters.begin()];
                if (Overlap(line.T, line.B, w.T, w.B) >=
                    0.5 * std::min(line.B - line.T, w.B - w.T)) {
                    for (TWord& word : line.Words)
                        w.Words.push_back(std::move(word));
                    merged = true;
                }
            }
            if (!merged)
                all.push_back(std::move(line));
        }
    }
    const std::size_t columnLineCount = all.size();
    for (TLine& line : wide) {
        FinishLine(line, em);
        all.push_back(std::move(line));
    }

    // Reading order: full-width lines cut the page into bands; each band is
    // read column by column.
    std::vector<double> wideTops;
    for (std::size_t i = columnLineCount; i < all.size(); ++i)
        wideTops.push_back(all[i].T);
    struct TKey {
        int Band;
        int Column;
        double Top;
        std::size_t Index;
    };
    std::vector<TKey> keys;
    for (std::size_t i = 0; i < all.size(); ++i) {
        const TLine& line = all[i];
        const double center = (line.T + line.B) / 2;
        if (line.Column < 0) {
            const int band = static_cast<int>(i - columnLineCount);
            keys.push_back({2 * band + 1, 0, line.T, i});
        } else {
            const int band = static_cast<int>(
                std::upper_bound(wideTops.begin(), wideTops.end(), center) - wideTops.begin());
            keys.push_back({2 * band, line.Column, line.T, i});
        }
    }
    std::sort(keys.begin(), keys.end(), [](const TKey& a, const TKey& b) {
        if (a.Band != b.Band)
            return a.Band < b.Band;
        if (a.Column != b.Column)
            return a.Column < b.Column;
        return a.Top < b.Top;
    });
    for (const TKey& k : keys)
        page.Lines.push_back(std::move(all[k.Index]));
    words.clear();
}

// A page whose columns are too short to show a gutter (the last page of a
// grant) takes the gutters of the document's other pages, unless a line of
// its own crosses them.
void ImposeDocumentColumns(std::vector<TPage>& Pages) {
    std::vector<int> pagesWith(12, 0);
    for (const TPage& page : Pages)
        ++pagesWith[std::min<std::size_t>(page.Columns.Cuts.size(), 11)];
    const auto most = std::max_element(pagesWith.begin() + 1, pagesWith.end());
    if (*most == 0)
        return;
    const std::size_t count = most - pagesWith.begin();
    const TPage* source = nullptr;
    for (const TPage& page : Pages)
        if (page.Columns.Cuts.size() == count) {
            source = &page;
            break;
        }
    const std::vector<double>& cuts = source->Columns.Cuts;
    for (TPage& page : Pages) {
        if (!page.Columns.Cuts.empty() || page.Words.empty())
            continue;
        const bool crossed = std::any_of(page.Words.begin(), page.Words.end(), [&](const TWord& w) {
            return HasLetter(w.Text) && std::any_of(cuts.begin(), cuts.end(), [&](double cut) {
                       return w.L < cut && w.R > cut;
                   });
        });
        if (!crossed)
            page.Columns = source->Columns;
    }
}

// Running headers and footers: in the top or bottom band, among the first
// or last lines, and either shaped like one or repeated, digits aside, on
// other pages. Page numbers alone there give the printed page number.
void DropHeadersAndFooters(std::vector<TPage>& Pages) {
    const auto candidates = [](TPage& page) {
        std::vector<TLine*> out;
        std::vector<TLine*> byTop;
        for (TLine& line : page.Lines)
            if (!line.Drop)
                byTop.push_back(&line);
        std::sort(byTop.begin(), byTop.end(), [](TLine* a, TLine* b) { return a->T < b->T; });
        for (std::size_t i = 0; i < byTop.size(); ++i) {
            const bool edge = i < 3 || i + 3 >= byTop.size();
            if (edge && (byTop[i]->B <= page.BandTop || byTop[i]->T >= page.BandBottom))
                out.push_back(byTop[i]);
        }
        return out;
    };
    QHash<QString, int> seen;
    for (TPage& page : Pages) {
        QSet<QString> onPage;
        for (TLine* line : candidates(page))
            onPage.insert(Masked(line->Text));
        for (const QString& s : onPage)
            ++seen[s];
    }
    for (TPage& page : Pages) {
        for (TLine* line : candidates(page)) {
            const QString masked = Masked(line->Text);
            const bool digits = masked.contains(u'#');
            const int times = seen.value(masked);
            if (IsPageNumber(line->Text)) {
                line->Drop = true;
                if (page.PrintedPage == 0)
                    page.PrintedPage = PageNumberOf(line->Text);
            } else if (LooksLikeHeader(line->Text) ||
                       (times >= 2 &&
                        (digits || (times >= 3 && 2 * times >= static_cast<int>(Pages.size()))) &&
                        masked.size() >= 4)) {
                line->Drop = true;
            }
        }
    }
}

// The printed line number at a baseline: the margin labels mark lines, and
// lines between and beyond them are counted by their baselines.
int LineNumberAt(const TPage& Page, double Base, double Pitch) {
    if (Page.Labels.empty() || !(Pitch > 0))
        return 0;
    auto it = std::lower_bound(Page.Labels.begin(), Page.Labels.end(), std::pair{Base, 0});
    if (it == Page.Labels.end() ||
        (it != Page.Labels.begin() && Base - (it - 1)->first < it->first - Base))
        --it;
    const double n = it->second + (Base - it->first) / Pitch;
    if (!(std::abs(n) < 1e6))
        return 0;
    return std::max(0, static_cast<int>(std::lround(n)));
}

double LabelPitch(const TPage& Page) {
    std::vector<double> pitches;
    for (std::size_t i = 1; i < Page.Labels.size(); ++i) {
        const auto& [y0, v0] = Page.Labels[i - 1];
        const auto& [y1, v1] = Page.Labels[i];
        if (v1 > v0 && y1 > y0)
            pitches.push_back((y1 - y0) / (v1 - v0));
    }
    if (!pitches.empty())
        return Median(pitches, 0);
    // One label: the lines' own spacing.
    std::vector<double> steps;
    for (std::size_t i = 1; i < Page.Lines.size(); ++i) {
        const double d = Page.Lines[i].Base - Page.Lines[i - 1].Base;
        if (Page.Lines[i].Column == Page.Lines[i - 1].Column && d > 0)
            steps.push_back(d);
    }
    return Median(steps, 0);
}

std::vector<TPrintedLine> PrintedLines(std::vector<TPage>& Pages) {
    std::vector<TPrintedLine> out;
    for (std::size_t p = 0; p < Pages.size(); ++p) {
        TPage& page = Pages[p];
        if (page.Lines.empty())
            continue;
        const double pitch = LabelPitch(page);
        std::vector<double> steps;
        for (std::size_t i = 1; i < page.Lines.size(); ++i) {
            const double d = page.Lines[i].Base - page.Lines[i - 1].Base;
            if (page.Lines[i].Column == page.Lines[i - 1].Column && d > 0)
                steps.push_back(d);
        }
        const double step = Median(steps, 0);
        const TLine* previous = nullptr;
        const double pageL = page.Columns.TextL.front(), pageR = page.Columns.TextR.back();
        for (const TLine& line : page.Lines) {
            if (line.Drop)
                continue;
            TPrintedLine printed;
            printed.Text = line.Text;
            printed.Origin.Page = page.PrintedPage > 0 ? page.PrintedPage : static_cast<int>(p) + 1;
            const int column = line.Column >= 0 ? line.Column : page.Columns.ColumnOf(line.L);
            if (!page.ColumnNumbers.empty())
                printed.Origin.Column = page.ColumnNumbers[std::min<std::size_t>(
                    column, page.ColumnNumbers.size() - 1)];
            printed.Origin.Line = LineNumberAt(page, line.Base, pitch);
            const std::size_t c =
                std::min<std::size_t>(std::max(column, 0), page.Columns.TextL.size() - 1);
            const double left = line.Column < 0 ? pageL : page.Columns.TextL[c];
            const double right = line.Column < 0 ? pageR : page.Columns.TextR[c];
            printed.Wide = line.Column < 0 && !page.Columns.Cuts.empty();
            printed.Indented = line.L > left + 0.8 * line.EmH;
            printed.Short = line.R < right - 0.6 * line.EmH;
            printed.GapAbove = previous != nullptr && previous->Column == line.Column && step > 0 &&
                               line.Base - previous->Base > 1.6 * step;
            previous = &line;
            out.push_back(std::move(printed));
        }
    }
    return out;
}

// ---- Paragraphs ----

// "12." or "12 ." at the start of a line: the number, else 0.
int ClaimNumberAtStart(const QString& S) {
    static const QRegularExpression re(
        QStringLiteral(R"(^(\d{1,4})\s?\.(?:\s|$|[\x{3000}-\x{30FF}\x{3400}-\x{9FFF}]))"));
    const QRegularExpressionMatch m = re.match(S);
    return m.hasMatch() ? m.captured(1).toInt() : 0;
}

bool StartsWithListMarker(const QString& S) {
    static const QRegularExpression re(QStringLiteral(R"(^\(?(?:[a-z]|[ivx]{1,4})\)\s)"));
    return re.match(S).hasMatch();
}

// Chinese and Japanese characters, their punctuation and full-width forms.
bool IsCjk(QChar C) {
    const char16_t c = C.unicode();
    return (c >= 0x3000 && c <= 0x30FF) || (c >= 0x3400 && c <= 0x4DBF) ||
           (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0xFF00 && c <= 0xFFEF);
}

bool IsHyphen(QChar C) {
    return C == u'-' || C == QChar(0x2010) || C == QChar(0x00AD);
}

// The word pairs the document writes with a hyphen inside a line
// ("non-woven"), lower case: such a pair broken at a line end keeps it.
QSet<QString> HyphenatedPairs(const std::vector<TPdfPage>& Pages) {
    QSet<QString> pairs;
    for (const TPdfPage& page : Pages) {
        for (const TPdfWord& w : page.Words) {
            if (w.Text.size() < 3 || w.Text.size() > 200 || !w.Text.contains(u'-'))
                continue;
            const QStringList parts = w.Text.toLower().split(u'-');
            for (qsizetype i = 1; i < parts.size(); ++i) {
                QString a = parts[i - 1], b = parts[i];
                while (!a.isEmpty() && !a.front().isLetterOrNumber())
                    a.remove(0, 1);
                while (!b.isEmpty() && !b.back().isLetterOrNumber())
                    b.chop(1);
                if (!a.isEmpty() && !b.isEmpty())
                    pairs.insert(a.section(u'-', -1) + u'-' + b);
            }
        }
    }
    return pairs;
}

// Joins the next printed line to a text ending in a hyphen: a typesetter's
// hyphen goes ("con-" "trol"), a real one stays ("C3-" "C8", "2-" "methyl",
// "Kunststoff-" "Folie", "non-" "woven" where the text writes "non-woven").
void JoinHyphenated(QString& Text, const QString& Next, const QSet<QString>& Pairs) {
    const QChar hyphen = Text.back();
    Text.chop(1);
    if (hyphen == QChar(0x00AD) || Next.isEmpty()) {
        Text += Next;
        return;
    }
    qsizetype start = Text.size();
    while (start > 0 && Text[start - 1].isLetterOrNumber())
        --start;
    const QString before = Text.mid(start);
    qsizetype end = 0;
    while (end < Next.size() && Next[end].isLetterOrNumber())
        ++end;
    const QString after = Next.left(end);
    const QChar last = before.isEmpty() ? QChar() : before.back();
    const bool keep = before.size() < 2 || after.isEmpty() || after.front().isUpper() ||
                      after.front().isDigit() || last.isDigit() || last.isUpper() ||
                      (start > 0 && IsHyphen(Text[start - 1])) ||
                      Pairs.contains(before.toLower() + u'-' + after.toLower());
    if (keep)
        Text += QLatin1Char('-');
    Text += Next;
}

} // namespace

TPdfText LayOutPdfPages(const std::vector<TPdfPage>& Pages) {
    std::vector<TPage> pages;
    pages.reserve(Pages.size());
    for (const TPdfPage& page : Pages)
        pages.push_back(PreparePage(page));
    ImposeDocumentColumns(pages);
    for (TPage& page : pages)
        LayOutPage(page);
    DropHeadersAndFooters(pages);
    const std::vector<TPrintedLine> printed = PrintedLines(pages);
    const QSet<QString> pairs = HyphenatedPairs(Pages);

    TPdfText text;
    std::vector<QString> lines;
    int lastClaim = 0;
    const TPrintedLine* previous = nullptr;
    for (const TPrintedLine& line : printed) {
        const int claim = ClaimNumberAtStart(line.Text);
        bool newLine = previous == nullptr || line.Indented || line.Wide || previous->Wide ||
                       line.GapAbove || StartsWithListMarker(line.Text);
        if (previous != nullptr && previous->Short && !IsHyphen(previous->Text.back()))
            newLine = true;
        if (claim > 0) {
            // Not "... of claim" "1. The ..." broken after a reference.
            const QChar end = lines.empty() ? QChar(u'.') : lines.back().back();
            if (end == u'.' || end == u':' || end == u';' || claim == lastClaim + 1) {
                newLine = true;
                lastClaim = claim;
            }
        } else if (!lines.empty() && ClaimNumberAtStart(lines.back() + u' ') > 0 &&
                   lines.back().size() <= 6) {
            newLine = false; // a claim number alone on its line
        }
        if (newLine) {
            lines.push_back(line.Text);
            text.Lines.push_back(line.Origin);
            text.LastLines.push_back(line.Origin);
        } else {
            QString& current = lines.back();
            const QChar end = current.back();
            if (IsHyphen(end) && current.size() >= 2 &&
                current[current.size() - 2].isLetterOrNumber())
                JoinHyphenated(current, line.Text, pairs);
            else if (IsCjk(current.back()) || IsCjk(line.Text.front()))
                current += line.Text; // these scripts break lines anywhere, without spaces
            else
                current += QLatin1Char(' ') + line.Text;
            text.LastLines.back() = line.Origin;
        }
        previous = &line;
    }
    for (QString& line : lines) {
        line.remove(QChar(0x00AD));
        if (&line != &lines.front())
            text.Text += QLatin1Char('\n');
        text.Text += line;
    }
    return text;
}
