#include "PdfOcr.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <memory>
#include <mutex>
#include <tesseract/baseapi.h>
#include <tesseract/ocrclass.h>
#include <tesseract/resultiterator.h>

namespace {

// A 600-dpi A3 page is about 35 million pixels; beyond this recognition would
// take gigabytes and minutes. Tesseract keeps coordinates in 16 bits.
constexpr int64_t MaxPixels = 40'000'000;
constexpr int MaxSide = 32000;

// Where the language data lies: TESSDATA_PREFIX as Tesseract reads it, else
// where the distribution installs it.
QString DataDirectory() {
    const QString prefix = qEnvironmentVariable("TESSDATA_PREFIX");
    if (!prefix.isEmpty()) {
        if (QFileInfo::exists(prefix + QStringLiteral("/tessdata/eng.traineddata")))
            return prefix + QStringLiteral("/tessdata");
        return prefix;
    }
    return QStringLiteral(VELTRUM_TESSDATA);
}

QStringList MissingLanguages(const QString& Directory, const QStringList& Languages) {
    QStringList missing;
    for (const QString& language : Languages) {
        if (!QFileInfo::exists(Directory + QLatin1Char('/') + language +
                               QStringLiteral(".traineddata")))
            missing << language;
    }
    return missing;
}

bool AskCancelled(void* Cancelled, int) {
    return (*static_cast<const std::function<bool()>*>(Cancelled))();
}

// Tesseract writes its warnings to stderr unless told where else; its debug
// file is one setting for the whole process, so it is set once.
void SilenceTesseract(tesseract::TessBaseAPI& Api) {
    static std::once_flag once;
    std::call_once(once, [&] { Api.SetVariable("debug_file", "/dev/null"); });
}

struct TIteratorDeleter {
    void operator()(tesseract::ResultIterator* It) const { delete It; }
};

bool AllDigits(QStringView Text) {
    return !Text.isEmpty() && std::all_of(Text.begin(), Text.end(), [](QChar c) {
        return c >= QLatin1Char('0') && c <= QLatin1Char('9');
    });
}

} // namespace

void MendRecognisedWords(std::vector<TPdfWord>& Words) {
    // Inside claim words only: neither spelling is a word of its own.
    static const struct {
        const char* Read;
        const char* Meant;
    } inWords[] = {{"nspriich", "nsprüch"},
                   {"NSPRIICH", "NSPRÜCH"},
                   {"eivindicag", "eivindicaç"},
                   {"EIVINDICAG", "EIVINDICAÇ"}};
    for (TPdfWord& word : Words) {
        for (const auto& mend : inWords)
            word.Text.replace(QString::fromUtf8(mend.Read), QString::fromUtf8(mend.Meant));
    }
    for (std::size_t i = 1; i < Words.size(); ++i) {
        if (!AllDigits(Words[i - 1].Text))
            continue;
        QString& text = Words[i].Text;
        if (text == QLatin1String("0") && i + 1 < Words.size() &&
            AllDigits(Words[i + 1].Text.left(1))) {
            text = QStringLiteral("o");
            continue;
        }
        // "05," after a number: the "o" and the number ran together. Three
        // digits are a group of thousands ("5 050 g"); without the comma or
        // stop the leading zero may be meant ("2 05 mm").
        qsizetype end = text.size();
        while (end > 0 && QStringLiteral(",.;:)").contains(text[end - 1]))
            --end;
        if (end != 2 || end == text.size() || text[0] != QLatin1Char('0') ||
            !AllDigits(QStringView(text).mid(1, end - 1)))
            continue;
        TPdfWord number = Words[i];
        const double split = Words[i].Left + (Words[i].Right - Words[i].Left) / text.size();
        Words[i].Text = QStringLiteral("o");
        Words[i].Right = split;
        number.Text = number.Text.mid(1);
        number.Left = split;
        Words.insert(Words.begin() + static_cast<std::ptrdiff_t>(i) + 1, std::move(number));
        ++i;
    }
}

bool OcrAvailable() {
    return MissingLanguages(DataDirectory(), {QStringLiteral("eng")}).isEmpty();
}

