// Saved web pages. A small tag reader, not a browser's parser: it needs only
// tags, attributes, entities and text, and it stays linear on any tag soup
// (unclosed, misnested or stray tags are read as they come).

#include "DocumentReaders.h"
#include "TextEncoding.h"

#include <QHash>
#include <QRegularExpression>
#include <QSet>

namespace {

struct TTag {
    QString Name; // lower case; empty for text
    bool End = false;
    bool SelfClosed = false;
    QHash<QString, QString> Attributes;
    QString Text; // for text, entities decoded
};

QString DecodeEntities(QStringView Text) {
    QString out;
    out.reserve(Text.size());
    for (qsizetype i = 0; i < Text.size(); ++i) {
        if (Text[i] != u'&') {
            out += Text[i];
            continue;
        }
        const qsizetype semi = Text.indexOf(u';', i + 1);
        if (semi < 0 || semi - i > 32) {
            out += Text[i];
            continue;
        }
        const QStringView name = Text.mid(i + 1, semi - i - 1);
        QString value;
        if (name.startsWith(u'#')) {
            bool ok = false;
            const uint code = name.size() > 1 && (name[1] == u'x' || name[1] == u'X')
                                  ? name.mid(2).toUInt(&ok, 16)
                                  : name.mid(1).toUInt(&ok, 10);
            if (ok && code > 0 && code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF)) {
                const char32_t c = code;
                value = QString::fromUcs4(&c, 1);
            }
        } else {
            value = NamedEntity(name);
        }
        if (value.isEmpty()) {
            out += Text[i];
            continue;
        }
        out += value;
        i = semi;
    }
    return out;
}

// Splits a page into tags and texts; the insides of script and style
// elements and comments are dropped.
class TTagReader {
public:
    explicit TTagReader(QString Page) : page(std::move(Page)) {}

    bool Next(TTag& Tag) {
        Tag = {};
        // Comments, declarations and processing instructions are skipped in
        // a loop: a page of a million of them must not recurse as deep.
        for (;;) {
            if (at >= page.size())
                return false;
            if (page[at] != u'<' || at + 1 >= page.size() ||
                !(page[at + 1].isLetter() || page[at + 1] == u'/' || page[at + 1] == u'!' ||
                  page[at + 1] == u'?')) {
                qsizetype end = page.indexOf(u'<', at + 1);
                if (end < 0)
                    end = page.size();
                Tag.Text = DecodeEntities(QStringView(page).mid(at, end - at));
                at = end;
                return true;
            }
            if (QStringView(page).mid(at, 4) == QLatin1String("<!--")) {
                const qsizetype end = page.indexOf(QLatin1String("-->"), at + 4);
                at = end < 0 ? page.size() : end + 3;
            } else if (page[at + 1] == u'!' || page[at + 1] == u'?') {
                const qsizetype end = page.indexOf(u'>', at);
                at = end < 0 ? page.size() : end + 1;
            } else {
                break;
            }
        }
        qsizetype i = at + 1;
        if (page[i] == u'/') {
            Tag.End = true;
            ++i;
        }
        const qsizetype nameStart = i;
        while (i < page.size() && !page[i].isSpace() && page[i] != u'>' && page[i] != u'/')
            ++i;
        Tag.Name = page.mid(nameStart, i - nameStart).toLower();
        // Attributes: name, name=value, name="value", name='value'.
        while (i < page.size() && page[i] != u'>') {
            if (page[i].isSpace() || page[i] == u'/') {
                Tag.SelfClosed = page[i] == u'/';
                ++i;
                continue;
            }
            const qsizetype start = i;
            while (i < page.size() && !page[i].isSpace() && page[i] != u'=' && page[i] != u'>' &&
                   page[i] != u'/')
                ++i;
            const QString name = page.mid(start, i - start).toLower();
            QString value;
            if (i < page.size() && page[i] == u'=') {
                ++i;
                if (i < page.size() && (page[i] == u'"' || page[i] == u'\'')) {
                    const QChar quote = page[i++];
                    qsizetype end = page.indexOf(quote, i);
                    if (end < 0)
                        end = page.size();
                    value = DecodeEntities(QStringView(page).mid(i, end - i));
                    i = std::min(end + 1, page.size());
                } else {
                    const qsizetype vstart = i;
                    while (i < page.size() && !page[i].isSpace() && page[i] != u'>')
                        ++i;
                    value = DecodeEntities(QStringView(page).mid(vstart, i - vstart));
                }
            }
            if (!name.isEmpty())
                Tag.Attributes.insert(name, value);
            if (start == i)
                ++i;
        }
        at = std::min(i + 1, page.size());
        if (!Tag.End &&
            (Tag.Name == QLatin1String("script") || Tag.Name == QLatin1String("style"))) {
            const qsizetype end =
                page.indexOf(QLatin1String("</") + Tag.Name, at, Qt::CaseInsensitive);
            at = end < 0 ? page.size() : end;
        }
        return true;
    }

private:
    QString page;
    qsizetype at = 0;
};

