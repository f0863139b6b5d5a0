#include "TextEncoding.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <iconv.h>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// Code points of the bytes 0x80 to 0x9F; undefined bytes keep their value.
constexpr std::array<char32_t, 32> HighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char32_t Windows1252CodePoint(unsigned char b) {
    return b >= 0x80 && b <= 0x9F ? HighControls[b - 0x80] : char32_t{b};
}

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Decodes the character at i of valid UTF-8 and moves i past it.
char32_t NextCodePoint(std::string_view s, std::size_t& i) {
    const auto b = static_cast<unsigned char>(s[i]);
    int extra = b < 0x80 ? 0 : b < 0xE0 ? 1 : b < 0xF0 ? 2 : 3;
    char32_t cp = extra == 0 ? b : extra == 1 ? (b & 0x1F) : extra == 2 ? (b & 0x0F) : (b & 0x07);
    ++i;
    for (; extra > 0; --extra, ++i)
        cp = (cp << 6) | (static_cast<unsigned char>(s[i]) & 0x3F);
    return cp;
}

} // namespace

namespace {

constexpr uint64_t HighBits = 0x8080808080808080u;
[[maybe_unused]] constexpr uint64_t LowBits = 0x0101010101010101u;

// The length of the valid UTF-8 sequence that starts with the byte at i, a
// byte of 0x80 or more; 0 when there is none.
std::size_t SequenceLength(std::string_view Bytes, std::size_t i) {
    const auto b = static_cast<unsigned char>(Bytes[i]);
    std::size_t extra;
    unsigned char lo = 0x80, hi = 0xBF; // bounds of the second byte
    if (b >= 0xC2 && b <= 0xDF) {
        extra = 1;
    } else if (b >= 0xE0 && b <= 0xEF) {
        extra = 2;
        if (b == 0xE0)
            lo = 0xA0; // overlong
        if (b == 0xED)
            hi = 0x9F; // surrogates
    } else if (b >= 0xF0 && b <= 0xF4) {
        extra = 3;
        if (b == 0xF0)
            lo = 0x90; // overlong
        if (b == 0xF4)
            hi = 0x8F; // above U+10FFFF
    } else {
        return 0;
    }
    if (Bytes.size() - i <= extra)
        return 0;
    for (std::size_t k = 1; k <= extra; ++k) {
        const auto c = static_cast<unsigned char>(Bytes[i + k]);
        const unsigned char l = k == 1 ? lo : 0x80, h = k == 1 ? hi : 0xBF;
        if (c < l || c > h)
            return 0;
    }
    return extra + 1;
}

} // namespace

bool IsValidUtf8(std::string_view Bytes) {
    const std::size_t n = Bytes.size();
    std::size_t i = 0;
    while (i < n) {
        // Eight ASCII bytes at a time: documents are mostly ASCII, and this
        // check runs over every analysed text.
        uint64_t word = 0;
        while (n - i >= sizeof word &&
               (std::memcpy(&word, Bytes.data() + i, sizeof word), (word & HighBits) == 0))
            i += sizeof word;
        if (i == n)
            break;
        if (static_cast<unsigned char>(Bytes[i]) < 0x80) {
            ++i;
            continue;
        }
        const std::size_t length = SequenceLength(Bytes, i);
        if (length == 0)
            return false;
        i += length;
    }
    return true;
}

