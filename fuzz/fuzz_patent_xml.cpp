// The patent-office XML reader, on one document or many one after another,
// in every language a document may be asked for.

#include "fuzz_documents.h"

#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    std::string input(reinterpret_cast<const char*>(Data), Size);
    // The reader takes only what starts as markup.
    if (!input.starts_with("<"))
        input.insert(0, "<?xml version=\"1.0\"?>");
    CheckRead(ReadDocument(input));
    CheckRead(ReadDocument(input, QStringLiteral("de")));
    return 0;
}
