#pragma once

// PDFs written for the tests with Qt's PDF writer, in Liberation Serif: text
// at known places, and pages laid out as patent offices print them. Needs a
// QGuiApplication.

#include "DocumentReader.h"

#include <QString>
#include <string>
#include <vector>

// A line of text; Y is its baseline, in points from the page's top.
struct TPdfTextLine {
    double X = 0;
    double Y = 0;
    QString Text;
    double Size = 10;
};

struct TTestPage {
    double Width = 612; // points: US letter
    double Height = 792;
    std::vector<TPdfTextLine> Lines; // none: a page without a text layer
    // The lines drawn into an image of the page at 300 dpi, as a scanner
    // makes it: no text layer.
    bool Scanned = false;
};

std::string WriteTestPdf(const std::vector<TTestPage>& Pages);

// A pump's claims as a patent prints them, a heading first: a claim long
// enough to break over a column or page, and claims that refer back.
std::vector<QString> TestClaims();

// Paragraphs set as printed, and where each one's first and last printed
// line stand.
struct TPrintedPdf {
    std::string Bytes;
    std::vector<TLineOrigin> First;
    std::vector<TLineOrigin> Last;
};

// A two-column grant: a running header, the column numbers (from 1) above
// the columns, the line numbers 5, 10, ... in the gutter; the paragraphs run
// down the left column, then the right, page after page, a blank line
// between them. Skip lines of a description come first.
TPrintedPdf GrantPdf(const std::vector<QString>& Paragraphs, int Skip = 0);

// A one-column publication: a header with its number, the line numbers 5,
// 10, ... in the left margin, the page number as printed (from FirstPage)
// below; a paragraph breaks over pages where the page is full.
TPrintedPdf OneColumnPdf(const std::vector<QString>& Paragraphs, int FirstPage, int Skip = 0);
