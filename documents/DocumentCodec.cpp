#include "DocumentCodec.h"

#include <QHash>
#include <QStringDecoder>
#include <algorithm>
#include <array>
#include <cstdint>
#include <span>
#include <utility>

namespace {

constexpr char16_t FrameStartMark = 0xFDD0;
constexpr char16_t FrameEndMark = 0xFDD1;

QStringView BreakText(TLineBreak Break) {
    switch (Break) {
    case TLineBreak::Lf:
        return u"\n";
    case TLineBreak::CrLf:
        return u"\r\n";
    case TLineBreak::Cr:
        return u"\r";
    case TLineBreak::ParagraphSeparator:
        return u"\u2029";
    case TLineBreak::FrameStart:
        return u"\uFDD0";
    case TLineBreak::FrameEnd:
        return u"\uFDD1";
    }
    return u"\r\n";
}

// The line break that starts at Text[I], and its length; 0 when none does.
int BreakAt(QStringView Text, qsizetype I, TLineBreak& Break) {
    switch (Text[I].unicode()) {
    case u'\n':
        Break = TLineBreak::Lf;
        return 1;
    case u'\r':
        if (I + 1 < Text.size() && Text[I + 1] == u'\n') {
            Break = TLineBreak::CrLf;
            return 2;
        }
        Break = TLineBreak::Cr;
        return 1;
    case QChar::ParagraphSeparator:
        Break = TLineBreak::ParagraphSeparator;
        return 1;
    case FrameStartMark:
        Break = TLineBreak::FrameStart;
        return 1;
    case FrameEndMark:
        Break = TLineBreak::FrameEnd;
        return 1;
    default:
        return 0;
    }
}

// The pane's lines of a text: it breaks lines at line feeds, and its raw
// text has U+2029 between them.
std::vector<QStringView> PaneLines(const QString& Text) {
    std::vector<QStringView> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < Text.size(); ++i) {
        if (Text[i] == u'\n' || Text[i] == QChar::ParagraphSeparator) {
            lines.push_back(QStringView(Text).sliced(start, i - start));
            start = i + 1;
        }
    }
    lines.push_back(QStringView(Text).sliced(start));
    return lines;
}

using TLineMatches = std::vector<std::pair<qsizetype, qsizetype>>;
using TLines = std::span<const QStringView>;

// Pairs of equal lines, old and new index, in ascending order, between Old
// and New by the fewest lines removed and added; false when that takes more
// than MaxWork comparisons.
bool MatchLines(TLines Old, TLines New, std::int64_t MaxWork, TLineMatches& Matches) {
    constexpr qsizetype MaxEdits = 1024;
    const qsizetype n = static_cast<qsizetype>(Old.size());
    const qsizetype m = static_cast<qsizetype>(New.size());
    std::vector<std::size_t> oldHash(Old.size()), newHash(New.size());
    std::transform(Old.begin(), Old.end(), oldHash.begin(), [](QStringView L) { return qHash(L); });
    std::transform(New.begin(), New.end(), newHash.begin(), [](QStringView L) { return qHash(L); });
    const auto equal = [&](qsizetype X, qsizetype Y) {
        return oldHash[X] == newHash[Y] && Old[X] == New[Y];
    };
    const qsizetype maxD = std::min(n + m, MaxEdits);
    // V[k] is the furthest old index on diagonal k = x - y; trace[d] keeps
    // V for k in [-d, d] after step d.
    std::vector<qsizetype> v(static_cast<std::size_t>(2 * maxD + 3), 0);
    const qsizetype offset = maxD + 1;
    std::vector<std::vector<qsizetype>> trace;
    std::int64_t work = 0;
    for (qsizetype d = 0; d <= maxD; ++d) {
        for (qsizetype k = -d; k <= d; k += 2) {
            qsizetype x = (k == -d || (k != d && v[offset + k - 1] < v[offset + k + 1]))
                              ? v[offset + k + 1]
                              : v[offset + k - 1] + 1;
            qsizetype y = x - k;
            const qsizetype start = x;
            while (x < n && y < m && equal(x, y)) {
                ++x;
                ++y;
            }
            work += 1 + (x - start);
            v[offset + k] = x;
            if (x >= n && y >= m) {
                trace.emplace_back(v.begin() + offset - d, v.begin() + offset + d + 1);
                // Back from the end: each step's snake gives its matches.
                Matches.clear();
                qsizetype bx = n, by = m;
                for (qsizetype e = d; e > 0; --e) {
                    const std::vector<qsizetype>& prev = trace[static_cast<std::size_t>(e - 1)];
                    const auto at = [&](qsizetype K) {
                        return prev[static_cast<std::size_t>(K + e - 1)];
                    };
                    const qsizetype bk = bx - by;
                    const qsizetype prevK =
                        (bk == -e || (bk != e && at(bk - 1) < at(bk + 1))) ? bk + 1 : bk - 1;
                    const qsizetype prevX = at(prevK);
                    const qsizetype prevY = prevX - prevK;
                    while (bx > prevX && by > prevY) {
                        --bx;
                        --by;
                        Matches.emplace_back(bx, by);
                    }
                    bx = prevX;
                    by = prevY;
                }
                while (bx > 0 && by > 0) {
                    --bx;
                    --by;
                    Matches.emplace_back(bx, by);
                }
                std::reverse(Matches.begin(), Matches.end());
                return true;
            }
            if (work > MaxWork)
                return false;
        }
        trace.emplace_back(v.begin() + offset - d, v.begin() + offset + d + 1);
    }
    return false;
}

