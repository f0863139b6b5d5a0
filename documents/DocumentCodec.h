#pragma once

#include "TextEncoding.h"

#include <QString>
#include <QStringView>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// A document's bytes as the input pane's text, and the pane's text back as
// bytes: in the encoding and byte order mark the file had, each line with its
// own line end, every character as it was.

enum class TTextEncoding { Utf8, Windows1252, Utf8Bom, Utf16Le, Utf16Be };

// What ends a line. The pane breaks the line at each of them alike, so the
// file's own end is remembered per line.
enum class TLineBreak : unsigned char { Lf, CrLf, Cr, ParagraphSeparator, FrameStart, FrameEnd };

// A text as it was last read or saved: its lines as the pane shows them, and
// what ended each line in the file.
class TDocumentLines {
public:
    // Text holds the lines joined by line feeds; Breaks the end of each line
    // but the last.
    TDocumentLines(QString Text, std::vector<TLineBreak> Breaks);

    qsizetype Count() const { return static_cast<qsizetype>(starts.size()); }
    QStringView Line(qsizetype Index) const;
    // The end of line Index; the last line has none, and a line after it
    // takes NewLineBreak.
    TLineBreak Break(qsizetype Index) const;
    // The end for lines the user adds: the most frequent one, the first
    // found among equals; CR LF for a text without any.
    TLineBreak NewLineBreak() const { return newBreak; }
    // Whether every line ends alike (in NewLineBreak), so that any line of
    // an edited text ends so too.
    bool OneBreak() const { return oneBreak; }

private:
    QString text;
    std::vector<qsizetype> starts;
    std::vector<TLineBreak> breaks;
    TLineBreak newBreak = TLineBreak::CrLf;
    bool oneBreak = true;
};

// How a document's bytes stand for its text; Save writes them the same way.
struct TDocumentFormat {
    TTextEncoding Encoding = TTextEncoding::Utf8;
    // The pane shows bytes 30 and 31 as a non-breaking and a soft hyphen;
    // false when the text has such a character of its own, which would then
    // be written back as the byte.
    bool ShowsByte30 = true;
    bool ShowsByte31 = true;
    // The text as last read or saved; none for a new text, whose lines end
    // in CR LF (what Windows editors write).
    std::shared_ptr<const TDocumentLines> Lines;
};

// Why a document may not be saved; None when it may.
// LegacyCjk: a Chinese, Japanese or Korean encoding of older systems (GB18030,
// Shift_JIS, EUC-KR), shown and analysed, but never written back: were the
// guess wrong, saving would spoil the file.
enum class TDocumentDamage { None, CutAtZeroByte, NotText, LegacyCjk };

// A document as read from its file.
struct TDocumentText {
    QString Shown;        // the input pane's text, line ends as line feeds
    std::string Analysed; // the bytes the analysis reads
    TDocumentFormat Format;
    TDocumentDamage Damage = TDocumentDamage::None;
};

// The document in a file's bytes. A text with a zero byte ends there and is
// marked CutAtZeroByte; one that holds no text is marked NotText. Text after a
// byte order mark is analysed as its Windows-1252 bytes, or as UTF-8 when a
// character has none. Every line end the pane breaks at (CR, LF, CR LF,
// U+2029 and the frame marks U+FDD0 and U+FDD1) is shown as a line feed.
TDocumentText ReadDocumentText(std::string_view Bytes);

// The text the input pane shows for a document's bytes, with its line ends as
// line feeds.
QString DecodeDocumentText(std::string_view Bytes, TDocumentFormat& Format);
QString DecodeDocumentText(std::string_view Bytes, TTextEncoding& Encoding);

// A character the document's encoding cannot hold, and its line from 1.
struct TUnheldCharacter {
    char32_t Character = 0;
    qsizetype Line = 0;
};

// The bytes Save writes for the pane's text (lines broken by line feeds or
// U+2029), in Format, byte order mark included; nothing is added after the
// last line. Lines the text shares with Format.Lines keep their ends, others
// take its NewLineBreak. On success Format.Lines becomes the text written.
// False when the encoding cannot hold a character: Bytes is then empty,
// Format unchanged and Unheld, if given, names the first such character.
bool EncodeDocumentText(const QString& Text, TDocumentFormat& Format, std::string& Bytes,
                        TUnheldCharacter* Unheld = nullptr);

// The bytes the analysis reads for the pane's text, as ReadDocumentText
// gives them for a file of that text.
std::string AnalysedDocumentText(const QString& Text, const TDocumentFormat& Format);
