#pragma once

// Reading the text of one input: a file, or standard input for "-".

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The largest input read: a claim set is some kilobytes, so more is no text
// worth the memory.
inline constexpr int64_t MaxInputBytes = int64_t{256} << 20;
// A file the analysis reads where it lies, mapped, costs no copy: it may be
// larger.
inline constexpr int64_t MaxMappedBytes = int64_t{1} << 30;

// Whether bytes may be a document to read through the documents library (a
// zip container, a PDF or markup) rather than a plain text.
bool MayBeDocument(std::string_view Bytes);

// Reads the file, or standard input for "-", into Text as the analysis reads
// it (see DecodeForAnalysis): reading stops at the first zero byte of an
// unmarked text, a device is refused, and so is an input over MaxInputBytes.
// Bytes that MayBeDocument are kept whole and undecoded, and Document, when
// given, says so. Returns an error message on failure.
std::optional<std::string> ReadFile(const std::string& Name, std::string& Text,
                                    bool* Document = nullptr);

// The text of one input as the analysis reads it. A regular file that needs
// no decoding is mapped read-only, not copied; a file cut short while it is
// mapped ends the program with a message instead of a crash.
class TInputText {
public:
    TInputText() = default;
    explicit TInputText(std::string Text);
    TInputText(const TInputText&) = delete;
    TInputText& operator=(const TInputText&) = delete;
    ~TInputText();

    std::string_view View() const { return view; }
    // Whether View holds a document's whole bytes (see MayBeDocument).
    bool Document() const { return document; }

private:
    friend std::optional<std::string> ReadFile(const std::string& Name, TInputText& Text);
    void Unmap();

    std::string owned;
    void* mapped = nullptr;
    std::size_t mappedSize = 0;
    std::string_view view;
    bool document = false;
};

// As ReadFile above, into a mapping where it can; a regular file may then
// hold MaxMappedBytes.
std::optional<std::string> ReadFile(const std::string& Name, TInputText& Text);
