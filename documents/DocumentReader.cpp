#include "DocumentReader.h"

#include "DocumentCodec.h"
#include "DocumentReaders.h"
#include "ZipArchive.h"

#include <QHash>
#include <utility>

namespace {

bool StartsWith(std::string_view Bytes, std::string_view Start) {
    return Bytes.substr(0, Start.size()) == Start;
}

// The bytes after a UTF-8 mark and leading whitespace.
std::string_view Content(std::string_view Bytes) {
    if (StartsWith(Bytes, "\xEF\xBB\xBF"))
        Bytes.remove_prefix(3);
    const std::size_t start = Bytes.find_first_not_of(" \t\r\n");
    return start == std::string_view::npos ? std::string_view() : Bytes.substr(start);
}

// Whether the start of a markup text names an HTML page.
bool LooksLikeHtml(std::string_view Markup) {
    std::string head(Markup.substr(0, 4096));
    for (char& c : head)
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    for (const char* tag : {"<!doctype html", "<html", "<head", "<body"})
        if (head.find(tag) != std::string::npos)
            return true;
    return false;
}

TDocumentRead ReadAsText(std::string_view Bytes) {
    TTextEncoding encoding;
    return OneDocumentRead(QStringLiteral("text"), DecodeDocumentText(Bytes, encoding));
}

} // namespace

QString DetectDocumentFormat(std::string_view Bytes) {
    if (StartsWith(Content(Bytes), "%PDF-"))
        return QStringLiteral("pdf");
    if (StartsWith(Bytes, "PK\x03\x04") || StartsWith(Bytes, "PK\x05\x06")) {
        QString error;
        TZipArchive zip(Bytes, error);
        if (zip.Has("word/document.xml"))
            return QStringLiteral("docx");
        if (zip.Has("content.xml") && zip.Has("mimetype"))
            return QStringLiteral("odt");
        return QStringLiteral("zip");
    }
    const std::string_view markup = Content(Bytes);
    if (!markup.empty() && markup.front() == '<') {
        if (LooksLikeHtml(markup))
            return QStringLiteral("html");
        if (markup.size() > 1 && (markup[1] == '?' || markup[1] == '!' ||
                                  std::isalpha(static_cast<unsigned char>(markup[1]))))
            return QStringLiteral("xml");
    }
    return QStringLiteral("text");
}

QString AttributeOf(const QXmlStreamReader& Reader, const char* Local) {
    for (const QXmlStreamAttribute& a : Reader.attributes())
        if (a.name() == QLatin1String(Local))
            return a.value().toString();
    return {};
}

TDocumentRead OneDocumentRead(const QString& Format, QString Text, const QString& Error) {
    TDocumentRead read;
    if (!Error.isEmpty()) {
        read.Error = Error;
        return read;
    }
    read.Format = Format;
    read.Documents.push_back({});
    read.Documents.front().Text = std::move(Text);
    return read;
}

TDocumentRead ReadDocument(std::string_view Bytes, const QString& Language) {
    TReadOptions options;
    options.Language = Language;
    return ReadDocument(Bytes, options);
}

TDocumentRead ReadDocument(std::string_view Bytes, const TReadOptions& Options) {
    const QString& Language = Options.Language;
    TDocumentRead read;
    if (Bytes.empty()) {
        read.Error = QStringLiteral("is empty");
        return read;
    }
    // Word saves a document with a password as an OLE compound file, as it
    // saved every document before DOCX.
    if (StartsWith(Bytes, "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1")) {
        read.Error = QStringLiteral("is an encrypted Word document or an old binary .doc file: "
                                    "save it as DOCX without a password first");
        return read;
    }
    const QString format = DetectDocumentFormat(Bytes);
    if (format == QLatin1String("docx") || format == QLatin1String("odt") ||
        format == QLatin1String("zip")) {
        QString error;
        TZipArchive zip(Bytes, error);
        if (!zip.IsOpen())
            read.Error = error;
        else if (format == QLatin1String("docx"))
            read = ReadWordDocument(zip, Options.OriginalText);
        else if (format == QLatin1String("odt"))
            read = ReadOpenDocumentText(zip, Options.OriginalText);
        else
            read.Error =
                QStringLiteral("is a zip container that holds no Word or OpenDocument text");
    } else if (format == QLatin1String("xml")) {
        read = ReadPatentXml(Bytes, Language);
        // A text that only starts with "<" is still a text; a file that
        // declares itself XML is not.
        if (!read.Error.isEmpty() && !Content(Bytes).starts_with("<?xml"))
            return ReadAsText(Bytes);
    } else if (format == QLatin1String("html")) {
        read = ReadHtmlPage(Bytes);
    } else if (format == QLatin1String("pdf")) {
        read = ReadPdfDocument(Bytes, Options);
    } else {
        return ReadAsText(Bytes);
    }
    if (read.Error.isEmpty() && read.Documents.empty())
        read.Error = QStringLiteral("holds no document");
    if (!read.Error.isEmpty()) {
        read.Documents.clear();
        read.Format.clear();
    }
    return read;
}

