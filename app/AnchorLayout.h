#pragma once

#include <QLayout>
#include <QRect>
#include <vector>

// Places child widgets at fixed bounds, designed for one size of the parent,
// and keeps each anchored edge at its designed distance from the same edge of
// the parent. Anchored left and right, a control stretches with the parent;
// anchored right only, it moves with the right edge. Likewise top and bottom.
class TAnchorLayout : public QLayout {
public:
    TAnchorLayout(QWidget* Parent, QSize DesignSize);
    ~TAnchorLayout() override;

    // Control must be a child of the layout's parent.
    void Place(QWidget* Control, QRect Bounds, Qt::Edges Anchors = Qt::LeftEdge | Qt::TopEdge);
    // Gives a placed control new designed bounds, keeping its anchors.
    void Move(QWidget* Control, QRect Bounds);

    // The designed bounds of a placed control; empty for any other.
    QRect Bounds(const QWidget* Control) const;

    // Bounds of an anchored control inside a parent of ParentSize.
    static QRect AnchoredBounds(QRect Bounds, Qt::Edges Anchors, QSize DesignSize,
                                QSize ParentSize);

    void addItem(QLayoutItem* Item) override;
    QLayoutItem* itemAt(int Index) const override;
    QLayoutItem* takeAt(int Index) override;
    int count() const override;
    QSize sizeHint() const override;
    QSize minimumSize() const override;
    void setGeometry(const QRect& Rect) override;

private:
    struct TEntry {
        QLayoutItem* Item;
        QRect Bounds;
        Qt::Edges Anchors;
    };
    std::vector<TEntry> entries;
    QSize designSize;
};