bool HasClass(const TTag& Tag, const char* Class) {
    const QString classes = Tag.Attributes.value(QStringLiteral("class"));
    for (const QStringView c : QStringView(classes).split(u' ', Qt::SkipEmptyParts))
        if (c == QLatin1String(Class))
            return true;
    return false;
}

bool IsVoid(const QString& Name) {
    static const QSet<QString> voids{QStringLiteral("br"),   QStringLiteral("img"),
                                     QStringLiteral("hr"),   QStringLiteral("meta"),
                                     QStringLiteral("link"), QStringLiteral("input"),
                                     QStringLiteral("wbr"),  QStringLiteral("col")};
    return voids.contains(Name);
}

bool IsBlock(const QString& Name) {
    static const QSet<QString> blocks{
        QStringLiteral("p"),          QStringLiteral("div"),     QStringLiteral("br"),
        QStringLiteral("li"),         QStringLiteral("tr"),      QStringLiteral("h1"),
        QStringLiteral("h2"),         QStringLiteral("h3"),      QStringLiteral("h4"),
        QStringLiteral("h5"),         QStringLiteral("h6"),      QStringLiteral("section"),
        QStringLiteral("article"),    QStringLiteral("table"),   QStringLiteral("ul"),
        QStringLiteral("ol"),         QStringLiteral("dd"),      QStringLiteral("dt"),
        QStringLiteral("blockquote"), QStringLiteral("pre"),     QStringLiteral("hr"),
        QStringLiteral("claim-text"), QStringLiteral("heading"), QStringLiteral("main")};
    return blocks.contains(Name);
}

// Parts of a page that are never its text.
bool IsHidden(const QString& Name) {
    static const QSet<QString> hidden{QStringLiteral("head"),     QStringLiteral("nav"),
                                      QStringLiteral("noscript"), QStringLiteral("template"),
                                      QStringLiteral("svg"),      QStringLiteral("button"),
                                      QStringLiteral("select")};
    return hidden.contains(Name);
}

// Text gathered with its whitespace folded, lines broken at blocks.
class TTextLines {
public:
    void Add(const QString& Text) {
        for (const QChar c : Text) {
            if (c.isSpace() && c != QChar(0xA0)) {
                space = !line.isEmpty();
            } else {
                if (space)
                    line += u' ';
                space = false;
                line += c;
            }
        }
    }
    void Break() {
        if (!line.isEmpty())
            lines.push_back(line);
        line.clear();
        space = false;
    }
    void Cell() { space = false, line += line.isEmpty() ? QString() : QStringLiteral("\t"); }
    QStringList Take() {
        Break();
        return std::exchange(lines, {});
    }
    const QString& Line() const { return line; }
    void SetLine(QString Line) { line = std::move(Line); }

private:
    QStringList lines;
    QString line;
    bool space = false;
};

// The claims of a page that marks them (itemprop="claims", class="claims"),
// or nothing when it marks none.
std::optional<TClaimsBlock> MarkedClaims(const QString& Page) {
    TTagReader tags(Page);
    TTag tag;
    QString sectionTag;
    int sectionDepth = 0;
    QString claimTag;
    int claimDepth = 0;
    struct TClaim {
        int Number = 0;
        QString Id;
        TTextLines Text;
        QStringList Refs;
    };
    std::vector<TClaim> claims;
    bool found = false;
    while (tags.Next(tag)) {
        if (sectionDepth == 0) {
            if (!tag.End && !tag.Name.isEmpty() && !IsVoid(tag.Name) && !tag.SelfClosed &&
                (tag.Attributes.value(QStringLiteral("itemprop")) == QLatin1String("claims") ||
                 HasClass(tag, "claims"))) {
                sectionTag = tag.Name;
                sectionDepth = 1;
                found = true;
            }
            continue;
        }
        if (tag.Name == sectionTag && !tag.SelfClosed)
            sectionDepth += tag.End ? -1 : 1;
        if (sectionDepth == 0)
            break; // one claims section: a page's second is a copy or another document's
        if (claimDepth == 0) {
            if (!tag.End && (HasClass(tag, "claim") || tag.Name == QLatin1String("claim")) &&
                !tag.SelfClosed) {
                claimTag = tag.Name;
                claimDepth = 1;
                claims.push_back({});
                claims.back().Id = tag.Attributes.value(QStringLiteral("id"));
                claims.back().Number = tag.Attributes.value(QStringLiteral("num")).toInt();
            }
            continue;
        }
        TClaim& claim = claims.back();
        if (tag.Name == claimTag && !tag.SelfClosed)
            claimDepth += tag.End ? -1 : 1;
        if (claimDepth == 0)
            continue;
        if (tag.Name.isEmpty())
            claim.Text.Add(tag.Text);
        else if (IsBlock(tag.Name))
            claim.Text.Break();
        else if (!tag.End && tag.Name == QLatin1String("claim-ref"))
            claim.Refs +=
                tag.Attributes.value(QStringLiteral("idref")).split(u' ', Qt::SkipEmptyParts);
        else if (!tag.End && tag.Name == QLatin1String("a") &&
                 tag.Attributes.contains(QStringLiteral("idref")))
            claim.Refs += tag.Attributes.value(QStringLiteral("idref"));
    }
    if (!found || claims.empty())
        return std::nullopt;
    TClaimsBlock block;
    QHash<QString, int> numbers;
    QStringList texts;
    for (std::size_t i = 0; i < claims.size(); ++i) {
        TClaim& claim = claims[i];
        QString text = claim.Text.Take().join(u'\n');
        if (claim.Number <= 0) {
            // The number the text starts with, else its place.
            static const QRegularExpression lead(QStringLiteral("^\\s*(\\d{1,6})\\s*[.)]"));
            const auto match = lead.match(text);
            const int written = match.hasMatch() ? match.captured(1).toInt() : 0;
            // "0." numbers no claim: the place does.
            claim.Number = written > 0 ? written : static_cast<int>(i + 1);
        }
        if (!claim.Id.isEmpty())
            numbers.insert(claim.Id, claim.Number);
        if (!StartsWithNumber(text, claim.Number))
            text = QString::number(claim.Number) + QStringLiteral(". ") + text;
        texts.push_back(text);
    }
    for (const TClaim& claim : claims)
        for (const QString& ref : claim.Refs)
            if (const int to = numbers.value(ref); to > 0)
                block.Links.push_back({claim.Number, to});
    block.Text = texts.join(u'\n');
    return block;
}

