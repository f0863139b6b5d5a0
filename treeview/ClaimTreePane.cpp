#include "ClaimTreePane.h"

#include "BoxGeometry.h"
#include "BoxLabel.h"
#include "Fonts.h"
#include "HandlerRunner.h"
#include "TreeView.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QScrollBar>
#include <algorithm>

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

// What a screen reader calls the pane while no box is current.
constexpr const char* TreeAccessibleName = "Tree of claims";

// Room between a box and the focus mark around it, and the mark's width.
constexpr int FocusMarkGap = 2;
constexpr int FocusMarkWidth = 2;

// A frame in the highlight colour around the current box; clicks go through.
class TFocusMark : public QWidget {
public:
    explicit TFocusMark(QWidget* Parent) : QWidget(Parent) {
        setObjectName(QStringLiteral("FocusMark"));
        setAttribute(Qt::WA_TransparentForMouseEvents);
        hide();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        QPen pen(palette().color(QPalette::Active, QPalette::Highlight), FocusMarkWidth);
        pen.setJoinStyle(Qt::MiterJoin);
        painter.setPen(pen);
        const int half = FocusMarkWidth / 2;
        painter.drawRect(rect().adjusted(half, half, -half, -half));
    }
};

// The row of Node in the drawing, or the number of rows when the last
// layout did not place it.
std::size_t RowIndex(const TTreeDrawing& Drawing, const TClaimTreeNode& Node) {
    const std::vector<TDrawnRow>& rows = Drawing.Rows();
    if (!Drawing.IsLaidOut(Node))
        return rows.size();
    const int top = Drawing.View(Node).RowTop;
    auto row = std::partition_point(rows.begin(), rows.end(),
                                    [top](const TDrawnRow& r) { return r.Top < top; });
    for (; row != rows.end() && row->Top == top; ++row) {
        if (row->Node == &Node)
            return static_cast<std::size_t>(row - rows.begin());
    }
    const auto found = std::find_if(rows.begin(), rows.end(),
                                    [&Node](const TDrawnRow& r) { return r.Node == &Node; });
    return static_cast<std::size_t>(found - rows.begin());
}

bool RowShown(const TDrawnRow& Row) {
    return Row.Height > 0;
}

} // namespace

TClaimTreePane::TClaimTreePane(QWidget* Parent)
    : QScrollArea(Parent), content(new QWidget), focusMark(new TFocusMark(viewport())),
      maxBoxes(MaxDrawnBoxes) {
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
    // A click on a box's caption or row makes it the current box.
    content->installEventFilter(this);
    setAccessibleName(QLatin1String(TreeAccessibleName));
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
    SetDrawing(nullptr);
    drawnTree = nullptr;
    drawingExtent = QSize();
    const auto children = content->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (QWidget* child : children)
        delete child;
    horizontalScrollBar()->setValue(0);
    verticalScrollBar()->setValue(0);
    FitContent();
}

