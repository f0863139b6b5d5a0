#pragma once

#include <QFont>
#include <QStringList>
#include <QWidget>
#include <memory>
#include <string>
#include <unordered_map>

// The text of one claim as the memos show it: one line per piece of the
// text between line feeds. Every box of a claim shares one of these.
class TMemoText {
public:
    // Empty pieces are dropped; a carriage return inside a piece breaks the
    // line there, one at its end is dropped. The bytes read as the document
    // reads (TClaimTree::TextIsUtf8), so that a box shows what the input
    // pane shows.
    TMemoText(const std::string& ClaimText, bool DocumentIsUtf8);

    const QStringList& Lines() const { return lines; }
    // Width of the widest line in the memo font; 0 without lines.
    int WidestLine() const { return widest; }
    // Lines as a memo of that text width shows them, wrapped parts counted.
    int WrappedLineCount(int TextWidth) const;

private:
    QStringList lines;
    int widest = 0;
    mutable std::unordered_map<int, int> wrappedCounts;
};

// The read-only claim text under a box: word-wrapped, no border, no scroll
// bars, no caret, white like the pane.
class TClaimMemo : public QWidget {
    Q_OBJECT

public:
    static constexpr int LeftMargin = 2;
    static constexpr int RightMargin = 2;
    static constexpr int TopMargin = 1;

    explicit TClaimMemo(QWidget* Parent);

    // "Arial" 10 points, the font of every memo.
    static QFont TextFont();
    // Pixel height of one line ("W" in the memo font).
    static int LineHeight();

    void SetText(std::shared_ptr<const TMemoText> Text);
    void Clear();
    // The memo's lines as they were added, before wrapping.
    QStringList Lines() const;
    // Lines as displayed at the current width, wrapped parts counted.
    int LineCount() const;

protected:
    bool event(QEvent* Event) override;
    void paintEvent(QPaintEvent* Event) override;

private:
    int TextWidth() const { return width() - LeftMargin - RightMargin; }

    std::shared_ptr<const TMemoText> text;
};
