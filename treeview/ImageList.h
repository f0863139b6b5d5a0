#pragma once

#include <QPixmap>
#include <array>

class QImage;

// The seven 16 x 16 glyphs of the drawn tree (imlCLTR), cut from one strip.
// In each image the colour of its bottom-left pixel is transparent, so the
// one-pixel frame at the top and left and the two-pixel frame at the right
// and bottom never show.
class TImageList {
public:
    static constexpr int Count = 7;
    static constexpr int ImageSize = 16;

    // Indexes of the images, by the button that shows them.
    static constexpr int Expand = 0;
    static constexpr int Collapse = 1;
    static constexpr int ShowText = 2;
    static constexpr int HideText = 3;
    static constexpr int ShowBranch = 4;
    static constexpr int ShowAll = 5;
    static constexpr int Decompose = 6;

    // The program's own glyph strip. Needs a QGuiApplication.
    TImageList();
    // Images cut from Strip, ImageSize pixels each, left to right.
    explicit TImageList(const QImage& Strip);

    // Image Index; an empty pixmap when Index is out of range.
    const QPixmap& Image(int Index) const;

private:
    std::array<QPixmap, Count> images;
};
