// The two passes over the drawn nodes: the build pass creates the controls of
// every box, the layout pass shows, hides and places them.

#include "BoxGeometry.h"
#include "BoxLabel.h"
#include "Fonts.h"
#include "TreeView.h"
#include "TreeWalk.h"

#include <QFontMetrics>
#include <QLabel>
#include <QStringList>
#include <algorithm>
#include <memory>
#include <unordered_map>
#include <vector>

using namespace BoxGeometry;

namespace {

const char* const LimitNoticeName = "lblDrawingLimit";

void ForgetControls(TClaimTreeNode& Node) {
    Node.ExpandButton = nullptr;
    Node.ShowTextButton = nullptr;
    Node.HideTextButton = nullptr;
    Node.BranchButton = nullptr;
    Node.DecomposeButton = nullptr;
    Node.TextMemo = nullptr;
    Node.CaptionLabel = nullptr;
    Node.DependentsLabel = nullptr;
    Node.LinkLine = nullptr;
    Node.ChildLine = nullptr;
}

// Every created node; NodesByClaim lists them all.
template <typename F> void ForEachCreatedNode(TClaimTree& Tree, F&& Visit) {
    for (const auto& nodes : Tree.NodesByClaim) {
        for (TClaimTreeNode* node : nodes)
            Visit(*node);
    }
}

int RowLeftOf(const TClaimTreeNode& Node) {
    return Node.Parent != nullptr ? Node.Parent->RowLeft + LevelIndent : RootLeft;
}

void Place(QWidget* Control, int X, int Y) {
    if (Control->x() != X || Control->y() != Y)
        Control->move(X, Y);
}

void SetGeometry(QWidget* Control, int X, int Y, int Width, int Height) {
    const QRect place(X, Y, Width, Height);
    if (Control->geometry() != place)
        Control->setGeometry(place);
}

void SetShown(QWidget* Control, bool Shown) {
    if (Control->isHidden() == Shown)
        Control->setVisible(Shown);
}

void SetHint(QWidget* Control, const QString& Hint) {
    if (Control->toolTip() != Hint)
        Control->setToolTip(Hint);
}

// LinkLine: from the parent's vertical line to the box, or a hidden dot.
void PlaceLinkLine(const TClaimTreeNode& Node) {
    if (Node.DisplayState != 2 && Node.Parent != nullptr) {
        SetGeometry(Node.LinkLine, Node.Parent->RowLeft + LineOffset, Node.RowTop + LineOffset,
                    LinkLength, 1);
        SetShown(Node.LinkLine, true);
    } else {
        SetGeometry(Node.LinkLine, Node.RowLeft - 1, Node.RowTop - 1, 1, 1);
        SetShown(Node.LinkLine, false);
    }
}

int RowHeight(const TClaimTreeNode& Node) {
    int height = std::max({Node.ShowTextButton->height(), Node.HideTextButton->height(),
                           Node.CaptionLabel->height()});
    if (Node.ExpandButton != nullptr)
        height = std::max({height, Node.ExpandButton->height(), Node.DependentsLabel->height()});
    return height;
}

// Height of the memo for the node's TextMode; -1 when TextMode leaves it.
int MemoHeight(const TClaimTreeNode& Node) {
    if (Node.TextMode != 1 && Node.TextMode != 2)
        return -1;
    const int full = TClaimMemo::LineHeight() * Node.TextMemo->LineCount() + MemoExtraHeight;
    return Node.TextMode == 2 ? full : std::min(full, PreviewHeight);
}

// Sets the memo's height from TextMode, shows or hides it, and returns the
// room it takes below the row.
int FitMemo(const TClaimTreeNode& Node) {
    const int height = MemoHeight(Node);
    if (height >= 0 && height != Node.TextMemo->height())
        Node.TextMemo->resize(Node.TextMemo->width(), height);
    const bool shown = Node.TextMode != 0 && Node.DisplayState != 2;
    SetShown(Node.TextMemo, shown);
    return shown ? Node.TextMemo->height() : 0;
}

// Fonts, colours, glyphs and texts that the boxes of one pass share.
class TBoxLook {
public:
    TBoxLook(const TClaimTreePane& Pane, const TClaimTree& Tree)
        : font(Pane.Content()->font()), rootFont(font), images(Tree.Images) {
        rootFont.setBold(true);
        blue = red = Pane.Content()->palette();
        // The pane's white background role makes labels draw in the Text role.
        for (const QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text}) {
            blue.setColor(role, Qt::blue);
            red.setColor(role, Qt::red);
        }
    }

