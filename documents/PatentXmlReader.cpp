// Patent-office XML: USPTO grants and applications (one, or a weekly file of
// many documents one after the other), EPO publications, WIPO ST.36-style
// documents (which CNIPA, JPO and KIPO follow) and ST.96 claims.

#include "DocumentReaders.h"

#include <QHash>
#include <QRegularExpression>

namespace {

bool Named(QStringView Name, const char* Dashed, const char* Camel) {
    return Name == QLatin1String(Dashed) || Name == QLatin1String(Camel);
}

QString Attribute(const QXmlStreamAttributes& Attributes, const char* Local) {
    for (const QXmlStreamAttribute& a : Attributes)
        if (a.name() == QLatin1String(Local))
            return a.value().toString();
    return {};
}

// The number in "00012" or "CLM-00012"; 0 when there is none.
int NumberIn(const QString& Text) {
    static const QRegularExpression digits(QStringLiteral("(\\d{1,9})(?!.*\\d)"));
    const auto match = digits.match(Text);
    return match.hasMatch() ? match.captured(1).toInt() : 0;
}

struct TXmlClaim {
    int Number = 0;
    QString Id;
    QString Text;
    QStringList Refs; // the ids its claim links name
};

struct TXmlBlock {
    QString Language;
    std::vector<TXmlClaim> Claims;
};

// The claims of a block as the text reads them, each from a new line with
// its number; nested claim texts on lines of their own.
TClaimsBlock MakeBlock(const TXmlBlock& Block) {
    TClaimsBlock block;
    block.Language = Block.Language;
    QHash<QString, int> numbers;
    for (const TXmlClaim& claim : Block.Claims)
        if (!claim.Id.isEmpty())
            numbers.insert(claim.Id, claim.Number);
    QStringList claims;
    for (const TXmlClaim& claim : Block.Claims) {
        QStringList lines;
        for (const QString& line : claim.Text.split(u'\n')) {
            const QString simple = line.simplified();
            if (!simple.isEmpty())
                lines.push_back(simple);
        }
        QString text = lines.join(u'\n');
        if (!StartsWithNumber(text, claim.Number))
            text = QString::number(claim.Number) + QStringLiteral(". ") + text;
        claims.push_back(text);
        for (const QString& ref : claim.Refs) {
            const int to = numbers.value(ref, NumberIn(ref));
            if (to > 0)
                block.Links.push_back({claim.Number, to});
        }
    }
    block.Text = claims.join(u'\n');
    return block;
}

// The format a root element names; empty for one this program does not know.
QString FormatOfRoot(const QXmlStreamReader& Reader) {
    const QStringView name = Reader.name();
    if (name == QLatin1String("us-patent-grant") || name == QLatin1String("us-patent-application"))
        return QStringLiteral("uspto-xml");
    if (name == QLatin1String("ep-patent-document"))
        return QStringLiteral("epo-xml");
    if (Reader.namespaceUri().contains(QLatin1String("ST96"), Qt::CaseInsensitive))
        return QStringLiteral("st96-xml");
    if (name.contains(QLatin1String("patent-document")) ||
        name.contains(QLatin1String("official-gazette")) ||
        name.contains(QLatin1String("patent-publication")))
        return QStringLiteral("st36-xml");
    return {};
}

struct TXmlDocument {
    QString Format;
    QString Number;
    QString Title;
    QString Language; // of the proceedings
    std::vector<TXmlBlock> Blocks;
    QString Error;
};

TXmlDocument ReadOne(const QByteArray& Bytes) {
    TXmlDocument document;
    TSafeXml xml(Bytes);
    QXmlStreamReader& reader = xml.Reader();
    QString country, docNumber, kind;
    int inPublication = 0; // depth of a publication reference, 0 outside
    int inClaimText = 0;   // claim-text elements open
    int inClaimNumber = 0;
    bool inTitle = false;
    bool rootSeen = false;
    QString field; // the bibliographic element whose text is read
    TXmlBlock* block = nullptr;
    TXmlClaim* claim = nullptr;
    int claimDepth = 0;
    for (auto token = xml.Next(); token != QXmlStreamReader::Invalid; token = xml.Next()) {
        if (token == QXmlStreamReader::EndDocument)
            break;
        if (token == QXmlStreamReader::StartElement) {
            const QStringView name = reader.name();
            const QXmlStreamAttributes attributes = reader.attributes();
            if (!rootSeen) {
                rootSeen = true;
                document.Format = FormatOfRoot(reader);
                document.Language = Attribute(attributes, "lang");
                const QString number = Attribute(attributes, "doc-number");
                if (!number.isEmpty())
                    document.Number =
                        Attribute(attributes, "country") + number + Attribute(attributes, "kind");
                continue;
            }
            if (Named(name, "publication-reference", "PatentPublicationIdentification")) {
                if (document.Number.isEmpty() && docNumber.isEmpty())
                    inPublication = xml.Depth();
            } else if (inPublication &&
                       (name == QLatin1String("country") || name == QLatin1String("doc-number") ||
                        name == QLatin1String("kind") || name == QLatin1String("IPOfficeCode") ||
                        name == QLatin1String("PublicationNumber") ||
                        name == QLatin1String("PatentDocumentKindCode"))) {
                field = name.toString();
            } else if (Named(name, "invention-title", "InventionTitle")) {
                const QString lang =
                    Attribute(attributes, "lang") + Attribute(attributes, "languageCode");
                inTitle = document.Title.isEmpty() || lang == document.Language;
                if (inTitle)
                    document.Title.clear();
            } else if (Named(name, "claims", "Claims") && claim == nullptr) {
                document.Blocks.push_back({});
                block = &document.Blocks.back();
                block->Language = Attribute(attributes, "lang");
                if (block->Language.isEmpty())
                    block->Language = Attribute(attributes, "languageCode");
            } else if (Named(name, "claim", "Claim") && block != nullptr && claim == nullptr) {
                block->Claims.push_back({});
                claim = &block->Claims.back();
                claimDepth = xml.Depth();
                claim->Id = Attribute(attributes, "id");
                claim->Number = NumberIn(Attribute(attributes, "num"));
            } else if (claim != nullptr && Named(name, "claim-text", "ClaimText")) {
                if (!claim->Text.isEmpty() && !claim->Text.endsWith(u'\n'))
                    claim->Text += u'\n';
                ++inClaimText;
            } else if (claim != nullptr && name == QLatin1String("ClaimNumber")) {
                ++inClaimNumber;
            } else if (claim != nullptr && Named(name, "claim-ref", "ClaimReference")) {
                QString refs = Attribute(attributes, "idref");
                if (refs.isEmpty())
                    refs = Attribute(attributes, "idrefs");
                claim->Refs += refs.split(u' ', Qt::SkipEmptyParts);
            } else if (claim != nullptr && inClaimText && name == QLatin1String("br")) {
                claim->Text += u'\n';
            }
        } else if (token == QXmlStreamReader::EndElement) {
            const QStringView name = reader.name();
            if (inPublication && xml.Depth() < inPublication) {
                inPublication = 0;
                if (!docNumber.isEmpty())
                    document.Number = country + docNumber + kind;
            }
            field.clear();
            if (Named(name, "invention-title", "InventionTitle"))
                inTitle = false;
            else if (claim != nullptr && Named(name, "claim-text", "ClaimText"))
                inClaimText = std::max(inClaimText - 1, 0), claim->Text += u'\n';
            else if (claim != nullptr && name == QLatin1String("ClaimNumber"))
                inClaimNumber = std::max(inClaimNumber - 1, 0);
            if (claim != nullptr && xml.Depth() < claimDepth) {
                if (claim->Number == 0)
                    claim->Number = static_cast<int>(block->Claims.size());
                claim = nullptr;
                inClaimText = 0;
            } else if (claim == nullptr && block != nullptr && Named(name, "claims", "Claims")) {
                block = nullptr;
            }
        } else if (token == QXmlStreamReader::Characters ||
                   token == QXmlStreamReader::EntityReference) {
            const QString text = xml.Text();
            if (claim != nullptr && inClaimNumber)
                claim->Number = NumberIn(text);
            else if (claim != nullptr && inClaimText)
                // The file's own line breaks are blanks; the markup makes the lines.
                claim->Text += QString(text).replace(u'\n', u' ').replace(u'\r', u' ');
            else if (inTitle)
                document.Title += text;
            else if (field == QLatin1String("country") || field == QLatin1String("IPOfficeCode"))
                country += text.trimmed();
            else if (field == QLatin1String("doc-number") ||
                     field == QLatin1String("PublicationNumber"))
                docNumber += text.trimmed();
            else if (field == QLatin1String("kind") ||
                     field == QLatin1String("PatentDocumentKindCode"))
                kind += text.trimmed();
        }
    }
    document.Error = xml.Error();
    if (document.Error.isEmpty() && !rootSeen)
        document.Error = QStringLiteral("holds no XML element");
    if (document.Error.isEmpty() && document.Format.isEmpty()) {
        if (document.Blocks.empty())
            document.Error = QStringLiteral("is XML, but no patent document this program reads");
        else
            document.Format = QStringLiteral("st36-xml");
    }
    document.Title = document.Title.simplified();
    return document;
}

// Where each document of a file starts: a weekly file puts them one after
// the other, each with its own XML declaration. "<?xml" in a comment, a
// CDATA section or another processing instruction ("<?xml-stylesheet") starts
// none.
std::vector<std::size_t> DocumentStarts(std::string_view Bytes) {
    std::vector<std::size_t> starts{0};
    bool declared = false;
    const auto skipTo = [&](std::size_t From, std::string_view End) {
        const std::size_t at = Bytes.find(End, From);
        return at == std::string_view::npos ? Bytes.size() : at + End.size();
    };
    for (std::size_t at = Bytes.find('<'); at < Bytes.size(); at = Bytes.find('<', at)) {
        const std::string_view rest = Bytes.substr(at);
        if (rest.starts_with("<!--")) {
            at = skipTo(at + 4, "-->");
        } else if (rest.starts_with("<![CDATA[")) {
            at = skipTo(at + 9, "]]>");
        } else if (rest.starts_with("<?")) {
            const bool declaration = rest.starts_with("<?xml") && rest.size() > 5 &&
                                     (rest[5] == ' ' || rest[5] == '\t' || rest[5] == '\r' ||
                                      rest[5] == '\n' || rest[5] == '?');
            if (declaration && declared)
                starts.push_back(at);
            declared = declared || declaration;
            at = skipTo(at + 2, "?>");
        } else {
            ++at;
        }
    }
    return starts;
}

} // namespace