std::size_t ScanAnalysedText(std::string_view Text, bool& Utf8) {
    const std::size_t n = Text.size();
    const char* const data = Text.data();
    std::size_t i = 0;
    Utf8 = true;
    while (i < n) {
        // Blocks of ASCII without a zero byte are passed whole.
#if defined(__SSE2__)
        while (n - i >= 16) {
            const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
            if (_mm_movemask_epi8(_mm_or_si128(bytes, _mm_cmpeq_epi8(bytes, _mm_setzero_si128()))))
                break;
            i += 16;
        }
#else
        // The test for a zero byte may also stop at a high byte, which is
        // looked at anyway.
        uint64_t word = 0;
        while (n - i >= sizeof word && (std::memcpy(&word, data + i, sizeof word),
                                        ((word | ((word - LowBits) & ~word)) & HighBits) == 0))
            i += sizeof word;
#endif
        const std::size_t stop = std::min(n, i + 16);
        for (; i < stop; ++i) {
            const auto b = static_cast<unsigned char>(data[i]);
            if (b == 0)
                return i;
            if (b < 0x80 || !Utf8)
                continue;
            // A sequence cut by a zero byte is invalid: its continuation
            // bytes are 0x80 or more.
            const std::size_t length = SequenceLength(Text, i);
            Utf8 = length != 0;
            if (length > 1)
                i += length - 1;
        }
    }
    return n;
}

std::size_t FindLineBreak(std::string_view Text, std::size_t From) {
    const std::size_t n = Text.size();
    const char* const data = Text.data();
    std::size_t i = std::min(From, n);
#if defined(__SSE2__)
    for (; n - i >= 16; i += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
        const int breaks =
            _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(bytes, _mm_set1_epi8('\n')),
                                           _mm_cmpeq_epi8(bytes, _mm_set1_epi8('\r'))));
        if (breaks != 0)
            return i + static_cast<std::size_t>(std::countr_zero(static_cast<unsigned>(breaks)));
    }
#endif
    while (i < n && data[i] != '\n' && data[i] != '\r')
        ++i;
    return i;
}

std::string Windows1252ToUtf8(std::string_view Bytes) {
    std::string out;
    out.reserve(Bytes.size() + Bytes.size() / 8);
    for (char c : Bytes)
        AppendUtf8(out, Windows1252CodePoint(static_cast<unsigned char>(c)));
    return out;
}

std::string DecodeToUtf8(std::string_view Bytes) {
    return IsValidUtf8(Bytes) ? std::string(Bytes) : Windows1252ToUtf8(Bytes);
}

bool Utf8ToWindows1252(std::string_view Utf8, std::string& Bytes) {
    Bytes.clear();
    Bytes.reserve(Utf8.size());
    if (!IsValidUtf8(Utf8))
        return false;
    std::size_t i = 0;
    while (i < Utf8.size()) {
        const char32_t cp = NextCodePoint(Utf8, i);
        if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
            Bytes += static_cast<char>(cp);
            continue;
        }
        bool found = false;
        for (std::size_t k = 0; k < HighControls.size(); ++k) {
            if (HighControls[k] == cp) {
                Bytes += static_cast<char>(0x80 + k);
                found = true;
                break;
            }
        }
        if (!found)
            return false;
    }
    return true;
}

std::string Windows1252OrUtf8(const std::string& Utf8) {
    std::string bytes;
    const bool single = Utf8ToWindows1252(Utf8, bytes) && (bytes == Utf8 || !IsValidUtf8(bytes));
    return single ? bytes : Utf8;
}

