#include "MemoryStatus.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <limits>
#include <optional>
#include <string>
#include <sys/resource.h>
#include <sys/sysinfo.h>

namespace {

constexpr uint64_t MiB = 1024 * 1024;

std::string ReadWholeFile(const char* Name) {
    std::ifstream file(Name);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// The value of a "Key:   1234 kB" line, in bytes.
std::optional<uint64_t> KilobyteField(std::string_view Text, std::string_view Key) {
    std::size_t at = 0;
    while (at < Text.size()) {
        std::size_t end = Text.find('\n', at);
        if (end == std::string_view::npos)
            end = Text.size();
        const std::string_view line = Text.substr(at, end - at);
        at = end + 1;
        if (line.size() <= Key.size() || line.substr(0, Key.size()) != Key ||
            line[Key.size()] != ':')
            continue;
        uint64_t value = 0;
        bool digits = false;
        for (const char c : line.substr(Key.size() + 1)) {
            if (c >= '0' && c <= '9') {
                const auto digit = static_cast<uint64_t>(c - '0');
                if (value > (std::numeric_limits<uint64_t>::max() / 1024 - digit) / 10)
                    return std::nullopt;
                value = value * 10 + digit;
                digits = true;
            } else if (digits) {
                break;
            }
        }
        if (!digits)
            return std::nullopt;
        return value * 1024;
    }
    return std::nullopt;
}

// Share of physical memory in use, truncated.
uint32_t LoadPercent(uint64_t Total, uint64_t Available) {
    if (Total == 0 || Available >= Total)
        return 0;
    return static_cast<uint32_t>(static_cast<double>(Total - Available) * 100.0 /
                                 static_cast<double>(Total));
}

// Size of the user address space when no limit is set.
uint64_t AddressSpaceSize() {
#if defined(__aarch64__)
    return uint64_t{1} << 48;
#else
    return sizeof(void*) == 8 ? uint64_t{1} << 47 : uint64_t{3} << 30;
#endif
}

void ReadVirtual(TMemoryStatus& Status) {
    Status.TotalVirtual = AddressSpaceSize();
    rlimit limit{};
    if (getrlimit(RLIMIT_AS, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY)
        Status.TotalVirtual = std::min<uint64_t>(limit.rlim_cur, Status.TotalVirtual);
    const uint64_t used = KilobyteField(ReadWholeFile("/proc/self/status"), "VmSize").value_or(0);
    Status.AvailVirtual = used < Status.TotalVirtual ? Status.TotalVirtual - used : 0;
}

} // namespace

bool ReadMeminfo(std::string_view Text, TMemoryStatus& Status) {
    const std::optional<uint64_t> total = KilobyteField(Text, "MemTotal");
    if (!total)
        return false;
    std::optional<uint64_t> available = KilobyteField(Text, "MemAvailable");
    if (!available) {
        // Kernels before 3.14: free memory plus what the caches would give back.
        available = KilobyteField(Text, "MemFree").value_or(0) +
                    KilobyteField(Text, "Buffers").value_or(0) +
                    KilobyteField(Text, "Cached").value_or(0);
    }
    Status.TotalPhys = *total;
    Status.AvailPhys = std::min(*available, *total);
    Status.TotalPageFile = Status.TotalPhys + KilobyteField(Text, "SwapTotal").value_or(0);
    Status.AvailPageFile = Status.AvailPhys + KilobyteField(Text, "SwapFree").value_or(0);
    Status.MemoryLoad = LoadPercent(Status.TotalPhys, Status.AvailPhys);
    return true;
}

TMemoryStatus ReadMemoryStatus() {
    TMemoryStatus status;
    if (!ReadMeminfo(ReadWholeFile("/proc/meminfo"), status)) {
        struct sysinfo info {};
        if (sysinfo(&info) == 0) {
            const uint64_t unit = info.mem_unit;
            status.TotalPhys = info.totalram * unit;
            status.AvailPhys = (info.freeram + info.bufferram) * unit;
            status.TotalPageFile = status.TotalPhys + info.totalswap * unit;
            status.AvailPageFile = status.AvailPhys + info.freeswap * unit;
            status.MemoryLoad = LoadPercent(status.TotalPhys, status.AvailPhys);
        }
    }
    ReadVirtual(status);
    return status;
}

uint64_t MegabytesShown(uint64_t Bytes) {
    return Bytes < MiB ? 0 : Bytes / MiB + 1;
}
