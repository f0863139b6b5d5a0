#include "BuiltinExamples.h"

#include <array>
#include <string_view>

// Raw bytes of resources/examples/exampleN.txt, generated at build time.
std::string_view EmbeddedExampleFile(int Number);

namespace {

constexpr std::array<TBuiltinExample, BuiltinExampleCount> Examples = {{
    {"Example &1", "Veltrum - Example (US Patent 4777771)", "\\US patent 4777771.txt"},
    {"Example &2", "Veltrum - Example (Patent 7167713)", "\\7167713.txt"},
    {"Example &3", "Veltrum - Example (Patent 7271765)", "\\7271765.txt"},
    {"Example &4", "Veltrum - Example (Patent p70074ep00)", "\\p70074ep00.txt"},
    {"Example &5", "Veltrum - Example (Patent p80278ep00)", "\\p80278ep00.txt"},
}};

} // namespace

const TBuiltinExample& BuiltinExample(int Number) {
    return Examples.at(static_cast<std::size_t>(Number - 1));
}

std::string BuiltinExampleText(int Number) {
    if (Number < 1 || Number > BuiltinExampleCount)
        return {};
    // Lines as a text control holds them: split at CR LF, LF or CR.
    const std::string_view file = EmbeddedExampleFile(Number);
    std::string text;
    text.reserve(file.size() + file.size() / 32);
    std::size_t i = 0;
    while (i < file.size()) {
        std::size_t end = file.find_first_of("\r\n", i);
        if (end == std::string_view::npos)
            end = file.size();
        text.append(file.substr(i, end - i));
        text += "\r\n";
        i = end;
        if (i < file.size() && file[i] == '\r')
            ++i;
        else if (i < file.size())
            ++i; // a lone LF
        else
            break;
        if (file[i - 1] == '\r' && i < file.size() && file[i] == '\n')
            ++i;
    }
    return text;
}
