#include "PdfTestPages.h"

namespace {

struct TGeometry {
    double Width, Height;
    std::vector<double> ColumnLeft; // per column
    double ColumnWidth;
    double FirstBase; // baseline of line 1
    double LabelLeft; // margin or gutter numbers' left edge
};

TGeometry GeometryOf(TPdfTestStyle Style) {
    if (Style == TPdfTestStyle::UsGrant)
        return {612, 792, {54, 324}, 234, 72, 300};
    return {595, 842, {70}, 455, 82, 40};
}

TPdfWord Word(const QString& Text, double Left, double Base) {
    return {Left, Base - 0.8 * TestFontSize, Left + Text.size() * TestCharWidth,
            Base + 0.2 * TestFontSize, Text};
}

void Centered(TPdfPage& Page, const QString& Text, double Middle, double Base) {
    double left = Middle - Text.size() * TestCharWidth / 2;
    for (const QString& w : Text.split(u' ', Qt::SkipEmptyParts)) {
        Page.Words.push_back(Word(w, left, Base));
        left += (w.size() + 1) * TestCharWidth;
    }
}

bool Breakable(const QString& W) {
    return W.size() >= 8 &&
           std::all_of(W.begin(), W.end(), [](QChar c) { return c >= u'a' && c <= u'z'; });
}

} // namespace

TPdfTestDocument LayOutTestPages(const QStringList& Paragraphs, const TPdfTestLayout& Layout) {
    const TGeometry g = GeometryOf(Layout.Style);
    const bool us = Layout.Style == TPdfTestStyle::UsGrant;
    const int columns = static_cast<int>(g.ColumnLeft.size());
    const int capacity = static_cast<int>(g.ColumnWidth / TestCharWidth);
    TPdfTestDocument doc;
    int page = -1, column = columns - 1, line = Layout.LinesPerColumn;

    const auto newPage = [&] {
        ++page;
        TPdfPage p;
        p.Width = g.Width;
        p.Height = g.Height;
        if (us) {
            Centered(p, QStringLiteral("US 9,876,543 B2"), g.Width / 2, 40);
            for (int c = 0; c < columns; ++c)
                Centered(p, QString::number(Layout.FirstColumn + page * columns + c),
                         g.ColumnLeft[c] + g.ColumnWidth / 2, 40);
        } else {
            Centered(p, QStringLiteral("EP 1 234 567 B1"), g.Width / 2, 40);
            Centered(p, QString::number(Layout.FirstPage + page), g.Width / 2, g.Height - 30);
        }
        for (int n = 5; n <= Layout.LinesPerColumn; n += 5)
            p.Words.push_back(
                Word(QString::number(n), g.LabelLeft, g.FirstBase + (n - 1) * TestLinePitch));
        doc.Pages.push_back(std::move(p));
    };
    const auto nextLine = [&] {
        if (++line > Layout.LinesPerColumn) {
            line = 1;
            if (++column == columns) {
                column = 0;
                newPage();
            }
        }
    };
    const auto origin = [&] {
        if (us)
            return TLineOrigin{page + 1, Layout.FirstColumn + page * columns + column, line};
        return TLineOrigin{Layout.FirstPage + page, 0, line};
    };
    // One printed line: its words spread to the column's width unless it
    // ends the paragraph.
    const auto setLine = [&](const QStringList& Words, double Indent, bool Last) {
        TPdfPage& p = doc.Pages.back();
        const double base = g.FirstBase + (line - 1) * TestLinePitch;
        qsizetype chars = 0;
        for (const QString& w : Words)
            chars += w.size();
        const double room = g.ColumnWidth - Indent - chars * TestCharWidth;
        const double space =
            Last || Words.size() < 2 ? TestCharWidth : room / static_cast<double>(Words.size() - 1);
        double left = g.ColumnLeft[column] + Indent;
        for (const QString& w : Words) {
            p.Words.push_back(Word(w, left, base));
            left += w.size() * TestCharWidth + space;
        }
    };

    for (const QString& paragraph : Paragraphs) {
        const QStringList words = paragraph.split(u' ', Qt::SkipEmptyParts);
        if (words.isEmpty()) {
            nextLine(); // a blank line
            continue;
        }
        doc.Paragraphs.push_back(words.join(u' '));
        const int indentChars = Layout.Indent ? 4 : 0;
        QStringList current;
        int used = indentChars;
        bool first = true;
        const auto flush = [&](bool Last) {
            nextLine();
            if (first)
                doc.First.push_back(origin());
            setLine(current, first ? indentChars * TestCharWidth : 0, Last);
            first = false;
            current.clear();
            used = 0;
        };
        for (QString w : words) {
            // Longer than a line (a text written without spaces): broken
            // anywhere, as such scripts are.
            while (w.size() > capacity - used - (current.isEmpty() ? 0 : 1) &&
                   w.size() > capacity / 2) {
                const int room = capacity - used - (current.isEmpty() ? 0 : 1);
                if (room > 0) {
                    current.push_back(w.left(room));
                    w = w.mid(room);
                }
                flush(false);
            }
            const int needed = static_cast<int>(w.size()) + (current.isEmpty() ? 0 : 1);
            if (used + needed <= capacity) {
                current.push_back(w);
                used += needed;
                continue;
            }
            const int left = capacity - used - (current.isEmpty() ? 0 : 1);
            const qsizetype hyphen = w.indexOf(u'-');
            if (hyphen > 0 && hyphen + 1 <= left && hyphen + 1 < w.size()) {
                current.push_back(w.left(hyphen + 1));
                w = w.mid(hyphen + 1);
            } else if (Layout.Hyphenate && Breakable(w) && left >= 4) {
                const qsizetype cut = std::min<qsizetype>(left - 1, w.size() - 3);
                current.push_back(w.left(cut) + u'-');
                w = w.mid(cut);
            }
            if (!current.isEmpty())
                flush(false);
            current.push_back(w);
            used = static_cast<int>(w.size());
        }
        flush(true);
        doc.Last.push_back(origin());
    }
    return doc;
}
