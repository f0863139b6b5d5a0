#include "DottedLine.h"

#include "BoxPaint.h"

#include <QPainter>

TDottedLine::TDottedLine(QWidget* Parent) : QWidget(Parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

bool TDottedLine::event(QEvent* Event) {
    if (SkipsOwnRepaint(Event))
        return true;
    return QWidget::event(Event);
}

void TDottedLine::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
    if (width() >= height())
        painter.drawLine(0, 0, width() - 1, 0);
    else
        painter.drawLine(0, 0, 0, height() - 1);
}
