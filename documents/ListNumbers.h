#pragma once

// The numbers that word processors' automatic lists put before paragraphs.

#include <QString>
#include <array>

enum class TListStyle {
    Decimal,
    DecimalZero,
    LowerLetter,
    UpperLetter,
    LowerRoman,
    UpperRoman,
    None
};

// One level of a list: where it starts, how it writes its number, and the
// pattern of the label, "%1" to "%9" standing for the numbers of levels 1
// to 9 ("%1.%2)"); an empty pattern writes the level's own number and a dot.
struct TListLevel {
    int Start = 1;
    TListStyle Style = TListStyle::Decimal;
    QString Pattern;
    QString Separator = QStringLiteral(" "); // between label and text
};

using TListLevels = std::array<TListLevel, 9>;

TListStyle ListStyleOfWord(const QString& NumFmt);
TListStyle ListStyleOfOdf(const QString& NumFormat);
QString FormatListNumber(int Value, TListStyle Style);

// The running numbers of one list.
class TListCounter {
public:
    // The label of the next paragraph at Level (0 to 8): that level counts
    // on, every deeper one starts again.
    QString Next(const TListLevels& Levels, int Level);
    // Level's next number is Start.
    void Restart(int Level, int Start);

private:
    std::array<int, 9> values{};
    std::array<bool, 9> counting{};
};
