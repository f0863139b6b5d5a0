#pragma once

#include <QLabel>

// A caption or list of dependants in a box's row: plain text on the pane's
// white, which it paints itself so that a link line running under it stays
// hidden.
class TBoxLabel : public QLabel {
    Q_OBJECT

public:
    explicit TBoxLabel(QWidget* Parent);

protected:
    bool event(QEvent* Event) override;
    void paintEvent(QPaintEvent* Event) override;
};
