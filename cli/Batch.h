#pragma once

// Analysing many files at once, each on its own, on several threads.

#include "InputDocuments.h"
#include "InputFile.h"
#include "ModeReport.h"

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

// Whether the arguments ask for batch use: several files, or a folder.
bool IsBatch(const std::vector<std::string>& Arguments);

// The files of a batch in argument order, each folder replaced by its .txt,
// .docx, .odt, .xml, .html, .htm and .pdf files sorted by name. A folder
// that cannot be listed, or holds none, adds a message to Errors.
std::vector<std::string> BatchFiles(const std::vector<std::string>& Arguments,
                                    std::vector<std::string>& Errors);

// Analyses every file of Arguments on Jobs threads and writes the reports in
// argument order: a line or block per file prefixed with its name, or one
// JSON object per line with a "file" key. Returns the exit status: 2 when a
// file could not be read, else 3 when a tree was over MaxNodes, else 1 when
// --check found an error, else 0.
int RunBatch(const std::vector<std::string>& Arguments, const TReportOptions& Options, int Jobs,
             std::ostream& Out, std::ostream& Err);

// A pretty-printed JSON object on one line, with "file": File as its first
// key, followed by Keys ("key": value, ... each with its comma and blank).
std::string JsonLine(std::string_view Pretty, std::string_view File, std::string_view Keys = {});

// The worse of two exit statuses: 2, then 3, then 1, then 0.
int WorseStatus(int a, int b);

// How the reports name Document, one of All read from the file that messages
// call Name and reports File: its format unless it is a plain text, and when
// the file holds several, its number, as "File#Number" on each line and as
// "document" in JSON.
TReportInput DocumentInput(const std::string& Name, const std::string& File,
                           const TInputDocument& Document, const std::vector<TInputDocument>& All,
                           bool Batched);