    const QFont& CaptionFont(const TClaimTreeNode& Node) const {
        return Node.Kind == 0 ? rootFont : font;
    }
    const QPalette& CaptionPalette(const TClaimTreeNode& Node) const {
        return Node.Kind == 2 ? red : blue;
    }
    const QFont& Font() const { return font; }

    QPixmap Glyph(int Index) const { return images != nullptr ? images->Image(Index) : QPixmap(); }
    QPixmap ExpandGlyph(const TClaimTreeNode& Node) const {
        return Glyph(Node.DisplayState == 0 ? TImageList::Expand : TImageList::Collapse);
    }
    QPixmap BranchGlyph(int BranchMode) const {
        return Glyph(BranchMode == 0 ? TImageList::ShowBranch : TImageList::ShowAll);
    }
    static QString BranchHint(int BranchMode) {
        return QString::fromLatin1(BranchMode == 0 ? ShowBranchHint : ShowAllHint);
    }

private:
    QFont font;
    QFont rootFont;
    QPalette blue;
    QPalette red;
    const TImageList* images;
};

// A label's caption with its auto-sized extent.
struct TLabelText {
    QString Text;
    QSize Size;
};

// The build pass. Texts, their extents and the memo lines are the same for
// every box of a claim, so they are worked out once per claim.
class TBoxBuilder {
public:
    TBoxBuilder(TClaimTreePane& Pane, TClaimTree& Tree, int64_t BoxBudget)
        : pane(Pane), tree(Tree), look(Pane, Tree), budget(BoxBudget) {}

    // Builds Node's box and those of the drawn nodes below it; returns the y
    // at which the next row starts.
    int BuildSubtree(TClaimTreeNode& Node, int Top, bool ResetView) {
        struct TFrame {
            TClaimTreeNode* Node;
            std::size_t NextChild;
            bool Carrying;
        };
        int y = BuildRow(Node, Top, ResetView);
        std::vector<TFrame> stack{{&Node, 0, IsCarrying(Node, tree)}};
        while (!stack.empty()) {
            TFrame& frame = stack.back();
            if (frame.NextChild == frame.Node->Children.size()) {
                stack.pop_back();
                continue;
            }
            TClaimTreeNode* child = frame.Node->Children[frame.NextChild++];
            if (child == nullptr)
                continue;
            if (ResetView)
                child->DisplayState = 2;
            if (frame.Carrying) {
                y = BuildRow(*child, y, ResetView);
                stack.push_back({child, 0, IsCarrying(*child, tree)});
            }
        }
        return y;
    }

