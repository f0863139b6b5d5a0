#include "ImageList.h"

#include <QImage>

// The strip is compiled into this static library; referencing its
// initialiser keeps the linker from dropping it.
static void InitGlyphResource() {
    Q_INIT_RESOURCE(glyphs);
}

namespace {

QImage GlyphStrip() {
    InitGlyphResource();
    return QImage(QStringLiteral(":/glyphs.png"));
}

QPixmap CutImage(const QImage& Strip, int Index) {
    const int size = TImageList::ImageSize;
    if (Strip.width() < (Index + 1) * size || Strip.height() < size)
        return {};
    QImage image = Strip.copy(Index * size, 0, size, size).convertToFormat(QImage::Format_ARGB32);
    const QRgb transparent = image.pixel(0, size - 1);
    for (int y = 0; y < size; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < size; ++x) {
            if (line[x] == transparent)
                line[x] = qRgba(0, 0, 0, 0);
        }
    }
    return QPixmap::fromImage(image);
}

} // namespace

TImageList::TImageList() : TImageList(GlyphStrip()) {}

TImageList::TImageList(const QImage& Strip) {
    for (int i = 0; i < Count; ++i)
        images[static_cast<std::size_t>(i)] = CutImage(Strip, i);
}

const QPixmap& TImageList::Image(int Index) const {
    static const QPixmap none;
    if (Index < 0 || Index >= Count)
        return none;
    return images[static_cast<std::size_t>(Index)];
}
