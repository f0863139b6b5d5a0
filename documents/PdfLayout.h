#pragma once

// The words of PDF pages, each with its box, put back into the order a person
// reads them: columns found, margin and gutter line numbers, running headers,
// column and page numbers dropped, paragraph lines joined, typesetters'
// hyphenation undone and ligatures read as letters. Knows nothing of how the
// words were got (a text layer or recognition from the page image).

#include "DocumentReader.h"

#include <QString>
#include <vector>

// One word on a page, in points from the page's top left corner.
struct TPdfWord {
    double Left = 0;
    double Top = 0;
    double Right = 0;
    double Bottom = 0;
    QString Text;
};

struct TPdfPage {
    double Width = 0; // points
    double Height = 0;
    std::vector<TPdfWord> Words; // in any order
};

// The pages' text, lines broken by line feeds, and where each line of it
// stands on the printed pages.
struct TPdfText {
    QString Text;
    // One per line of Text: where its first printed line stands.
    std::vector<TLineOrigin> Lines;
    // One per line of Text: where its last printed line stands (a line of
    // Text joins the printed lines of a paragraph, across columns and pages).
    std::vector<TLineOrigin> LastLines;
};

// Linear in the words but for sorting them; any boxes (empty, overlapping,
// off the page, NaN) give some text and never fail.
TPdfText LayOutPdfPages(const std::vector<TPdfPage>& Pages);