    bool Truncated() const { return truncated; }

private:
    int BuildRow(TClaimTreeNode& N, int Top, bool ResetView) {
        N.Tree = &tree;
        if (ResetView) {
            N.TextMode = 0;
            tree.BranchMode = 0;
            N.DisplayState = 0;
        }
        N.RowTop = Top;
        N.RowLeft = RowLeftOf(N);
        ForgetControls(N);
        if (budget <= 0) {
            truncated = true;
            return Top;
        }
        --budget;

        QWidget* content = pane.Content();
        const bool shown = N.DisplayState != 2;
        int x = N.RowLeft;
        int y = Top;

        N.LinkLine = new TDottedLine(content);
        PlaceLinkLine(N);

        const bool hasChildren = N.HasChildren();
        if (hasChildren) {
            N.ExpandButton = NewButton(N, &TClaimTreeNode::ExpandButtonClick, look.ExpandGlyph(N),
                                       QString::fromLatin1(ExpandHint), x, y, shown);
            N.ChildLine = new TDottedLine(content);
            N.ChildLine->setGeometry(N.RowLeft + LineOffset, y + ChildLineTop, 1, 1);
            SetShown(N.ChildLine, N.DisplayState == 1);
            x += ButtonPitch;
        }

        N.CaptionLabel = NewLabel(CaptionOf(N), look.CaptionFont(N), x, y, shown);
        N.CaptionLabel->setPalette(look.CaptionPalette(N));
        x += N.CaptionLabel->width() + LabelGap;

        N.ShowTextButton =
            NewButton(N, &TClaimTreeNode::ShowTextButtonClick, look.Glyph(TImageList::ShowText),
                      QString::fromLatin1(ShowTextHint), x, y, shown);
        x += ButtonPitch;
        N.HideTextButton =
            NewButton(N, &TClaimTreeNode::HideTextButtonClick, look.Glyph(TImageList::HideText),
                      QString::fromLatin1(HideTextHint), x, y, shown);
        x += ButtonPitch;

        if (N.Parent != nullptr) {
            N.BranchButton =
                NewButton(N, &TClaimTreeNode::BranchButtonClick, look.BranchGlyph(tree.BranchMode),
                          TBoxLook::BranchHint(tree.BranchMode), x, y, shown && N.Kind != 2);
            if (N.Kind != 2)
                x += ButtonPitch;
        }
        if (tree.DecomposeHandler) {
            N.DecomposeButton = NewButton(N, &TClaimTreeNode::DecomposeButtonClick,
                                          look.Glyph(TImageList::Decompose),
                                          QString::fromLatin1(DecomposeHint), x, y, shown);
            x += ButtonPitch;
        }
        if (hasChildren) {
            N.DependentsLabel = NewLabel(DependentsOf(N), look.Font(), x, y, shown);
            x += N.DependentsLabel->width() + LabelGap;
        }

        if (shown) {
            y += RowHeight(N);
            if (N.TextMode != 0)
                y += TextGap;
        }

        N.TextMemo = new TClaimMemo(content);
        const int memoLeft = N.RowLeft + MemoIndent;
        const std::shared_ptr<const TMemoText>& text = MemoTextOf(N);
        N.TextMemo->SetText(text);
        N.TextMemo->setGeometry(memoLeft, y, MemoWidth(memoLeft, text->WidestLine()),
                                N.TextMemo->height());
        y += FitMemo(N);
        if (shown)
            y += BoxGap;
        return y;
    }

    int MemoWidth(int MemoLeft, int WidestLine) const {
        const int room = pane.width() - MemoLeft - MemoRightGap;
        const int wanted = WidestLine + MemoExtraWidth;
        if (room <= 0)
            return std::min(wanted, CrampedMemoWidth);
        return std::min(room, wanted);
    }

    TGlyphButton* NewButton(TClaimTreeNode& N, void (TClaimTreeNode::*Click)(QObject*),
                            const QPixmap& Glyph, const QString& Hint, int X, int Y, bool Shown) {
        auto* button = new TGlyphButton(pane.Content());
        button->SetGlyph(Glyph);
        button->setToolTip(Hint);
        button->move(X, Y);
        SetShown(button, Shown);
        TClaimTreeNode* node = &N;
        QObject::connect(button, &QAbstractButton::clicked, button,
                         [node, button, Click] { (node->*Click)(button); });
        return button;
    }

    QLabel* NewLabel(const TLabelText& Text, const QFont& Font, int X, int Y, bool Shown) {
        auto* label = new TBoxLabel(pane.Content());
        if (Font != look.Font())
            label->setFont(Font);
        label->setText(Text.Text);
        label->setGeometry(X, Y, Text.Size.width(), Text.Size.height());
        SetShown(label, Shown);
        return label;
    }

    static TLabelText Measured(QString Text, const QFont& Font) {
        const QFontMetrics metrics(Font);
        const QSize size(metrics.horizontalAdvance(Text), metrics.height());
        return {std::move(Text), size};
    }

    const TLabelText& CaptionOf(const TClaimTreeNode& N) {
        auto known = captions.find(N.Claim);
        if (known == captions.end()) {
            known = captions
                        .emplace(N.Claim,
                                 Measured(QString::fromStdString(N.Caption()), look.CaptionFont(N)))
                        .first;
        }
        return known->second;
    }

