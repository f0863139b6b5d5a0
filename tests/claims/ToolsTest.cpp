#include "Tools.h"

#include <gtest/gtest.h>

namespace {

using Words = std::vector<std::string>;

struct TokenizeCase {
    std::string Text;
    std::string Delimiters;
    Words Expected;
};

TEST(Tokenize, SplitsAtDelimitersAndDropsEmptyWords) {
    const TokenizeCase cases[] = {
        {"", "\n", {}},
        {"\n\n\n", "\n", {}},
        {"one", "\n", {"one"}},
        {"\none\n\ntwo\n", "\n", {"one", "two"}},
        {"a\r\nb\r\n", "\n", {"a\r", "b\r"}}, // CR stays in its piece
        {"claims 1, 2", " ,", {"claims", "1", "2"}},
        {std::string("a\0b", 3), std::string("\0", 1), {"a", "b"}},
        {"\xe9t\xe9", "\xe9", {"t"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Tokenize(c.Text, c.Delimiters), c.Expected) << c.Text;
}

TEST(LowerAscii, LowersOnlyAsciiCapitals) {
    const std::pair<std::string, std::string> cases[] = {
        {"", ""},
        {"Claim CLAIMS Anspruch", "claim claims anspruch"},
        {"@[`{", "@[`{"},                 // neighbours of the letter ranges
        {"\xc4\xd6\xdc", "\xc4\xd6\xdc"}, // accented capitals stay
        {"1-3 \x1e", "1-3 \x1e"},
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(LowerAscii(in), out);
}

} // namespace
