#include "FindBar.h"

#include "ClaimTree.h"
#include "ClaimTreePane.h"
#include "DocumentView.h"
#include "ShownTree.h"
#include "TextEncoding.h"
#include "VelkinApplication.h"

#include <QAction>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QRegularExpression>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <unordered_map>

namespace {

// Highlights beyond this many would make every repaint of a long text slow;
// the count still covers them all.
constexpr std::size_t MaxHighlights = 10'000;

QToolButton* NewToolButton(QWidget* Parent, const char* Name, const QString& Caption,
                           const QString& Hint) {
    auto* button = new QToolButton(Parent);
    button->setObjectName(QLatin1String(Name));
    button->setText(Caption);
    button->setToolTip(Hint);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

// A claim's text as the input pane shows it: decoded as the whole document.
QString ClaimTextOf(const TClaimTree& Tree, const TClaim& Claim) {
    return QString::fromStdString(Tree.TextIsUtf8 ? DecodeToUtf8(Claim.Text)
                                                  : Windows1252ToUtf8(Claim.Text));
}

} // namespace

std::vector<qsizetype> FindAll(const QString& Text, const QString& Needle, bool MatchCase) {
    std::vector<qsizetype> found;
    if (Needle.isEmpty())
        return found;
    const Qt::CaseSensitivity sensitivity = MatchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
    for (qsizetype at = Text.indexOf(Needle, 0, sensitivity); at >= 0;
         at = Text.indexOf(Needle, at + Needle.size(), sensitivity))
        found.push_back(at);
    return found;
}

TFindBar::TFindBar(TDocumentView& Document, TShownTree& Shown, QMenu& Tools, QWidget& Window)
    : QFrame(&Document.Widget()), document(Document), shown(Shown), input(&Document.Widget()),
      refreshTimer(new QTimer(this)) {
    setObjectName(QStringLiteral("FindBar"));
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 2, 2, 2);
    layout->setSpacing(4);
    layout->addWidget(new QLabel(QStringLiteral("Find:"), this));
    edFind = new QLineEdit(this);
    edFind->setObjectName(QStringLiteral("edFind"));
    edFind->setMinimumWidth(60);
    layout->addWidget(edFind, 1);
    cbMatchCase = new QCheckBox(QStringLiteral("Match case"), this);
    cbMatchCase->setObjectName(QStringLiteral("cbMatchCase"));
    cbMatchCase->setFocusPolicy(Qt::NoFocus);
    layout->addWidget(cbMatchCase);
    lblMatches = new QLabel(this);
    lblMatches->setObjectName(QStringLiteral("lblMatches"));
    layout->addWidget(lblMatches);
    btnPrevious = NewToolButton(this, "btnPrevious", QStringLiteral("\u2191"),
                                QStringLiteral("Previous claim (Shift+Enter)"));
    btnNext = NewToolButton(this, "btnNext", QStringLiteral("\u2193"),
                            QStringLiteral("Next claim (Enter)"));
    btnClose =
        NewToolButton(this, "btnClose", QStringLiteral("\u2715"), QStringLiteral("Close (Escape)"));
    layout->addWidget(btnPrevious);
    layout->addWidget(btnNext);
    layout->addWidget(btnClose);
    hide();

    Find1 = Tools.addAction(QStringLiteral("&Find..."));
    Find1->setObjectName(QStringLiteral("Find1"));
    Find1->setShortcut(QKeySequence::Find);
    Window.addAction(Find1);
    connect(Find1, &QAction::triggered, this, [this] { RunHandler([this] { Open(); }); });

    refreshTimer->setSingleShot(true);
    refreshTimer->setInterval(150);
    connect(refreshTimer, &QTimer::timeout, this, [this] { RunHandler([this] { Refresh(); }); });
    const auto later = [this] {
        if (isVisible())
            refreshTimer->start();
    };
    connect(edFind, &QLineEdit::textChanged, this, later);
    connect(cbMatchCase, &QCheckBox::toggled, this, later);
    // A new text, or an edit, may move every match; a new analysis comes
    // with a new text.
    Document.OnTextChanged(this, later);
    connect(btnNext, &QToolButton::clicked, this, [this] { RunHandler([this] { Step(true); }); });
    connect(btnPrevious, &QToolButton::clicked, this,
            [this] { RunHandler([this] { Step(false); }); });
    connect(btnClose, &QToolButton::clicked, this, [this] { RunHandler([this] { Close(); }); });
    edFind->installEventFilter(this);
    input->installEventFilter(this);
}

void TFindBar::Open() {
    show();
    raise();
    Place();
    edFind->setFocus(Qt::ShortcutFocusReason);
    edFind->selectAll();
    Refresh();
}

void TFindBar::Close() {
    refreshTimer->stop();
    hide();
    positions.clear();
    matchingClaims.clear();
    matchCount = 0;
    currentClaim = -1;
    document.SetHighlights({});
    MarkBoxes();
    input->setFocus(Qt::OtherFocusReason);
}

void TFindBar::Place() {
    const QRect area = document.TextArea();
    // Across the top of the text, which scrolls on beneath it.
    setGeometry(area.left(), area.top(), area.width(), sizeHint().height());
}

