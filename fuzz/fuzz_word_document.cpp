// The Word reader: the input is the body part of a DOCX (the container
// around it built here, with a fixed list numbering), or a whole file when
// it starts as a zip does.

#include "../tests/documents/TestZip.h"
#include "fuzz_documents.h"

#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    const std::string input(reinterpret_cast<const char*>(Data), Size);
    if (input.starts_with("PK")) {
        CheckRead(ReadDocument(input));
        TReadOptions original;
        original.OriginalText = true;
        CheckRead(ReadDocument(input, original));
        return 0;
    }
    const std::string numbering =
        "<w:numbering xmlns:w=\"w\"><w:abstractNum w:abstractNumId=\"1\"><w:lvl w:ilvl=\"0\">"
        "<w:start w:val=\"1\"/><w:lvlText w:val=\"%1.\"/></w:lvl><w:lvl w:ilvl=\"1\">"
        "<w:numFmt w:val=\"lowerRoman\"/><w:lvlText w:val=\"%1.%2)\"/></w:lvl></w:abstractNum>"
        "<w:num w:numId=\"1\"><w:abstractNumId w:val=\"1\"/></w:num></w:numbering>";
    const std::string file =
        MakeZip({{"word/document.xml", input, true}, {"word/numbering.xml", numbering}});
    CheckRead(ReadDocument(file));
    // Tracked changes read as the original text take other paths.
    TReadOptions original;
    original.OriginalText = true;
    CheckRead(ReadDocument(file, original));
    return 0;
}
