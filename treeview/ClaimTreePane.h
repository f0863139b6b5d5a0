#pragma once

#include <QPointer>
#include <QScrollArea>
#include <vector>

// The tree pane: a white scroll box whose content widget owns the drawn
// controls. Controls sit at content coordinates; the content widget covers
// the extents of its visible children, which gives the scroll range.
class TClaimTreePane : public QScrollArea {
    Q_OBJECT

public:
    explicit TClaimTreePane(QWidget* Parent = nullptr);

    // Parent of every control drawn into the pane.
    QWidget* Content() const { return content; }

    int ClientWidth() const;
    int ClientHeight() const;

    // Deletes every control the pane holds.
    void DestroyComponents();

    // Keeps Control's right edge at the same distance from the pane's right
    // edge when the pane is resized.
    void AnchorRight(QWidget* Control);

    // Sizes the content to the extents of its visible children, at least the
    // visible area, so that the scroll range follows the picture.
    void FitContent();

    // Scrolls by the least amount that brings Control inside the visible area.
    void ScrollInView(QWidget* Control);

protected:
    void resizeEvent(QResizeEvent* Event) override;

private:
    QWidget* content;
    std::vector<QPointer<QWidget>> rightAnchored;
    int lastClientWidth = 0;
};
