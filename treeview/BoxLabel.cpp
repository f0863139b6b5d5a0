#include "BoxLabel.h"

#include "BoxPaint.h"

#include <QPainter>

QString BoxLabelText(std::string_view Text) {
    if (Text.size() <= static_cast<std::size_t>(MaxBoxLabelLength))
        return QString::fromUtf8(Text.data(), static_cast<qsizetype>(Text.size()));
    // Never through the middle of a character's bytes.
    std::size_t cut = static_cast<std::size_t>(MaxBoxLabelLength);
    while (cut > 0 && (static_cast<unsigned char>(Text[cut]) & 0xC0) == 0x80)
        --cut;
    QString shown = QString::fromUtf8(Text.data(), static_cast<qsizetype>(cut));
    shown += QChar(BoxLabelCut);
    return shown;
}

void AppendDependent(QString& List, int32_t Number) {
    if (List.size() >= MaxBoxLabelLength) {
        if (!List.endsWith(QChar(BoxLabelCut)))
            List += QChar(BoxLabelCut);
        return;
    }
    List += QString::number(Number);
    List += QLatin1Char(' ');
}

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
