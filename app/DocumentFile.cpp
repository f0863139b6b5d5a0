#include "DocumentFile.h"

#include "TextEncoding.h"

#include <QFile>
#include <QSaveFile>
#include <cstdio>
#include <memory>
#include <new>
#include <stdexcept>

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

QString DecodeDocumentText(std::string_view Bytes, TTextEncoding& Encoding) {
    const bool utf8 = IsValidUtf8(Bytes);
    Encoding = utf8 ? TTextEncoding::Utf8 : TTextEncoding::Windows1252;
    const std::string text = utf8 ? std::string(Bytes) : Windows1252ToUtf8(Bytes);
    QString decoded = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    decoded.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    decoded.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return decoded;
}

std::string EncodeDocumentText(const QString& Text, TTextEncoding Encoding, TTextEncoding* Used) {
    QString lines = Text;
    lines.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    lines.replace(QChar::LineSeparator, QLatin1Char('\n'));
    if (!lines.isEmpty() && !lines.endsWith(QLatin1Char('\n')))
        lines += QLatin1Char('\n');
    lines.replace(QLatin1String("\n"), QLatin1String("\r\n"));
    const QByteArray utf8 = lines.toUtf8();
    const std::string_view bytes(utf8.constData(), static_cast<std::size_t>(utf8.size()));
    if (Encoding == TTextEncoding::Windows1252) {
        std::string windows1252;
        if (Utf8ToWindows1252(bytes, windows1252)) {
            if (Used != nullptr)
                *Used = TTextEncoding::Windows1252;
            return windows1252;
        }
    }
    if (Used != nullptr)
        *Used = TTextEncoding::Utf8;
    return std::string(bytes);
}

void WriteDocumentFile(const QString& FileName, const std::string& Bytes) {
    QSaveFile file(FileName);
    const bool written = file.open(QIODevice::WriteOnly) &&
                         file.write(Bytes.data(), static_cast<qint64>(Bytes.size())) ==
                             static_cast<qint64>(Bytes.size()) &&
                         // commit() misses a failure of the final flush (a full
                         // disk) and would rename a cut file into place.
                         file.flush() && file.commit();
    if (!written)
        throw std::runtime_error("Cannot create file " + FileName.toStdString());
}
