#pragma once

#include <QWidget>

// A one-pixel dotted line, black on white, along the widget's longer side:
// the lines that join a box to its parent's box.
class TDottedLine : public QWidget {
    Q_OBJECT

public:
    explicit TDottedLine(QWidget* Parent);

protected:
    bool event(QEvent* Event) override;
    void paintEvent(QPaintEvent* Event) override;
};
