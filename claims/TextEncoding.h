#pragma once

#include <string>
#include <string_view>

// Texts arrive as bytes: UTF-8 from most Linux sources, Windows-1252 from
// older Windows ones. These decide which, and convert between them.

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool IsValidUtf8(std::string_view Bytes);

// Every byte as its Windows-1252 character, in UTF-8. The five bytes that
// Windows-1252 leaves undefined stand for the code point of the same value.
std::string Windows1252ToUtf8(std::string_view Bytes);

// The bytes as UTF-8 text: unchanged when valid UTF-8, else read as Windows-1252.
std::string DecodeToUtf8(std::string_view Bytes);

// Windows-1252 bytes of a UTF-8 text; false when a character has none.
bool Utf8ToWindows1252(std::string_view Utf8, std::string& Bytes);
