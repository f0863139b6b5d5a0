#include "FullTextReport.h"

#include "FullClaimText.h"
#include "Report.h"
#include "TextEncoding.h"

bool WriteFullTextReport(std::ostream& Out, const TClaimTree& Tree, int64_t Number,
                         bool InputIsUtf8) {
    if (Number < 0 || Number >= ClaimTableSize)
        return false;
    const auto& nodes = Tree.NodesByClaim[static_cast<std::size_t>(Number)];
    if (nodes.empty())
        return false;
    Out << "{\n  \"claim\": " << Number << ",\n  \"path\": [";
    bool first = true;
    for (const TClaim* claim : ClaimPath(*nodes.front())) {
        Out << (first ? "\n" : ",\n") << "    { \"number\": " << claim->Number << ", \"text\": "
            << JsonString(InputIsUtf8 ? claim->Text : Windows1252ToUtf8(claim->Text)) << " }";
        first = false;
    }
    Out << "\n  ]\n}\n";
    return true;
}
