#pragma once

#include <QFont>
#include <QLabel>
#include <QString>
#include <cstdint>
#include <string_view>

// Longest caption or list of dependants a box shows, in characters; a longer
// one is cut and ends in BoxLabelCut. A label lays out its whole text at every
// paint, so a claim citing thousands of claims would freeze the pane at each
// scroll step, while no row needs more than this to be told apart.
inline constexpr qsizetype MaxBoxLabelLength = 4096;
inline constexpr char16_t BoxLabelCut = u'\u2026';

// Text as a box label shows it: cut to MaxBoxLabelLength before it is decoded.
QString BoxLabelText(std::string_view Text);
// Appends Number and a blank to a box's list of dependants, which ends in
// BoxLabelCut instead once it is MaxBoxLabelLength long.
void AppendDependent(QString& List, int32_t Number);

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

private:
    // How much of the text reaches x = Right; the whole text when a shorter
    // part could draw differently.
    qsizetype ShownLength(int Right);

    // The last cut, kept for repaints of the same text.
    struct TCut {
        QString Text;
        QFont Font;
        bool Cuttable = false;
        int Right = -1;
        qsizetype Length = 0;
    } cut;
};