// Appends the pairs of equal lines of Old and New, their indices offset by
// OldAt and NewAt. Where the fewest changes take too long to find, lines
// found once in each and in the same order anchor the pairing, and the lines
// between anchors are paired the same way; lines left unpaired are paired by
// position by the caller.
void MatchRange(TLines Old, TLines New, qsizetype OldAt, qsizetype NewAt, int Depth,
                TLineMatches& Matches) {
    if (Old.empty() || New.empty())
        return;
    TLineMatches local;
    const std::int64_t budget = 8 * static_cast<std::int64_t>(Old.size() + New.size()) + 100'000;
    if (MatchLines(Old, New, budget, local)) {
        for (const auto& [o, n] : local)
            Matches.emplace_back(OldAt + o, NewAt + n);
        return;
    }
    if (Depth >= 32)
        return;
    struct TSeen {
        qsizetype Old = -1; // its index, -2 when repeated
        qsizetype New = -1;
    };
    QHash<QStringView, TSeen> seen;
    seen.reserve(static_cast<qsizetype>(Old.size()));
    for (qsizetype i = 0; i < static_cast<qsizetype>(Old.size()); ++i) {
        TSeen& line = seen[Old[static_cast<std::size_t>(i)]];
        line.Old = line.Old == -1 ? i : -2;
    }
    for (qsizetype j = 0; j < static_cast<qsizetype>(New.size()); ++j) {
        const auto found = seen.find(New[static_cast<std::size_t>(j)]);
        if (found != seen.end())
            found->New = found->New == -1 ? j : -2;
    }
    TLineMatches unique;
    for (qsizetype j = 0; j < static_cast<qsizetype>(New.size()); ++j) {
        const auto found = seen.constFind(New[static_cast<std::size_t>(j)]);
        if (found != seen.cend() && found->Old >= 0 && found->New == j)
            unique.emplace_back(found->Old, j);
    }
    // The longest run of them whose old indices ascend too.
    std::vector<std::size_t> tails, before(unique.size());
    for (std::size_t i = 0; i < unique.size(); ++i) {
        const auto at =
            std::lower_bound(tails.begin(), tails.end(), unique[i].first,
                             [&](std::size_t T, qsizetype O) { return unique[T].first < O; });
        before[i] = at == tails.begin() ? i : *(at - 1);
        if (at == tails.end())
            tails.push_back(i);
        else
            *at = i;
    }
    TLineMatches anchors(tails.size());
    for (std::size_t k = tails.size(), i = tails.empty() ? 0 : tails.back(); k > 0; i = before[i])
        anchors[--k] = unique[i];
    qsizetype o = 0, w = 0;
    for (const auto& [ao, an] : anchors) {
        MatchRange(Old.subspan(static_cast<std::size_t>(o), static_cast<std::size_t>(ao - o)),
                   New.subspan(static_cast<std::size_t>(w), static_cast<std::size_t>(an - w)),
                   OldAt + o, NewAt + w, Depth + 1, Matches);
        Matches.emplace_back(OldAt + ao, NewAt + an);
        o = ao + 1;
        w = an + 1;
    }
    if (!anchors.empty())
        MatchRange(Old.subspan(static_cast<std::size_t>(o)),
                   New.subspan(static_cast<std::size_t>(w)), OldAt + o, NewAt + w, Depth + 1,
                   Matches);
}

