#include "AnchorLayout.h"

#include <QWidget>
#include <algorithm>

TAnchorLayout::TAnchorLayout(QWidget* Parent, QSize DesignSize)
    : QLayout(Parent), designSize(DesignSize) {
    setContentsMargins(0, 0, 0, 0);
}

TAnchorLayout::~TAnchorLayout() {
    for (TEntry& entry : entries)
        delete entry.Item;
}

void TAnchorLayout::Place(QWidget* Control, QRect Bounds, Qt::Edges Anchors) {
    addChildWidget(Control);
    entries.push_back({new QWidgetItem(Control), Bounds, Anchors});
    Control->setGeometry(AnchoredBounds(Bounds, Anchors, designSize,
                                        parentWidget() ? parentWidget()->size() : designSize));
    invalidate();
}

void TAnchorLayout::Move(QWidget* Control, QRect Bounds) {
    for (TEntry& entry : entries) {
        if (entry.Item->widget() == Control) {
            entry.Bounds = Bounds;
            Control->setGeometry(
                AnchoredBounds(Bounds, entry.Anchors, designSize,
                               parentWidget() ? parentWidget()->size() : designSize));
            return;
        }
    }
}

QRect TAnchorLayout::Bounds(const QWidget* Control) const {
    for (const TEntry& entry : entries) {
        if (entry.Item->widget() == Control)
            return entry.Bounds;
    }
    return {};
}

QRect TAnchorLayout::AnchoredBounds(QRect Bounds, Qt::Edges Anchors, QSize DesignSize,
                                    QSize ParentSize) {
    const int dx = ParentSize.width() - DesignSize.width();
    const int dy = ParentSize.height() - DesignSize.height();
    QRect r = Bounds;
    if (Anchors & Qt::RightEdge) {
        if (Anchors & Qt::LeftEdge)
            r.setWidth(std::max(0, Bounds.width() + dx));
        else
            r.moveLeft(Bounds.left() + dx);
    }
    if (Anchors & Qt::BottomEdge) {
        if (Anchors & Qt::TopEdge)
            r.setHeight(std::max(0, Bounds.height() + dy));
        else
            r.moveTop(Bounds.top() + dy);
    }
    return r;
}

// Controls added the ordinary way stay where they are.
void TAnchorLayout::addItem(QLayoutItem* Item) {
    const QRect bounds = Item->widget() ? Item->widget()->geometry() : Item->geometry();
    entries.push_back({Item, bounds, Qt::LeftEdge | Qt::TopEdge});
    invalidate();
}

QLayoutItem* TAnchorLayout::itemAt(int Index) const {
    if (Index < 0 || Index >= count())
        return nullptr;
    return entries[static_cast<std::size_t>(Index)].Item;
}

QLayoutItem* TAnchorLayout::takeAt(int Index) {
    if (Index < 0 || Index >= count())
        return nullptr;
    QLayoutItem* item = entries[static_cast<std::size_t>(Index)].Item;
    entries.erase(entries.begin() + Index);
    invalidate();
    return item;
}

int TAnchorLayout::count() const {
    return static_cast<int>(entries.size());
}

QSize TAnchorLayout::sizeHint() const {
    return designSize;
}

// The parent may shrink freely; its controls are then clipped.
QSize TAnchorLayout::minimumSize() const {
    return {0, 0};
}

void TAnchorLayout::setGeometry(const QRect& Rect) {
    QLayout::setGeometry(Rect);
    // The whole parent counts, not the contents rectangle: a group box's frame
    // margins are part of the designed bounds.
    const QSize parentSize = parentWidget() ? parentWidget()->size() : Rect.size();
    for (const TEntry& entry : entries) {
        const QRect bounds = AnchoredBounds(entry.Bounds, entry.Anchors, designSize, parentSize);
        if (QWidget* control = entry.Item->widget())
            control->setGeometry(bounds);
        else
            entry.Item->setGeometry(bounds);
    }
}