    // The children's claim numbers, each followed by a blank. Every node of
    // a claim has the same children, so one text serves them all.
    const TLabelText& DependentsOf(const TClaimTreeNode& N) {
        auto known = dependents.find(N.Claim);
        if (known == dependents.end()) {
            QString text;
            for (int32_t number : N.ChildNumbers()) {
                text += QString::number(number);
                text += QLatin1Char(' ');
            }
            known = dependents.emplace(N.Claim, Measured(std::move(text), look.Font())).first;
        }
        return known->second;
    }

    const std::shared_ptr<const TMemoText>& MemoTextOf(const TClaimTreeNode& N) {
        auto known = memoTexts.find(N.Claim);
        if (known == memoTexts.end())
            known = memoTexts.emplace(N.Claim, std::make_shared<TMemoText>(N.Text(), N.OwnerTree()->TextIsUtf8)).first;
        return known->second;
    }

    TClaimTreePane& pane;
    TClaimTree& tree;
    TBoxLook look;
    int64_t budget;
    bool truncated = false;
    std::unordered_map<const TClaim*, TLabelText> captions;
    std::unordered_map<const TClaim*, TLabelText> dependents;
    std::unordered_map<const TClaim*, std::shared_ptr<const TMemoText>> memoTexts;
};

// The layout pass.
class TBoxLayouter {
public:
    TBoxLayouter(TClaimTreePane& Pane, TClaimTree& Tree)
        : tree(Tree), look(Pane, Tree), expandGlyph(look.Glyph(TImageList::Expand)),
          collapseGlyph(look.Glyph(TImageList::Collapse)),
          branchHint(TBoxLook::BranchHint(Tree.BranchMode)),
          branchGlyph(look.BranchGlyph(Tree.BranchMode)) {}

    // Lays out Node's box and those of the drawn nodes below it; returns the
    // y at which the next row starts.
    int LayoutSubtree(TClaimTreeNode& Node, int Top) {
        struct TFrame {
            TClaimTreeNode* Node;
            std::size_t NextChild;
            bool Carrying;
        };
        int y = LayoutRow(Node, Top);
        std::vector<TFrame> stack{{&Node, 0, IsCarrying(Node, tree)}};
        while (!stack.empty()) {
            TFrame& frame = stack.back();
            if (frame.NextChild == frame.Node->Children.size()) {
                FitChildLine(*frame.Node);
                stack.pop_back();
                continue;
            }
            TClaimTreeNode* child = frame.Node->Children[frame.NextChild++];
            if (child == nullptr)
                continue;
            if (frame.Node->DisplayState != 1)
                child->DisplayState = 2;
            if (frame.Carrying) {
                y = LayoutRow(*child, y);
                stack.push_back({child, 0, IsCarrying(*child, tree)});
            }
        }
        return y;
    }

    // Whether a box past the build pass's limit was met.
    bool MetUnbuilt() const { return metUnbuilt; }

private:
    int LayoutRow(TClaimTreeNode& N, int Top) {
        N.RowTop = Top;
        N.RowLeft = RowLeftOf(N);
        if (N.Kind == 2 && N.DisplayState == 1 && !IsCarrying(N, tree))
            N.DisplayState = 0;
        if (N.CaptionLabel == nullptr) {
            metUnbuilt = true;
            return Top;
        }

        const bool shown = N.DisplayState != 2;
        int x = N.RowLeft;
        int y = Top;

        PlaceLinkLine(N);
        if (N.ExpandButton != nullptr) {
            Place(N.ExpandButton, x, y);
            SetShown(N.ExpandButton, shown);
            N.ExpandButton->SetGlyph(N.DisplayState == 0 ? expandGlyph : collapseGlyph);
            Place(N.ChildLine, N.RowLeft + LineOffset, y + ChildLineTop);
            SetShown(N.ChildLine, N.DisplayState == 1);
            x += ButtonPitch;
        }
        Place(N.CaptionLabel, x, y);
        SetShown(N.CaptionLabel, shown);
        x += N.CaptionLabel->width() + LabelGap;
        Place(N.ShowTextButton, x, y);
        SetShown(N.ShowTextButton, shown);
        x += ButtonPitch;
        Place(N.HideTextButton, x, y);
        SetShown(N.HideTextButton, shown);
        x += ButtonPitch;
        if (N.BranchButton != nullptr) {
            Place(N.BranchButton, x, y);
            SetShown(N.BranchButton, shown && N.Kind != 2);
            N.BranchButton->SetGlyph(branchGlyph);
            SetHint(N.BranchButton, branchHint);
            if (N.Kind != 2)
                x += ButtonPitch;
        }
        if (N.DecomposeButton != nullptr) {
            Place(N.DecomposeButton, x, y);
            SetShown(N.DecomposeButton, shown);
            x += ButtonPitch;
        }
        if (N.DependentsLabel != nullptr) {
            Place(N.DependentsLabel, x, y);
            SetShown(N.DependentsLabel, shown);
        }

        if (shown) {
            y += RowHeight(N);
            if (N.TextMode != 0)
                y += TextGap;
        }
        Place(N.TextMemo, N.RowLeft + MemoIndent, y);
        y += FitMemo(N);
        if (shown)
            y += BoxGap;
        return y;
    }