// The end of each line of New but the last: a line New shares with Old keeps
// its end; of lines put in place of others, the first ones take the ends of
// the lines they replace in turn and the last one that of the last line
// replaced; lines added take NewLineBreak.
std::vector<TLineBreak> LineBreaks(const std::vector<QStringView>& New, const TDocumentLines* Old) {
    const qsizetype m = static_cast<qsizetype>(New.size());
    std::vector<TLineBreak> breaks(static_cast<std::size_t>(m - 1),
                                   Old ? Old->NewLineBreak() : TLineBreak::CrLf);
    if (!Old)
        return breaks;
    const qsizetype n = Old->Count();
    const auto oldBreak = [&](qsizetype I) {
        return I + 1 < n ? Old->Break(I) : Old->NewLineBreak();
    };
    const auto keep = [&](qsizetype OldLine, qsizetype NewLine) {
        if (NewLine + 1 < m)
            breaks[static_cast<std::size_t>(NewLine)] = oldBreak(OldLine);
    };
    const auto replace = [&](qsizetype O0, qsizetype O1, qsizetype N0, qsizetype N1) {
        const qsizetype removed = O1 - O0;
        for (qsizetype r = 0; removed > 0 && r < N1 - N0; ++r) {
            if (r == N1 - N0 - 1)
                keep(O1 - 1, N0 + r);
            else if (r < removed - 1)
                keep(O0 + r, N0 + r);
        }
    };

    qsizetype prefix = 0;
    while (prefix < n && prefix < m && Old->Line(prefix) == New[static_cast<std::size_t>(prefix)]) {
        keep(prefix, prefix);
        ++prefix;
    }
    qsizetype suffix = 0;
    while (prefix + suffix < n && prefix + suffix < m &&
           Old->Line(n - 1 - suffix) == New[static_cast<std::size_t>(m - 1 - suffix)]) {
        keep(n - 1 - suffix, m - 1 - suffix);
        ++suffix;
    }

    std::vector<QStringView> oldMiddle;
    for (qsizetype i = prefix; i < n - suffix; ++i)
        oldMiddle.push_back(Old->Line(i));
    TLineMatches matches;
    MatchRange(oldMiddle,
               TLines(New).subspan(static_cast<std::size_t>(prefix),
                                   static_cast<std::size_t>(m - suffix - prefix)),
               0, 0, 0, matches);
    qsizetype o = 0, w = 0;
    for (const auto& [oi, ni] : matches) {
        replace(prefix + o, prefix + oi, prefix + w, prefix + ni);
        keep(prefix + oi, prefix + ni);
        o = oi + 1;
        w = ni + 1;
    }
    replace(prefix + o, n - suffix, prefix + w, m - suffix);
    // CR, an empty line, LF would read back as one CR LF: the CR takes an LF.
    for (std::size_t i = 0; i + 1 < breaks.size(); ++i) {
        if (breaks[i] == TLineBreak::Cr && New[i + 1].isEmpty() && breaks[i + 1] == TLineBreak::Lf)
            breaks[i] = TLineBreak::CrLf;
    }
    return breaks;
}

