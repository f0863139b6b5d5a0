// Reads any bytes as the window does and saves them back. A document that may
// be saved (no zero byte, well-formed UTF-16, UTF-8 after a UTF-8 mark, not
// binary) is held by the pane without loss, so an unedited save gives back
// every byte; a line added at the start changes nothing after it.

#include "DocumentCodec.h"

#include <QList>
#include <QStringList>
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

void Check(bool Condition, const char* What) {
    if (!Condition) {
        std::fprintf(stderr, "broken: %s\n", What);
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    const std::string_view bytes(reinterpret_cast<const char*>(Data), Size);
    const TDocumentText document = ReadDocumentText(bytes);
    if (document.Damage != TDocumentDamage::None)
        return 0;
    // The pane breaks lines at these; the shown text must have none left.
    for (const QChar c : document.Shown)
        Check(c != u'\r' && c != QChar::ParagraphSeparator && c != QChar(0xFDD0) &&
                  c != QChar(0xFDD1),
              "a line break the pane would make is shown as a character");

    // Unedited, as shown and as the pane's raw text gives it back.
    TDocumentFormat format = document.Format;
    std::string saved;
    Check(EncodeDocumentText(document.Shown, format, saved), "unedited text cannot be encoded");
    Check(saved == bytes, "unedited save changes bytes");
    QString raw = document.Shown;
    raw.replace(u'\n', QChar::ParagraphSeparator);
    format = document.Format;
    Check(EncodeDocumentText(raw, format, saved) && saved == bytes,
          "unedited save of the pane's raw text changes bytes");
    Check(AnalysedDocumentText(document.Shown, document.Format) == document.Analysed,
          "unedited analysis differs from the file's");

    // A line longer than any other added at the start: the rest stays.
    qsizetype longest = 0;
    for (const QStringView line : QStringView(document.Shown).split(u'\n'))
        longest = std::max(longest, line.size());
    format = document.Format;
    std::string edited;
    Check(EncodeDocumentText(QString(longest + 1, u'Z') + u'\n' + document.Shown, format, edited),
          "edited text cannot be encoded");
    const std::string_view mark = ByteOrderMarkBytes(DetectByteOrderMark(bytes));
    Check(std::string_view(edited).starts_with(mark) &&
              std::string_view(edited).ends_with(bytes.substr(mark.size())) &&
              edited.size() > bytes.size() + longest,
          "a line added at the start changes the rest");

    // Lines moved, removed and added where the input says, saved after the
    // save above: the file reads back as the pane's text.
    QStringList lines = document.Shown.split(u'\n');
    for (std::size_t i = 0; i + 1 < Size && i < 64; i += 2) {
        const qsizetype from = Data[i] % lines.size();
        const qsizetype to = Data[i + 1] % lines.size();
        if (Data[i] & 1)
            lines.move(from, to);
        else if (Data[i + 1] & 1 && lines.size() > 1)
            lines.removeAt(from);
        else
            lines.insert(to, QStringLiteral("Z%1").arg(i));
    }
    const QString text = lines.join(u'\n');
    if (format.Encoding != TTextEncoding::Windows1252) {
        Check(EncodeDocumentText(text, format, edited), "moved lines cannot be encoded");
        const TDocumentText reread = ReadDocumentText(edited);
        Check(reread.Format.Encoding != document.Format.Encoding ||
                  reread.Format.ShowsByte30 != format.ShowsByte30 ||
                  reread.Format.ShowsByte31 != format.ShowsByte31 || reread.Shown == text,
              "an edited save reads back as another text");
    }
    return 0;
}
