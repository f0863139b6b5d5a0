// OpenDocument texts (ODT): the body's paragraphs and headings with the
// numbers their list styles show, tracked changes read as accepted or, when
// asked, as the text was before them.

#include "DocumentReaders.h"
#include "ListNumbers.h"
#include "ZipArchive.h"

#include <QHash>
#include <QSet>
#include <optional>

namespace {

using TToken = QXmlStreamReader::TokenType;

// Paragraph styles: the list style each names ("" for none) and its parent.
struct TParagraphStyles {
    QHash<QString, QString> Lists;
    QHash<QString, QString> Parents;

    // The list style that numbers a paragraph of Style; empty for none.
    QString ListOf(QString Style) const {
        // A loop of parents must end: a style chain is short.
        for (int step = 0; step < 16 && !Style.isEmpty(); ++step) {
            if (const auto list = Lists.constFind(Style); list != Lists.cend())
                return *list;
            Style = Parents.value(Style);
        }
        return {};
    }
};

bool HasAttribute(const QXmlStreamReader& Reader, const char* Local) {
    for (const QXmlStreamAttribute& a : Reader.attributes())
        if (a.name() == QLatin1String(Local))
            return true;
    return false;
}

// The list styles of a part, by name, and its paragraph styles.
std::optional<QString> ReadListStyles(const QByteArray& Bytes, QHash<QString, TListLevels>& Styles,
                                      TParagraphStyles& Paragraphs) {
    TSafeXml xml(Bytes);
    QXmlStreamReader& reader = xml.Reader();
    QString style;
    for (auto token = xml.Next(); token != TToken::Invalid && token != TToken::EndDocument;
         token = xml.Next()) {
        if (token == TToken::EndElement && reader.name() == QLatin1String("list-style"))
            style.clear();
        if (token != TToken::StartElement)
            continue;
        const QStringView name = reader.name();
        if (name == QLatin1String("style") &&
            AttributeOf(reader, "family") == QLatin1String("paragraph")) {
            const QString paragraph = AttributeOf(reader, "name");
            if (HasAttribute(reader, "list-style-name"))
                Paragraphs.Lists.insert(paragraph, AttributeOf(reader, "list-style-name"));
            if (HasAttribute(reader, "parent-style-name"))
                Paragraphs.Parents.insert(paragraph, AttributeOf(reader, "parent-style-name"));
        } else if (name == QLatin1String("list-style")) {
            style = AttributeOf(reader, "name");
            Styles[style];
            for (TListLevel& level : Styles[style])
                level.Style = TListStyle::None;
        } else if (!style.isEmpty() && name.startsWith(QLatin1String("list-level-style-"))) {
            const int at = AttributeOf(reader, "level").toInt() - 1;
            if (at < 0 || at > 8)
                continue;
            TListLevel& level = Styles[style][static_cast<std::size_t>(at)];
            if (name != QLatin1String("list-level-style-number")) {
                level.Style = TListStyle::None;
                continue;
            }
            level.Style = ListStyleOfOdf(AttributeOf(reader, "num-format"));
            const QString start = AttributeOf(reader, "start-value");
            level.Start = start.isEmpty() ? 1 : start.toInt();
            const int shown = std::clamp(AttributeOf(reader, "display-levels").toInt(), 1, at + 1);
            QStringList numbers;
            for (int k = at + 2 - shown; k <= at + 1; ++k)
                numbers.push_back(QStringLiteral("%") + QString::number(k));
            level.Pattern = AttributeOf(reader, "num-prefix") + numbers.join(u'.') +
                            AttributeOf(reader, "num-suffix");
        }
    }
    if (!xml.Error().isEmpty())
        return xml.Error();
    return std::nullopt;
}

// Elements whose text is not the document's final text: the old text of
// tracked changes, comments, notes, frames and the declarations of fields.
bool Skipped(QStringView Name) {
    static const QSet<QString> skipped{
        QStringLiteral("tracked-changes"),
        QStringLiteral("annotation"),
        QStringLiteral("note"),
        QStringLiteral("frame"),
        QStringLiteral("sequence-decls"),
        QStringLiteral("variable-decls"),
        QStringLiteral("user-field-decls"),
    };
    return skipped.contains(Name.toString());
}

// A tracked change: what it deleted, a paragraph a line; or an insertion.
struct TChange {
    bool Insertion = false;
    QStringList Deleted;
};

struct TOpenList {
    std::size_t Counter = 0;
    int Level = 0;
    QString Style;
    bool ItemPending = false; // the item's first paragraph is still to come
    bool Header = false;
};

} // namespace

