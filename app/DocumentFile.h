#pragma once

#include "DocumentCodec.h"

#include <QString>
#include <string>
#include <string_view>

// Document files: plain text, read byte for byte and written back in the
// encoding, byte order mark and line ends they were read with.

// Reads the whole file into Bytes. False when it cannot be opened or read
// whole: missing, a directory, vanished while reading, or too large for memory.
bool ReadDocumentFile(const QString& FileName, std::string& Bytes);

struct TDocumentRead;

// The document in a file's bytes: a plain text as ReadDocumentText reads it
// (Format empty), or the text read from a Word, OpenDocument, patent-office
// XML or web-page file (Format "docx" and so on), as UTF-8. Of a file of
// several documents, document Index (the first when out of range), its
// claims in Language (its own when empty or missing). All, when given,
// receives everything read. OriginalText reads tracked changes as the text
// was before them. False with Fault, a sentence, when such a file cannot be
// read.
bool ReadInputDocument(std::string_view Bytes, TDocumentText& Document, QString& Format,
                       QString& Fault, int Index = 0, const QString& Language = {},
                       TDocumentRead* All = nullptr, bool OriginalText = false);

// As ReadInputDocument, from what ReadDocument read (a PDF read elsewhere).
bool InputDocumentFrom(TDocumentRead Read, TDocumentText& Document, QString& Format, QString& Fault,
                       int Index = 0, TDocumentRead* All = nullptr);

// Writes Bytes to FileName (through symbolic links, to the file they name).
// A new or singly linked file is replaced by a complete temporary copy beside
// it that takes the old file's permissions and, where the user may give it,
// its owner. A file with other hard links is written in place once a complete
// copy is on disk and the space is reserved, so the links keep sharing it.
// Throws std::runtime_error("Cannot create file <name>") when it cannot; the
// old file is then as it was, or, should writing in place fail after all,
// the message names the copy that holds the text.
void WriteDocumentFile(const QString& FileName, const std::string& Bytes);