// The text with each line's end and the bytes 30 and 31 the pane shows as
// hyphens, in UTF-16.
QString StoredText(const std::vector<QStringView>& Lines, const std::vector<TLineBreak>& Breaks,
                   const TDocumentFormat& Format) {
    QString text;
    qsizetype size = 0;
    for (QStringView line : Lines)
        size += line.size() + 2;
    text.reserve(size);
    for (std::size_t i = 0; i < Lines.size(); ++i) {
        text += Lines[i];
        if (i < Breaks.size())
            text += BreakText(Breaks[i]);
    }
    if (Format.ShowsByte30)
        text.replace(QChar(NonBreakingHyphen), QChar(NonBreakingHyphenByte));
    if (Format.ShowsByte31)
        text.replace(QChar(SoftHyphen), QChar(OptionalHyphenByte));
    return text;
}

std::string ToStdUtf8(const QString& Text) {
    const QByteArray utf8 = Text.toUtf8();
    return std::string(utf8.constData(), static_cast<std::size_t>(utf8.size()));
}

// The first character of Lines that Windows-1252 cannot hold.
TUnheldCharacter FirstUnheld(const std::vector<QStringView>& Lines, const TDocumentFormat& Format) {
    std::string bytes;
    const auto held = [&](const QString& Text) {
        return Utf8ToWindows1252(ToStdUtf8(Text), bytes);
    };
    for (std::size_t line = 0; line < Lines.size(); ++line) {
        const QString text = StoredText({Lines[line]}, {}, Format);
        if (held(text))
            continue;
        for (qsizetype i = 0; i < text.size();) {
            const qsizetype width =
                text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()
                    ? 2
                    : 1;
            const QString character = text.sliced(i, width);
            if (!held(character))
                return {character.toUcs4().front(), static_cast<qsizetype>(line) + 1};
            i += width;
        }
    }
    return {};
}

// The text of UTF-8 bytes, a leading U+FEFF included: QString::fromUtf8
// would drop it as a byte order mark, but the file's mark is gone already.
QString FromUtf8(std::string_view Utf8) {
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom);
    return decoder(QByteArrayView(Utf8.data(), static_cast<qsizetype>(Utf8.size())));
}

// Cuts Text at its first zero byte; true when there was one.
bool CutAtZero(std::string_view& Text) {
    const std::size_t zero = Text.find('\0');
    if (zero == std::string_view::npos)
        return false;
    Text = Text.substr(0, zero);
    return true;
}

// The pane's form of a decoded text, its lines recorded in Format.
QString ShownText(const QString& Decoded, TDocumentFormat& Format) {
    QString text;
    text.reserve(Decoded.size());
    std::vector<TLineBreak> breaks;
    TLineBreak found = TLineBreak::Lf;
    for (qsizetype i = 0; i < Decoded.size();) {
        if (const int length = BreakAt(Decoded, i, found)) {
            text += u'\n';
            breaks.push_back(found);
            i += length;
        } else {
            text += Decoded[i++];
        }
    }
    Format.ShowsByte30 = !text.contains(QChar(NonBreakingHyphen));
    Format.ShowsByte31 = !text.contains(QChar(SoftHyphen));
    if (Format.ShowsByte30)
        text.replace(QChar(NonBreakingHyphenByte), QChar(NonBreakingHyphen));
    if (Format.ShowsByte31)
        text.replace(QChar(OptionalHyphenByte), QChar(SoftHyphen));
    Format.Lines = std::make_shared<const TDocumentLines>(text, std::move(breaks));
    return text;
}

} // namespace