TDocumentRead ReadPatentXml(std::string_view Bytes, const QString& Language) {
    TDocumentRead read;
    const std::vector<std::size_t> starts = DocumentStarts(Bytes);
    for (std::size_t i = 0; i < starts.size(); ++i) {
        const std::size_t end = i + 1 < starts.size() ? starts[i + 1] : Bytes.size();
        const QByteArray bytes = QByteArray::fromRawData(Bytes.data() + starts[i],
                                                         static_cast<qsizetype>(end - starts[i]));
        TXmlDocument one = ReadOne(bytes);
        if (!one.Error.isEmpty()) {
            read.Error = starts.size() > 1
                             ? QStringLiteral("document %1 %2").arg(i + 1).arg(one.Error)
                             : one.Error;
            return read;
        }
        if (read.Format.isEmpty())
            read.Format = one.Format;
        TReadDocument document;
        document.Number = one.Number;
        document.Title = one.Title;
        for (const TXmlBlock& block : one.Blocks)
            if (!block.Claims.empty())
                document.ClaimsBlocks.push_back(MakeBlock(block));
        const auto find = [&](const QString& Wanted) -> const TClaimsBlock* {
            for (const TClaimsBlock& block : document.ClaimsBlocks)
                if (!Wanted.isEmpty() && block.Language.compare(Wanted, Qt::CaseInsensitive) == 0)
                    return &block;
            return nullptr;
        };
        const TClaimsBlock* chosen = find(Language);
        if (chosen == nullptr && !Language.isEmpty() && !document.ClaimsBlocks.empty()) {
            QStringList have;
            for (const TClaimsBlock& block : document.ClaimsBlocks)
                have.push_back(block.Language.isEmpty() ? QStringLiteral("unmarked")
                                                        : block.Language);
            const QString lacking = QStringLiteral("has no claims in language %1 (it has %2)")
                                        .arg(Language, have.join(QStringLiteral(", ")));
            // One document of several lacking it keeps the others readable:
            // it is read in its own language, and says so.
            if (starts.size() == 1) {
                read.Error = lacking;
                return read;
            }
            document.Note = lacking;
        }
        if (chosen == nullptr)
            chosen = find(one.Language);
        if (chosen == nullptr)
            chosen = find(QStringLiteral("en"));
        if (chosen == nullptr && !document.ClaimsBlocks.empty())
            chosen = &document.ClaimsBlocks.front();
        if (chosen != nullptr) {
            document.Text = ClaimsDocumentText(document.Title, chosen->Text);
            document.Language = chosen->Language;
            document.Links = chosen->Links;
        }
        read.Documents.push_back(std::move(document));
    }
    return read;
}
