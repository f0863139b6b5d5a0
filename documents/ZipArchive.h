#pragma once

// The members of a zip container (Word and OpenDocument files), read from
// memory with every hostile trait refused rather than expanded.

#include <QByteArray>
#include <QString>
#include <string_view>

struct zip;

class TZipArchive {
public:
    // Opens the container in Bytes, which must outlive it; Error says why not.
    TZipArchive(std::string_view Bytes, QString& Error);
    TZipArchive(const TZipArchive&) = delete;
    TZipArchive& operator=(const TZipArchive&) = delete;
    ~TZipArchive();

    bool IsOpen() const { return archive != nullptr; }
    bool Has(const char* Name) const;
    // Reads member Name into Bytes; false with Error when it is missing,
    // encrypted, damaged, or would bring the bytes unpacked past the limit
    // or expand at a ratio no document needs.
    bool Read(const char* Name, QByteArray& Bytes, QString& Error);

private:
    zip* archive = nullptr;
    qint64 unpacked = 0; // over every member read so far
};