TRecognisedWords RecogniseWords(const TPageImage& Image, const QString& Languages,
                                const std::function<bool()>& Cancelled) {
    TRecognisedWords result;
    if (Image.Pixels == nullptr || Image.Width <= 0 || Image.Height <= 0 ||
        Image.BytesPerLine < Image.Width) {
        result.Error = QStringLiteral("the page image is empty or malformed");
        return result;
    }
    if (int64_t{Image.Width} * Image.Height > MaxPixels || Image.Width > MaxSide ||
        Image.Height > MaxSide) {
        result.Error = QStringLiteral("the page image is too large to recognise (%1 × %2 pixels)")
                           .arg(Image.Width)
                           .arg(Image.Height);
        return result;
    }
    if (!std::isfinite(Image.Dpi) || Image.Dpi < 50 || Image.Dpi > 2400) {
        result.Error = QStringLiteral("the page image has no usable resolution");
        return result;
    }

    // "eng+deu": names of letters, digits and underscores only, so that a
    // name never walks out of the data directory.
    QStringList languages = Languages.split(QLatin1Char('+'), Qt::SkipEmptyParts);
    if (languages.isEmpty())
        languages << QStringLiteral("eng");
    for (const QString& language : languages) {
        const bool isName = std::all_of(language.begin(), language.end(), [](QChar c) {
            return c.unicode() < 0x80 && (c.isLetterOrNumber() || c == QLatin1Char('_'));
        });
        if (!isName) {
            result.Error =
                QStringLiteral("\"%1\" is not a language name for recognition").arg(language);
            return result;
        }
    }
    const QString directory = DataDirectory();
    const QStringList missing = MissingLanguages(directory, languages);
    if (!missing.isEmpty()) {
        result.Error =
            QStringLiteral("the language data for text recognition is not installed "
                           "(%1 in %2)")
                .arg(missing.join(QStringLiteral(", ")), QDir::toNativeSeparators(directory));
        return result;
    }
    const std::function<bool()> cancelled = Cancelled ? Cancelled : [] { return false; };
    if (cancelled()) {
        result.Error = QStringLiteral("recognition cancelled");
        return result;
    }

    // One engine per call: engines are not shared between threads.
    tesseract::TessBaseAPI api;
    SilenceTesseract(api);
    if (api.Init(directory.toLocal8Bit().constData(),
                 languages.join(QLatin1Char('+')).toLatin1().constData(),
                 tesseract::OEM_LSTM_ONLY) != 0) {
        result.Error = QStringLiteral("the language data for text recognition could not be loaded");
        return result;
    }
    // Measured on the lenient corpus rendered as US-like two-column and
    // EP-like pages: read as one block, the claims came out right where
    // automatic segmentation took a column of lone claim numbers ("1 .",
    // "2 .") for vertical text and lost a heading's umlaut; sparse text did
    // worse still. The layout step finds the columns from the word boxes.
    api.SetPageSegMode(tesseract::PSM_SINGLE_BLOCK);
    api.SetImage(Image.Pixels, Image.Width, Image.Height, 1, Image.BytesPerLine);
    api.SetSourceResolution(static_cast<int>(std::lround(Image.Dpi)));

    tesseract::ETEXT_DESC monitor;
    monitor.cancel = &AskCancelled;
    monitor.cancel_this = const_cast<std::function<bool()>*>(&cancelled);
    const int status = api.Recognize(&monitor);
    if (cancelled()) {
        result.Error = QStringLiteral("recognition cancelled");
        return result;
    }
    if (status != 0) {
        result.Error = QStringLiteral("text recognition failed on the page image");
        return result;
    }

    const double scale = 72.0 / Image.Dpi;
    std::unique_ptr<tesseract::ResultIterator, TIteratorDeleter> it(api.GetIterator());
    if (!it)
        return result; // nothing found on the page
    // A word's own box is its ink: "une" stands lower than "Procédé" on the
    // same line. The words of a line get the line's top and bottom, as a text
    // layer gives them, so that the layout step puts them on one line.
    int lineTop = 0, lineBottom = 0;
    do {
        int left = 0, top = 0, right = 0, bottom = 0;
        if (it->IsAtBeginningOf(tesseract::RIL_TEXTLINE) &&
            !it->BoundingBox(tesseract::RIL_TEXTLINE, &left, &lineTop, &right, &lineBottom))
            lineTop = lineBottom = 0;
        const std::unique_ptr<char[]> text(it->GetUTF8Text(tesseract::RIL_WORD));
        if (!text || !it->BoundingBox(tesseract::RIL_WORD, &left, &top, &right, &bottom))
            continue;
        TPdfWord word;
        word.Text = QString::fromUtf8(text.get()).trimmed();
        if (word.Text.isEmpty())
            continue;
        const bool inLine = lineBottom > lineTop && top >= lineTop && bottom <= lineBottom;
        word.Left = left * scale;
        word.Top = (inLine ? lineTop : top) * scale;
        word.Right = right * scale;
        word.Bottom = (inLine ? lineBottom : bottom) * scale;
        result.Words.push_back(std::move(word));
    } while (it->Next(tesseract::RIL_WORD));
    MendRecognisedWords(result.Words);
    return result;
}
