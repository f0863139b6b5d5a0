#pragma once

// The documents of an input that is not a plain text (Word, OpenDocument,
// patent-office XML, a web page, a PDF), read through the documents library.

#include "ClaimChecks.h"
#include "DocumentReader.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct TInputDocument {
    std::string Text;   // UTF-8, as the analysis reads it
    std::string Format; // "docx", "uspto-xml", ...; "text" for a plain text
    std::string Number; // the publication number, if the markup gives one
    // Of a PDF: where each line of Text stands on the pages, and whether
    // some of it was recognised from page images.
    std::vector<TLineOrigin> LineOrigins;
    std::vector<TLineOrigin> LastLineOrigins;
    bool Ocr = false;
    std::vector<TMarkupLink> Links = {}; // the markup's own claim links, if any
    // What could not be read as asked ("has no claims in language de (it
    // has en)"), said on standard error; the document is read all the same.
    std::string Note = {};
};

// Reads Bytes, which MayBeDocument, into Documents; Language picks the claims
// of a document that has several languages, Ocr recognises the pages of a
// PDF that have no text, OriginalText reads tracked changes as the text was
// before them. Returns a message naming the input (Name) and what is wrong
// with it on failure.
std::optional<std::string> ReadInputDocuments(std::string_view Bytes, const std::string& Name,
                                              const std::string& Language,
                                              std::vector<TInputDocument>& Documents,
                                              bool Ocr = true, bool OriginalText = false);
