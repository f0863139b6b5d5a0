#include "TextEncoding.h"

#include <gtest/gtest.h>

namespace {

TEST(TextEncoding, RecognisesStrictUtf8) {
    const std::pair<std::string, bool> cases[] = {
        {"plain ASCII", true},
        {"25 \xc2\xb0"
         "C",
         true},                     // degree sign
        {"\xe2\x80\x93", true},     // en dash
        {"\xf0\x9f\x98\x80", true}, // beyond the BMP
        {"25 \xb0"
         "C",
         false},                     // Windows-1252 degree sign
        {"\xc0\xaf", false},         // overlong
        {"\xe0\x80\xaf", false},     // overlong
        {"\xed\xa0\x80", false},     // surrogate
        {"\xf4\x90\x80\x80", false}, // above U+10FFFF
        {"\xe2\x80", false},         // cut short
        {"\x80", false},             // lone continuation byte
    };
    for (const auto& [bytes, valid] : cases)
        EXPECT_EQ(IsValidUtf8(bytes), valid) << bytes;
}

TEST(TextEncoding, ReadsWindows1252ByteForByte) {
    EXPECT_EQ(Windows1252ToUtf8("\xb0\xba\xa0"), "\xc2\xb0\xc2\xba\xc2\xa0");
    EXPECT_EQ(Windows1252ToUtf8("\x80\x96"), "\xe2\x82\xac\xe2\x80\x93");
    // The five undefined bytes keep their value as code points.
    EXPECT_EQ(Windows1252ToUtf8("\x81\x8d\x8f\x90\x9d"),
              "\xc2\x81\xc2\x8d\xc2\x8f\xc2\x90\xc2\x9d");
}

TEST(TextEncoding, EveryByteSurvivesTheRoundTrip) {
    std::string all;
    for (int b = 1; b < 256; ++b)
        all += static_cast<char>(b);
    std::string back;
    ASSERT_TRUE(Utf8ToWindows1252(Windows1252ToUtf8(all), back));
    EXPECT_EQ(back, all);
}

TEST(TextEncoding, RefusesCharactersWindows1252Lacks) {
    std::string bytes;
    EXPECT_FALSE(Utf8ToWindows1252("\xce\xb1", bytes)); // Greek alpha
    EXPECT_FALSE(Utf8ToWindows1252("\xc2\x85", bytes)); // U+0085, not the ellipsis byte
    EXPECT_TRUE(Utf8ToWindows1252("\xe2\x80\xa6", bytes));
    EXPECT_EQ(bytes, "\x85");
}

} // namespace
