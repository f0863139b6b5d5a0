#pragma once

#include <QColor>
#include <QPointer>
#include <QString>
#include <functional>
#include <utility>
#include <vector>

class QObject;
class QPlainTextEdit;
class QWidget;

// A stretch of the text shown with a background colour.
struct THighlight {
    qsizetype At = 0;
    qsizetype Length = 0;
    QColor Background;
};

// The text pane as a feature sees it: the text, the cursor and highlights.
// Positions are in Text(), the whole document, even where the pane shows a
// line cut short.
class TDocumentView {
public:
    virtual ~TDocumentView() = default;

    // The pane itself: what takes focus back, and Escape from.
    virtual QWidget& Widget() = 0;

    // Puts a new document into the pane; false when some line is too long to
    // show whole and is shown cut short, so that the pane must not be edited:
    // its edits could not be told from the parts left out.
    virtual bool ShowText(const QString& Text) = 0;
    // The document's plain text, each line end a line feed.
    virtual QString Text() const = 0;
    // The document's text as the pane holds it, block ends as paragraph
    // separators: what Save and the analysis read.
    virtual QString RawText() const = 0;
    // Where line Line (from 1) starts in Text(), or -1 when there is none.
    virtual qsizetype LineStart(int Line) const = 0;
    // The stretch of Text() the pane shows now, as [first, last).
    virtual std::pair<qsizetype, qsizetype> ShownRange() const = 0;
    // Puts the cursor at Position and scrolls it into view.
    virtual void MoveCursorTo(qsizetype Position) = 0;
    // Replaces the highlights shown; none takes them all away.
    virtual void SetHighlights(const std::vector<THighlight>& Highlights) = 0;
    // Changed runs after every change of the text while Context lives.
    virtual void OnTextChanged(QObject* Context, const std::function<void()>& Changed) = 0;
    // Moved runs whenever another stretch of the text comes into view.
    virtual void OnViewMoved(QObject* Context, const std::function<void()>& Moved) = 0;
};

// Lines longer than this are shown cut short: laying out one line costs time
// in its length at every paint, and a line of millions of characters would
// hang the window.
constexpr qsizetype MaxShownLine = 100'000;

// A line takes at most this many highlights as selections of the pane: each
// repaints the part of its line in view, so a line full of them would take
// long to paint. Those beyond are painted under the text instead.
constexpr int MaxLineHighlights = 32;

// Where a line is cut short: Removed characters of the document from At on
// are shown as a note of Note characters.
struct TLineCut {
    qsizetype At = 0;
    qsizetype Removed = 0;
    qsizetype Note = 0;
};

// A document as a plain text edit holds it: Raw is the whole text with every
// line end as a paragraph separator; Shown is Raw with each line over
// MaxLine characters cut short, as Cuts list in order.
struct TPaneText {
    QString Raw;
    QString Shown;
    std::vector<TLineCut> Cuts;
};

TPaneText CutLongLines(const QString& Text, qsizetype MaxLine = MaxShownLine);
// Where the document's position At stands in the shown text; one in a part
// left out stands at its note.
qsizetype ShownPosition(const std::vector<TLineCut>& Cuts, qsizetype At);
// Where the shown text's position At stands in the document; one in a note
// stands where the part left out begins.
qsizetype DocumentPosition(const std::vector<TLineCut>& Cuts, qsizetype At);

// The document view of a plain text edit.
class TTextPaneView final : public TDocumentView {
public:
    explicit TTextPaneView(QPlainTextEdit& Pane);
    ~TTextPaneView() override;
    TTextPaneView(const TTextPaneView&) = delete;
    TTextPaneView& operator=(const TTextPaneView&) = delete;

    QWidget& Widget() override;
    bool ShowText(const QString& Text) override;
    QString Text() const override;
    QString RawText() const override;
    qsizetype LineStart(int Line) const override;
    std::pair<qsizetype, qsizetype> ShownRange() const override;
    void MoveCursorTo(qsizetype Position) override;
    void SetHighlights(const std::vector<THighlight>& Highlights) override;
    void OnTextChanged(QObject* Context, const std::function<void()>& Changed) override;
    void OnViewMoved(QObject* Context, const std::function<void()>& Moved) override;

private:
    struct TPaintedHighlight {
        int From = 0;
        int To = 0;
        QColor Background;
    };
    void PaintHighlights();

    QPlainTextEdit& pane;
    // Paints the highlights a line has no room for among its selections.
    QPointer<QObject> underText;
    std::vector<TPaintedHighlight> painted;
    bool showing = false;
    // The whole document while the pane shows it through ShowText and it
    // has not changed since; null otherwise.
    QString raw;
    std::vector<TLineCut> cuts;
    // Text(), kept until the next change: a long document's plain text
    // takes a while to gather.
    mutable QString plain;
};