namespace {

struct TLegacyCjk {
    TLegacyCjkEncoding Encoding;
    const char* Name;
    const char* IconvName; // the Windows form, a superset of the standard one
    // Claim words and headings in this encoding: "权利要求", "權利要求"; "請求項";
    // "청구항", "청구범위".
    std::array<std::string_view, 2> Marks;
};

constexpr TLegacyCjk LegacyCjk[] = {
    {TLegacyCjkEncoding::Gb18030,
     "GB18030",
     "GB18030",
     {"\xc8\xa8\xc0\xfb\xd2\xaa\xc7\xf3", "\x99\xe0\xc0\xfb\xd2\xaa\xc7\xf3"}},
    {TLegacyCjkEncoding::ShiftJis, "Shift_JIS", "CP932", {"\x90\xbf\x8b\x81\x8d\x80", ""}},
    {TLegacyCjkEncoding::EucKr,
     "EUC-KR",
     "CP949",
     {"\xc3\xbb\xb1\xb8\xc7\xd7", "\xc3\xbb\xb1\xb8\xb9\xfc\xc0\xa7"}},
};

// The whole of Bytes from the encoding Name as UTF-8; false at the first
// byte sequence it does not hold.
bool ConvertStrictly(std::string_view Bytes, const char* Name, std::string& Utf8) {
    const iconv_t cd = ::iconv_open("UTF-8", Name);
    if (cd == reinterpret_cast<iconv_t>(-1))
        return false;
    std::string out(Bytes.size() + Bytes.size() / 2 + 16, '\0');
    char* in = const_cast<char*>(Bytes.data());
    std::size_t inLeft = Bytes.size();
    std::size_t done = 0;
    bool ok = true;
    while (inLeft > 0) {
        char* to = out.data() + done;
        std::size_t outLeft = out.size() - done;
        const std::size_t r = ::iconv(cd, &in, &inLeft, &to, &outLeft);
        done = out.size() - outLeft;
        if (r != static_cast<std::size_t>(-1))
            continue;
        if (errno != E2BIG) {
            ok = false; // a sequence the encoding lacks, or one cut off at the end
            break;
        }
        out.resize(out.size() * 2);
    }
    ::iconv_close(cd);
    if (!ok)
        return false;
    out.resize(done);
    Utf8 = std::move(out);
    return true;
}

} // namespace

TLegacyCjkEncoding DecodeLegacyCjk(std::string_view Bytes, std::string& Utf8) {
    for (const TLegacyCjk& legacy : LegacyCjk) {
        const bool marked = std::any_of(legacy.Marks.begin(), legacy.Marks.end(), [&](auto m) {
            return !m.empty() && Bytes.find(m) != std::string_view::npos;
        });
        if (marked && ConvertStrictly(Bytes, legacy.IconvName, Utf8))
            return legacy.Encoding;
    }
    return TLegacyCjkEncoding::None;
}

const char* LegacyCjkName(TLegacyCjkEncoding Encoding) {
    for (const TLegacyCjk& legacy : LegacyCjk) {
        if (legacy.Encoding == Encoding)
            return legacy.Name;
    }
    return "";
}

bool DecodeForAnalysis(std::string& Bytes) {
    const auto cutAtZero = [](std::string& Text) {
        if (const std::size_t zero = Text.find('\0'); zero != std::string::npos)
            Text.resize(zero);
    };
    const TByteOrderMark mark = DetectByteOrderMark(Bytes);
    if (mark == TByteOrderMark::None) {
        cutAtZero(Bytes);
        if (std::string utf8;
            !IsValidUtf8(Bytes) && DecodeLegacyCjk(Bytes, utf8) != TLegacyCjkEncoding::None)
            Bytes = std::move(utf8);
        return true;
    }
    const std::string_view body = std::string_view(Bytes).substr(ByteOrderMarkBytes(mark).size());
    std::string utf8;
    bool whole = true;
    if (mark == TByteOrderMark::Utf8) {
        utf8 = body;
        cutAtZero(utf8);
        // Bytes after the mark that are no UTF-8 are read as Windows-1252.
        if (!IsValidUtf8(utf8))
            utf8 = Windows1252ToUtf8(utf8);
    } else {
        whole = Utf16ToUtf8(body, mark == TByteOrderMark::Utf16Be, utf8);
        cutAtZero(utf8);
    }
    Bytes = Windows1252OrUtf8(utf8);
    return whole;
}

TByteOrderMark DetectByteOrderMark(std::string_view Bytes) {
    if (Bytes.starts_with("\xEF\xBB\xBF"))
        return TByteOrderMark::Utf8;
    if (Bytes.starts_with("\xFF\xFE"))
        return TByteOrderMark::Utf16Le;
    if (Bytes.starts_with("\xFE\xFF"))
        return TByteOrderMark::Utf16Be;
    return TByteOrderMark::None;
}

