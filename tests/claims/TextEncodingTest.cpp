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
    // The scan for the analysis stops at a zero byte, at any place in an
    // eight-byte word, and judges only what precedes it.
    for (const auto& [bytes, valid] : cases) {
        for (std::size_t lead = 0; lead < 17; ++lead) {
            const std::string before = std::string(lead, 'a') + bytes;
            for (const std::string& after :
                 {std::string(), std::string("\0\x80", 2), std::string("\0\0", 2)}) {
                bool utf8 = !valid;
                EXPECT_EQ(ScanAnalysedText(before + after, utf8), before.size()) << before;
                EXPECT_EQ(utf8, valid) << before;
            }
        }
    }
    // A sequence cut by a zero byte is none.
    bool utf8 = true;
    EXPECT_EQ(ScanAnalysedText(std::string("ab\xe2\x80\0\x93", 6), utf8), 4u);
    EXPECT_FALSE(utf8);
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

// "A", euro sign, grinning face beyond the BMP, CR LF.
const std::string Sample = "A\xe2\x82\xac\xf0\x9f\x98\x80\r\n";

TEST(TextEncoding, Utf16BothWays) {
    const std::string le("A\0\xac\x20\x3d\xd8\x00\xde\r\0\n\0", 12);
    const std::string be("\0A\x20\xac\xd8\x3d\xde\x00\0\r\0\n", 12);
    EXPECT_EQ(Utf8ToUtf16(Sample, false), le);
    EXPECT_EQ(Utf8ToUtf16(Sample, true), be);
    std::string text;
    EXPECT_TRUE(Utf16ToUtf8(le, false, text));
    EXPECT_EQ(text, Sample);
    EXPECT_TRUE(Utf16ToUtf8(be, true, text));
    EXPECT_EQ(text, Sample);
}

TEST(TextEncoding, BrokenUtf16IsReadButNotWhole) {
    const std::pair<std::string, std::string> cases[] = {
        {std::string("A\0B", 3), "A\xef\xbf\xbd"}, // odd last byte
        {std::string("\x3d\xd8"
                     "A\0",
                     4),
         "\xef\xbf\xbd"
         "A"},                                            // lone high surrogate
        {std::string("\x00\xde", 2), "\xef\xbf\xbd"},     // lone low surrogate
        {std::string("A\0\x3d\xd8", 4), "A\xef\xbf\xbd"}, // high surrogate at the end
    };
    for (const auto& [bytes, expected] : cases) {
        std::string text;
        EXPECT_FALSE(Utf16ToUtf8(bytes, false, text));
        EXPECT_EQ(text, expected);
    }
}

TEST(TextEncoding, ByteOrderMarks) {
    const std::pair<std::string, TByteOrderMark> cases[] = {
        {"\xef\xbb\xbf"
         "1.",
         TByteOrderMark::Utf8},
        {"\xff\xfe"
         "1",
         TByteOrderMark::Utf16Le},
        {"\xfe\xff"
         "1",
         TByteOrderMark::Utf16Be},
        {"\xef\xbb", TByteOrderMark::None}, // cut short
        {"\xff", TByteOrderMark::None},
        {"1. \xff\xfe", TByteOrderMark::None}, // not at the start
    };
    for (const auto& [bytes, mark] : cases) {
        EXPECT_EQ(DetectByteOrderMark(bytes), mark) << bytes;
        EXPECT_TRUE(bytes.starts_with(ByteOrderMarkBytes(mark)));
    }
}

TEST(TextEncoding, FirstLineEndDecides) {
    const std::pair<std::string, TLineEnd> cases[] = {
        {"a\r\nb\nc", TLineEnd::CrLf}, {"a\nb\r\n", TLineEnd::Lf},   {"a\rb\r\n", TLineEnd::Cr},
        {"a\r", TLineEnd::Cr},         {"one line", TLineEnd::CrLf}, {"", TLineEnd::CrLf},
    };
    for (const auto& [text, end] : cases)
        EXPECT_EQ(DetectLineEnd(text), end) << text;
}

TEST(TextEncoding, ControlBytesMakeBinary) {
    const std::string text = "1. A pump.\r\n\t2. A valve\x1e"
                             "coupling\x1f"
                             "ring.\f\x1a";
    const std::pair<std::string, bool> cases[] = {
        {text, false},
        {"", false},
        {std::string(200, 'a') + "\x01", false}, // one stray byte in a long text
        {"\x89PNG\r\n\x1a\n\x02\x03", true},     // a picture's header
        {std::string(50, 'a') + "\x07\x08", true},
    };
    for (const auto& [bytes, binary] : cases)
        EXPECT_EQ(LooksBinary(bytes), binary) << bytes;
}

} // namespace

// What the analysis reads of a file's bytes: UTF-16 cut at a zero character,
// not at the zero byte its first ASCII character holds.
TEST(TextEncoding, DecodedForAnalysis) {
    using namespace std::string_literals;
    struct TCase {
        std::string Bytes;
        std::string Analysed;
        bool Whole = true;
    };
    const TCase cases[] = {
        {"1. A \x80 pump\0tail"s, "1. A \x80 pump"}, // unmarked: only cut
        {"\xef\xbb\xbf"
         "1. A \xe2\x82\xac\0x"s,
         "1. A \x80"}, // UTF-8 mark, euro as 1252
        {"\xef\xbb\xbf"
         "1. \x80"s,
         "1. \x80"}, // mark before 1252 bytes
        {"\xff\xfe"
         "1\0.\0 \0\xac\x20\0\0x\0"s,
         "1. \x80"}, // LE, cut at U+0000
        {"\xfe\xff\0"
         "1\0.\0 \x21\x92"s,
         "1. \xe2\x86\x92"}, // BE, arrow stays UTF-8
        {"\xfe\xff\0"
         "1\0"s,
         "1\xef\xbf\xbd", false}, // odd last byte
        {"\xc8\xa8\xc0\xfb\xd2\xaa\xc7\xf3\x31"s,
         "\xe6\x9d\x83\xe5\x88\xa9\xe8\xa6\x81\xe6\xb1\x82\x31"}, // GB18030 "权利要求1"
        {"\xc8\xa8\xc0\xfb\xd2\xaa\xc7\xf3\x81"s,
         "\xc8\xa8\xc0\xfb\xd2\xaa\xc7\xf3\x81"}, // cut off inside a character: left as it is
        {"Gr\xf6\xdf\x65 \xc8\xa8"s, "Gr\xf6\xdf\x65 \xc8\xa8"}, // 1252 without a claim word
    };
    for (const auto& [bytes, analysed, whole] : cases) {
        std::string text = bytes;
        EXPECT_EQ(DecodeForAnalysis(text), whole) << bytes;
        EXPECT_EQ(text, analysed) << bytes;
    }
}
