#include "ExportRenderer.h"

#include "BoxGeometry.h"
#include "ClaimMemo.h"
#include "ClaimTreePane.h"
#include "Fonts.h"
#include "GlyphButton.h"

#include <QBuffer>
#include <QFontMetrics>
#include <QGlyphRun>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QTextLayout>
#include <algorithm>

using namespace BoxGeometry;

namespace {

constexpr int Button = TGlyphButton::Size;
// Space after the lines above the tree, and around the picture.
constexpr int HeadingGap = 10;
constexpr int RightMargin = 10;

int RowLeftAt(int Depth) {
    return RootLeft + Depth * LevelIndent;
}

QTextOption WrapOption() {
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    return option;
}

// Calls Visit(part) for each line of Line laid out as a memo TextWidth wide
// lays it out; an empty line is one part.
template <typename F> void LayOut(QTextLayout& Layout, int TextWidth, F&& Visit) {
    Layout.setFont(TClaimMemo::TextFont());
    Layout.setTextOption(WrapOption());
    Layout.beginLayout();
    for (QTextLine part = Layout.createLine(); part.isValid(); part = Layout.createLine()) {
        part.setLineWidth(std::max(TextWidth, 1));
        part.setPosition(QPointF(0, 0));
        Visit(part);
    }
    Layout.endLayout();
}

} // namespace

