#pragma once

// Word, OpenDocument, patent-office XML and saved web pages read into the text
// a person reads in them: claim numbers that the markup or a list's automatic
// numbering makes are written out, so that the analysis reads them as it
// reads a typed text.

#include <QString>
#include <QStringList>
#include <functional>
#include <string_view>
#include <vector>

// A claim link the markup itself makes (a claim reference element), from the
// claim holding it to the claim it names.
struct TClaimLink {
    int From = 0;
    int To = 0;
    bool operator==(const TClaimLink&) const = default;
};

// One language's claims in a document that has several.
struct TClaimsBlock {
    QString Language; // as marked ("en", "de"), empty when unmarked
    QString Text;     // the claims, each starting a line with its number
    std::vector<TClaimLink> Links;
};

// Where a line of a document's Text stands on the printed pages (PDF), for
// citing it as patent people do: "col. 12, ll. 5-20" or "page 3, line 15".
struct TLineOrigin {
    int Page = 0;   // the page number as printed, else the PDF page from 1
    int Column = 0; // the column number as printed (two-column grants); 0 when none
    int Line = 0;   // the line number the margin counts; 0 when none
    bool operator==(const TLineOrigin&) const = default;
};

// One document of a file (a weekly patent-office file holds many).
struct TReadDocument {
    QString Number;   // the publication number, e.g. "US1234567B2"; may be empty
    QString Title;    // may be empty
    QString Text;     // the text as read, lines broken by line feeds
    QString Language; // the language of the claims read into Text
    std::vector<TClaimsBlock> ClaimsBlocks; // every language's claims
    std::vector<TClaimLink> Links;          // of the claims in Text
    // One per line of Text for a document read from printed pages (PDF);
    // empty for every other format.
    std::vector<TLineOrigin> LineOrigins;
    // One per line of Text with LineOrigins: where its last printed line
    // stands (a line of Text joins a paragraph's printed lines).
    std::vector<TLineOrigin> LastLineOrigins;
    bool Ocr = false; // some of Text was recognised from page images
    // What could not be read as asked, e.g. "has no claims in language de
    // (it has en)" of one document of a weekly file; empty when all was.
    QString Note;
};

// A file's documents, or what keeps it from being read.
struct TDocumentRead {
    // "docx", "odt", "uspto-xml", "epo-xml", "st36-xml", "st96-xml", "html",
    // "pdf", "text"; empty when the file could not be read.
    QString Format;
    std::vector<TReadDocument> Documents; // at least one when Error is empty
    QString Error;                        // what is wrong, e.g. "is an encrypted Word document"
};

// The format the bytes hold, from their content alone: "docx", "odt", "xml"
// (a patent-office kind decided when read), "html", "pdf", "zip" (no
// document this program reads), or "text".
QString DetectDocumentFormat(std::string_view Bytes);

// Reads a file's bytes. Language picks the claims when a document has them in
// several ("de"); empty takes the language of the proceedings, else English,
// else the first. Hostile files are refused with an Error, never expanded:
// zip members past MaxUnpackedBytes in all or of a wild ratio, encrypted
// members, XML entity declarations and nesting past MaxNestingDepth.
TDocumentRead ReadDocument(std::string_view Bytes, const QString& Language = {});

// How a file is read, beyond its bytes.
struct TReadOptions {
    // The claims language, as for ReadDocument above.
    QString Language;
    // Tracked changes read as the text was before them (deletions kept,
    // insertions dropped) rather than as accepted.
    bool OriginalText = false;
    // Pages without a text layer are recognised from their image.
    bool Ocr = false;
    // Called now and then while a long file is read (pages of a PDF); returns
    // false to stop the reading, which then ends with Error "was cancelled".
    std::function<bool(int Done, int Total)> Progress;
};

TDocumentRead ReadDocument(std::string_view Bytes, const TReadOptions& Options);

// A format as the window's caption names it: "a Word document".
QString DocumentFormatName(const QString& Format);

inline constexpr qint64 MaxUnpackedBytes = qint64{256} << 20;
inline constexpr int MaxNestingDepth = 256;
