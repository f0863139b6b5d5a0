#include "DocumentFile.h"

#include "DocumentReader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <memory>
#include <new>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

bool ReadDocumentFile(const QString& FileName, std::string& Bytes) {
    Bytes.clear();
    const QByteArray name = QFile::encodeName(FileName);
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(name.constData(), "rb"),
                                                               &std::fclose);
    if (!file)
        return false;
    try {
        if (std::fseek(file.get(), 0, SEEK_END) == 0) {
            const long size = std::ftell(file.get());
            if (size > 0)
                Bytes.reserve(static_cast<std::size_t>(size));
            std::rewind(file.get());
        }
        char buffer[1 << 16];
        std::size_t got;
        while ((got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0)
            Bytes.append(buffer, got);
    } catch (const std::bad_alloc&) {
        Bytes = std::string();
        return false;
    } catch (const std::length_error&) {
        Bytes = std::string();
        return false;
    }
    if (std::ferror(file.get())) {
        Bytes = std::string();
        return false;
    }
    return true;
}

namespace {

// Writes all of Bytes at Offset, or at the file position when Offset is -1.
bool WriteAll(int File, const std::string& Bytes, off_t Offset) {
    std::size_t done = 0;
    while (done < Bytes.size()) {
        const ssize_t wrote = Offset < 0 ? ::write(File, Bytes.data() + done, Bytes.size() - done)
                                         : ::pwrite(File, Bytes.data() + done, Bytes.size() - done,
                                                    Offset + static_cast<off_t>(done));
        if (wrote < 0 && errno == EINTR)
            continue;
        if (wrote <= 0)
            return false;
        done += static_cast<std::size_t>(wrote);
    }
    return true;
}

// A new file beside Path, not there before, with Mode less the umask.
int CreateTemporary(const QString& Path, mode_t Mode, QByteArray& Name) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        Name = QFile::encodeName(Path) + '.' +
               QByteArray::number(QRandomGenerator::global()->generate() & 0xFFFFFF, 36);
        const int file = ::open(Name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, Mode);
        if (file >= 0 || errno != EEXIST)
            return file;
    }
    return -1;
}

void SyncFolder(const QString& Path) {
    const int folder =
        ::open(QFile::encodeName(QFileInfo(Path).absolutePath()).constData(), O_RDONLY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
}

} // namespace

void WriteDocumentFile(const QString& FileName, const std::string& Bytes) {
    const std::runtime_error failure("Cannot create file " + FileName.toStdString());
    // Saving through a link writes the file it names and keeps the link.
    const QFileInfo info(FileName);
    const QString path = info.exists()      ? info.canonicalFilePath()
                         : info.isSymLink() ? info.symLinkTarget()
                                            : FileName;
    const QByteArray name = QFile::encodeName(path);
    struct stat old {};
    const bool exists = ::stat(name.constData(), &old) == 0;
    // Neither a folder nor a device is replaced by a file; a file the user
    // may not write stays as it is.
    if (exists && (!S_ISREG(old.st_mode) || ::access(name.constData(), W_OK) != 0))
        throw failure;

    QByteArray temporary;
    const int file = CreateTemporary(path, exists ? 0600 : 0666, temporary);
    if (file < 0)
        throw failure;
    bool written = WriteAll(file, Bytes, -1) && ::fsync(file) == 0;
    if (written && exists && old.st_nlink == 1) {
        // The owner first: changing it clears the set-user-ID bits.
        if (::fchown(file, old.st_uid, old.st_gid) != 0)
            (void)::fchown(file, static_cast<uid_t>(-1), old.st_gid);
        written = ::fchmod(file, old.st_mode & 07777) == 0;
    }
    written = ::close(file) == 0 && written;
    if (!written) {
        ::unlink(temporary.constData());
        throw failure;
    }
    if (!exists || old.st_nlink == 1) {
        if (::rename(temporary.constData(), name.constData()) != 0) {
            ::unlink(temporary.constData());
            throw failure;
        }
        SyncFolder(path);
        return;
    }

    // Other names share this file: write it in place, the copy standing by.
    const int shared = ::open(name.constData(), O_WRONLY | O_CLOEXEC);
    if (shared < 0) {
        ::unlink(temporary.constData());
        throw failure;
    }
    const off_t size = static_cast<off_t>(Bytes.size());
    // Space reserved first: a full disk stops the save before any byte changes.
    if (size > 0 && ::fallocate(shared, FALLOC_FL_KEEP_SIZE, 0, size) != 0 && errno != EOPNOTSUPP &&
        errno != ENOSYS) {
        ::close(shared);
        ::unlink(temporary.constData());
        throw failure;
    }
    const bool inPlace =
        WriteAll(shared, Bytes, 0) && ::ftruncate(shared, size) == 0 && ::fsync(shared) == 0;
    if (::close(shared) != 0 || !inPlace)
        throw std::runtime_error("Cannot create file " + FileName.toStdString() +
                                 "; the text is saved in " +
                                 QFile::decodeName(temporary).toStdString());
    ::unlink(temporary.constData());
}

bool ReadInputDocument(std::string_view Bytes, TDocumentText& Document, QString& Format,
                       QString& Fault, int Index, const QString& Language, TDocumentRead* All,
                       bool OriginalText) {
    Format.clear();
    Fault.clear();
    if (All != nullptr)
        *All = TDocumentRead();
    if (DetectDocumentFormat(Bytes) == QLatin1String("text")) {
        Document = ReadDocumentText(Bytes);
        return true;
    }
    TReadOptions options;
    options.Language = Language;
    options.OriginalText = OriginalText;
    TDocumentRead read = ReadDocument(Bytes, options);
    // A language the chosen document lacks: its own instead.
    if (!read.Error.isEmpty() && !Language.isEmpty()) {
        options.Language.clear();
        read = ReadDocument(Bytes, options);
    }
    if (read.Format == QLatin1String("text")) {
        Document = ReadDocumentText(Bytes);
        return true;
    }
    return InputDocumentFrom(std::move(read), Document, Format, Fault, Index, All);
}

bool InputDocumentFrom(TDocumentRead Read, TDocumentText& Document, QString& Format, QString& Fault,
                       int Index, TDocumentRead* All) {
    TDocumentRead& read = Read;
    Format.clear();
    Fault.clear();
    if (All != nullptr)
        *All = TDocumentRead();
    if (!read.Error.isEmpty()) {
        Fault = QStringLiteral("The file ") + read.Error + u'.';
        return false;
    }
    const std::size_t index = Index >= 0 && static_cast<std::size_t>(Index) < read.Documents.size()
                                  ? static_cast<std::size_t>(Index)
                                  : 0;
    Document = TDocumentText();
    Document.Shown = read.Documents[index].Text;
    const QByteArray utf8 = Document.Shown.toUtf8();
    Document.Analysed.assign(utf8.constData(), static_cast<std::size_t>(utf8.size()));
    Format = read.Format;
    if (All != nullptr)
        *All = std::move(read);
    return true;
}
