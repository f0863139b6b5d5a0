// The image list: seven glyphs whose outer frame is transparent.

#include "DrawnTree.h"

#include <QPainter>
#include <QtTest>

namespace {

bool InFrame(int X, int Y) {
    return X == 0 || Y == 0 || X >= 14 || Y >= 14;
}

} // namespace

class ImageListTest : public QObject {
    Q_OBJECT

private slots:
    void glyphsHaveTransparentFrame_data();
    void glyphsHaveTransparentFrame();
    void bottomLeftPixelIsTransparent();
};

void ImageListTest::glyphsHaveTransparentFrame_data() {
    QTest::addColumn<int>("index");
    for (int i = 0; i < TImageList::Count; ++i)
        QTest::addRow("image %d", i) << i;
}

void ImageListTest::glyphsHaveTransparentFrame() {
    QFETCH(int, index);
    const TImageList images;
    const QImage image = images.Image(index).toImage().convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(image.size(), QSize(16, 16));
    // The picture fills the 13 x 13 pixels a button shows; the rest is clear.
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x)
            QCOMPARE(qAlpha(image.pixel(x, y)), InFrame(x, y) ? 0 : 255);
    }
}

void ImageListTest::bottomLeftPixelIsTransparent() {
    // Two images: red frame, white inside with one red dot; yellow frame,
    // blue inside, with a blue bottom-left pixel.
    QImage strip(32, 16, QImage::Format_RGB32);
    {
        QPainter painter(&strip);
        painter.fillRect(0, 0, 16, 16, Qt::red);
        painter.fillRect(1, 1, 13, 13, Qt::white);
        painter.fillRect(16, 0, 16, 16, Qt::yellow);
        painter.fillRect(17, 1, 13, 13, Qt::blue);
    }
    strip.setPixel(5, 5, qRgb(255, 0, 0));
    strip.setPixel(16, 15, qRgb(0, 0, 255));
    const TImageList images(strip);
    const QImage first = images.Image(0).toImage();
    QCOMPARE(qAlpha(first.pixel(0, 15)), 0);
    QCOMPARE(qAlpha(first.pixel(5, 5)), 0);
    QCOMPARE(qAlpha(first.pixel(6, 6)), 255);
    // The second image's bottom-left pixel is blue: blue is its clear colour.
    const QImage second = images.Image(1).toImage();
    QCOMPARE(qAlpha(second.pixel(5, 5)), 0);
    QCOMPARE(qAlpha(second.pixel(5, 15)), 255);
}

QTEST_MAIN(ImageListTest)
#include "ImageListTest.moc"
