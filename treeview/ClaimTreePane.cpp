#include "ClaimTreePane.h"

#include <QResizeEvent>
#include <QScrollBar>

TClaimTreePane::TClaimTreePane(QWidget* Parent) : QScrollArea(Parent), content(new QWidget) {
    setBackgroundRole(QPalette::Base);
    QPalette white = palette();
    white.setColor(QPalette::Base, Qt::white);
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    content->setAutoFillBackground(true);
    content->setPalette(white);
    setWidget(content);
    setWidgetResizable(false);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lastClientWidth = ClientWidth();
}

int TClaimTreePane::ClientWidth() const {
    return viewport()->width();
}

int TClaimTreePane::ClientHeight() const {
    return viewport()->height();
}

void TClaimTreePane::DestroyComponents() {
    rightAnchored.clear();
    const auto children = content->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (QWidget* child : children)
        delete child;
    horizontalScrollBar()->setValue(0);
    verticalScrollBar()->setValue(0);
    FitContent();
}

void TClaimTreePane::AnchorRight(QWidget* Control) {
    rightAnchored.emplace_back(Control);
}

void TClaimTreePane::FitContent() {
    int right = 0;
    int bottom = 0;
    const auto children = content->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (const QWidget* child : children) {
        if (child->isHidden())
            continue;
        right = std::max(right, child->geometry().right() + 1);
        bottom = std::max(bottom, child->geometry().bottom() + 1);
    }
    content->resize(std::max(right, ClientWidth()), std::max(bottom, ClientHeight()));
}

void TClaimTreePane::ScrollInView(QWidget* Control) {
    if (Control != nullptr)
        ensureWidgetVisible(Control, 0, 0);
}

void TClaimTreePane::resizeEvent(QResizeEvent* Event) {
    QScrollArea::resizeEvent(Event);
    const int delta = ClientWidth() - lastClientWidth;
    lastClientWidth = ClientWidth();
    if (delta != 0) {
        for (const QPointer<QWidget>& control : rightAnchored) {
            if (control)
                control->resize(control->width() + delta, control->height());
        }
    }
    FitContent();
}