TExportPicture::TExportPicture(TExportTree Tree, int TextRoom)
    : tree(std::move(Tree)), font(LayoutFont(QStringLiteral("MS Sans Serif"), 8)), rootFont(font) {
    rootFont.setBold(true);
    const QFontMetrics plain(font);
    const QFontMetrics strong(rootFont);
    const int lineHeight = TClaimMemo::LineHeight();
    int right = 0;
    int y = FirstRowTop;

    const auto addLine = [&](const QString& Text, bool Bold, bool Red) {
        TBlock block;
        block.Top = y;
        block.Line = Text;
        block.Bold = Bold;
        block.Red = Red;
        const QFontMetrics& metrics = Bold ? strong : plain;
        block.Bottom = y + metrics.height();
        right = std::max(right, RootLeft + metrics.horizontalAdvance(Text));
        y = block.Bottom + 2;
        blocks.push_back(std::move(block));
    };
    for (qsizetype i = 0; i < tree.Heading.size(); ++i)
        addLine(tree.Heading[i], i == 0, false);
    // A cut tree says so above the boxes as well as below them: the reader
    // of the first page must not take it for the whole.
    for (const QString& notice : tree.Notices)
        addLine(notice, true, true);
    if (!tree.Heading.isEmpty() || !tree.Notices.isEmpty())
        y += HeadingGap;

    // By depth, the expanded row above whose vertical line the next row of
    // the depth below hangs on, and that line.
    struct TOpenParent {
        int Row = -1;
        std::size_t Line = 0;
    };
    std::vector<TOpenParent> openParents;
    // The same captions and lists come back in box after box: each is
    // measured once.
    std::array<std::unordered_map<QString, int>, 2> widths;
    const auto width = [&](const QString& Text, bool Bold) {
        auto known = widths[Bold ? 1 : 0].find(Text);
        if (known == widths[Bold ? 1 : 0].end())
            known = widths[Bold ? 1 : 0]
                        .emplace(Text, (Bold ? strong : plain).horizontalAdvance(Text))
                        .first;
        return known->second;
    };
    rowTops.reserve(tree.Rows.size());
    parentRows.reserve(tree.Rows.size());
    childLines.reserve(tree.Rows.size());
    ascent = plain.ascent();
    boldAscent = strong.ascent();
    for (std::size_t i = 0; i < tree.Rows.size(); ++i) {
        const TExportRow& row = tree.Rows[i];
        const auto depth = static_cast<std::size_t>(std::max(row.Depth, 0));
        const int left = RowLeftAt(row.Depth);
        rowTops.push_back(y);
        openParents.resize(std::min(openParents.size(), depth));
        parentRows.push_back(-1);
        childLines.push_back(0);
        if (depth > 0 && openParents.size() == depth && openParents.back().Row >= 0) {
            parentRows.back() = openParents.back().Row;
            const int parentLeft = left - LevelIndent;
            lines.push_back({parentLeft + LineOffset, y + LineOffset, left - 1, y + LineOffset});
            // The parent's vertical line reaches down to its latest child.
            lines[openParents.back().Line].Y2 = y + LineOffset;
        }
        if (row.Expanded) {
            openParents.resize(depth);
            openParents.push_back({static_cast<int>(i), lines.size()});
            childLines.back() = lines.size();
            lines.push_back(
                {left + LineOffset, y + ChildLineTop, left + LineOffset, y + ChildLineTop});
        }

        // Paper has no use for the window's buttons: the caption starts where
        // the line from the parent ends.
        const QFontMetrics& captionMetrics = row.Kind == TClaimKind::Independent ? strong : plain;
        int x = left + width(row.Caption, row.Kind == TClaimKind::Independent) + LabelGap;
        const int captionEnd = x;
        // The list of dependants stands apart, as a column of its own.
        x += ButtonPitch;
        int rowHeight = std::max(Button, captionMetrics.height());
        if (row.HasChildren) {
            x += width(row.Dependents, false);
            rowHeight = std::max(rowHeight, plain.height());
        }
        right = std::max(right, x);

        TBlock block;
        block.Top = y;
        block.Row = static_cast<int>(i);
        block.CaptionEnd = captionEnd;
        y += rowHeight;
        if (row.TextMode != TTextMode::None && row.Text) {
            y += TextGap;
            const int memoLeft = left + MemoIndent;
            const int room = TextRoom - memoLeft - MemoRightGap;
            const int wanted = row.Text->WidestLine() + MemoExtraWidth;
            const int width =
                room <= 0 ? std::min(wanted, CrampedMemoWidth) : std::min(room, wanted);
            block.TextWidth = width - TClaimMemo::LeftMargin - TClaimMemo::RightMargin;
            std::vector<TWrappedLine> wrapped;
            const QStringList& source = row.Text->Lines();
            for (int i = 0; i < source.size(); ++i) {
                if (source[i].isEmpty()) {
                    wrapped.push_back({0, i, -1});
                    continue;
                }
                QTextLayout layout(source[i]);
                int part = 0;
                LayOut(layout, block.TextWidth, [&](const QTextLine&) {
                    wrapped.push_back({0, i, part++});
                });
            }
            const int full = lineHeight * static_cast<int>(wrapped.size()) + MemoExtraHeight;
            const int height =
                row.TextMode == TTextMode::Whole ? full : std::min(full, PreviewHeight);
            // A preview shows the lines that fit whole; a cut line would read
            // as garbage on paper.
            int lineTop = y + TClaimMemo::TopMargin;
            for (TWrappedLine& line : wrapped) {
                if (lineTop + lineHeight > y + height)
                    break;
                line.Top = lineTop;
                block.Text.push_back(line);
                lineTop += lineHeight;
            }
            block.TextLeft = memoLeft + TClaimMemo::LeftMargin;
            right = std::max(right, memoLeft + width);
            y += height;
        }
        block.Bottom = y;
        blocks.push_back(std::move(block));
        y += BoxGap;
    }
    for (const QString& notice : tree.Notices)
        addLine(notice, true, true);
    size = QSize(right + RightMargin, y);
}

// What a picture is painted with: a QPainter, or an SVG text written
// directly, which can name each glyph once and use it everywhere.
class TExportPicture::TCanvas {
public:
    virtual ~TCanvas() = default;
    virtual void DottedLine(int X1, int Y1, int X2, int Y2) = 0;
    // A line of Font (bold: the root's) in Color, its baseline at Y.
    virtual void Text(int X, int Y, const QString& Text, bool Bold, QRgb Color) = 0;
    // Part Line of a memo's text, its top at Y.
    virtual void MemoLine(int X, int Y, const QTextLine& Line, const QString& Source) = 0;
    virtual void Fill(int X, int Y, int Width, int Height, QRgb Color) = 0;
};

namespace {

class TPainterCanvas : public TExportPicture::TCanvas {
public:
    TPainterCanvas(QPainter& Painter, const QFont& Font, const QFont& Bold,
                   TExportPicture::TShapedTexts& Shaped)
        : painter(Painter), font(Font), bold(Bold), shaped(Shaped),
          dotted(Qt::black, 1, Qt::DotLine) {}

