#pragma once

// Where each claim of a document read from printed pages (a PDF) stands on
// them, cited as patent people cite it: a two-column grant by column and
// line, a one-column publication by page and line.

#include "DocumentReader.h"

#include <QString>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class TClaimTree;

// A claim's first and last line on the printed pages.
struct TCitation {
    TLineOrigin First;
    TLineOrigin Last;
    bool operator==(const TCitation&) const = default;
};

// Where the lines of a text stand on the printed pages, one each: the first
// printed line of each, and its last (a line of text may join several
// printed lines); Last may be empty when each is one printed line.
struct TTextOrigins {
    const std::vector<TLineOrigin>& First;
    const std::vector<TLineOrigin>& Last;
};

// The citation of the claim that runs from line FirstLine to line LastLine
// (from 1) of a text whose lines stand where Lines says; none when either
// line has no origin.
std::optional<TCitation> LinesCitation(const TTextOrigins& Lines, int FirstLine, int LastLine);

// The citation of each claim of Tree, by its Index, read from Text, whose
// lines stand where Lines says. A claim ends on the line that holds the end
// of its text, and never past the line before the next claim. All empty when
// Lines has none (a text not read from printed pages).
std::vector<std::optional<TCitation>> ClaimCitations(const TClaimTree& Tree, std::string_view Text,
                                                     const TTextOrigins& Lines);

// As JSON: {"page": 14, "column": 28, "lines": [5, 22]}, or for a claim that
// runs over a column or page break, from where it starts to where it ends:
// {"page": 14, "column": 28, "line": 50, "to": {"page": 14, "column": 29,
// "line": 12}}. "column" only for columns numbered as printed, the lines only
// where the margin numbers them.
std::string CitationJson(const TCitation& Citation);

// As people write it: "col. 28, ll. 5–22", "page 3, ll. 10–25",
// "col. 28, l. 50 – col. 29, l. 12".
QString CitationText(const TCitation& Citation);
