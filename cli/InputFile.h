#pragma once

// Reading the text of one input: a file, or standard input for "-".

#include <cstdint>
#include <optional>
#include <string>

// The largest input read: a claim set is some kilobytes, so more is no text
// worth the memory.
inline constexpr int64_t MaxInputBytes = int64_t{256} << 20;

// Reads the file, or standard input for "-", into Text as the analysis reads
// it (see DecodeForAnalysis): reading stops at the first zero byte of an
// unmarked text, a device is refused, and so is an input over MaxInputBytes.
// Returns an error message on failure.
std::optional<std::string> ReadFile(const std::string& Name, std::string& Text);