QString DocumentFormatName(const QString& Format) {
    static const QHash<QString, QString> names{
        {QStringLiteral("docx"), QStringLiteral("a Word document")},
        {QStringLiteral("odt"), QStringLiteral("an OpenDocument text")},
        {QStringLiteral("uspto-xml"), QStringLiteral("USPTO XML")},
        {QStringLiteral("epo-xml"), QStringLiteral("EPO XML")},
        {QStringLiteral("st36-xml"), QStringLiteral("patent-office XML")},
        {QStringLiteral("st96-xml"), QStringLiteral("ST.96 XML")},
        {QStringLiteral("html"), QStringLiteral("a web page")},
        {QStringLiteral("pdf"), QStringLiteral("a PDF")},
        {QStringLiteral("text"), QStringLiteral("a text")},
    };
    return names.value(Format, Format);
}

QXmlStreamReader::TokenType TSafeXml::Next() {
    if (!error.isEmpty())
        return QXmlStreamReader::Invalid;
    const auto token = reader.readNext();
    switch (token) {
    case QXmlStreamReader::DTD:
        // Declared entities are what a billion-laughs file expands.
        if (!reader.entityDeclarations().isEmpty() ||
            reader.text().contains(QLatin1String("<!ENTITY"))) {
            error = QStringLiteral("declares XML entities, which are refused");
            return QXmlStreamReader::Invalid;
        }
        break;
    case QXmlStreamReader::StartElement:
        if (++depth > MaxNestingDepth) {
            error = QStringLiteral("nests its XML deeper than %1 levels").arg(MaxNestingDepth);
            return QXmlStreamReader::Invalid;
        }
        break;
    case QXmlStreamReader::EndElement:
        --depth;
        break;
    case QXmlStreamReader::Invalid:
        if (reader.error() == QXmlStreamReader::PrematureEndOfDocumentError)
            error = QStringLiteral("is truncated: its XML ends early");
        else if (reader.error() != QXmlStreamReader::NoError)
            error = QStringLiteral("is not well-formed XML (line %1: %2)")
                        .arg(reader.lineNumber())
                        .arg(reader.errorString());
        break;
    default:
        break;
    }
    return token;
}

QString TSafeXml::Text() const {
    if (reader.tokenType() == QXmlStreamReader::EntityReference) {
        const QString known = NamedEntity(reader.name());
        return known.isEmpty() ? reader.text().toString() : known;
    }
    return reader.text().toString();
}

QString NamedEntity(QStringView Name) {
    static const QHash<QString, QString> entities{
        {QStringLiteral("nbsp"), QStringLiteral("\u00A0")},
        {QStringLiteral("ndash"), QStringLiteral("\u2013")},
        {QStringLiteral("mdash"), QStringLiteral("\u2014")},
        {QStringLiteral("lsquo"), QStringLiteral("\u2018")},
        {QStringLiteral("rsquo"), QStringLiteral("\u2019")},
        {QStringLiteral("ldquo"), QStringLiteral("\u201C")},
        {QStringLiteral("rdquo"), QStringLiteral("\u201D")},
        {QStringLiteral("deg"), QStringLiteral("\u00B0")},
        {QStringLiteral("plusmn"), QStringLiteral("\u00B1")},
        {QStringLiteral("times"), QStringLiteral("\u00D7")},
        {QStringLiteral("le"), QStringLiteral("\u2264")},
        {QStringLiteral("ge"), QStringLiteral("\u2265")},
        {QStringLiteral("micro"), QStringLiteral("\u00B5")},
        {QStringLiteral("middot"), QStringLiteral("\u00B7")},
        {QStringLiteral("hellip"), QStringLiteral("\u2026")},
        {QStringLiteral("copy"), QStringLiteral("\u00A9")},
        {QStringLiteral("reg"), QStringLiteral("\u00AE")},
        {QStringLiteral("trade"), QStringLiteral("\u2122")},
        {QStringLiteral("amp"), QStringLiteral("&")},
        {QStringLiteral("lt"), QStringLiteral("<")},
        {QStringLiteral("gt"), QStringLiteral(">")},
        {QStringLiteral("quot"), QStringLiteral("\"")},
        {QStringLiteral("apos"), QStringLiteral("'")},
    };
    return entities.value(Name.toString());
}

QString Simplified(const QString& Text) {
    return Text.simplified();
}

bool StartsWithNumber(const QString& Text, int Number) {
    const QString digits = QString::number(Number);
    qsizetype i = 0;
    while (i < Text.size() && Text[i].isSpace())
        ++i;
    // Leading zeros, as in "001.", still name the number.
    while (i < Text.size() && Text[i] == u'0' && Number != 0 && i + 1 < Text.size() &&
           Text[i + 1].isDigit())
        ++i;
    if (!QStringView(Text).mid(i).startsWith(digits))
        return false;
    i += digits.size();
    return i == Text.size() || Text[i] == u'.' || Text[i] == u')' || Text[i].isSpace();
}

QString ClaimsDocumentText(const QString& Title, const QString& Claims) {
    const QString title = Title.simplified();
    return (title.isEmpty() ? QStringLiteral("Claims:\n\n")
                            : title + QStringLiteral("\n\nClaims\n\n")) +
           Claims + u'\n';
}
