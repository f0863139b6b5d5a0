#pragma once

// Words recognised on the image of a page that has no text layer.

#include "PdfLayout.h"

#include <QString>
#include <cstdint>
#include <functional>

// An 8-bit grey image of a page, rows of BytesPerLine bytes, top row first.
struct TPageImage {
    const uint8_t* Pixels = nullptr;
    int Width = 0;
    int Height = 0;
    int BytesPerLine = 0;
    double Dpi = 300; // pixels per inch: word boxes come back in points
};

struct TRecognisedWords {
    std::vector<TPdfWord> Words; // boxes in points from the page's top left
    QString Error;               // e.g. the language data is not installed
};

// Whether recognition is available at all (the library and its English data).
bool OcrAvailable();

// Languages as recognition names them, e.g. "eng+deu+fra". Cancelled is asked
// now and then and stops the recognition when it returns true.
TRecognisedWords RecogniseWords(const TPageImage& Image, const QString& Languages,
                                const std::function<bool()>& Cancelled = {});

// Mends what recognition systematically gets wrong in claims and the
// readings cannot undo, in recognition order: "ü" read as "ii" and "ç" as
// "g" in the claim words ("Anspriiche", "reivindicagao"), and the Romance
// "o" (or) between two claim numbers read as a zero ("2 0 3", "1 05,").
// RecogniseWords applies it.
void MendRecognisedWords(std::vector<TPdfWord>& Words);
