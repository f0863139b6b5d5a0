// Word documents (DOCX): the body's paragraphs with the numbers that Word's
// automatic list numbering shows, tracked changes read as accepted or, when
// asked, as the text was before them.

#include "DocumentReaders.h"
#include "ListNumbers.h"
#include "ZipArchive.h"

#include <QHash>
#include <QSet>
#include <array>
#include <optional>

namespace {

using TToken = QXmlStreamReader::TokenType;

QString Value(const QXmlStreamReader& Reader) {
    for (const QXmlStreamAttribute& a : Reader.attributes())
        if (a.name() == QLatin1String("val"))
            return a.value().toString();
    return {};
}

struct TNumbering {
    QHash<int, std::array<TListLevel, 9>> Abstracts;
    struct TInstance {
        int Abstract = -1;
        QHash<int, int> StartOverrides;
    };
    QHash<int, TInstance> Instances;
    // Levels linked to a paragraph style: the style's paragraphs are numbered
    // at that level of that list.
    QHash<QString, std::pair<int, int>> StyleLevels; // style -> abstract, level

    // The first instance of an abstract list; 0 when none.
    int InstanceOf(int Abstract) const {
        int first = 0;
        for (auto it = Instances.cbegin(); it != Instances.cend(); ++it)
            if (it->Abstract == Abstract && (first == 0 || it.key() < first))
                first = it.key();
        return first;
    }
};

// A paragraph's list membership; NumId 0 takes it out of a list.
struct TNumPr {
    std::optional<int> NumId;
    std::optional<int> Level;
};

std::optional<QString> ReadNumbering(const QByteArray& Bytes, TNumbering& Numbering) {
    TSafeXml xml(Bytes);
    QXmlStreamReader& reader = xml.Reader();
    int abstractId = -1, numId = -1, level = -1, overrideLevel = -1;
    for (auto token = xml.Next(); token != TToken::Invalid && token != TToken::EndDocument;
         token = xml.Next()) {
        if (token == TToken::EndElement) {
            const QStringView name = reader.name();
            if (name == QLatin1String("abstractNum"))
                abstractId = -1;
            else if (name == QLatin1String("num"))
                numId = -1;
            else if (name == QLatin1String("lvl"))
                level = -1;
            else if (name == QLatin1String("lvlOverride"))
                overrideLevel = -1;
            continue;
        }
        if (token != TToken::StartElement)
            continue;
        const QStringView name = reader.name();
        const QString value = Value(reader);
        if (name == QLatin1String("abstractNum")) {
            abstractId = AttributeOf(reader, "abstractNumId").toInt();
            Numbering.Abstracts[abstractId]; // every level at its defaults
        } else if (name == QLatin1String("num")) {
            numId = AttributeOf(reader, "numId").toInt();
            Numbering.Instances[numId];
        } else if (name == QLatin1String("lvl") && abstractId >= 0) {
            level = AttributeOf(reader, "ilvl").toInt();
            if (level < 0 || level > 8)
                level = -1;
        } else if (abstractId >= 0 && level >= 0) {
            TListLevel& lvl = Numbering.Abstracts[abstractId][static_cast<std::size_t>(level)];
            if (name == QLatin1String("start"))
                lvl.Start = value.toInt();
            else if (name == QLatin1String("numFmt"))
                lvl.Style = ListStyleOfWord(value);
            else if (name == QLatin1String("lvlText"))
                lvl.Pattern = value;
            else if (name == QLatin1String("suff"))
                lvl.Separator = value == QLatin1String("nothing") ? QString() : QStringLiteral(" ");
            else if (name == QLatin1String("pStyle") && !value.isEmpty())
                Numbering.StyleLevels.insert(value, {abstractId, level});
        } else if (numId >= 0) {
            if (name == QLatin1String("abstractNumId"))
                Numbering.Instances[numId].Abstract = value.toInt();
            else if (name == QLatin1String("lvlOverride"))
                overrideLevel = AttributeOf(reader, "ilvl").toInt();
            else if (name == QLatin1String("startOverride") && overrideLevel >= 0 &&
                     overrideLevel <= 8)
                Numbering.Instances[numId].StartOverrides[overrideLevel] = value.toInt();
        }
    }
    if (!xml.Error().isEmpty())
        return QStringLiteral("has a damaged list numbering part: ") + xml.Error();
    return std::nullopt;
}

// The list membership of each paragraph style, its base styles' included.
std::optional<QString> ReadStyles(const QByteArray& Bytes, QHash<QString, TNumPr>& Styles) {
    TSafeXml xml(Bytes);
    QXmlStreamReader& reader = xml.Reader();
    QHash<QString, QString> basedOn;
    QHash<QString, TNumPr> own;
    QString style;
    for (auto token = xml.Next(); token != TToken::Invalid && token != TToken::EndDocument;
         token = xml.Next()) {
        if (token == TToken::EndElement && reader.name() == QLatin1String("style"))
            style.clear();
        if (token != TToken::StartElement)
            continue;
        const QStringView name = reader.name();
        if (name == QLatin1String("style"))
            style = AttributeOf(reader, "styleId");
        else if (style.isEmpty())
            continue;
        else if (name == QLatin1String("basedOn"))
            basedOn.insert(style, Value(reader));
        else if (name == QLatin1String("numId"))
            own[style].NumId = Value(reader).toInt();
        else if (name == QLatin1String("ilvl"))
            own[style].Level = Value(reader).toInt();
    }
    if (!xml.Error().isEmpty())
        return QStringLiteral("has a damaged styles part: ") + xml.Error();
    for (auto it = basedOn.cbegin(); it != basedOn.cend(); ++it)
        own[it.key()];
    for (auto it = own.cbegin(); it != own.cend(); ++it) {
        TNumPr numPr = it.value();
        QString base = basedOn.value(it.key());
        // A loop of bases must end: a style chain is short.
        for (int step = 0; step < 16 && !base.isEmpty(); ++step) {
            const TNumPr inherited = own.value(base);
            if (!numPr.NumId)
                numPr.NumId = inherited.NumId;
            if (!numPr.Level)
                numPr.Level = inherited.Level;
            base = basedOn.value(base);
        }
        Styles.insert(it.key(), numPr);
    }
    return std::nullopt;
}

// Elements whose text is no part of the text read: the side of tracked
// changes not read, the fallback copy of alternate content, text boxes.
bool Skipped(QStringView Name, bool Original) {
    static const QSet<QString> skipped{
        QStringLiteral("instrText"),       QStringLiteral("rPrChange"),
        QStringLiteral("numberingChange"), QStringLiteral("Fallback"),
        QStringLiteral("txbxContent"),     QStringLiteral("delInstrText"),
    };
    // The old paragraph properties are read in place of the new ones.
    static const QSet<QString> accepted{QStringLiteral("del"), QStringLiteral("moveFrom"),
                                        QStringLiteral("delText"), QStringLiteral("pPrChange")};
    static const QSet<QString> original{QStringLiteral("ins"), QStringLiteral("moveTo")};
    const QString name = Name.toString();
    return skipped.contains(name) || (Original ? original : accepted).contains(name);
}

// The numbers of Word's lists as they count paragraph by paragraph.
class TWordCounters {
public:
    explicit TWordCounters(const TNumbering& Numbering) : numbering(Numbering) {}

