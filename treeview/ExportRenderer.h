#pragma once

#include "ExportRows.h"

#include <QFont>
#include <QGlyphRun>
#include <QList>
#include <QSize>
#include <QString>
#include <array>
#include <functional>
#include <unordered_map>
#include <utility>
#include <vector>

class QIODevice;
class QPagedPaintDevice;
class QPainter;
class QTextLayout;

// An exported tree laid out as the window lays out its boxes, in pixels at
// 96 dots per inch, and painted with QPainter: the same fonts, lines and
// rhythm, without a widget and without its buttons.
class TExportPicture {
public:
    // TextRoom is the width the claim texts may fill, as the pane's width
    // is in the window.
    TExportPicture(TExportTree Tree, int TextRoom);

    // Top of row Row's box in the picture.
    int RowTop(std::size_t Row) const { return rowTops[Row]; }

    // Extent of the whole picture, margins included.
    QSize Size() const { return size; }

    // Paints what lies between Top and Bottom of the picture, with Top at
    // the painter's origin; lines are cut at the edges, texts and boxes
    // never: a box or text line is painted when its top lies in the range.
    void Paint(QPainter& Painter, int Top, int Bottom) const;

    // Writes the whole picture as an SVG document.
    bool WriteSvg(QIODevice& Device, const QString& Title) const;

    // Where each page starts when pages hold PageHeight pixels: at a box's
    // top, so that no box is cut, or between two lines of a text that is
    // itself taller than a page.
    std::vector<int> PageTops(int PageHeight) const;

private:
    // A line of a box's text as shown: part Part of the text's line Source
    // wrapped at the memo's width.
    struct TWrappedLine {
        int Top;
        int Source;
        int Part;
    };
    // One box, or one line above or below the tree.
    struct TBlock {
        int Top = 0;
        int Bottom = 0;   // where the content ends, gaps not counted
        int Row = -1;     // index into tree.Rows, or -1 for a line of text
        QString Line;     // for a line of text
        bool Red = false; // a notice
        bool Bold = false;
        std::vector<TWrappedLine> Text; // the box's claim text, line by line
        int TextLeft = 0;
        int TextWidth = 0;
        int CaptionEnd = 0; // where the buttons after the caption start
    };
    struct TLine {
        int X1, Y1, X2, Y2;
    };

public:
    class TCanvas;
    // Texts shaped for painting, plain and bold, with their ascent.
    using TShapedTexts =
        std::array<std::unordered_map<QString, std::pair<QList<QGlyphRun>, qreal>>, 2>;

private:
    void PaintOn(TCanvas& Canvas, int Top, int Bottom) const;
    void PaintRow(TCanvas& Canvas, const TBlock& Block, int Top, int Bottom,
                  QTextLayout& Layout) const;

    TExportTree tree;
    QFont font;
    QFont rootFont;
    std::vector<TBlock> blocks;
    std::vector<TLine> lines;
    std::vector<int> rowTops;
    std::vector<int> parentRows;         // by row: the row it hangs below, or -1
    std::vector<std::size_t> childLines; // by row: its vertical line, if expanded
    mutable TShapedTexts shapedTexts;
    int ascent = 0;
    int boldAscent = 0;
    QSize size;
};

// Told before each page is painted: the page, from 0, and how many there
// are; returns false to stop.
using TPageProgress = std::function<bool(int Page, int Pages)>;

// Paints Picture over the pages of Device, scaled to the page's width but
// never enlarged; returns false when a page could not be started, or when
// Progress stopped it.
bool PaintPages(const TExportPicture& Picture, QPagedPaintDevice& Device,
                const TPageProgress& Progress = {});

// The width, in picture pixels, that a page of Device offers the texts.
int PageTextRoom(const QPagedPaintDevice& Device);
