#include "BoxLabel.h"

#include "BoxPaint.h"

#include <QPainter>

TBoxLabel::TBoxLabel(QWidget* Parent) : QLabel(Parent) {
    setTextFormat(Qt::PlainText);
}

bool TBoxLabel::event(QEvent* Event) {
    if (SkipsOwnRepaint(Event))
        return true;
    return QLabel::event(Event);
}

void TBoxLabel::paintEvent(QPaintEvent* Event) {
    {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::white);
    }
    QLabel::paintEvent(Event);
}
