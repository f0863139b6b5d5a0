#pragma once

#include "TextEncoding.h"

#include <QString>
#include <string>
#include <string_view>

// Document files: plain text, read byte for byte and written back in the
// encoding, byte order mark and line ends they were read with.

enum class TTextEncoding { Utf8, Windows1252, Utf8Bom, Utf16Le, Utf16Be };

// How a document's bytes stand for its text; Save writes them the same way.
struct TDocumentFormat {
    TTextEncoding Encoding = TTextEncoding::Utf8;
    TLineEnd LineEnd = TLineEnd::CrLf;
    // The pane shows bytes 30 and 31 as a non-breaking and a soft hyphen;
    // false when the text has such a character of its own, which would then
    // be written back as the byte.
    bool ShowsByte30 = true;
    bool ShowsByte31 = true;
};

// Why a document may not be saved; None when it may.
enum class TDocumentDamage { None, CutAtZeroByte, NotText };

// A document as read from its file.
struct TDocumentText {
    QString Shown;        // the input pane's text, line ends as line feeds
    std::string Analysed; // the bytes the analysis reads
    TDocumentFormat Format;
    TDocumentDamage Damage = TDocumentDamage::None;
};

// Reads the whole file into Bytes. False when it cannot be opened or read
// whole: missing, a directory, vanished while reading, or too large for memory.
bool ReadDocumentFile(const QString& FileName, std::string& Bytes);

// The document in a file's bytes. A text with a zero byte ends there and is
// marked CutAtZeroByte; one that holds no text is marked NotText. Text after a
// byte order mark is analysed as its Windows-1252 bytes, or as UTF-8 when a
// character has none.
TDocumentText ReadDocumentText(std::string_view Bytes);

// The text the input pane shows for a document's bytes, with its line ends as
// line feeds.
QString DecodeDocumentText(std::string_view Bytes, TDocumentFormat& Format);
QString DecodeDocumentText(std::string_view Bytes, TTextEncoding& Encoding);

// The bytes Save writes for the pane's text, in Format, byte order mark and
// line ends included; nothing is added after the last line. A Windows-1252
// document that gets a character Windows-1252 lacks becomes UTF-8 in Format.
std::string EncodeDocumentText(const QString& Text, TDocumentFormat& Format);

// The bytes the analysis reads for the pane's text, as ReadDocumentText
// gives them for a file of that text.
std::string AnalysedDocumentText(const QString& Text, const TDocumentFormat& Format);

// Writes Bytes through a temporary file beside FileName that replaces it only
// when complete, so a failed write leaves the old file as it was. Throws
// std::runtime_error("Cannot create file <name>") when it cannot.
void WriteDocumentFile(const QString& FileName, const std::string& Bytes);
