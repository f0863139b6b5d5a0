#pragma once

#include <string>
#include <string_view>

// Texts arrive as bytes: UTF-8 from most Linux sources, Windows-1252 from
// older Windows ones. These decide which, and convert between them.

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool IsValidUtf8(std::string_view Bytes);

// The length of Text up to its first zero byte, and in Utf8 whether that part
// is valid UTF-8: both in one pass, eight bytes at a time over ASCII.
std::size_t ScanAnalysedText(std::string_view Text, bool& Utf8);

// The first CR or LF in Text at or after From; Text.size() when there is none.
// Sixteen bytes at a time: line scans cross every byte of a document.
std::size_t FindLineBreak(std::string_view Text, std::size_t From);

// Every byte as its Windows-1252 character, in UTF-8. The five bytes that
// Windows-1252 leaves undefined stand for the code point of the same value.
std::string Windows1252ToUtf8(std::string_view Bytes);

// The bytes as UTF-8 text: unchanged when valid UTF-8, else read as Windows-1252.
std::string DecodeToUtf8(std::string_view Bytes);

// Windows-1252 bytes of a UTF-8 text; false when a character has none.
bool Utf8ToWindows1252(std::string_view Utf8, std::string& Bytes);

// The Windows-1252 bytes of a text, or its UTF-8 when a character has none,
// or when the bytes would read as other characters taken as UTF-8.
std::string Windows1252OrUtf8(const std::string& Utf8);

// Byte order marks: UTF-8 (EF BB BF) and UTF-16 little and big endian.
enum class TByteOrderMark { None, Utf8, Utf16Le, Utf16Be };

// The mark the bytes start with, if any.
TByteOrderMark DetectByteOrderMark(std::string_view Bytes);
// The bytes of the mark; empty for None.
std::string_view ByteOrderMarkBytes(TByteOrderMark Mark);

// UTF-16 code units (without their mark) as UTF-8. An odd last byte or an
// unpaired surrogate becomes U+FFFD and makes the answer false: such a text
// cannot be written back as it was.
bool Utf16ToUtf8(std::string_view Bytes, bool BigEndian, std::string& Utf8);
// Valid UTF-8 as UTF-16 code units, without a mark.
std::string Utf8ToUtf16(std::string_view Utf8, bool BigEndian);

// Chinese, Japanese and Korean files from older systems.
enum class TLegacyCjkEncoding { None, Gb18030, ShiftJis, EucKr };

// The encoding that Bytes, which are no UTF-8, are plainly in, with their text
// as UTF-8 in Utf8: the bytes of a claim word of the language ("权利要求",
// "請求項", "청구항") are there, and the whole text converts without a fault.
// None, and Utf8 untouched, for anything else: such bytes stay Windows-1252.
TLegacyCjkEncoding DecodeLegacyCjk(std::string_view Bytes, std::string& Utf8);
// "GB18030", "Shift_JIS", "EUC-KR"; "" for None.
const char* LegacyCjkName(TLegacyCjkEncoding Encoding);

// Turns a file's bytes, in place, into the text the analysis reads, as the
// window does: a byte order mark removed, UTF-16 decoded, and the text cut at
// its first zero character; a marked text that Windows-1252 holds becomes
// Windows-1252 again. Unmarked bytes are only cut, but for those plainly in a
// Chinese, Japanese or Korean encoding, which become UTF-8. False when UTF-16 had an
// odd last byte or an unpaired surrogate.
bool DecodeForAnalysis(std::string& Bytes);

// How the lines of a text end, as the first line end shows; CR LF when the
// text has none (what Windows editors write).
enum class TLineEnd { CrLf, Lf, Cr };
TLineEnd DetectLineEnd(std::string_view Text);
std::string_view LineEndBytes(TLineEnd End);

// Whether the bytes are no text: control bytes other than tab, line and page
// ends, escape, end of file and the word processor's hyphens 30 and 31 make
// up more than one byte in a hundred. Zero bytes are the caller's concern.
bool LooksBinary(std::string_view Bytes);

// A word processor writes a non-breaking hyphen as byte 30 and an optional
// hyphen as byte 31; the panes show them as these characters.
inline constexpr char NonBreakingHyphenByte = '\x1e';
inline constexpr char OptionalHyphenByte = '\x1f';
inline constexpr char16_t NonBreakingHyphen = 0x2011;
inline constexpr char16_t SoftHyphen = 0x00AD;