    void DottedLine(int X1, int Y1, int X2, int Y2) override {
        painter.setPen(dotted);
        painter.drawLine(QPointF(X1 + 0.5, Y1 + 0.5), QPointF(X2 + 0.5, Y2 + 0.5));
    }
    void Text(int X, int Y, const QString& Text, bool Bold, QRgb Color) override {
        // The same few captions and lists of dependants come back on every
        // page: each is shaped once.
        auto known = shaped[Bold ? 1 : 0].find(Text);
        if (known == shaped[Bold ? 1 : 0].end()) {
            QTextLayout layout(Text, Bold ? bold : font);
            layout.beginLayout();
            QTextLine line = layout.createLine();
            line.setPosition(QPointF(0, 0));
            layout.endLayout();
            known = shaped[Bold ? 1 : 0]
                        .emplace(Text, std::make_pair(layout.glyphRuns(), line.ascent()))
                        .first;
        }
        painter.setPen(QColor(Color));
        for (const QGlyphRun& run : known->second.first)
            painter.drawGlyphRun(QPointF(X, Y - known->second.second), run);
    }
    void MemoLine(int X, int Y, const QTextLine& Line, const QString&) override {
        painter.setPen(Qt::black);
        Line.draw(&painter, QPointF(X, Y));
    }
    void Fill(int X, int Y, int Width, int Height, QRgb Color) override {
        painter.fillRect(X, Y, Width, Height, QColor(Color));
    }

private:
    QPainter& painter;
    const QFont& font;
    const QFont& bold;
    TExportPicture::TShapedTexts& shaped;
    QPen dotted;
};

void AppendEscaped(QByteArray& Out, const QString& Text) {
    for (const QChar ch : Text) {
        switch (ch.unicode()) {
        case '&':
            Out += "&amp;";
            break;
        case '<':
            Out += "&lt;";
            break;
        case '>':
            Out += "&gt;";
            break;
        default:
            if (ch.unicode() < 0x20)
                Out += ' ';
            else
                Out += QString(ch).toUtf8();
        }
    }
}

class TSvgCanvas : public TExportPicture::TCanvas {
public:
    explicit TSvgCanvas(QByteArray& Out) : out(Out) {}

    void DottedLine(int X1, int Y1, int X2, int Y2) override {
        out += "<path class=\"d\" d=\"M";
        Point(X1 + 0.5, Y1 + 0.5);
        out += 'L';
        Point(X2 + 0.5, Y2 + 0.5);
        out += "\"/>\n";
    }
    void Text(int X, int Y, const QString& Text, bool Bold, QRgb Color) override {
        out += "<text class=\"";
        out += Bold ? "t b" : "t";
        out += "\" x=\"";
        out += QByteArray::number(X);
        out += "\" y=\"";
        out += QByteArray::number(Y);
        if (Color != qRgb(0, 0, 0)) {
            out += "\" fill=\"";
            out += QColor(Color).name().toLatin1();
        }
        out += "\">";
        AppendEscaped(out, Text);
        out += "</text>\n";
    }
    void MemoLine(int X, int Y, const QTextLine& Line, const QString& Source) override {
        // Tabs stand where the layout put them: one text a run between them.
        const int end = Line.textStart() + Line.textLength();
        const int baseline = Y + qRound(Line.ascent());
        for (int at = Line.textStart(); at < end;) {
            const int tab = Source.indexOf(QLatin1Char('\t'), at);
            const int stop = tab < 0 || tab > end ? end : tab;
            if (stop > at) {
                out += "<text class=\"m\" x=\"";
                out += QByteArray::number(X + Line.cursorToX(at), 'f', 1);
                out += "\" y=\"";
                out += QByteArray::number(baseline);
                out += "\">";
                AppendEscaped(out, Source.mid(at, stop - at));
                out += "</text>\n";
            }
            at = stop + 1;
        }
    }
    void Fill(int X, int Y, int Width, int Height, QRgb Color) override {
        out += "<rect x=\"";
        out += QByteArray::number(X);
        out += "\" y=\"";
        out += QByteArray::number(Y);
        out += "\" width=\"";
        out += QByteArray::number(Width);
        out += "\" height=\"";
        out += QByteArray::number(Height);
        out += "\" fill=\"";
        out += QColor(Color).name().toLatin1();
        out += "\"/>\n";
    }

private:
    void Point(double X, double Y) {
        out += QByteArray::number(X, 'f', 1);
        out += ' ';
        out += QByteArray::number(Y, 'f', 1);
    }
    QByteArray& out;
};

// A box's marks as the window's bar shows them, its top left at X, Y.
void PaintMarks(TExportPicture::TCanvas& Canvas, unsigned Marks, int X, int Y) {
    const int height = TGlyphButton::Size - 2;
    const bool problem = (Marks & static_cast<unsigned>(TBoxMark::Problem)) != 0;
    const bool found = (Marks & static_cast<unsigned>(TBoxMark::Found)) != 0;
    if (problem && found) {
        Canvas.Fill(X, Y, MarkerWidth, height / 2, ProblemMarkColor);
        Canvas.Fill(X, Y + height / 2, MarkerWidth, height - height / 2, FoundMarkColor);
    } else {
        Canvas.Fill(X, Y, MarkerWidth, height, problem ? ProblemMarkColor : FoundMarkColor);
    }
}

} // namespace

