#pragma once

// Claims texts set on printed pages and rendered to grey images, as a scanner
// would deliver them: plain single-column pages, US-grant-like pages (two
// columns, line numbers in the gutter, column numbers and a running header)
// and EP-publication-like pages (margin line numbers, header, page number).
// Needs a QGuiApplication for the fonts.

#include "PdfOcr.h"

#include <QImage>
#include <QRectF>
#include <QString>
#include <vector>

enum class TPageLayout { Plain, UsGrant, EpPublication };

struct TRenderedPage {
    QImage Image;     // Format_Grayscale8 at the given dpi
    double Width = 0; // points
    double Height = 0;
    std::vector<QRectF> Columns; // the text columns in points, in reading order
};

// Each line of Text stays a printed line (wrapped where the column is too
// narrow); an empty line leaves a blank line.
std::vector<TRenderedPage> RenderPages(const QString& Text, TPageLayout Layout, double Dpi = 300,
                                       double PointSize = 11);

// The image as recognition takes it; valid while Page lives.
TPageImage PageImageOf(const TRenderedPage& Page, double Dpi = 300);
