#include "ExportRenderer.h"

#include "BoxGeometry.h"
#include "ClaimMemo.h"
#include "Fonts.h"
#include "GlyphButton.h"
#include "ImageList.h"

#include <QFontMetrics>
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

TExportPicture::TExportPicture(TExportTree Tree, const TImageList& Images, int TextRoom)
    : tree(std::move(Tree)), images(Images), font(LayoutFont(QStringLiteral("MS Sans Serif"), 8)),
      rootFont(font) {
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
    if (!tree.Heading.isEmpty())
        y += HeadingGap;

    // By depth, the expanded row above whose vertical line the next row of
    // the depth below hangs on, and that line.
    struct TOpenParent {
        int Row = -1;
        std::size_t Line = 0;
    };
    std::vector<TOpenParent> openParents;
    rowTops.reserve(tree.Rows.size());
    for (std::size_t i = 0; i < tree.Rows.size(); ++i) {
        const TExportRow& row = tree.Rows[i];
        const auto depth = static_cast<std::size_t>(std::max(row.Depth, 0));
        const int left = RowLeftAt(row.Depth);
        rowTops.push_back(y);
        openParents.resize(std::min(openParents.size(), depth));
        if (depth > 0 && openParents.size() == depth && openParents.back().Row >= 0) {
            const int parentLeft = left - LevelIndent;
            lines.push_back({parentLeft + LineOffset, y + LineOffset, left - 1, y + LineOffset});
            // The parent's vertical line reaches down to its latest child.
            lines[openParents.back().Line].Y2 = y + LineOffset;
        }
        if (row.Expanded) {
            openParents.resize(depth);
            openParents.push_back({static_cast<int>(i), lines.size()});
            lines.push_back(
                {left + LineOffset, y + ChildLineTop, left + LineOffset, y + ChildLineTop});
        }

        const QFontMetrics& captionMetrics = row.Kind == 0 ? strong : plain;
        int x = left + (row.HasChildren ? ButtonPitch : 0);
        x += captionMetrics.horizontalAdvance(row.Caption) + LabelGap + 2 * ButtonPitch;
        if (row.Depth > 0 && row.Kind != 2)
            x += ButtonPitch;
        int rowHeight = std::max(Button, captionMetrics.height());
        if (row.HasChildren) {
            x += plain.horizontalAdvance(row.Dependents);
            rowHeight = std::max(rowHeight, plain.height());
        }
        right = std::max(right, x);

        TBlock block;
        block.Top = y;
        block.Row = static_cast<int>(i);
        y += rowHeight;
        if (row.TextMode != 0 && row.Text) {
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
            const int height = row.TextMode == 2 ? full : std::min(full, PreviewHeight);
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

void TExportPicture::PaintRow(QPainter& Painter, const TBlock& Block, int Top, int Bottom) const {
    const TExportRow& row = tree.Rows[static_cast<std::size_t>(Block.Row)];
    if (Block.Top >= Top && Block.Top < Bottom) {
        const int y = Block.Top - Top;
        int x = RowLeftAt(row.Depth);
        // A glyph's 13 pixels sit one pixel into its 16-pixel image.
        const auto glyph = [&](int Index) {
            Painter.drawPixmap(x - 1, y - 1, images.Image(Index));
            x += ButtonPitch;
        };
        if (row.HasChildren)
            glyph(row.Expanded ? TImageList::Collapse : TImageList::Expand);
        const QFont& captionFont = row.Kind == 0 ? rootFont : font;
        const QFontMetrics metrics(captionFont);
        Painter.setFont(captionFont);
        Painter.setPen(row.Kind == 2 ? Qt::red : Qt::blue);
        Painter.drawText(x, y + metrics.ascent(), row.Caption);
        x += metrics.horizontalAdvance(row.Caption) + LabelGap;
        glyph(TImageList::ShowText);
        glyph(TImageList::HideText);
        if (row.Depth > 0 && row.Kind != 2)
            glyph(tree.BranchMode == 0 ? TImageList::ShowBranch : TImageList::ShowAll);
        if (row.HasChildren) {
            Painter.setFont(font);
            Painter.setPen(Qt::black);
            Painter.drawText(x, y + QFontMetrics(font).ascent(), row.Dependents);
        }
    }
    if (Block.Text.empty())
        return;
    Painter.setPen(Qt::black);
    const QStringList& source = row.Text->Lines();
    // Each line of the text is laid out once, for the parts of it in range.
    QTextLayout layout;
    int laidOut = -1;
    for (const TWrappedLine& line : Block.Text) {
        if (line.Top < Top || line.Top >= Bottom || line.Part < 0)
            continue;
        if (line.Source != laidOut) {
            layout.setText(source[line.Source]);
            LayOut(layout, Block.TextWidth, [](const QTextLine&) {});
            laidOut = line.Source;
        }
        layout.lineAt(line.Part).draw(&Painter, QPointF(Block.TextLeft, line.Top - Top));
    }
}

void TExportPicture::Paint(QPainter& Painter, int Top, int Bottom) const {
    Painter.save();
    Painter.setClipRect(QRect(0, 0, size.width(), Bottom - Top));
    Painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
    for (const TLine& line : lines) {
        if (line.Y2 >= Top && line.Y1 < Bottom)
            Painter.drawLine(QPointF(line.X1 + 0.5, line.Y1 - Top + 0.5),
                             QPointF(line.X2 + 0.5, line.Y2 - Top + 0.5));
    }
    Painter.setClipping(false);
    // Blocks are in picture order; a block that starts above Top may still
    // have text lines inside the range.
    auto first = std::lower_bound(blocks.begin(), blocks.end(), Top,
                                  [](const TBlock& Block, int Y) { return Block.Bottom <= Y; });
    for (auto block = first; block != blocks.end() && block->Top < Bottom; ++block) {
        if (block->Row >= 0) {
            PaintRow(Painter, *block, Top, Bottom);
        } else if (block->Top >= Top) {
            const QFont& lineFont = block->Bold ? rootFont : font;
            Painter.setFont(lineFont);
            Painter.setPen(block->Red ? Qt::red : Qt::black);
            Painter.drawText(RootLeft, block->Top - Top + QFontMetrics(lineFont).ascent(),
                             block->Line);
        }
    }
    Painter.restore();
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

bool PaintPages(const TExportPicture& Picture, QPagedPaintDevice& Device) {
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
        if (page > 0 && !Device.newPage())
            return false;
        const int bottom = page + 1 < tops.size() ? tops[page + 1] : Picture.Size().height();
        Picture.Paint(painter, tops[page], bottom);
    }
    return painter.end();
}
