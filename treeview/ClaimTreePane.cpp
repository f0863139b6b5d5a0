#include "ClaimTreePane.h"

#include "Fonts.h"
#include "HandlerRunner.h"
#include "TreeView.h"

#include <QCoreApplication>
#include <QResizeEvent>
#include <QScrollBar>

namespace {

// The scroll that brings [First, Last] into [0, Extent): the least one, or
// the one that shows First when the span is longer than Extent.
int ScrollDelta(int First, int Last, int Extent) {
    if (First < 0)
        return First;
    if (Last >= Extent)
        return Last - First + 1 > Extent ? First : Last - Extent + 1;
    return 0;
}

} // namespace

TClaimTreePane::TClaimTreePane(QWidget* Parent)
    : QScrollArea(Parent), content(new QWidget), maxBoxes(MaxDrawnBoxes) {
    setBackgroundRole(QPalette::Base);
    QPalette white = palette();
    white.setColor(QPalette::Base, Qt::white);
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setFont(LayoutFont(QStringLiteral("MS Sans Serif"), 8));
    content->setAutoFillBackground(true);
    content->setPalette(white);
    setWidget(content);
    setWidgetResizable(false);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lastClientWidth = ClientWidth();
}

TClaimTreePane::~TClaimTreePane() {
    if (drawing != nullptr)
        drawing->Detach();
}

int TClaimTreePane::ClientWidth() const {
    return viewport()->width();
}

int TClaimTreePane::ClientHeight() const {
    return viewport()->height();
}

void TClaimTreePane::DestroyComponents() {
    rightAnchored.clear();
    if (drawing != nullptr)
        drawing->Detach();
    drawing = nullptr;
    drawnTree = nullptr;
    drawingExtent = QSize();
    const auto children = content->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (QWidget* child : children)
        delete child;
    horizontalScrollBar()->setValue(0);
    verticalScrollBar()->setValue(0);
    FitContent();
}

void TClaimTreePane::SetBoxMarks(std::unordered_map<int32_t, unsigned> Marks) {
    boxMarks = std::move(Marks);
    if (drawing == nullptr)
        return;
    RunTreeHandler([this] {
        if (drawing != nullptr)
            drawing->MarksChanged();
    });
    // The boxes' controls leave their repaints to the content: marks placed
    // now show only with its next one.
    content->update();
}

unsigned TClaimTreePane::BoxMarks(int32_t ClaimNumber) const {
    const auto found = boxMarks.find(ClaimNumber);
    return found == boxMarks.end() ? 0 : found->second;
}

void TClaimTreePane::AnchorRight(QWidget* Control) {
    rightAnchored.emplace_back(Control);
}

void TClaimTreePane::FitContent() {
    int right = drawingExtent.width();
    int bottom = drawingExtent.height();
    for (const QObject* object : content->children()) {
        if (!object->isWidgetType())
            continue;
        const auto* child = static_cast<const QWidget*>(object);
        if (child->isHidden())
            continue;
        const QRect place = child->geometry();
        right = std::max(right, place.right() + 1);
        bottom = std::max(bottom, place.bottom() + 1);
    }
    content->resize(std::max(right, ClientWidth()), std::max(bottom, ClientHeight()));
}

void TClaimTreePane::ScrollInView(QWidget* Control) {
    if (Control == nullptr || !content->isAncestorOf(Control))
        return;
    ScrollInView(QRect(Control->mapTo(content, QPoint(0, 0)), Control->size()));
}

void TClaimTreePane::ScrollInView(const QRect& ContentRect) {
    // Scroll bars that the last pass made appear or vanish are shown or
    // hidden by a queued call; the visible area is right only after it.
    QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
    const QRect place = ContentRect.translated(content->mapTo(viewport(), QPoint(0, 0)));
    QScrollBar* horizontal = horizontalScrollBar();
    QScrollBar* vertical = verticalScrollBar();
    horizontal->setValue(horizontal->value() +
                         ScrollDelta(place.left(), place.right(), ClientWidth()));
    vertical->setValue(vertical->value() +
                       ScrollDelta(place.top(), place.bottom(), ClientHeight()));
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
    if (drawing != nullptr)
        RunTreeHandler([this] {
            if (drawing != nullptr)
                drawing->ViewMoved();
        });
}

void TClaimTreePane::scrollContentsBy(int Dx, int Dy) {
    QScrollArea::scrollContentsBy(Dx, Dy);
    if (drawing != nullptr)
        RunTreeHandler([this] {
            if (drawing != nullptr)
                drawing->ViewMoved();
        });
}
