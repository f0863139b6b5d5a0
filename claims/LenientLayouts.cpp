#include "LenientLayouts.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr std::string_view DeletedOpen = ".[.";
constexpr std::string_view DeletedClose = ".].";
constexpr std::string_view AddedOpen = ".Iadd.";
constexpr std::string_view AddedClose = ".Iaddend.";
constexpr std::string_view CancelledStatus = " (Canceled)";
constexpr std::string_view ClaimsTag = "CLMS";
// Claim numbers have at most this many digits.
constexpr std::size_t MaxDigits = 6;

std::size_t Find(std::string_view Text, std::string_view What, std::size_t From) {
    if (From >= Text.size())
        return std::string_view::npos;
    const void* found = memmem(Text.data() + From, Text.size() - From, What.data(), What.size());
    return found == nullptr
               ? std::string_view::npos
               : static_cast<std::size_t>(static_cast<const char*>(found) - Text.data());
}

bool IsLineBreak(char c) {
    return c == '\n' || c == '\r';
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool OnlyBlanksBefore(const std::string& s, std::size_t At) {
    while (At > 0 && IsBlank(s[At - 1]))
        --At;
    return At == 0 || IsLineBreak(s[At - 1]);
}

void Blank(std::string& s, std::size_t Begin, std::size_t End) {
    for (std::size_t i = Begin; i < End; ++i) {
        if (!IsLineBreak(s[i]))
            s[i] = ' ';
    }
}

// Bytes Begin to End, markers included, are deleted matter. A line in it that
// starts with a claim number keeps the number, marked cancelled when there is room.
void BlankDeleted(std::string& s, std::size_t Begin, std::size_t End) {
    std::size_t i = Begin;
    while (i < End) {
        std::size_t lineEnd = i;
        while (lineEnd < End && !IsLineBreak(s[lineEnd]))
            ++lineEnd;
        const bool lineStart = i != Begin || OnlyBlanksBefore(s, Begin);
        std::size_t number = i == Begin ? Begin + DeletedOpen.size() : i;
        while (number < lineEnd && IsBlank(s[number]))
            ++number;
        std::size_t keep = number;
        while (keep < lineEnd && IsDigit(s[keep]) && keep - number < MaxDigits)
            ++keep;
        const bool claim =
            lineStart && keep > number && keep < lineEnd && (s[keep] == '.' || s[keep] == ')');
        if (claim) {
            Blank(s, i, number);
            Blank(s, keep + 1, lineEnd);
            if (lineEnd - (keep + 1) >= CancelledStatus.size())
                s.replace(keep + 1, CancelledStatus.size(), CancelledStatus);
        } else {
            Blank(s, i, lineEnd);
        }
        i = lineEnd;
        while (i < End && IsLineBreak(s[i]))
            ++i;
    }
}

bool UnmarkReissue(std::string& s) {
    bool changed = false;
    for (std::size_t pos = 0;;) {
        const std::size_t open = Find(s, DeletedOpen, pos);
        if (open == std::string::npos)
            break;
        const std::size_t close = Find(s, DeletedClose, open + DeletedOpen.size());
        // Without its end the bracket deletes nothing: better a marker too many than a claim lost.
        if (close == std::string::npos)
            break;
        BlankDeleted(s, open, close + DeletedClose.size());
        pos = close + DeletedClose.size();
        changed = true;
    }
    for (const std::string_view marker : {AddedOpen, AddedClose}) {
        for (std::size_t at = Find(s, marker, 0); at != std::string::npos;
             at = Find(s, marker, at + marker.size())) {
            Blank(s, at, at + marker.size());
            changed = true;
        }
    }
    return changed;
}

// "ABST", "DETD": a section tag alone on its line.
bool IsSectionTagLine(std::string_view Line) {
    while (!Line.empty() && (IsBlank(Line.back()) || Line.back() == '\r'))
        Line.remove_suffix(1);
    if (Line.size() != 4)
        return false;
    for (char c : Line) {
        if (c < 'A' || c > 'Z')
            return false;
    }
    return true;
}

// "NUM", "PAR", "PA1", "STM": a field tag of three or four capitals and
// digits at a line's start, then blanks or the line's end.
std::size_t FieldTagLength(std::string_view Line) {
    std::size_t n = 0;
    while (n < Line.size() && n < 5 && ((Line[n] >= 'A' && Line[n] <= 'Z') || IsDigit(Line[n])))
        ++n;
    if (n < 3 || n > 4 || IsDigit(Line[0]))
        return 0;
    if (n < Line.size() && !IsBlank(Line[n]) && Line[n] != '\r')
        return 0;
    return n;
}

bool UnmarkTagged(std::string& s) {
    // The line "CLMS" that opens the claims.
    std::size_t from = std::string::npos;
    for (std::size_t at = Find(s, ClaimsTag, 0); at != std::string::npos;
         at = Find(s, ClaimsTag, at + ClaimsTag.size())) {
        const std::size_t lineEnd = s.find_first_of("\r\n", at);
        const std::size_t end = lineEnd == std::string::npos ? s.size() : lineEnd;
        if ((at == 0 || IsLineBreak(s[at - 1])) &&
            IsSectionTagLine(std::string_view(s).substr(at, end - at))) {
            from = end;
            break;
        }
    }
    if (from == std::string::npos)
        return false;
    std::size_t pos = from;
    while (pos < s.size()) {
        while (pos < s.size() && IsLineBreak(s[pos]))
            ++pos;
        std::size_t end = pos;
        while (end < s.size() && !IsLineBreak(s[end]))
            ++end;
        const std::string_view line = std::string_view(s).substr(pos, end - pos);
        if (IsSectionTagLine(line))
            break;
        Blank(s, pos, pos + FieldTagLength(line));
        pos = end;
    }
    return true;
}

// "Claims Text - CLTX (2):": the label that field-by-field exports put
// before each paragraph of a field.
bool IsFieldLabelLine(std::string_view Line) {
    while (!Line.empty() && (IsBlank(Line.back()) || IsLineBreak(Line.back())))
        Line.remove_suffix(1);
    if (Line.size() > 80 || !Line.ends_with("):"))
        return false;
    const std::size_t open = Line.rfind(" (");
    if (open == std::string_view::npos || open < 7 || open + 4 > Line.size())
        return false;
    for (std::size_t i = open + 2; i + 2 < Line.size(); ++i) {
        if (!IsDigit(Line[i]))
            return false;
    }
    const std::string_view tag = Line.substr(open - 4, 4);
    return Line.substr(open - 7, 3) == " - " &&
           std::all_of(tag.begin(), tag.end(), [](char c) { return c >= 'A' && c <= 'Z'; });
}

bool UnmarkFieldLabels(std::string& s) {
    bool changed = false;
    for (std::size_t pos = 0; pos < s.size();) {
        std::size_t end = pos;
        while (end < s.size() && !IsLineBreak(s[end]))
            ++end;
        if (IsFieldLabelLine(std::string_view(s).substr(pos, end - pos))) {
            Blank(s, pos, end);
            changed = true;
        }
        pos = end + 1;
    }
    return changed;
}

} // namespace