void TExportPicture::PaintRow(TCanvas& Canvas, const TBlock& Block, int Top, int Bottom,
                              QTextLayout& Layout) const {
    const TExportRow& row = tree.Rows[static_cast<std::size_t>(Block.Row)];
    if (Block.Top >= Top && Block.Top < Bottom) {
        const int y = Block.Top - Top;
        Canvas.Text(RowLeftAt(row.Depth),
                    y + (row.Kind == TClaimKind::Independent ? boldAscent : ascent), row.Caption,
                    row.Kind == TClaimKind::Independent,
                    row.Kind == TClaimKind::MultipleDependent ? qRgb(255, 0, 0) : qRgb(0, 0, 255));
        if (row.Marks != 0)
            PaintMarks(Canvas, row.Marks, Block.CaptionEnd - LabelGap - 1 + MarkerGap, y + 1);
        if (row.HasChildren)
            Canvas.Text(Block.CaptionEnd + ButtonPitch, y + ascent, row.Dependents, false,
                        qRgb(0, 0, 0));
    }
    if (Block.Text.empty())
        return;
    const QStringList& source = row.Text->Lines();
    // Each line of the text is laid out once, for the parts of it in range.
    int laidOut = -1;
    for (const TWrappedLine& line : Block.Text) {
        if (line.Top < Top || line.Top >= Bottom || line.Part < 0)
            continue;
        if (line.Source != laidOut) {
            Layout.setText(source[line.Source]);
            LayOut(Layout, Block.TextWidth, [](const QTextLine&) {});
            laidOut = line.Source;
        }
        Canvas.MemoLine(Block.TextLeft, line.Top - Top, Layout.lineAt(line.Part),
                        source[line.Source]);
    }
}

void TExportPicture::PaintOn(TCanvas& Canvas, int Top, int Bottom) const {
    // Dotted lines that start in the range, by their top; lines are made
    // in the order of their tops.
    auto line = std::lower_bound(lines.begin(), lines.end(), Top,
                                 [](const TLine& Line, int Y) { return Line.Y1 < Y; });
    const auto dotted = [&](const TLine& Line) {
        Canvas.DottedLine(Line.X1, Line.Y1 - Top, Line.X2, std::min(Line.Y2, Bottom) - Top);
    };
    for (; line != lines.end() && line->Y1 < Bottom; ++line)
        dotted(*line);
    // A vertical line that comes from above belongs to an ancestor of the
    // first box in the range.
    auto firstRow = std::lower_bound(rowTops.begin(), rowTops.end(), Top);
    if (firstRow != rowTops.end()) {
        for (int row = parentRows[static_cast<std::size_t>(firstRow - rowTops.begin())]; row >= 0;
             row = parentRows[static_cast<std::size_t>(row)]) {
            const TLine& down = lines[childLines[static_cast<std::size_t>(row)]];
            if (down.Y1 < Top && down.Y2 >= Top)
                Canvas.DottedLine(down.X1, 0, down.X2, std::min(down.Y2, Bottom) - Top);
        }
    }

    // Blocks are in picture order; a block that starts above Top may still
    // have text lines inside the range.
    QTextLayout layout;
    auto first = std::lower_bound(blocks.begin(), blocks.end(), Top,
                                  [](const TBlock& Block, int Y) { return Block.Bottom <= Y; });
    for (auto block = first; block != blocks.end() && block->Top < Bottom; ++block) {
        if (block->Row >= 0) {
            PaintRow(Canvas, *block, Top, Bottom, layout);
        } else if (block->Top >= Top) {
            Canvas.Text(RootLeft, block->Top - Top + (block->Bold ? boldAscent : ascent),
                        block->Line, block->Bold, block->Red ? qRgb(255, 0, 0) : qRgb(0, 0, 0));
        }
    }
}