void TFindBar::Refresh() {
    refreshTimer->stop();
    const QString needle = edFind->text();
    const bool matchCase = cbMatchCase->isChecked();
    positions = FindAll(document.Text(), needle, matchCase);
    matchCount = static_cast<int>(std::min<std::size_t>(positions.size(), INT32_MAX));

    matchingClaims.clear();
    currentClaim = -1;
    const TClaimTree* tree = shown.Tree();
    if (tree != nullptr && !needle.isEmpty()) {
        const Qt::CaseSensitivity sensitivity = matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
        for (const TClaim& claim : tree->Claims) {
            if (!InClaimTable(claim.Number) ||
                std::find(matchingClaims.begin(), matchingClaims.end(), claim.Number) !=
                    matchingClaims.end())
                continue;
            if (ClaimTextOf(*tree, claim).contains(needle, sensitivity))
                matchingClaims.push_back(claim.Number);
        }
    }
    if (needle.isEmpty())
        lblMatches->clear();
    else if (matchCount == 0)
        lblMatches->setText(QStringLiteral("No matches"));
    else
        lblMatches->setText(
            QStringLiteral("%1 %2 in %3 %4")
                .arg(matchCount)
                .arg(matchCount == 1 ? QStringLiteral("match") : QStringLiteral("matches"))
                .arg(matchingClaims.size())
                .arg(matchingClaims.size() == 1 ? QStringLiteral("claim")
                                                : QStringLiteral("claims")));
    ShowMatches(positions, -1);
    MarkBoxes();
    Place();
}

void TFindBar::TreeChanged() {
    if (!isHidden())
        Refresh();
}

void TFindBar::ShowMatches(const std::vector<qsizetype>& Positions, qsizetype Current) {
    const qsizetype length = edFind->text().size();
    std::vector<THighlight> highlights;
    highlights.reserve(std::min(Positions.size(), MaxHighlights) + 1);
    for (std::size_t i = 0; i < Positions.size() && i < MaxHighlights; ++i)
        highlights.push_back({Positions[i], length, QColor(255, 236, 120)});
    if (Current >= 0)
        highlights.push_back({Current, length, QColor(255, 150, 50)});
    document.SetHighlights(highlights);
}

void TFindBar::MarkBoxes() {
    const auto found = static_cast<unsigned>(TBoxMark::Found);
    std::unordered_map<int32_t, unsigned> marks;
    if (const TClaimTree* tree = shown.Tree()) {
        for (const TClaim& claim : tree->Claims) {
            if (const unsigned kept = shown.BoxMarks(claim.Number) & ~found)
                marks[claim.Number] = kept;
        }
    }
    for (const int32_t claim : matchingClaims)
        marks[claim] |= found;
    shown.SetBoxMarks(std::move(marks));
}

void TFindBar::Step(bool Forward) {
    if (refreshTimer->isActive())
        Refresh();
    if (matchingClaims.empty() || shown.Tree() == nullptr)
        return;
    const auto count = static_cast<int>(matchingClaims.size());
    if (currentClaim < 0)
        currentClaim = Forward ? 0 : count - 1;
    else
        currentClaim = (currentClaim + (Forward ? 1 : count - 1)) % count;
    const int32_t number = matchingClaims[static_cast<std::size_t>(currentClaim)];
    shown.RevealClaim(number);

    // The claim's first occurrence in the text, from where the claim starts.
    const auto at = std::lower_bound(positions.begin(), positions.end(), ClaimStart(number));
    if (at == positions.end())
        return;
    ShowMatches(positions, *at);
    document.MoveCursorTo(*at);
}

qsizetype TFindBar::ClaimStart(int32_t Number) const {
    const TClaimTree& tree = *shown.Tree();
    const auto& nodes = tree.NodesByClaim[static_cast<std::size_t>(Number)];
    if (nodes.empty())
        return 0;
    const TClaim& claim = *nodes.front()->Claim;
    if (const qsizetype start = document.LineStart(claim.Line); start >= 0)
        return start;
    // Without a known line: where the first line of the claim's text stands.
    const QString text = ClaimTextOf(tree, claim);
    const QString first =
        text.left(text.indexOf(QRegularExpression(QStringLiteral("[\r\n]")))).trimmed();
    if (first.isEmpty())
        return 0;
    return std::max<qsizetype>(document.Text().indexOf(first), 0);
}

bool TFindBar::eventFilter(QObject* Watched, QEvent* Event) {
    // Not through the window: it may be on its way out while its children
    // still get events.
    if (Watched == input && Event->type() == QEvent::Resize && isVisible())
        Place();
    const bool keyPress = Event->type() == QEvent::KeyPress;
    if (!keyPress && Event->type() != QEvent::ShortcutOverride)
        return QFrame::eventFilter(Watched, Event);
    auto* key = static_cast<QKeyEvent*>(Event);
    // Escape closes the open bar from its field and from the text below it;
    // the bar's other controls pass it up to keyPressEvent.
    if (key->key() == Qt::Key_Escape && (Watched == edFind || (Watched == input && isVisible()))) {
        // Claimed before any shortcut of the window can take it.
        Event->accept();
        if (keyPress)
            RunHandler([this] { Close(); });
        return true;
    }
    if (Watched == edFind && keyPress &&
        (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
        RunHandler([this, key] { Step(!key->modifiers().testFlag(Qt::ShiftModifier)); });
        return true;
    }
    return QFrame::eventFilter(Watched, Event);
}

void TFindBar::keyPressEvent(QKeyEvent* Event) {
    // Keys the bar's controls leave must not reach the input pane, which
    // would take them as typing.
    if (Event->key() == Qt::Key_Escape)
        Close();
    Event->accept();
}
