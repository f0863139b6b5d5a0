#pragma once

#include <QString>
#include <string>
#include <string_view>

// Document files: plain text, read byte for byte, written back with CR LF.

enum class TTextEncoding { Utf8, Windows1252 };

// Reads the whole file into Bytes. False when it cannot be opened or read
// whole: missing, a directory, vanished while reading, or too large for memory.
bool ReadDocumentFile(const QString& FileName, std::string& Bytes);

// The text the input pane shows for a document's bytes, with its line ends as
// line feeds: UTF-8 when the bytes are valid UTF-8, else Windows-1252.
QString DecodeDocumentText(std::string_view Bytes, TTextEncoding& Encoding);

// The bytes Save writes for the pane's text: every line ended by CR LF, in
// Encoding, or in UTF-8 when Windows-1252 cannot hold every character. Used,
// when given, receives the encoding written.
std::string EncodeDocumentText(const QString& Text, TTextEncoding Encoding,
                               TTextEncoding* Used = nullptr);

// Writes Bytes through a temporary file beside FileName that replaces it only
// when complete, so a failed write leaves the old file as it was. Throws
// std::runtime_error("Cannot create file <name>") when it cannot.
void WriteDocumentFile(const QString& FileName, const std::string& Bytes);
