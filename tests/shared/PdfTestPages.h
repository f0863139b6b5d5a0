#pragma once

// Lays out a text, one paragraph a line, as the words of printed patent pages
// with known positions: a two-column grant (running header, column numbers,
// line numbers 5, 10, ... in the gutter) or a one-column publication
// (header, margin line numbers, page number at the foot). Words are set in a
// fixed-pitch font, lines justified, long words broken with a hyphen at line
// ends. For the tests of the layout step and of whatever reads PDFs.

#include "PdfLayout.h"

#include <QStringList>
#include <vector>

enum class TPdfTestStyle { UsGrant, Ep };

struct TPdfTestLayout {
    TPdfTestStyle Style = TPdfTestStyle::UsGrant;
    int LinesPerColumn = 55;
    int FirstColumn = 1; // the printed number of the first page's left column
    int FirstPage = 1;   // the printed number of the first page (one column)
    bool Indent = true;  // paragraphs' first lines indented
    bool Hyphenate = true;
};

struct TPdfTestDocument {
    std::vector<TPdfPage> Pages;
    // Per non-empty paragraph: its text as the pages read back, and where
    // its first and last printed lines stand.
    QStringList Paragraphs;
    std::vector<TLineOrigin> First, Last;
};

TPdfTestDocument LayOutTestPages(const QStringList& Paragraphs, const TPdfTestLayout& Layout);

// Points: the body font's size, a character's advance and the line pitch.
constexpr double TestFontSize = 10;
constexpr double TestCharWidth = 5;
constexpr double TestLinePitch = 12;
