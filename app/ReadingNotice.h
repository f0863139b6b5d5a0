#pragma once

#include <QFrame>
#include <QRect>
#include <QString>

class QLabel;
class QPushButton;
class TAnchorLayout;
class TClaimTree;

// Whether two readings of one text differ for a reader: another set of
// claims, or a claim that refers to other claims.
bool ReadingsDiffer(const TClaimTree& Shown, const TClaimTree& Other);

// What the notice says about the tree shown and the other reading of its
// text, in plain words; empty when there is nothing to say (the standard
// reading shown and the lenient one agreeing).
QString ReadingNoticeText(const TClaimTree& Shown, const TClaimTree& Other);

// The one-line notice across the top of the tree pane. Shown, it takes the
// top of the pane's place and the pane moves down by its height; hidden, the
// pane has its designed place again and nothing else moves.
class TReadingNotice : public QFrame {
    Q_OBJECT

public:
    TReadingNotice(QWidget* Box, TAnchorLayout* Layout, QWidget* Pane);

    QLabel* lblReading;
    QPushButton* btnReading;

    // Shows Text with a button captioned Button, or without one when Button is empty.
    void ShowNotice(const QString& Text, const QString& Button);
    void HideNotice();

private:
    TAnchorLayout* layout;
    QWidget* pane;
    QRect paneBounds; // the pane's designed place
};
