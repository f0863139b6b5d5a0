#include "DocumentView.h"

#include <QPainter>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <algorithm>

namespace {

// Paints the highlights beyond a line's share under the text, before the
// pane paints it: linear in their number, where extra selections are not.
class TPaintUnderText final : public QObject {
public:
    TPaintUnderText(QObject* Parent, std::function<void()> Paint)
        : QObject(Parent), paint(std::move(Paint)) {}

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override {
        if (Event->type() == QEvent::Paint)
            paint();
        return QObject::eventFilter(Watched, Event);
    }

private:
    std::function<void()> paint;
};

constexpr QChar BlockEnd = QChar::ParagraphSeparator;

// The characters a plain text edit takes as the end of a line: CR LF
// together makes one.
bool EndsLine(QChar Character) {
    const char16_t c = Character.unicode();
    return c == u'\n' || c == u'\r' || c == BlockEnd.unicode() || c == 0xFDD0 || c == 0xFDD1;
}

QString RawOf(const QString& Text) {
    QString raw(Text.size(), Qt::Uninitialized);
    QChar* out = raw.data();
    qsizetype length = 0;
    for (qsizetype i = 0; i < Text.size(); ++i) {
        const QChar c = Text[i];
        if (c == u'\r' && i + 1 < Text.size() && Text[i + 1] == u'\n')
            ++i;
        out[length++] = EndsLine(c) ? BlockEnd : c;
    }
    raw.truncate(length);
    return raw;
}

// The plain text of a raw one, as the edit itself gives it.
QString PlainOf(QString Raw) {
    for (QChar& c : Raw) {
        if (c == BlockEnd || c == QChar::LineSeparator)
            c = u'\n';
        else if (c == QChar::Nbsp)
            c = u' ';
    }
    return Raw;
}

QString CutNote(qsizetype Removed) {
    return QStringLiteral(" [\u2026 %L1 more characters of this line not shown]").arg(Removed);
}

} // namespace

TPaneText CutLongLines(const QString& Text, qsizetype MaxLine) {
    TPaneText text;
    text.Raw = RawOf(Text);
    const QString& raw = text.Raw;
    qsizetype lineStart = 0;
    for (qsizetype i = 0; i <= raw.size(); ++i) {
        if (i < raw.size() && raw[i] != BlockEnd)
            continue;
        if (i - lineStart > MaxLine) {
            qsizetype at = lineStart + MaxLine;
            // Never between the halves of a surrogate pair.
            if (at > lineStart && raw[at - 1].isHighSurrogate())
                --at;
            text.Cuts.push_back({at, i - at, 0});
        }
        lineStart = i + 1;
    }
    if (text.Cuts.empty()) {
        text.Shown = raw;
        return text;
    }
    qsizetype from = 0;
    for (TLineCut& cut : text.Cuts) {
        text.Shown += QStringView(raw).sliced(from, cut.At - from);
        const QString note = CutNote(cut.Removed);
        text.Shown += note;
        cut.Note = note.size();
        from = cut.At + cut.Removed;
    }
    text.Shown += QStringView(raw).sliced(from);
    return text;
}

qsizetype ShownPosition(const std::vector<TLineCut>& Cuts, qsizetype At) {
    qsizetype shift = 0;
    for (const TLineCut& cut : Cuts) {
        if (At < cut.At)
            break;
        if (At < cut.At + cut.Removed)
            return cut.At + shift;
        shift += cut.Note - cut.Removed;
    }
    return At + shift;
}

qsizetype DocumentPosition(const std::vector<TLineCut>& Cuts, qsizetype At) {
    qsizetype shift = 0;
    for (const TLineCut& cut : Cuts) {
        const qsizetype shownAt = cut.At - shift;
        if (At < shownAt)
            break;
        if (At < shownAt + cut.Note)
            return cut.At;
        shift += cut.Removed - cut.Note;
    }
    return At + shift;
}

TTextPaneView::TTextPaneView(QPlainTextEdit& Pane) : pane(Pane) {
    underText = new TPaintUnderText(pane.viewport(), [this] { PaintHighlights(); });
    pane.viewport()->installEventFilter(underText);
    // Before the edit's own textChanged: no one may read a text gone stale.
    // Through the filter, which goes with the view.
    QObject::connect(pane.document(), &QTextDocument::contentsChange, underText, [this] {
        plain = QString();
        painted.clear();
        if (showing)
            return;
        raw = QString();
        cuts.clear();
    });
}

TTextPaneView::~TTextPaneView() {
    delete underText.data();
}

QWidget& TTextPaneView::Widget() {
    return pane;
}

