#include "InputFile.h"

#include "TextEncoding.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <string_view>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Size is empty when it is not known: the input was read up to the limit.
std::string TooLarge(const std::string& Name, const std::string& Size,
                     int64_t Limit = MaxInputBytes) {
    return Name + (Size.empty() ? " holds" : " is " + Size + " bytes,") + " more than the " +
           std::to_string(Limit) + " bytes a text may have";
}

constexpr std::size_t MaxBytes = static_cast<std::size_t>(MaxInputBytes);

// Reads Fd to its end, or to its first zero byte unless the text starts with
// a UTF-16 mark (whose characters hold zero bytes) or is a zip container or
// a PDF; nothing past the limit.
std::optional<std::string> ReadStream(int Fd, const std::string& Name, std::string& Bytes) {
    char buffer[1 << 16];
    for (;;) {
        const ssize_t got = ::read(Fd, buffer, sizeof buffer);
        if (got == 0)
            return std::nullopt;
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return "cannot read " + Name + ": " + std::strerror(errno);
        }
        std::string_view chunk(buffer, static_cast<std::size_t>(got));
        // A mark may arrive split over two reads; earlier bytes hold no zero.
        const TByteOrderMark mark =
            DetectByteOrderMark(Bytes.substr(0, 2) + std::string(chunk.substr(0, 2)));
        const bool wide = mark == TByteOrderMark::Utf16Le || mark == TByteOrderMark::Utf16Be;
        const std::string head = Bytes.substr(0, 5) + std::string(chunk.substr(0, 5));
        // Zip containers and PDFs are binary files, zero bytes and all.
        const bool binary = head.starts_with("PK") || head.starts_with("%PDF-");
        const std::size_t zero = wide || binary ? std::string_view::npos : chunk.find('\0');
        chunk = chunk.substr(0, zero);
        const std::size_t need = Bytes.size() + chunk.size();
        if (need > MaxBytes)
            return TooLarge(Name, {});
        // Doubling near the limit would hold old and new copies of a quarter
        // of a gigabyte each: jump to the limit from half of it instead.
        if (need > Bytes.capacity()) {
            const std::size_t doubled = 2 * Bytes.capacity();
            Bytes.reserve(std::max(need, doubled > MaxBytes / 2 ? MaxBytes : doubled));
        }
        Bytes.append(chunk);
        if (zero != std::string_view::npos)
            return std::nullopt;
    }
}

// Reads a regular file of Size bytes with one sized read (more when the
// system returns it in parts, or the file shrank meanwhile).
std::optional<std::string> ReadSized(int Fd, const std::string& Name, std::size_t Size,
                                     std::string& Bytes) {
    Bytes.resize(Size);
    std::size_t have = 0;
    while (have < Size) {
        const ssize_t got = ::read(Fd, Bytes.data() + have, Size - have);
        if (got == 0)
            break;
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return "cannot read " + Name + ": " + std::strerror(errno);
        }
        have += static_cast<std::size_t>(got);
    }
    Bytes.resize(have);
    return std::nullopt;
}

// The message for a mapped file that was cut short, ready before the signal
// comes: its handler may only write it out.
std::string CutShortMessage;

extern "C" void OnCutShort(int) {
    [[maybe_unused]] const ssize_t written =
        ::write(STDERR_FILENO, CutShortMessage.data(), CutShortMessage.size());
    ::_exit(2); // as for any input that cannot be read
}

// Maps a regular file of Size bytes when it is an unmarked text; null when
// it is marked or cannot be mapped, to be read instead.
void* MapFile(int Fd, const std::string& Name, std::size_t Size) {
    void* map = ::mmap(nullptr, Size, PROT_READ, MAP_PRIVATE, Fd, 0);
    if (map == MAP_FAILED)
        return nullptr;
    const std::string_view bytes(static_cast<const char*>(map), Size);
    CutShortMessage = "veltrum-claims: " + Name + " was cut short while it was read\n";
    struct sigaction action {};
    action.sa_handler = OnCutShort;
    ::sigaction(SIGBUS, &action, nullptr);
    if (DetectByteOrderMark(bytes) != TByteOrderMark::None) {
        ::munmap(map, Size);
        return nullptr;
    }
    return map;
}

