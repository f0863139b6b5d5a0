// The OpenDocument reader: the input is content.xml of an ODT (the container
// around it built here), or a whole file when it starts as a zip does.

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
    const std::string file = MakeZip(
        {{"mimetype", "application/vnd.oasis.opendocument.text"}, {"content.xml", input, true}});
    CheckRead(ReadDocument(file));
    // Tracked changes read as the original text take other paths.
    TReadOptions original;
    original.OriginalText = true;
    CheckRead(ReadDocument(file, original));
    return 0;
}