    // The number shown before a paragraph of list NumId at Level.
    QString Next(int NumId, int Level) {
        const auto instance = numbering.Instances.find(NumId);
        if (instance == numbering.Instances.end() || Level < 0 || Level > 8)
            return {};
        const auto abstract = numbering.Abstracts.find(instance->Abstract);
        if (abstract == numbering.Abstracts.end())
            return {};
        TListCounter& counter = counters[instance->Abstract];
        // An instance that overrides a start restarts the list where it
        // first numbers a paragraph; without one it continues the list.
        if (!started.contains(NumId)) {
            started.insert(NumId);
            for (auto it = instance->StartOverrides.cbegin(); it != instance->StartOverrides.cend();
                 ++it)
                counter.Restart(it.key(), it.value());
        }
        return counter.Next(*abstract, Level);
    }

private:
    const TNumbering& numbering;
    QHash<int, TListCounter> counters;
    QSet<int> started;
};

} // namespace

TDocumentRead ReadWordDocument(TZipArchive& Zip, bool Original) {
    TDocumentRead read;
    QByteArray body;
    if (!Zip.Read("word/document.xml", body, read.Error))
        return read;
    TNumbering numbering;
    QHash<QString, TNumPr> styles;
    QByteArray part;
    if (Zip.Has("word/numbering.xml")) {
        if (!Zip.Read("word/numbering.xml", part, read.Error))
            return read;
        if (auto error = ReadNumbering(part, numbering)) {
            read.Error = *error;
            return read;
        }
    }
    if (Zip.Has("word/styles.xml")) {
        if (!Zip.Read("word/styles.xml", part, read.Error))
            return read;
        if (auto error = ReadStyles(part, styles)) {
            read.Error = *error;
            return read;
        }
    }

    TSafeXml xml(body);
    QXmlStreamReader& reader = xml.Reader();
    TWordCounters counters(numbering);
    QString text;
    QString paragraph;
    TNumPr numPr;
    QString style;
    int skipDepth = 0;    // inside a skipped element, at this depth
    int runs = 0;         // runs open: their tabs are text, the paragraph's are stops
    int inProperties = 0; // paragraph properties open
    int inText = 0;       // text elements open
    // The paragraph mark itself was deleted or moved away (inserted or moved
    // here, read as the original): the paragraph joins the next, which then
    // starts with Joined.
    bool markGone = false;
    QString joined;
    TNumPr joinedNumPr;
    std::vector<bool> fields; // per open field: whether its result has begun
    // A table's row is one line, its cells apart by tabs, as a person reads
    // "1. | A pump ..." across; tables within cells join their cell.
    int tables = 0;
    QString row, cell;
    bool rowHasCell = false;
    const auto instruction = [&] {
        for (const bool result : fields)
            if (!result)
                return true;
        return false;
    };
    for (auto token = xml.Next(); token != TToken::Invalid && token != TToken::EndDocument;
         token = xml.Next()) {
        if (skipDepth) {
            if (token == TToken::EndElement && xml.Depth() < skipDepth)
                skipDepth = 0;
            continue;
        }
        const QStringView name = reader.name();
        if (token == TToken::StartElement) {
            if (inProperties && runs == 0 &&
                (name == QLatin1String(Original ? "ins" : "del") ||
                 name == QLatin1String(Original ? "moveTo" : "moveFrom"))) {
                markGone = true;
                skipDepth = xml.Depth();
            } else if (Skipped(name, Original)) {
                skipDepth = xml.Depth();
            } else if (Original && name == QLatin1String("pPrChange")) {
                // What the paragraph was: its old properties alone.
                numPr = {};
                style.clear();
            } else if (name == QLatin1String("p")) {
                paragraph.clear();
                numPr = {};
                style.clear();
                markGone = false;
            } else if (name == QLatin1String("tbl")) {
                ++tables;
            } else if (tables == 1 && name == QLatin1String("tr")) {
                row.clear();
                rowHasCell = false;
            } else if (tables == 1 && name == QLatin1String("tc")) {
                cell.clear();
            } else if (name == QLatin1String("pPr")) {
                ++inProperties;
            } else if (inProperties && runs == 0) {
                if (name == QLatin1String("pStyle"))
                    style = Value(reader);
                else if (name == QLatin1String("numId"))
                    numPr.NumId = Value(reader).toInt();
                else if (name == QLatin1String("ilvl"))
                    numPr.Level = Value(reader).toInt();
            } else if (name == QLatin1String("r")) {
                ++runs;
            } else if (runs && (name == QLatin1String("t") ||
                                (Original && name == QLatin1String("delText")))) {
                ++inText;
            } else if (runs && !instruction()) {
                if (name == QLatin1String("tab") || name == QLatin1String("ptab"))
                    paragraph += u'\t';
                else if (name == QLatin1String("br") || name == QLatin1String("cr"))
                    paragraph += u'\n';
                else if (name == QLatin1String("noBreakHyphen"))
                    paragraph += u'-';
            }
            if (runs && name == QLatin1String("fldChar")) {
                const QString type = AttributeOf(reader, "fldCharType");
                if (type == QLatin1String("begin"))
                    fields.push_back(false);
                else if (type == QLatin1String("separate") && !fields.empty())
                    fields.back() = true;
                else if (type == QLatin1String("end") && !fields.empty())
                    fields.pop_back();
            }
        } else if (token == TToken::EndElement) {
            if (name == QLatin1String("t") || name == QLatin1String("delText")) {
                inText = std::max(inText - 1, 0);
            } else if (name == QLatin1String("r")) {
                runs = std::max(runs - 1, 0);
            } else if (name == QLatin1String("pPr")) {
                inProperties = std::max(inProperties - 1, 0);
            } else if (name == QLatin1String("p")) {
                TNumPr effective = styles.value(style);
                if (numPr.NumId)
                    effective.NumId = numPr.NumId;
                if (numPr.Level)
                    effective.Level = numPr.Level;
                if (const auto linked = numbering.StyleLevels.constFind(style);
                    linked != numbering.StyleLevels.cend() && !numPr.Level) {
                    effective.Level = linked->second;
                    if (!effective.NumId)
                        effective.NumId = numbering.InstanceOf(linked->first);
                }
                if (!joined.isNull()) {
                    // The first of joined paragraphs keeps its list.
                    if (joinedNumPr.NumId.value_or(0) != 0)
                        effective = joinedNumPr;
                    paragraph = joined + paragraph;
                    joined = QString();
                }
                if (markGone && tables == 0) {
                    joined = paragraph;
                    joinedNumPr = effective;
                    paragraph.clear();
                    continue;
                }
                QString number;
                if (effective.NumId.value_or(0) != 0)
                    number = counters.Next(*effective.NumId, effective.Level.value_or(0));
                if (tables > 0)
                    cell += (cell.isEmpty() ? QString() : QStringLiteral(" ")) + number + paragraph;
                else
                    text += number + paragraph + u'\n';
                paragraph.clear();
            } else if (name == QLatin1String("tbl")) {
                tables = std::max(tables - 1, 0);
            } else if (tables == 1 && name == QLatin1String("tc")) {
                row += (rowHasCell ? QStringLiteral("\t") : QString()) + cell;
                rowHasCell = true;
                cell.clear();
            } else if (tables == 1 && name == QLatin1String("tr")) {
                text += row + u'\n';
                row.clear();
            }
        } else if ((token == TToken::Characters || token == TToken::EntityReference) && inText &&
                   !instruction()) {
            paragraph += xml.Text();
        }
    }
    if (!joined.isNull())
        text += joined + u'\n';
    return OneDocumentRead(QStringLiteral("docx"), std::move(text), xml.Error());
}