    // The vertical line ends on the link line of the last shown child.
    static void FitChildLine(const TClaimTreeNode& N) {
        if (N.ChildLine == nullptr)
            return;
        for (auto child = N.Children.rbegin(); child != N.Children.rend(); ++child) {
            if (*child != nullptr && (*child)->DisplayState != 2) {
                const int height = (*child)->RowTop - N.RowTop - LineOffset;
                if (N.ChildLine->height() != height)
                    N.ChildLine->resize(1, height);
                return;
            }
        }
    }

    TClaimTree& tree;
    TBoxLook look;
    QPixmap expandGlyph;
    QPixmap collapseGlyph;
    QString branchHint;
    QPixmap branchGlyph;
    bool metUnbuilt = false;
};

QPalette RedPalette(const QWidget& Control) {
    QPalette palette = Control.palette();
    palette.setColor(QPalette::WindowText, Qt::red);
    palette.setColor(QPalette::Text, Qt::red);
    return palette;
}

QLabel* NewNoticeLabel(TClaimTreePane& Pane, const QString& Caption) {
    auto* label = new QLabel(Pane.Content());
    label->setTextFormat(Qt::PlainText);
    label->setFont(LayoutFont(QStringLiteral("Times"), 14, true));
    label->setPalette(RedPalette(*label));
    label->setText(Caption);
    label->adjustSize();
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    return label;
}

// The two red lines that replace the tree of a document without claims,
// centred across the pane around its middle.
void AddEmptyDocumentNotice(TClaimTreePane& Pane) {
    // Scroll bars of an earlier drawing keep their room until the content is
    // shown again, and then go, since the notice is all the pane holds. The
    // width follows them through the right anchor.
    const int middle = Pane.maximumViewportSize().height() / 2;
    QLabel* first = NewNoticeLabel(Pane, QString::fromLatin1(NoClaimsNotice));
    first->setGeometry(2, middle - first->height() - 5, Pane.ClientWidth() - 4, first->height());
    QLabel* second = NewNoticeLabel(Pane, QString::fromLatin1(CheckInputNotice));
    second->setGeometry(2, middle + 5, Pane.ClientWidth() - 4, second->height());
    for (QLabel* label : {first, second}) {
        Pane.AnchorRight(label);
        label->show();
    }
}

void AddLimitNotice(TClaimTreePane& Pane, const QString& Text) {
    auto* label = new QLabel(Pane.Content());
    label->setObjectName(QLatin1String(LimitNoticeName));
    label->setTextFormat(Qt::PlainText);
    QFont bold = Pane.Content()->font();
    bold.setBold(true);
    label->setFont(bold);
    label->setPalette(RedPalette(*label));
    label->setText(Text);
    label->adjustSize();
    label->hide();
}

// Puts the limit notice, if the drawing has one, below the last drawn row.
void PlaceLimitNotice(TClaimTreePane& Pane, int Top) {
    auto* label = Pane.Content()->findChild<QLabel*>(QLatin1String(LimitNoticeName),
                                                     Qt::FindDirectChildrenOnly);
    if (label == nullptr)
        return;
    Place(label, RootLeft, Top);
    SetShown(label, true);
}

} // namespace

