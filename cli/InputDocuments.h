#pragma once

// The documents of an input that is not a plain text (Word, OpenDocument,
// patent-office XML, a web page), read through the documents library.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct TInputDocument {
    std::string Text;   // UTF-8, as the analysis reads it
    std::string Format; // "docx", "uspto-xml", ...; "text" for a plain text
    std::string Number; // the publication number, if the markup gives one
};

// Reads Bytes, which MayBeDocument, into Documents; Language picks the claims
// of a document that has several languages. Returns a message naming the
// input (Name) and what is wrong with it on failure.
std::optional<std::string> ReadInputDocuments(std::string_view Bytes, const std::string& Name,
                                              const std::string& Language,
                                              std::vector<TInputDocument>& Documents);
