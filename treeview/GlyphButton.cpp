#include "GlyphButton.h"

#include "BoxPaint.h"

#include <QPainter>

TGlyphButton::TGlyphButton(QWidget* Parent) : QAbstractButton(Parent) {
    setFocusPolicy(Qt::NoFocus);
    resize(Size, Size);
}

void TGlyphButton::SetGlyph(const QPixmap& Glyph) {
    if (glyph.cacheKey() == Glyph.cacheKey())
        return;
    glyph = Glyph;
    update();
}

bool TGlyphButton::event(QEvent* Event) {
    if (SkipsOwnRepaint(Event))
        return true;
    return QAbstractButton::event(Event);
}

QSize TGlyphButton::sizeHint() const {
    return {Size, Size};
}

void TGlyphButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    // The glyph is centred: its 13-pixel picture covers the button. Pressed,
    // it moves one pixel down and right over the button face.
    const bool down = isDown();
    if (down)
        painter.fillRect(rect(), palette().button());
    const int offset = (Size - glyph.width()) / 2 + (down ? 1 : 0);
    painter.drawPixmap(offset, offset, glyph);
}
