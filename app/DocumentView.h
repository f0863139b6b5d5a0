#pragma once

#include <QColor>
#include <QRect>
#include <QString>
#include <functional>
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
class TDocumentView {
public:
    virtual ~TDocumentView() = default;

    // The pane itself: what a bar over the text sits on, and takes focus back.
    virtual QWidget& Widget() = 0;
    // Where in Widget() the text is shown.
    virtual QRect TextArea() const = 0;

    virtual QString Text() const = 0;
    // Where line Line (from 1) starts in Text(), or -1 when there is none.
    virtual qsizetype LineStart(int Line) const = 0;
    // Puts the cursor at Position and scrolls it into view.
    virtual void MoveCursorTo(qsizetype Position) = 0;
    // Replaces the highlights shown; none takes them all away.
    virtual void SetHighlights(const std::vector<THighlight>& Highlights) = 0;
    // Changed runs after every change of the text while Context lives.
    virtual void OnTextChanged(QObject* Context, const std::function<void()>& Changed) = 0;
};

// The document view of a plain text edit.
class TTextPaneView final : public TDocumentView {
public:
    explicit TTextPaneView(QPlainTextEdit& Pane) : pane(Pane) {}

    QWidget& Widget() override;
    QRect TextArea() const override;
    QString Text() const override;
    qsizetype LineStart(int Line) const override;
    void MoveCursorTo(qsizetype Position) override;
    void SetHighlights(const std::vector<THighlight>& Highlights) override;
    void OnTextChanged(QObject* Context, const std::function<void()>& Changed) override;

private:
    QPlainTextEdit& pane;
};
