#include "ListNumbers.h"

TListStyle ListStyleOfWord(const QString& NumFmt) {
    if (NumFmt == QLatin1String("decimalZero"))
        return TListStyle::DecimalZero;
    if (NumFmt == QLatin1String("lowerLetter"))
        return TListStyle::LowerLetter;
    if (NumFmt == QLatin1String("upperLetter"))
        return TListStyle::UpperLetter;
    if (NumFmt == QLatin1String("lowerRoman"))
        return TListStyle::LowerRoman;
    if (NumFmt == QLatin1String("upperRoman"))
        return TListStyle::UpperRoman;
    if (NumFmt == QLatin1String("bullet") || NumFmt == QLatin1String("none"))
        return TListStyle::None;
    return TListStyle::Decimal;
}

TListStyle ListStyleOfOdf(const QString& NumFormat) {
    if (NumFormat == QLatin1String("a"))
        return TListStyle::LowerLetter;
    if (NumFormat == QLatin1String("A"))
        return TListStyle::UpperLetter;
    if (NumFormat == QLatin1String("i"))
        return TListStyle::LowerRoman;
    if (NumFormat == QLatin1String("I"))
        return TListStyle::UpperRoman;
    if (NumFormat.isEmpty())
        return TListStyle::None;
    return TListStyle::Decimal;
}

QString FormatListNumber(int Value, TListStyle Style) {
    switch (Style) {
    case TListStyle::Decimal:
        return QString::number(Value);
    case TListStyle::DecimalZero:
        return QStringLiteral("%1").arg(Value, 2, 10, QLatin1Char('0'));
    case TListStyle::LowerLetter:
    case TListStyle::UpperLetter: {
        if (Value < 1)
            return QString::number(Value);
        // a..z, then aa..zz: the letter repeated, as word processors count.
        const QChar letter(static_cast<char16_t>((Style == TListStyle::LowerLetter ? u'a' : u'A') +
                                                 (Value - 1) % 26));
        return QString(std::min((Value - 1) / 26 + 1, 64), letter);
    }
    case TListStyle::LowerRoman:
    case TListStyle::UpperRoman: {
        if (Value < 1 || Value > 3999)
            return QString::number(Value);
        static const std::array<std::pair<int, const char*>, 13> numerals{{{1000, "m"},
                                                                           {900, "cm"},
                                                                           {500, "d"},
                                                                           {400, "cd"},
                                                                           {100, "c"},
                                                                           {90, "xc"},
                                                                           {50, "l"},
                                                                           {40, "xl"},
                                                                           {10, "x"},
                                                                           {9, "ix"},
                                                                           {5, "v"},
                                                                           {4, "iv"},
                                                                           {1, "i"}}};
        QString roman;
        for (const auto& [value, numeral] : numerals)
            for (; Value >= value; Value -= value)
                roman += QLatin1String(numeral);
        return Style == TListStyle::UpperRoman ? roman.toUpper() : roman;
    }
    case TListStyle::None:
        break;
    }
    return {};
}

QString TListCounter::Next(const TListLevels& Levels, int Level) {
    if (Level < 0 || Level > 8)
        return {};
    const auto at = static_cast<std::size_t>(Level);
    values[at] = counting[at] ? values[at] + 1 : Levels[at].Start;
    counting[at] = true;
    for (std::size_t deeper = at + 1; deeper < counting.size(); ++deeper)
        counting[deeper] = false;
    const TListLevel& level = Levels[at];
    if (level.Style == TListStyle::None)
        return {};
    const QString pattern =
        level.Pattern.isEmpty() ? QStringLiteral("%%1.").arg(Level + 1) : level.Pattern;
    QString label;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern[i];
        if (c == u'%' && i + 1 < pattern.size() && pattern[i + 1] >= u'1' &&
            pattern[i + 1] <= u'9') {
            const auto k = static_cast<std::size_t>(pattern[++i].unicode() - u'1');
            const int value = k <= at && counting[k] ? values[k] : Levels[k].Start;
            label += FormatListNumber(value, Levels[k].Style);
        } else {
            label += c;
        }
    }
    return label.isEmpty() ? label : label + level.Separator;
}

void TListCounter::Restart(int Level, int Start) {
    if (Level < 0 || Level > 8)
        return;
    const auto at = static_cast<std::size_t>(Level);
    values[at] = Start - 1;
    counting[at] = true;
    for (std::size_t deeper = at + 1; deeper < counting.size(); ++deeper)
        counting[deeper] = false;
}
