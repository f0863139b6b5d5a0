#include "PdfOcr.h"

bool OcrAvailable() {
    return false;
}

TRecognisedWords RecogniseWords(const TPageImage&, const QString&, const std::function<bool()>&) {
    TRecognisedWords words;
    words.Error = QStringLiteral("text recognition is not built in");
    return words;
}
