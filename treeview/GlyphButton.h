#pragma once

#include <QAbstractButton>
#include <QPixmap>

// A 13 x 13 bitmap button of a claim box: no caption, one glyph from the
// image list, a tool tip. It takes no keyboard focus, so clicking it never
// scrolls the pane.
class TGlyphButton : public QAbstractButton {
    Q_OBJECT

public:
    static constexpr int Size = 13;

    explicit TGlyphButton(QWidget* Parent);

    // Shows Glyph, a 16 x 16 image whose one-pixel frame at the top and left
    // and two-pixel frame at the right and bottom are transparent.
    void SetGlyph(const QPixmap& Glyph);
    const QPixmap& Glyph() const { return glyph; }

    QSize sizeHint() const override;

protected:
    bool event(QEvent* Event) override;
    void paintEvent(QPaintEvent* Event) override;

private:
    QPixmap glyph;
};
