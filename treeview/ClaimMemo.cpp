#include "ClaimMemo.h"

#include "BoxPaint.h"
#include "Fonts.h"
#include "TextEncoding.h"
#include "Tools.h"

#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>
#include <QTextLayout>
#include <algorithm>

namespace {

QTextOption WrapOption() {
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    return option;
}

// Lays Line out in lines at most Width wide and calls Visit for each.
template <typename F> void WrapLine(const QString& Line, int Width, F&& Visit) {
    QTextLayout layout(Line, TClaimMemo::TextFont());
    layout.setTextOption(WrapOption());
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(std::max(Width, 1));
        Visit(line);
    }
    layout.endLayout();
}

// A word processor's hyphens, bytes 30 and 31, as the characters they stand for.
QString WithHyphens(QString Text) {
    Text.replace(QChar(NonBreakingHyphenByte), QChar(NonBreakingHyphen));
    Text.replace(QChar(OptionalHyphenByte), QChar(SoftHyphen));
    return Text;
}

} // namespace

TMemoText::TMemoText(const std::string& ClaimText, bool DocumentIsUtf8) {
    const QFontMetrics metrics(TClaimMemo::TextFont());
    // Decoded whole, so that every line reads the same way; a line feed never
    // stands inside a UTF-8 sequence.
    const std::string text =
        DocumentIsUtf8 ? DecodeToUtf8(ClaimText) : Windows1252ToUtf8(ClaimText);
    for (const std::string& piece : Tokenize(text, "\n")) {
        QStringList parts = WithHyphens(QString::fromStdString(piece)).split(QLatin1Char('\r'));
        if (parts.size() > 1 && parts.back().isEmpty())
            parts.removeLast();
        for (const QString& part : parts) {
            widest = std::max(widest, metrics.horizontalAdvance(part));
            lines.append(part);
        }
    }
}

int TMemoText::WrappedLineCount(int TextWidth) const {
    const auto known = wrappedCounts.find(TextWidth);
    if (known != wrappedCounts.end())
        return known->second;
    int count = 0;
    for (const QString& line : lines) {
        if (line.isEmpty())
            ++count;
        else
            WrapLine(line, TextWidth, [&](const QTextLine&) { ++count; });
    }
    wrappedCounts.emplace(TextWidth, count);
    return count;
}

TClaimMemo::TClaimMemo(QWidget* Parent) : QWidget(Parent) {}

bool TClaimMemo::event(QEvent* Event) {
    if (SkipsOwnRepaint(Event))
        return true;
    return QWidget::event(Event);
}

QFont TClaimMemo::TextFont() {
    return LayoutFont(QStringLiteral("Arial"), 10);
}

int TClaimMemo::LineHeight() {
    return QFontMetrics(TextFont()).height();
}

void TClaimMemo::SetText(std::shared_ptr<const TMemoText> Text) {
    text = std::move(Text);
    update();
}

void TClaimMemo::Clear() {
    SetText(nullptr);
}

QStringList TClaimMemo::Lines() const {
    return text ? text->Lines() : QStringList();
}

int TClaimMemo::LineCount() const {
    return text ? text->WrappedLineCount(TextWidth()) : 0;
}

void TClaimMemo::paintEvent(QPaintEvent* Event) {
    QPainter painter(this);
    painter.fillRect(Event->rect(), Qt::white);
    if (!text)
        return;
    painter.setFont(TextFont());
    painter.setPen(palette().color(QPalette::Text));
    const int lineHeight = LineHeight();
    int y = TopMargin;
    for (const QString& line : text->Lines()) {
        if (y >= height() || y > Event->rect().bottom())
            break;
        if (line.isEmpty()) {
            y += lineHeight;
            continue;
        }
        QTextLayout layout(line, TextFont());
        layout.setTextOption(WrapOption());
        layout.beginLayout();
        for (QTextLine wrapped = layout.createLine(); wrapped.isValid();
             wrapped = layout.createLine()) {
            wrapped.setLineWidth(std::max(TextWidth(), 1));
            wrapped.setPosition(QPointF(0, y - TopMargin));
            y += lineHeight;
        }
        layout.endLayout();
        layout.draw(&painter, QPointF(LeftMargin, TopMargin));
    }
}