QString NodeLimitNotice(int32_t FirstLeftOut) {
    return QStringLiteral("The tree is too large to build whole: claim %1 and the claims after it "
                          "are left out.")
        .arg(FirstLeftOut);
}

QString DrawingLimitNotice(int64_t Boxes) {
    return QStringLiteral("The tree is too large to draw whole: only its first %1 boxes are shown.")
        .arg(Boxes);
}

void TClaimTree::BuildDrawing(QWidget* Form, TClaimTreePane* Pane, const TImageList* Images,
                              TDecomposeHandler DecomposeHandler, int RootIndex, bool ResetView) {
    OwnerForm = Form;
    this->Images = Images;
    this->DecomposeHandler = std::move(DecomposeHandler);
    if (Pane == nullptr)
        return;
    SetRedrawLock(Pane, true);
    // Boxes of an earlier drawing die with the pane's components; no node may
    // keep pointing at them.
    ForEachCreatedNode(*this, ForgetControls);
    Pane->DestroyComponents();
    Pane->SetDrawnTree(this);

    TBoxBuilder builder(*Pane, *this, Pane->MaxBoxes());
    if (RootIndex == -1) {
        ShownRoot = -1;
        int y = FirstRowTop;
        for (TClaimTreeNode* root : Roots) {
            if (root == nullptr)
                continue;
            if (ResetView)
                root->DisplayState = 0;
            y = builder.BuildSubtree(*root, y, ResetView);
        }
    } else if (RootIndex >= 0 && static_cast<std::size_t>(RootIndex) < Roots.size() &&
               Roots[static_cast<std::size_t>(RootIndex)] != nullptr) {
        ShownRoot = RootIndex;
        TClaimTreeNode* root = Roots[static_cast<std::size_t>(RootIndex)];
        if (ResetView)
            root->DisplayState = 0;
        builder.BuildSubtree(*root, FirstRowTop, ResetView);
    }
    if (Roots.empty())
        AddEmptyDocumentNotice(*Pane);
    QStringList limits;
    if (builder.Truncated())
        limits << DrawingLimitNotice(Pane->MaxBoxes());
    if (NodeLimitReached)
        limits << NodeLimitNotice(Claims[FirstUnplaced].Number);
    if (!limits.isEmpty())
        AddLimitNotice(*Pane, limits.join(QLatin1Char('\n')));
    Pane->FitContent();
    SetRedrawLock(Pane, false);
}

void TClaimTree::Relayout(TClaimTreePane* Pane) {
    if (Pane == nullptr || Pane->DrawnTree() != this)
        return;
    SetRedrawLock(Pane, true);
    TBoxLayouter layouter(*Pane, *this);
    int y = FirstRowTop;
    if (ShownRoot == -1) {
        for (TClaimTreeNode* root : Roots) {
            if (root != nullptr)
                y = layouter.LayoutSubtree(*root, y);
        }
    } else if (ShownRoot >= 0 && static_cast<std::size_t>(ShownRoot) < Roots.size() &&
               Roots[static_cast<std::size_t>(ShownRoot)] != nullptr) {
        y = layouter.LayoutSubtree(*Roots[static_cast<std::size_t>(ShownRoot)], FirstRowTop);
    }
    if (layouter.MetUnbuilt() || NodeLimitReached)
        PlaceLimitNotice(*Pane, y);
    Pane->FitContent();
    SetRedrawLock(Pane, false);
}

int TClaimTreeNode::BuildControls(TClaimTreePane* Pane, int Top, TClaimTree* Tree, bool ResetView) {
    if (Pane == nullptr || Tree == nullptr)
        return Top;
    TBoxBuilder builder(*Pane, *Tree, Pane->MaxBoxes());
    return builder.BuildSubtree(*this, Top, ResetView);
}

int TClaimTreeNode::LayoutControls(TClaimTreePane* Pane, int Top) {
    if (Pane == nullptr || Tree == nullptr)
        return Top;
    TBoxLayouter layouter(*Pane, *Tree);
    return layouter.LayoutSubtree(*this, Top);
}