TDocumentRead ReadOpenDocumentText(TZipArchive& Zip, bool Original) {
    TDocumentRead read;
    QByteArray mimetype;
    if (!Zip.Read("mimetype", mimetype, read.Error))
        return read;
    if (!mimetype.trimmed().startsWith("application/vnd.oasis.opendocument.text")) {
        read.Error = QStringLiteral("is an OpenDocument file, but not a text (%1)")
                         .arg(QString::fromUtf8(mimetype.trimmed().left(80)));
        return read;
    }
    QByteArray content;
    if (!Zip.Read("content.xml", content, read.Error))
        return read;
    QHash<QString, TListLevels> listStyles;
    TParagraphStyles paragraphStyles;
    if (Zip.Has("styles.xml")) {
        QByteArray styles;
        if (!Zip.Read("styles.xml", styles, read.Error))
            return read;
        if (auto error = ReadListStyles(styles, listStyles, paragraphStyles)) {
            read.Error = QStringLiteral("has a damaged styles part: ") + *error;
            return read;
        }
    }
    if (auto error = ReadListStyles(content, listStyles, paragraphStyles)) {
        read.Error = *error;
        return read;
    }

    TSafeXml xml(content);
    QXmlStreamReader& reader = xml.Reader();
    std::vector<TListCounter> counters;
    QHash<QString, std::size_t> listIds;     // xml:id of a list -> its counter
    QHash<QString, std::size_t> lastOfStyle; // the latest list of a style
    // Paragraphs outside lists numbered by their paragraph style: one list
    // of each list style, running through the document.
    QHash<QString, std::size_t> styleLists;
    std::vector<TOpenList> lists;
    QString text;
    QString paragraph;
    int inParagraph = 0;
    int skipDepth = 0;
    bool inBody = false;
    // Read as the original: the changes by id, the one being read, and the
    // insertion being left out.
    QHash<QString, TChange> changes;
    int inChanges = 0;
    QString changeId;
    int deletedParagraph = 0;
    QString dropping;
    bool joining = false; // an inserted paragraph break: the next paragraph runs on
    for (auto token = xml.Next(); token != TToken::Invalid && token != TToken::EndDocument;
         token = xml.Next()) {
        if (skipDepth) {
            if (token == TToken::EndElement && xml.Depth() < skipDepth)
                skipDepth = 0;
            continue;
        }
        const QStringView name = reader.name();
        if (token == TToken::StartElement) {
            if (name == QLatin1String("body")) {
                inBody = true;
            } else if (!inBody) {
                continue;
            } else if (Original && name == QLatin1String("tracked-changes")) {
                inChanges = xml.Depth();
            } else if (inChanges) {
                if (name == QLatin1String("changed-region"))
                    changeId = AttributeOf(reader, "id");
                else if (name == QLatin1String("insertion"))
                    changes[changeId].Insertion = true;
                else if (name == QLatin1String("change-info"))
                    skipDepth = xml.Depth();
                else if ((name == QLatin1String("p") || name == QLatin1String("h")) &&
                         deletedParagraph++ == 0)
                    changes[changeId].Deleted.push_back({});
                else if (deletedParagraph && name == QLatin1String("s"))
                    changes[changeId].Deleted.back() += u' ';
                else if (deletedParagraph && name == QLatin1String("tab"))
                    changes[changeId].Deleted.back() += u'\t';
            } else if (Original && name == QLatin1String("change")) {
                const auto change = changes.constFind(AttributeOf(reader, "change-id"));
                if (change != changes.cend() && !change->Insertion && dropping.isEmpty()) {
                    const QString deleted = change->Deleted.join(u'\n');
                    if (inParagraph)
                        paragraph += deleted;
                    else
                        text += deleted + u'\n';
                }
            } else if (Original && name == QLatin1String("change-start")) {
                const QString id = AttributeOf(reader, "change-id");
                if (dropping.isEmpty() && changes.value(id).Insertion)
                    dropping = id;
            } else if (Original && name == QLatin1String("change-end")) {
                if (AttributeOf(reader, "change-id") == dropping)
                    dropping.clear();
            } else if (!dropping.isEmpty() && name != QLatin1String("p") &&
                       name != QLatin1String("h") && name != QLatin1String("list") &&
                       name != QLatin1String("list-item") && name != QLatin1String("list-header")) {
                // Spaces, tabs and breaks of inserted text.
            } else if (Skipped(name)) {
                skipDepth = xml.Depth();
            } else if (name == QLatin1String("list")) {
                TOpenList list;
                list.Style = AttributeOf(reader, "style-name");
                if (!lists.empty()) {
                    list.Counter = lists.back().Counter;
                    list.Level = lists.back().Level + 1;
                    if (list.Style.isEmpty())
                        list.Style = lists.back().Style;
                } else {
                    const QString continues = AttributeOf(reader, "continue-list");
                    const bool continuing =
                        AttributeOf(reader, "continue-numbering") == QLatin1String("true");
                    if (!continues.isEmpty() && listIds.contains(continues)) {
                        list.Counter = listIds.value(continues);
                    } else if (continuing && lastOfStyle.contains(list.Style)) {
                        list.Counter = lastOfStyle.value(list.Style);
                    } else {
                        list.Counter = counters.size();
                        counters.emplace_back();
                    }
                    lastOfStyle.insert(list.Style, list.Counter);
                    const QString id = AttributeOf(reader, "id");
                    if (!id.isEmpty())
                        listIds.insert(id, list.Counter);
                }
                lists.push_back(list);
            } else if ((name == QLatin1String("list-item") ||
                        name == QLatin1String("list-header")) &&
                       !lists.empty()) {
                lists.back().ItemPending = true;
                lists.back().Header = name == QLatin1String("list-header");
                const QString start = AttributeOf(reader, "start-value");
                if (!start.isEmpty())
                    counters[lists.back().Counter].Restart(lists.back().Level, start.toInt());
            } else if (name == QLatin1String("p") || name == QLatin1String("h")) {
                if (inParagraph++ == 0) {
                    if (!joining)
                        paragraph.clear();
                    if (!lists.empty() && lists.back().ItemPending) {
                        TOpenList& list = lists.back();
                        list.ItemPending = false;
                        const auto style = listStyles.find(list.Style);
                        if (!joining && !list.Header && style != listStyles.end())
                            paragraph =
                                counters[list.Counter].Next(*style, std::min(list.Level, 8));
                    } else if (lists.empty() && !joining) {
                        const QString listStyle =
                            paragraphStyles.ListOf(AttributeOf(reader, "style-name"));
                        const auto style = listStyles.constFind(listStyle);
                        if (!listStyle.isEmpty() && style != listStyles.cend()) {
                            if (!styleLists.contains(listStyle)) {
                                styleLists.insert(listStyle, counters.size());
                                counters.emplace_back();
                            }
                            paragraph = counters[styleLists.value(listStyle)].Next(*style, 0);
                        }
                    }
                } else {
                    paragraph += u'\n';
                }
            } else if (inParagraph && name == QLatin1String("s")) {
                const QString count = AttributeOf(reader, "c");
                paragraph +=
                    QString(std::clamp(count.isEmpty() ? 1 : count.toInt(), 1, 1024), u' ');
            } else if (inParagraph && name == QLatin1String("tab")) {
                paragraph += u'\t';
            } else if (inParagraph && name == QLatin1String("line-break")) {
                paragraph += u'\n';
            }
        } else if (token == TToken::EndElement) {
            if (inChanges) {
                if (xml.Depth() < inChanges)
                    inChanges = 0;
                else if (name == QLatin1String("p") || name == QLatin1String("h"))
                    deletedParagraph = std::max(deletedParagraph - 1, 0);
            } else if (name == QLatin1String("body")) {
                inBody = false;
            } else if (name == QLatin1String("list") && !lists.empty()) {
                lists.pop_back();
            } else if ((name == QLatin1String("p") || name == QLatin1String("h")) && inParagraph) {
                joining = !dropping.isEmpty() && inParagraph == 1;
                if (--inParagraph == 0 && !joining)
                    text += paragraph + u'\n';
            }
        } else if ((token == TToken::Characters || token == TToken::EntityReference) && inChanges &&
                   deletedParagraph) {
            changes[changeId].Deleted.back() += xml.Text();
        } else if ((token == TToken::Characters || token == TToken::EntityReference) &&
                   inParagraph && dropping.isEmpty()) {
            paragraph += xml.Text();
        }
    }
    if (joining)
        text += paragraph + u'\n';
    return OneDocumentRead(QStringLiteral("odt"), std::move(text), xml.Error());
}