void TClaimTreePane::SetDrawing(TTreeDrawing* Drawing) {
    drawing = Drawing;
    current = nullptr;
    UpdateFocusMark();
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

void TClaimTreePane::SetBoxTags(std::unordered_map<int32_t, TBoxTag> Tags) {
    const QFontMetrics metrics(BoxTagFont());
    for (auto& [number, tag] : Tags)
        tag.Width = metrics.horizontalAdvance(tag.Text) + 2 * BoxGeometry::BoxTagPadding;
    boxTags = std::move(Tags);
}

const TBoxTag* TClaimTreePane::BoxTag(int32_t ClaimNumber) const {
    const auto found = boxTags.find(ClaimNumber);
    return found == boxTags.end() ? nullptr : &found->second;
}

void TClaimTreePane::SetSelectedTag(int32_t ClaimNumber) {
    if (selectedTag == ClaimNumber)
        return;
    selectedTag = ClaimNumber;
    if (drawing == nullptr)
        return;
    RunTreeHandler([this] {
        if (drawing != nullptr)
            drawing->MarksChanged();
    });
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
    // Every layout ends here: the mark follows its box.
    UpdateFocusMark();
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
    UpdateFocusMark();
}

TClaimTreeNode* TClaimTreePane::ShownCurrent() const {
    if (drawing == nullptr)
        return nullptr;
    for (TClaimTreeNode* node = current; node != nullptr; node = node->Parent) {
        if (drawing->IsShown(*node))
            return node;
    }
    const std::vector<TDrawnRow>& rows = drawing->Rows();
    const int viewTop = -content->y();
    const auto inView = std::find_if(rows.begin(), rows.end(), [viewTop](const TDrawnRow& r) {
        return RowShown(r) && r.Top >= viewTop;
    });
    if (inView != rows.end())
        return inView->Node;
    const auto first = std::find_if(rows.begin(), rows.end(), RowShown);
    return first != rows.end() ? first->Node : nullptr;
}

void TClaimTreePane::SetCurrentBox(TClaimTreeNode* Node) {
    if (drawing == nullptr || Node == nullptr || Node->OwnerTree() != &drawing->Tree() ||
        !drawing->IsShown(*Node))
        return;
    current = Node;
    drawing->ScrollInView(*Node, &TRowGeometry::Extent);
    UpdateFocusMark();
}

QString TClaimTreePane::BoxAccessibleName(const TClaimTreeNode& Node, bool Expanded) {
    QString name = BoxLabelText(Node.Caption());
    if (Node.HasChildren())
        name += Expanded ? QStringLiteral(", expanded") : QStringLiteral(", collapsed");
    return name;
}

void TClaimTreePane::UpdateFocusMark() {
    TClaimTreeNode* node = hasFocus() && keyboardUsed ? ShownCurrent() : nullptr;
    if (node == nullptr) {
        focusMark->hide();
        if (accessibleName() != QLatin1String(TreeAccessibleName))
            setAccessibleName(QLatin1String(TreeAccessibleName));
        return;
    }
    current = node;
    const TNodeView& view = drawing->View(*node);
    const QRect box = drawing->Geometry(*node, view.RowTop).Extent;
    const int margin = FocusMarkGap + FocusMarkWidth;
    focusMark->setGeometry(
        box.translated(content->pos()).adjusted(-margin, -margin, margin, margin));
    focusMark->show();
    focusMark->raise();
    const QString name = BoxAccessibleName(*node, view.DisplayState == TDisplayState::Expanded);
    if (accessibleName() != name)
        setAccessibleName(name);
}

bool TClaimTreePane::TreeKey(int Key, Qt::KeyboardModifiers Modifiers) {
    TClaimTreeNode* at = ShownCurrent();
    if (at == nullptr)
        return false;
    if ((Key == Qt::Key_F10 && Modifiers == Qt::ShiftModifier) ||
        (Key == Qt::Key_Menu && Modifiers == Qt::NoModifier)) {
        keyboardUsed = true;
        SetCurrentBox(at);
        OpenBoxMenu(*at);
        return true;
    }
    if (Modifiers != Qt::NoModifier)
        return false;
    const std::vector<TDrawnRow>& rows = drawing->Rows();
    const auto count = static_cast<std::ptrdiff_t>(rows.size());
    const auto here = static_cast<std::ptrdiff_t>(RowIndex(*drawing, *at));
    if (here >= count)
        return false;
    std::ptrdiff_t to = here;
    // The node of the shown row nearest to From going by Step, with its index
    // in to; null and -1 when there is none.
    const auto shownFrom = [&rows, count, &to](std::ptrdiff_t From, std::ptrdiff_t Step) {
        for (to = From; to >= 0 && to < count; to += Step) {
            if (RowShown(rows[static_cast<std::size_t>(to)]))
                return rows[static_cast<std::size_t>(to)].Node;
        }
        to = -1;
        return static_cast<TClaimTreeNode*>(nullptr);
    };
    const int top = rows[static_cast<std::size_t>(here)].Top;
    const int page = std::max(1, ClientHeight());
    // While the mark is not shown, a first move only shows where the keys start.
    const bool fresh = !keyboardUsed || current == nullptr;
    TClaimTreeNode* target = nullptr;
    switch (Key) {
    case Qt::Key_Up:
        target = fresh ? at : shownFrom(here - 1, -1);
        break;
    case Qt::Key_Down:
        target = fresh ? at : shownFrom(here + 1, 1);
        break;
    case Qt::Key_Home:
        target = shownFrom(0, 1);
        break;
    case Qt::Key_End:
        target = shownFrom(count - 1, -1);
        break;
    case Qt::Key_PageDown: {
        // The last shown row within a page below, at least the next one.
        const auto past = std::partition_point(
            rows.begin(), rows.end(), [&](const TDrawnRow& r) { return r.Top <= top + page; });
        target = shownFrom((past - rows.begin()) - 1, -1);
        if (to <= here)
            target = shownFrom(here + 1, 1);
        break;
    }
    case Qt::Key_PageUp: {
        // The first shown row within a page above, at least the previous one.
        const auto first = std::partition_point(
            rows.begin(), rows.end(), [&](const TDrawnRow& r) { return r.Top < top - page; });
        target = shownFrom(first - rows.begin(), 1);
        if (to < 0 || to >= here)
            target = shownFrom(here - 1, -1);
        break;
    }
    case Qt::Key_Left:
        target = at->Parent != nullptr ? at->Parent : at;
        break;
    case Qt::Key_Right:
        // Opens the box when it is closed and goes to its first dependant.
        if (at->HasChildren() && drawing->View(*at).DisplayState != TDisplayState::Expanded)
            drawing->ExpandButtonClick(*at, nullptr);
        target = at;
        for (TClaimTreeNode* child : at->Children) {
            if (child != nullptr && drawing->IsShown(*child)) {
                target = child;
                break;
            }
        }
        break;
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (at->HasChildren())
            drawing->ExpandButtonClick(*at, nullptr);
        target = at;
        break;
    default:
        return false;
    }
    keyboardUsed = true;
    SetCurrentBox(target != nullptr ? target : at);
    return true;
}

void TClaimTreePane::OpenBoxMenu(const TClaimTreeNode& Node) {
    // The menu is the drawing's owner's: it hears of the request as of a
    // right click, at the box's caption.
    const QRect caption = drawing->Geometry(Node, drawing->View(Node).RowTop).Caption;
    const QPoint at = caption.bottomLeft();
    QContextMenuEvent request(QContextMenuEvent::Keyboard, at, content->mapToGlobal(at));
    QCoreApplication::sendEvent(content, &request);
}

void TClaimTreePane::keyPressEvent(QKeyEvent* Event) {
    bool used = false;
    TClaimTreeNode* before = current;
    if (drawing != nullptr) {
        const int key = Event->key();
        const Qt::KeyboardModifiers modifiers = Event->modifiers() & ~Qt::KeypadModifier;
        RunTreeHandler([this, key, modifiers, &used] { used = TreeKey(key, modifiers); });
    }
    if (used)
        Event->accept();
    else
        QScrollArea::keyPressEvent(Event);
    if (used && current != nullptr && current != before)
        emit BoxChosen(current);
}

void TClaimTreePane::focusInEvent(QFocusEvent* Event) {
    QScrollArea::focusInEvent(Event);
    const Qt::FocusReason reason = Event->reason();
    if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
        reason == Qt::ShortcutFocusReason)
        keyboardUsed = true;
    UpdateFocusMark();
}

void TClaimTreePane::focusOutEvent(QFocusEvent* Event) {
    QScrollArea::focusOutEvent(Event);
    // A menu over the pane, the menu bar or another window for a while
    // leaves the keyboard where it was.
    const Qt::FocusReason reason = Event->reason();
    if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason &&
        reason != Qt::MenuBarFocusReason)
        keyboardUsed = false;
    UpdateFocusMark();
}

void TClaimTreePane::contextMenuEvent(QContextMenuEvent* Event) {
    // The window system's own request from the menu key comes with the key,
    // which opened the menu already.
    if (Event->reason() == QContextMenuEvent::Keyboard) {
        Event->accept();
        return;
    }
    QScrollArea::contextMenuEvent(Event);
}

bool TClaimTreePane::eventFilter(QObject* Watched, QEvent* Event) {
    if (Watched == content && Event->type() == QEvent::MouseButtonPress && drawing != nullptr) {
        const QPoint at = static_cast<QMouseEvent*>(Event)->position().toPoint();
        if (TClaimTreeNode* node = drawing->NodeAt(at)) {
            current = node;
            UpdateFocusMark();
            emit BoxChosen(node);
        }
    }
    return QScrollArea::eventFilter(Watched, Event);
}
