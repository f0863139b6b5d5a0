#pragma once

// Zip containers built in memory for the readers' tests: stored or deflated
// members, with the header fields a hostile file lies in.

#include <cstdint>
#include <string>
#include <vector>
#include <zlib.h>

struct TZipMember {
    std::string Name;
    std::string Data;
    bool Deflate = false;
    bool Encrypted = false;  // the flag only: what a reader must refuse
    int64_t StatedSize = -1; // the unpacked size the headers claim; -1 for the true one
};

inline std::string Deflated(const std::string& Data) {
    z_stream z{};
    deflateInit2(&z, 9, Z_DEFLATED, -15, 9, Z_DEFAULT_STRATEGY);
    std::string out(deflateBound(&z, Data.size()), '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(Data.data()));
    z.avail_in = static_cast<uInt>(Data.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = static_cast<uInt>(out.size());
    deflate(&z, Z_FINISH);
    out.resize(z.total_out);
    deflateEnd(&z);
    return out;
}

inline std::string MakeZip(const std::vector<TZipMember>& Members) {
    std::string zip, central;
    const auto put = [](std::string& To, uint64_t Value, int Bytes) {
        for (int i = 0; i < Bytes; ++i)
            To += static_cast<char>((Value >> (8 * i)) & 0xFF);
    };
    for (const TZipMember& m : Members) {
        const std::string data = m.Deflate ? Deflated(m.Data) : m.Data;
        const uint32_t crc = static_cast<uint32_t>(crc32(
            0, reinterpret_cast<const Bytef*>(m.Data.data()), static_cast<uInt>(m.Data.size())));
        const uint64_t size =
            m.StatedSize < 0 ? m.Data.size() : static_cast<uint64_t>(m.StatedSize);
        const auto header = [&](std::string& To, bool Central) {
            put(To, Central ? 0x02014b50 : 0x04034b50, 4);
            if (Central)
                put(To, 20, 2);
            put(To, 20, 2);
            put(To, m.Encrypted ? 1 : 0, 2);
            put(To, m.Deflate ? 8 : 0, 2);
            put(To, 0, 4); // time and date
            put(To, crc, 4);
            put(To, data.size(), 4);
            put(To, size, 4);
            put(To, m.Name.size(), 2);
            put(To, 0, 2);
            if (Central) {
                put(To, 0, 2); // comment
                put(To, 0, 2); // disk
                put(To, 0, 2); // attributes, inside
                put(To, 0, 4); // and outside
                put(To, zip.size(), 4);
            }
            To += m.Name;
        };
        header(central, true);
        header(zip, false);
        zip += data;
    }
    const std::size_t at = zip.size();
    zip += central;
    put(zip, 0x06054b50, 4);
    put(zip, 0, 4);
    put(zip, Members.size(), 2);
    put(zip, Members.size(), 2);
    put(zip, central.size(), 4);
    put(zip, at, 4);
    put(zip, 0, 2);
    return zip;
}