TDocumentLines::TDocumentLines(QString Text, std::vector<TLineBreak> Breaks)
    : text(std::move(Text)), breaks(std::move(Breaks)) {
    starts.push_back(0);
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\n')
            starts.push_back(i + 1);
    }
    breaks.resize(starts.size() - 1, TLineBreak::CrLf);
    std::array<std::size_t, 6> counts{};
    for (const TLineBreak b : breaks)
        ++counts[static_cast<std::size_t>(b)];
    std::size_t most = 0;
    for (const TLineBreak b : breaks) {
        if (counts[static_cast<std::size_t>(b)] > most) {
            most = counts[static_cast<std::size_t>(b)];
            newBreak = b;
        }
    }
    oneBreak = most == breaks.size();
}

QStringView TDocumentLines::Line(qsizetype Index) const {
    const std::size_t i = static_cast<std::size_t>(Index);
    const qsizetype end = i + 1 < starts.size() ? starts[i + 1] - 1 : text.size();
    return QStringView(text).sliced(starts[i], end - starts[i]);
}

TLineBreak TDocumentLines::Break(qsizetype Index) const {
    return breaks[static_cast<std::size_t>(Index)];
}

TDocumentText ReadDocumentText(std::string_view Bytes) {
    TDocumentText document;
    TDocumentFormat& format = document.Format;
    const TByteOrderMark mark = DetectByteOrderMark(Bytes);
    Bytes.remove_prefix(ByteOrderMarkBytes(mark).size());
    bool whole = true;
    bool cut = false;
    bool legacy = false;
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
        if (isUtf8)
            utf8 = std::string(Bytes);
        else if (mark == TByteOrderMark::None &&
                 DecodeLegacyCjk(Bytes, utf8) != TLegacyCjkEncoding::None)
            legacy = true;
        else
            utf8 = Windows1252ToUtf8(Bytes);
        if (legacy)
            document.Analysed = utf8;
    }
    if (mark != TByteOrderMark::None)
        document.Analysed = Windows1252OrUtf8(utf8);
    document.Damage = cut                                        ? TDocumentDamage::CutAtZeroByte
                      : !whole || LooksBinary(document.Analysed) ? TDocumentDamage::NotText
                      : legacy                                   ? TDocumentDamage::LegacyCjk
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

bool EncodeDocumentText(const QString& Text, TDocumentFormat& Format, std::string& Bytes,
                        TUnheldCharacter* Unheld) {
    Bytes.clear();
    const std::vector<QStringView> lines = PaneLines(Text);
    std::vector<TLineBreak> breaks = LineBreaks(lines, Format.Lines.get());
    const std::string utf8 = ToStdUtf8(StoredText(lines, breaks, Format));
    const auto marked = [&](TByteOrderMark Mark, const std::string& Body) {
        Bytes = std::string(ByteOrderMarkBytes(Mark)) + Body;
    };
    switch (Format.Encoding) {
    case TTextEncoding::Windows1252:
        if (!Utf8ToWindows1252(utf8, Bytes)) {
            Bytes.clear();
            if (Unheld)
                *Unheld = FirstUnheld(lines, Format);
            return false;
        }
        break;
    case TTextEncoding::Utf8:
        Bytes = utf8;
        break;
    case TTextEncoding::Utf8Bom:
        marked(TByteOrderMark::Utf8, utf8);
        break;
    case TTextEncoding::Utf16Le:
        marked(TByteOrderMark::Utf16Le, Utf8ToUtf16(utf8, false));
        break;
    case TTextEncoding::Utf16Be:
        marked(TByteOrderMark::Utf16Be, Utf8ToUtf16(utf8, true));
        break;
    }
    QString shown = Text;
    shown.replace(QChar::ParagraphSeparator, u'\n');
    Format.Lines = std::make_shared<const TDocumentLines>(std::move(shown), std::move(breaks));
    return true;
}

std::string AnalysedDocumentText(const QString& Text, const TDocumentFormat& Format) {
    const std::vector<QStringView> lines = PaneLines(Text);
    const std::string utf8 =
        ToStdUtf8(StoredText(lines, LineBreaks(lines, Format.Lines.get()), Format));
    return Format.Encoding == TTextEncoding::Utf8 ? utf8 : Windows1252OrUtf8(utf8);
}
