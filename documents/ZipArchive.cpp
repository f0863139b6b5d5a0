#include "ZipArchive.h"

#include "DocumentReader.h"

#include <zip.h>

namespace {

// Text compresses some ten to fifty times; five hundred is a bomb, not a
// document. Small members may exceed it (a run of spaces), so it applies
// past a megabyte.
constexpr qint64 MaxRatio = 500;
constexpr qint64 RatioFrom = qint64{1} << 20;

} // namespace

TZipArchive::TZipArchive(std::string_view Bytes, QString& Error) {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(Bytes.data(), Bytes.size(), 0, &error);
    if (source != nullptr) {
        archive = zip_open_from_source(source, ZIP_RDONLY | ZIP_CHECKCONS, &error);
        if (archive == nullptr)
            zip_source_free(source);
    }
    if (archive == nullptr) {
        const int code = zip_error_code_zip(&error);
        Error = code == ZIP_ER_NOZIP || code == ZIP_ER_INCONS
                    ? QStringLiteral("is a damaged or truncated zip container")
                    : QStringLiteral("cannot be opened as a zip container: ") +
                          QString::fromUtf8(zip_error_strerror(&error));
    }
    zip_error_fini(&error);
}

TZipArchive::~TZipArchive() {
    if (archive != nullptr)
        zip_discard(archive);
}

bool TZipArchive::Has(const char* Name) const {
    return archive != nullptr && zip_name_locate(archive, Name, 0) >= 0;
}

bool TZipArchive::Read(const char* Name, QByteArray& Bytes, QString& Error) {
    Bytes.clear();
    const QString member = QString::fromUtf8(Name);
    const zip_int64_t index = archive != nullptr ? zip_name_locate(archive, Name, 0) : -1;
    if (index < 0) {
        Error = QStringLiteral("lacks its part %1").arg(member);
        return false;
    }
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat_index(archive, static_cast<zip_uint64_t>(index), 0, &stat) != 0) {
        Error = QStringLiteral("has a damaged part %1").arg(member);
        return false;
    }
    if ((stat.valid & ZIP_STAT_ENCRYPTION_METHOD) && stat.encryption_method != ZIP_EM_NONE) {
        Error =
            QStringLiteral("is encrypted (part %1): save it without a password first").arg(member);
        return false;
    }
    const auto size = static_cast<qint64>(stat.size);
    const auto packed = static_cast<qint64>(stat.comp_size);
    if (size > MaxUnpackedBytes - unpacked ||
        (size > RatioFrom && size / std::max<qint64>(packed, 1) > MaxRatio)) {
        Error = QStringLiteral("unpacks to more than a document holds (part %1)").arg(member);
        return false;
    }
    zip_file_t* file = zip_fopen_index(archive, static_cast<zip_uint64_t>(index), 0);
    if (file == nullptr) {
        const int code = zip_error_code_zip(zip_get_error(archive));
        Error = code == ZIP_ER_NOPASSWD || code == ZIP_ER_WRONGPASSWD
                    ? QStringLiteral("is encrypted (part %1): save it without a password first")
                          .arg(member)
                    : QStringLiteral("has a damaged part %1").arg(member);
        return false;
    }
    // The stated size may lie: read no more than it, and one byte to tell.
    Bytes.resize(static_cast<qsizetype>(size + 1));
    qint64 have = 0;
    bool good = true;
    for (;;) {
        const zip_int64_t got =
            zip_fread(file, Bytes.data() + have, static_cast<zip_uint64_t>(size + 1 - have));
        if (got < 0) {
            good = false;
            break;
        }
        if (got == 0)
            break;
        have += got;
        if (have > size) {
            good = false;
            break;
        }
    }
    zip_fclose(file);
    if (!good || have != size) {
        Bytes.clear();
        Error = QStringLiteral("has a damaged or truncated part %1").arg(member);
        return false;
    }
    Bytes.resize(static_cast<qsizetype>(have));
    unpacked += have;
    return true;
}
