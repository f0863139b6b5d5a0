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

namespace {

QString FromUtf8(const std::string& Text) {
    return QString::fromUtf8(Text.data(), static_cast<qsizetype>(Text.size()));
}

// The pane's form of a text: line ends as line feeds, bytes 30 and 31 as
// hyphens where the text has no such hyphen of its own.
QString ShownText(QString Text, TDocumentFormat& Format) {
    Text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    Text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    Format.ShowsByte30 = !Text.contains(QChar(NonBreakingHyphen));
    Format.ShowsByte31 = !Text.contains(QChar(SoftHyphen));
    if (Format.ShowsByte30)
        Text.replace(QChar(NonBreakingHyphenByte), QChar(NonBreakingHyphen));
    if (Format.ShowsByte31)
        Text.replace(QChar(OptionalHyphenByte), QChar(SoftHyphen));
    return Text;
}

// The pane's text as UTF-8 with the document's own line ends and bytes.
std::string StoredUtf8(const QString& Text, const TDocumentFormat& Format) {
    QString lines = Text;
    lines.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    lines.replace(QChar::LineSeparator, QLatin1Char('\n'));
    if (Format.ShowsByte30)
        lines.replace(QChar(NonBreakingHyphen), QChar(NonBreakingHyphenByte));
    if (Format.ShowsByte31)
        lines.replace(QChar(SoftHyphen), QChar(OptionalHyphenByte));
    const std::string_view end = LineEndBytes(Format.LineEnd);
    if (end != "\n")
        lines.replace(QLatin1String("\n"), QLatin1String(end.data(), end.size()));
    return lines.toStdString();
}

// Cuts Text at its first zero byte; true when there was one.
bool CutAtZero(std::string_view& Text) {
    const std::size_t zero = Text.find('\0');
    if (zero == std::string_view::npos)
        return false;
    Text = Text.substr(0, zero);
    return true;
}

} // namespace

TDocumentText ReadDocumentText(std::string_view Bytes) {
    TDocumentText document;
    TDocumentFormat& format = document.Format;
    const TByteOrderMark mark = DetectByteOrderMark(Bytes);
    Bytes.remove_prefix(ByteOrderMarkBytes(mark).size());
    bool whole = true;
    bool cut = false;
    std::string utf8;
    if (mark == TByteOrderMark::Utf16Le || mark == TByteOrderMark::Utf16Be) {
        const bool bigEndian = mark == TByteOrderMark::Utf16Be;
        format.Encoding = bigEndian ? TTextEncoding::Utf16Be : TTextEncoding::Utf16Le;
        whole = Utf16ToUtf8(Bytes, bigEndian, utf8);
        std::string_view text = utf8;
        cut = CutAtZero(text);
        utf8.resize(text.size());
    } else {
        cut = CutAtZero(Bytes);
        const bool isUtf8 = IsValidUtf8(Bytes);
        if (mark == TByteOrderMark::Utf8) {
            format.Encoding = TTextEncoding::Utf8Bom;
            // A mark before bytes that are no UTF-8 cannot be written back.
            whole = isUtf8;
        } else {
            format.Encoding = isUtf8 ? TTextEncoding::Utf8 : TTextEncoding::Windows1252;
            document.Analysed = std::string(Bytes);
        }
        utf8 = isUtf8 ? std::string(Bytes) : Windows1252ToUtf8(Bytes);
    }
    if (mark != TByteOrderMark::None)
        document.Analysed = Windows1252OrUtf8(utf8);
    format.LineEnd = DetectLineEnd(utf8);
    document.Damage = cut                                        ? TDocumentDamage::CutAtZeroByte
                      : !whole || LooksBinary(document.Analysed) ? TDocumentDamage::NotText
                                                                 : TDocumentDamage::None;
    document.Shown = ShownText(FromUtf8(utf8), format);
    return document;
}

QString DecodeDocumentText(std::string_view Bytes, TDocumentFormat& Format) {
    TDocumentText document = ReadDocumentText(Bytes);
    Format = document.Format;
    return document.Shown;
}

QString DecodeDocumentText(std::string_view Bytes, TTextEncoding& Encoding) {
    TDocumentFormat format;
    QString shown = DecodeDocumentText(Bytes, format);
    Encoding = format.Encoding;
    return shown;
}

std::string EncodeDocumentText(const QString& Text, TDocumentFormat& Format) {
    const std::string utf8 = StoredUtf8(Text, Format);
    const auto marked = [](TByteOrderMark Mark, const std::string& Body) {
        return std::string(ByteOrderMarkBytes(Mark)) + Body;
    };
    switch (Format.Encoding) {
    case TTextEncoding::Windows1252: {
        std::string bytes;
        if (Utf8ToWindows1252(utf8, bytes))
            return bytes;
        Format.Encoding = TTextEncoding::Utf8;
        return utf8;
    }
    case TTextEncoding::Utf8:
        return utf8;
    case TTextEncoding::Utf8Bom:
        return marked(TByteOrderMark::Utf8, utf8);
    case TTextEncoding::Utf16Le:
        return marked(TByteOrderMark::Utf16Le, Utf8ToUtf16(utf8, false));
    case TTextEncoding::Utf16Be:
        return marked(TByteOrderMark::Utf16Be, Utf8ToUtf16(utf8, true));
    }
    return utf8;
}

std::string AnalysedDocumentText(const QString& Text, const TDocumentFormat& Format) {
    const std::string utf8 = StoredUtf8(Text, Format);
    return Format.Encoding == TTextEncoding::Utf8 ? utf8 : Windows1252OrUtf8(utf8);
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
