#include "LiveText.h"

#include <QTextCursor>
#include <QTextDocument>

TLiveText::TLiveText(QTextDocument& Document) : QObject(&Document), document(Document) {
    connect(&document, &QTextDocument::contentsChange, this, &TLiveText::Changed);
}

QString TLiveText::Text() {
    if (!following) {
        text = document.toRawText();
        following = true;
    }
    return text;
}

void TLiveText::Changed(int Position, int Removed, int Added) {
    if (!following)
        return;
    const qsizetype length = document.characterCount() - 1;
    // A change that reaches the end takes in the closing separator, which
    // both texts have.
    if (Position + Added > length) {
        --Added;
        --Removed;
    }
    // Opening or replacing the whole text: copying the change costs what
    // extracting the text does, so that waits until the text is asked for.
    const bool mostly = Added > 0 && Added >= length / 2;
    if (mostly || Position < 0 || Removed < 0 || Added < 0 || Position + Removed > text.size() ||
        Position + Added > length) {
        following = false;
        text = QString();
        return;
    }
    QString added;
    if (Added > 0) {
        QTextCursor cursor(&document);
        cursor.setPosition(Position);
        cursor.setPosition(Position + Added, QTextCursor::KeepAnchor);
        added = cursor.selectedText();
    }
    text.replace(Position, Removed, added);
    // Every change is reported as a replaced range; should one ever not be,
    // the text is extracted again rather than read wrong.
    if (text.size() != length) {
        following = false;
        text = QString();
    }
}