std::string_view ByteOrderMarkBytes(TByteOrderMark Mark) {
    switch (Mark) {
    case TByteOrderMark::Utf8:
        return "\xEF\xBB\xBF";
    case TByteOrderMark::Utf16Le:
        return "\xFF\xFE";
    case TByteOrderMark::Utf16Be:
        return "\xFE\xFF";
    case TByteOrderMark::None:
        break;
    }
    return {};
}

bool Utf16ToUtf8(std::string_view Bytes, bool BigEndian, std::string& Utf8) {
    Utf8.clear();
    Utf8.reserve(Bytes.size());
    const std::size_t units = Bytes.size() / 2;
    const auto unit = [&](std::size_t k) {
        const auto a = static_cast<unsigned char>(Bytes[2 * k]);
        const auto b = static_cast<unsigned char>(Bytes[2 * k + 1]);
        return static_cast<char32_t>(BigEndian ? (a << 8) | b : (b << 8) | a);
    };
    constexpr char32_t Replacement = 0xFFFD;
    bool whole = Bytes.size() % 2 == 0;
    for (std::size_t k = 0; k < units; ++k) {
        const char32_t u = unit(k);
        if (u >= 0xD800 && u <= 0xDBFF && k + 1 < units) {
            const char32_t low = unit(k + 1);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                AppendUtf8(Utf8, 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00));
                ++k;
                continue;
            }
        }
        if (u >= 0xD800 && u <= 0xDFFF) {
            AppendUtf8(Utf8, Replacement);
            whole = false;
            continue;
        }
        AppendUtf8(Utf8, u);
    }
    if (Bytes.size() % 2 != 0)
        AppendUtf8(Utf8, Replacement);
    return whole;
}

std::string Utf8ToUtf16(std::string_view Utf8, bool BigEndian) {
    // Decoding assumes valid UTF-8; anything else is read as Windows-1252.
    std::string decoded;
    if (!IsValidUtf8(Utf8)) {
        decoded = Windows1252ToUtf8(Utf8);
        Utf8 = decoded;
    }
    std::string out;
    out.reserve(Utf8.size() * 2);
    const auto put = [&](char32_t u) {
        const auto hi = static_cast<char>((u >> 8) & 0xFF), lo = static_cast<char>(u & 0xFF);
        out += BigEndian ? hi : lo;
        out += BigEndian ? lo : hi;
    };
    std::size_t i = 0;
    while (i < Utf8.size()) {
        const char32_t cp = NextCodePoint(Utf8, i);
        if (cp >= 0x10000) {
            put(0xD800 + ((cp - 0x10000) >> 10));
            put(0xDC00 + ((cp - 0x10000) & 0x3FF));
        } else {
            put(cp);
        }
    }
    return out;
}

TLineEnd DetectLineEnd(std::string_view Text) {
    const std::size_t at = Text.find_first_of("\r\n");
    if (at == std::string_view::npos)
        return TLineEnd::CrLf;
    if (Text[at] == '\n')
        return TLineEnd::Lf;
    return at + 1 < Text.size() && Text[at + 1] == '\n' ? TLineEnd::CrLf : TLineEnd::Cr;
}

std::string_view LineEndBytes(TLineEnd End) {
    return End == TLineEnd::Lf ? "\n" : End == TLineEnd::Cr ? "\r" : "\r\n";
}

bool LooksBinary(std::string_view Bytes) {
    std::size_t controls = 0;
    for (const char c : Bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x20 && b != '\t' && b != '\n' && b != '\v' && b != '\f' && b != '\r' &&
            b != 0x1A && b != 0x1B && c != NonBreakingHyphenByte && c != OptionalHyphenByte)
            ++controls;
    }
    return controls > 0 && controls * 100 > Bytes.size();
}
