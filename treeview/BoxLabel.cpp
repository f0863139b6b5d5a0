#include "BoxLabel.h"

#include "BoxPaint.h"

#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>
#include <QTextBoundaryFinder>
#include <algorithm>

namespace {

// Below this, drawing the whole text costs little.
constexpr qsizetype MinCutLength = 256;

// Text whose first characters always stand where they stand in the whole
// text: one line, left to right, no tabs.
bool CutKeepsPlaces(const QString& Text) {
    for (const QChar c : Text) {
        if (c == u'\t' || c == u'\n' || c == u'\r' || c == QChar(0x9c) || c.isSurrogate() ||
            c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
            return false;
        switch (c.direction()) {
        case QChar::DirR:
        case QChar::DirAL:
        case QChar::DirAN:
        case QChar::DirRLE:
        case QChar::DirRLO:
        case QChar::DirRLI:
        case QChar::DirFSI:
            return false;
        default:
            break;
        }
    }
    return true;
}

} // namespace

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

// A label lays out its whole text at every paint; a list of thousands of
// dependants is far wider than the view, so only the part that reaches the
// exposed area is drawn, as the label would draw it.
void TBoxLabel::paintEvent(QPaintEvent* Event) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    const QString& all = text();
    const qsizetype shown = ShownLength(Event->rect().right());
    if (shown >= all.size()) {
        painter.end();
        QLabel::paintEvent(Event);
        return;
    }
    QStyleOption option;
    option.initFrom(this);
    const int flags = static_cast<int>(QStyle::visualAlignment(Qt::LeftToRight, alignment())) |
                      Qt::TextExpandTabs | Qt::TextForceLeftToRight;
    style()->drawItemText(&painter, contentsRect(), flags, option.palette, isEnabled(),
                          all.left(shown), foregroundRole());
}

qsizetype TBoxLabel::ShownLength(int Right) {
    const QString& all = text();
    const bool plainLeft = !wordWrap() && margin() == 0 && frameWidth() == 0 &&
                           (alignment() & Qt::AlignHorizontal_Mask & ~Qt::AlignLeft) == 0;
    if (all.size() <= MinCutLength || !plainLeft)
        return all.size();
    if (cut.Text != all || cut.Font != font())
        cut = {all, font(), CutKeepsPlaces(all), -1, all.size()};
    if (!cut.Cuttable)
        return all.size();
    if (cut.Right == Right)
        return cut.Length;
    // Measured on growing first parts, never on the whole text.
    const QFontMetrics metrics(font());
    const int reach = Right - contentsRect().left() + 2 * metrics.maxWidth();
    qsizetype length = std::max<qsizetype>(64, reach / std::max(1, metrics.averageCharWidth()) + 1);
    while (length < all.size() && metrics.horizontalAdvance(all.left(length)) < reach)
        length *= 2;
    if (length < all.size()) {
        QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, all);
        graphemes.setPosition(length);
        if (!graphemes.isAtBoundary())
            length = graphemes.toNextBoundary();
    }
    if (length < 0 || length > all.size())
        length = all.size();
    cut.Right = Right;
    cut.Length = length;
    return length;
}