// The text of a page without claim markup, as a browser shows it: ordered
// list items with their numbers, table rows as lines of cells.
QString PageText(const QString& Page) {
    TTagReader tags(Page);
    TTag tag;
    TTextLines text;
    QString hidden;
    int hiddenDepth = 0;
    struct TList {
        bool Ordered = false;
        int Next = 1;
    };
    std::vector<TList> lists;
    bool rowStart = false;
    while (tags.Next(tag)) {
        if (hiddenDepth) {
            if (tag.Name == hidden && !tag.SelfClosed)
                hiddenDepth += tag.End ? -1 : 1;
            continue;
        }
        if (tag.Name.isEmpty()) {
            text.Add(tag.Text);
            continue;
        }
        if (!tag.End && IsHidden(tag.Name) && !tag.SelfClosed) {
            hidden = tag.Name;
            hiddenDepth = 1;
            continue;
        }
        if (IsBlock(tag.Name))
            text.Break();
        if (tag.Name == QLatin1String("ol") || tag.Name == QLatin1String("ul")) {
            if (tag.End) {
                if (!lists.empty())
                    lists.pop_back();
            } else if (lists.size() < static_cast<std::size_t>(MaxNestingDepth)) {
                bool ok = false;
                const int start = tag.Attributes.value(QStringLiteral("start")).toInt(&ok);
                lists.push_back({tag.Name == QLatin1String("ol"), ok ? start : 1});
            }
        } else if (tag.Name == QLatin1String("li") && !tag.End && !lists.empty() &&
                   lists.back().Ordered) {
            bool ok = false;
            const int value = tag.Attributes.value(QStringLiteral("value")).toInt(&ok);
            if (ok)
                lists.back().Next = value;
            text.Add(QString::number(lists.back().Next++) + QStringLiteral(". "));
        } else if (tag.Name == QLatin1String("tr") && !tag.End) {
            rowStart = true;
        } else if ((tag.Name == QLatin1String("td") || tag.Name == QLatin1String("th")) &&
                   !tag.End) {
            if (!rowStart)
                text.Cell();
            rowStart = false;
        } else if ((tag.Name == QLatin1String("td") || tag.Name == QLatin1String("th")) &&
                   tag.End) {
            // A first cell of only a number numbers the row: "1" | "A pump".
            static const QRegularExpression number(QStringLiteral("^(\\d{1,6})\\.?$"));
            const auto match = number.match(text.Line());
            if (match.hasMatch())
                text.SetLine(match.captured(1) + QStringLiteral(". ")), rowStart = true;
        }
    }
    return text.Take().join(u'\n') + u'\n';
}

// The page's title element.
QString PageTitle(const QString& Page) {
    TTagReader tags(Page);
    TTag tag;
    QString title;
    bool inTitle = false;
    while (tags.Next(tag)) {
        if (tag.Name == QLatin1String("title")) {
            if (tag.End)
                break;
            inTitle = true;
        } else if (inTitle && tag.Name.isEmpty()) {
            title += tag.Text;
        } else if (tag.Name == QLatin1String("body")) {
            break;
        }
    }
    return title.simplified();
}

} // namespace

TDocumentRead ReadHtmlPage(std::string_view Bytes) {
    TDocumentRead read;
    if (Bytes.substr(0, 3) == "\xEF\xBB\xBF")
        Bytes.remove_prefix(3);
    const std::string utf8 = DecodeToUtf8(Bytes);
    const QString page = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    read.Format = QStringLiteral("html");
    TReadDocument document;
    if (auto claims = MarkedClaims(page)) {
        document.Text = ClaimsDocumentText(PageTitle(page), claims->Text);
        document.Links = claims->Links;
        document.ClaimsBlocks.push_back(std::move(*claims));
    } else {
        document.Text = PageText(page);
    }
    read.Documents.push_back(std::move(document));
    return read;
}