bool TTextPaneView::ShowText(const QString& Text) {
    TPaneText text = CutLongLines(Text);
    showing = true;
    pane.setPlainText(text.Shown);
    showing = false;
    raw = std::move(text.Raw);
    cuts = std::move(text.Cuts);
    plain = QString();
    return cuts.empty();
}

QString TTextPaneView::Text() const {
    if (plain.isNull())
        plain = raw.isNull() ? pane.toPlainText() : PlainOf(raw);
    return plain;
}

QString TTextPaneView::RawText() const {
    // The pane's own, but for the parts it leaves out.
    return cuts.empty() ? pane.document()->toRawText() : raw;
}

qsizetype TTextPaneView::LineStart(int Line) const {
    if (Line <= 0)
        return -1;
    const QTextBlock block = pane.document()->findBlockByNumber(Line - 1);
    return block.isValid() ? DocumentPosition(cuts, block.position()) : -1;
}

std::pair<qsizetype, qsizetype> TTextPaneView::ShownRange() const {
    const QRect area = pane.viewport()->rect();
    const int first = pane.cursorForPosition(area.topLeft()).position();
    const int last = pane.cursorForPosition(area.bottomRight()).position();
    return {DocumentPosition(cuts, first), DocumentPosition(cuts, last) + 1};
}

void TTextPaneView::MoveCursorTo(qsizetype Position) {
    QTextCursor cursor(pane.document());
    const qsizetype end = pane.document()->characterCount() - 1;
    cursor.setPosition(
        static_cast<int>(std::clamp<qsizetype>(ShownPosition(cuts, Position), 0, end)));
    pane.setTextCursor(cursor);
    pane.ensureCursorVisible();
}

void TTextPaneView::SetHighlights(const std::vector<THighlight>& Highlights) {
    QList<QTextEdit::ExtraSelection> selections;
    selections.reserve(static_cast<qsizetype>(Highlights.size()));
    painted.clear();
    const qsizetype end = pane.document()->characterCount() - 1;
    QTextBlock block;
    int inBlock = 0;
    for (const THighlight& highlight : Highlights) {
        const qsizetype from = ShownPosition(cuts, highlight.At);
        const qsizetype to = ShownPosition(cuts, highlight.At + highlight.Length);
        // Wholly in a part left out, or past the end.
        if (from >= to || to > end)
            continue;
        if (!block.isValid() || from < block.position() ||
            from >= block.position() + block.length()) {
            block = pane.document()->findBlock(static_cast<int>(from));
            inBlock = 0;
        }
        if (++inBlock > MaxLineHighlights) {
            painted.push_back({static_cast<int>(from), static_cast<int>(to), highlight.Background});
            continue;
        }
        QTextEdit::ExtraSelection selection;
        selection.cursor = QTextCursor(pane.document());
        selection.cursor.setPosition(static_cast<int>(from));
        selection.cursor.setPosition(static_cast<int>(to), QTextCursor::KeepAnchor);
        selection.format.setBackground(highlight.Background);
        selections.append(selection);
    }
    pane.setExtraSelections(selections);
    pane.viewport()->update();
}

void TTextPaneView::PaintHighlights() {
    if (painted.empty())
        return;
    QPainter painter(pane.viewport());
    const int end = pane.document()->characterCount() - 1;
    const int right = pane.viewport()->width();
    const int left = static_cast<int>(pane.document()->documentMargin());
    QTextCursor cursor(pane.document());
    for (const TPaintedHighlight& highlight : painted) {
        if (highlight.To > end)
            continue;
        cursor.setPosition(highlight.From);
        const QRect from = pane.cursorRect(cursor);
        cursor.setPosition(highlight.To);
        const QRect to = pane.cursorRect(cursor);
        if (from.top() == to.top()) {
            painter.fillRect(QRect(from.left(), from.top(), to.left() - from.left(), from.height()),
                             highlight.Background);
            continue;
        }
        // Wrapped: the end of one line and the start of the next.
        painter.fillRect(QRect(from.left(), from.top(), right - from.left(), from.height()),
                         highlight.Background);
        painter.fillRect(QRect(left, to.top(), to.left() - left, to.height()),
                         highlight.Background);
    }
}

void TTextPaneView::OnTextChanged(QObject* Context, const std::function<void()>& Changed) {
    QObject::connect(&pane, &QPlainTextEdit::textChanged, Context, Changed);
}

void TTextPaneView::OnViewMoved(QObject* Context, const std::function<void()>& Moved) {
    for (const QScrollBar* bar : {pane.verticalScrollBar(), pane.horizontalScrollBar()}) {
        QObject::connect(bar, &QScrollBar::valueChanged, Context, Moved);
        QObject::connect(bar, &QScrollBar::rangeChanged, Context, Moved);
    }
}
