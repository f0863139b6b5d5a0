#include "DocumentView.h"

#include <QPlainTextEdit>
#include <QTextBlock>

QWidget& TTextPaneView::Widget() {
    return pane;
}

QRect TTextPaneView::TextArea() const {
    return pane.viewport()->geometry();
}

QString TTextPaneView::Text() const {
    return pane.toPlainText();
}

qsizetype TTextPaneView::LineStart(int Line) const {
    if (Line <= 0)
        return -1;
    const QTextBlock block = pane.document()->findBlockByNumber(Line - 1);
    return block.isValid() ? block.position() : -1;
}

void TTextPaneView::MoveCursorTo(qsizetype Position) {
    QTextCursor cursor(pane.document());
    cursor.setPosition(static_cast<int>(Position));
    pane.setTextCursor(cursor);
    pane.ensureCursorVisible();
}

void TTextPaneView::SetHighlights(const std::vector<THighlight>& Highlights) {
    QList<QTextEdit::ExtraSelection> selections;
    selections.reserve(static_cast<qsizetype>(Highlights.size()));
    for (const THighlight& highlight : Highlights) {
        QTextEdit::ExtraSelection selection;
        selection.cursor = QTextCursor(pane.document());
        selection.cursor.setPosition(static_cast<int>(highlight.At));
        selection.cursor.setPosition(static_cast<int>(highlight.At + highlight.Length),
                                     QTextCursor::KeepAnchor);
        selection.format.setBackground(highlight.Background);
        selections.append(selection);
    }
    pane.setExtraSelections(selections);
}

void TTextPaneView::OnTextChanged(QObject* Context, const std::function<void()>& Changed) {
    QObject::connect(&pane, &QPlainTextEdit::textChanged, Context, Changed);
}