// Reads the input into Bytes, or maps it into Mapped when Mapped is given and
// the input allows it.
std::optional<std::string> ReadBytes(const std::string& Name, std::string& Bytes,
                                     void** Mapped = nullptr, std::size_t* MappedSize = nullptr) {
    if (Name == "-")
        return ReadStream(STDIN_FILENO, "standard input", Bytes);
    // Not blocking: opening a named pipe without a writer would wait for one.
    const int fd = ::open(Name.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return "cannot open " + Name + ": " + std::strerror(errno);
    struct stat status {};
    std::optional<std::string> error;
    if (::fstat(fd, &status) != 0) {
        error = "cannot read " + Name + ": " + std::strerror(errno);
    } else if (S_ISCHR(status.st_mode) || S_ISBLK(status.st_mode)) {
        // /dev/zero and disks never end, or end far past any text.
        error = Name + " is a device, not a file";
    } else if (S_ISDIR(status.st_mode)) {
        error = "cannot read " + Name + ": " + std::strerror(EISDIR);
    } else if (S_ISREG(status.st_mode) && status.st_size > 0) {
        const auto size = static_cast<std::size_t>(status.st_size);
        const int64_t limit = Mapped != nullptr ? MaxMappedBytes : MaxInputBytes;
        if (status.st_size > limit)
            error = TooLarge(Name, std::to_string(status.st_size), limit);
        else if (Mapped != nullptr && (*Mapped = MapFile(fd, Name, size)) != nullptr)
            *MappedSize = size;
        else if (status.st_size > MaxInputBytes) // to be decoded, or not mappable
            error = TooLarge(Name, std::to_string(status.st_size));
        else
            error = ReadSized(fd, Name, size, Bytes);
    } else {
        // Pipes, and files that tell no size (as under /proc).
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
        error = ReadStream(fd, Name, Bytes);
    }
    ::close(fd);
    return error;
}

} // namespace

bool MayBeDocument(std::string_view Bytes) {
    if (Bytes.starts_with("PK\x03\x04") || Bytes.starts_with("PK\x05\x06") ||
        Bytes.starts_with("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1") || Bytes.starts_with("%PDF-"))
        return true;
    if (Bytes.starts_with("\xEF\xBB\xBF"))
        Bytes.remove_prefix(3);
    const std::size_t start = Bytes.find_first_not_of(" \t\r\n");
    return start != std::string_view::npos &&
           (Bytes[start] == '<' || Bytes.substr(start).starts_with("%PDF-"));
}

std::optional<std::string> ReadFile(const std::string& Name, std::string& Text, bool* Document) {
    if (auto error = ReadBytes(Name, Text))
        return error;
    const bool document = MayBeDocument(Text);
    if (Document != nullptr)
        *Document = document;
    if (!document || Document == nullptr)
        DecodeForAnalysis(Text);
    return std::nullopt;
}

TInputText::TInputText(std::string Text) : owned(std::move(Text)), view(owned) {}

TInputText::~TInputText() {
    Unmap();
}

void TInputText::Unmap() {
    if (mapped != nullptr)
        ::munmap(mapped, mappedSize);
    mapped = nullptr;
    mappedSize = 0;
}

std::optional<std::string> ReadFile(const std::string& Name, TInputText& Text) {
    Text.Unmap();
    Text.owned.clear();
    Text.view = {};
    Text.document = false;
    if (auto error = ReadBytes(Name, Text.owned, &Text.mapped, &Text.mappedSize))
        return error;
    if (Text.mapped != nullptr) {
        const std::string_view bytes(static_cast<const char*>(Text.mapped), Text.mappedSize);
        Text.document = MayBeDocument(bytes);
        if (Text.document) {
            Text.view = bytes;
            return std::nullopt;
        }
        Text.view = bytes.substr(0, bytes.find('\0'));
        // Chinese, Japanese and Korean files of older systems are read as UTF-8.
        if (std::string utf8; !IsValidUtf8(Text.view) &&
                              DecodeLegacyCjk(Text.view, utf8) != TLegacyCjkEncoding::None) {
            Text.owned = std::move(utf8);
            Text.view = Text.owned;
        }
        return std::nullopt;
    }
    Text.document = MayBeDocument(Text.owned);
    if (Text.document) {
        Text.view = Text.owned;
        return std::nullopt;
    }
    DecodeForAnalysis(Text.owned);
    Text.view = Text.owned;
    return std::nullopt;
}