bool UnmarkFullTextLayout(std::string_view Text, std::string& Out) {
    const bool reissue = Find(Text, DeletedOpen, 0) != std::string_view::npos ||
                         Find(Text, AddedOpen, 0) != std::string_view::npos;
    const bool tagged = Find(Text, ClaimsTag, 0) != std::string_view::npos;
    std::string s(Text);
    bool changed = UnmarkFieldLabels(s);
    if (reissue)
        changed = UnmarkReissue(s);
    if (tagged)
        changed = UnmarkTagged(s) || changed;
    if (changed)
        Out = std::move(s);
    return changed;
}

bool IsFullTextMarkupLine(std::string_view Line) {
    if (Line.starts_with(DeletedOpen) || Line.starts_with(AddedOpen))
        return true;
    while (!Line.empty() && (IsBlank(Line.back()) || IsLineBreak(Line.back())))
        Line.remove_suffix(1);
    return Line == ClaimsTag || IsFieldLabelLine(Line);
}

bool UnmarkReissueText(std::string_view Text, std::string& Out) {
    if (Text.find(".[.") == std::string_view::npos && Text.find(".Iadd") == std::string_view::npos)
        return false;
    std::string s(Text);
    if (!UnmarkReissue(s))
        return false;
    Out = std::move(s);
    return true;
}
