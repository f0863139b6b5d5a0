// The web-page reader: any tag soup, with or without claim markup.

#include "fuzz_documents.h"

#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    std::string input(reinterpret_cast<const char*>(Data), Size);
    input.insert(0, "<html>");
    CheckRead(ReadDocument(input));
    return 0;
}