void TExportPicture::Paint(QPainter& Painter, int Top, int Bottom) const {
    Painter.save();
    TPainterCanvas canvas(Painter, font, rootFont, shapedTexts);
    PaintOn(canvas, Top, Bottom);
    Painter.restore();
}

bool TExportPicture::WriteSvg(QIODevice& Device, const QString& Title) const {
    QByteArray out;
    out.reserve(static_cast<qsizetype>(blocks.size()) * 400 + 4096);
    const QByteArray width = QByteArray::number(size.width());
    const QByteArray height = QByteArray::number(size.height());
    out += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" +
           width + "\" height=\"" + height + "\" viewBox=\"0 0 " + width + ' ' + height +
           "\">\n<title>";
    AppendEscaped(out, Title);
    out += "</title>\n<style>\n"
           ".d { fill: none; stroke: black; stroke-width: 1; stroke-dasharray: 1 2 }\n"
           ".t { font-family: '" +
           font.family().toUtf8() +
           "', sans-serif; font-size: " + QByteArray::number(font.pixelSize()) +
           "px }\n"
           ".b { font-weight: bold }\n"
           ".m { font-family: '" +
           TClaimMemo::TextFont().family().toUtf8() +
           "', sans-serif; font-size: " + QByteArray::number(TClaimMemo::TextFont().pixelSize()) +
           "px; white-space: pre }\n</style>\n";
    out += "<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n";
    TSvgCanvas canvas(out);
    PaintOn(canvas, 0, size.height());
    out += "</svg>\n";
    return Device.write(out) == out.size();
}

std::vector<int> TExportPicture::PageTops(int PageHeight) const {
    PageHeight = std::max(PageHeight, 1);
    std::vector<int> tops{0};
    for (const TBlock& block : blocks) {
        if (block.Bottom - tops.back() <= PageHeight)
            continue;
        if (block.Top > tops.back())
            tops.push_back(block.Top);
        // A box taller than a page breaks between the lines of its text.
        while (block.Bottom - tops.back() > PageHeight) {
            int next = tops.back() + PageHeight;
            for (auto line = block.Text.rbegin(); line != block.Text.rend(); ++line) {
                if (line->Top > tops.back() && line->Top <= next) {
                    next = line->Top;
                    break;
                }
            }
            tops.push_back(next);
        }
    }
    return tops;
}

int PageTextRoom(const QPagedPaintDevice& Device) {
    return Device.width() * 96 / std::max(Device.logicalDpiX(), 1);
}

bool PaintPages(const TExportPicture& Picture, QPagedPaintDevice& Device,
                const TPageProgress& Progress) {
    QPainter painter;
    if (!painter.begin(&Device))
        return false;
    const double natural = Device.logicalDpiX() / 96.0;
    const double scale = std::min(
        natural, Device.width() / static_cast<double>(std::max(Picture.Size().width(), 1)));
    const int pageHeight = static_cast<int>(Device.height() / scale);
    const std::vector<int> tops = Picture.PageTops(pageHeight);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.scale(scale, scale);
    for (std::size_t page = 0; page < tops.size(); ++page) {
        if (Progress && !Progress(static_cast<int>(page), static_cast<int>(tops.size()))) {
            painter.end();
            return false;
        }
        if (page > 0 && !Device.newPage())
            return false;
        const int next = page + 1 < tops.size() ? tops[page + 1] : Picture.Size().height();
        // The gap after the page's last box may not fit; lines stop at the
        // page's edge rather than run into its margin.
        Picture.Paint(painter, tops[page], std::min(next, tops[page] + pageHeight));
    }
    return painter.end();
}
