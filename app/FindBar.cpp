#include "FindBar.h"

#include "ClaimTree.h"
#include "ClaimTreePane.h"
#include "DocumentView.h"
#include "ShownTree.h"
#include "TextEncoding.h"
#include "VelkinApplication.h"

#include <QAction>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QGridLayout>
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

// Only the occurrences in view are highlighted, and a scroll highlights those
// it brings into view: millions of highlights would make every repaint slow.
constexpr std::size_t MaxHighlights = 10'000;
// A slice of the search gives the window back after this long, and counts
// this many characters between looks at the clock.
constexpr qint64 SliceMilliseconds = 25;
constexpr qsizetype SliceCharacters = 1 << 18;

const QColor MatchColour(255, 236, 120);
const QColor CurrentColour(255, 150, 50);

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

bool CountMatches(QStringView Text, QStringView Needle, Qt::CaseSensitivity Sensitivity,
                  TFindCount& Progress, qsizetype Span) {
    if (Needle.isEmpty()) {
        Progress.At = Text.size();
        return true;
    }
    // Occurrences that start before stop; one may run on past it.
    const qsizetype stop = std::min(Text.size(), Progress.At + std::max<qsizetype>(Span, 1));
    const qsizetype end = std::min(Text.size(), stop + Needle.size() - 1);
    while (Progress.At < stop) {
        const qsizetype found =
            Text.sliced(Progress.At, end - Progress.At).indexOf(Needle, 0, Sensitivity);
        if (found < 0) {
            Progress.At = stop;
            break;
        }
        ++Progress.Count;
        Progress.At += found + Needle.size();
    }
    return Progress.At >= Text.size();
}

TFindBar::TFindBar(TDocumentView& Document, TShownTree& Shown, QMenu& Tools, QWidget& Window)
    : QFrame(&Window), document(Document), shown(Shown), input(&Document.Widget()),
      grid(new QGridLayout(this)), refreshTimer(new QTimer(this)), searchTimer(new QTimer(this)),
      showTimer(new QTimer(this)) {
    setObjectName(QStringLiteral("FindBar"));
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    grid->setContentsMargins(4, 2, 2, 2);
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(0);
    grid->addWidget(new QLabel(QStringLiteral("Find:"), this), 0, 0);
    edFind = new QLineEdit(this);
    edFind->setObjectName(QStringLiteral("edFind"));
    edFind->setMinimumWidth(60);
    grid->addWidget(edFind, 0, 1);
    grid->setColumnStretch(1, 1);
    cbMatchCase = new QCheckBox(QStringLiteral("Match case"), this);
    cbMatchCase->setObjectName(QStringLiteral("cbMatchCase"));
    cbMatchCase->setFocusPolicy(Qt::NoFocus);
    grid->addWidget(cbMatchCase, 0, 2);
    lblMatches = new QLabel(this);
    lblMatches->setObjectName(QStringLiteral("lblMatches"));
    grid->addWidget(lblMatches, 0, 3);
    btnPrevious = NewToolButton(this, "btnPrevious", QStringLiteral("\u2191"),
                                QStringLiteral("Previous claim (Shift+Enter)"));
    btnNext = NewToolButton(this, "btnNext", QStringLiteral("\u2193"),
                            QStringLiteral("Next claim (Enter)"));
    btnClose =
        NewToolButton(this, "btnClose", QStringLiteral("\u2715"), QStringLiteral("Close (Escape)"));
    grid->addWidget(btnPrevious, 0, 4);
    grid->addWidget(btnNext, 0, 5);
    grid->addWidget(btnClose, 0, 6);
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
    connect(searchTimer, &QTimer::timeout, this, [this] { RunHandler([this] { Search(); }); });
    // Once the view has settled: a scroll may move it many times at once.
    showTimer->setSingleShot(true);
    showTimer->setInterval(0);
    connect(showTimer, &QTimer::timeout, this, [this] { RunHandler([this] { ShowMatches(); }); });
    Document.OnViewMoved(this, [this] {
        if (isVisible())
            showTimer->start();
    });
    connect(btnNext, &QToolButton::clicked, this, [this] { RunHandler([this] { Step(true); }); });
    connect(btnPrevious, &QToolButton::clicked, this,
            [this] { RunHandler([this] { Step(false); }); });
    connect(btnClose, &QToolButton::clicked, this, [this] { RunHandler([this] { Close(); }); });
    edFind->installEventFilter(this);
    input->installEventFilter(this);
}

void TFindBar::Open() {
    show();
    Place();
    edFind->setFocus(Qt::ShortcutFocusReason);
    edFind->selectAll();
    Refresh();
}

void TFindBar::Close() {
    refreshTimer->stop();
    searchTimer->stop();
    showTimer->stop();
    busy.reset();
    hide();
    text = QString();
    needle.clear();
    progress = {};
    done = true;
    searchedTree = nullptr;
    matchingClaims.clear();
    currentClaim = -1;
    current = -1;
    document.SetHighlights({});
    MarkBoxes();
    input->setFocus(Qt::OtherFocusReason);
}

void TFindBar::Place() {
    // The count takes a line of its own where the bar is too narrow for it
    // beside the field.
    const bool wasBeside = grid->itemAtPosition(0, 3) != nullptr;
    grid->removeWidget(lblMatches);
    grid->addWidget(lblMatches, 0, 3);
    grid->invalidate();
    const bool beside = grid->minimumSize().width() <= width();
    if (!beside) {
        grid->removeWidget(lblMatches);
        grid->addWidget(lblMatches, 1, 1, 1, 6);
        grid->invalidate();
    }
    // The layout above gives the bar the height of its lines.
    if (beside != wasBeside)
        updateGeometry();
}

void TFindBar::resizeEvent(QResizeEvent* Event) {
    QFrame::resizeEvent(Event);
    Place();
}

void TFindBar::Refresh() {
    refreshTimer->stop();
    searchTimer->stop();
    busy.reset();
    needle = edFind->text();
    sensitivity = cbMatchCase->isChecked() ? Qt::CaseSensitive : Qt::CaseInsensitive;
    progress = {};
    matchingClaims.clear();
    currentClaim = -1;
    current = -1;
    searchedTree = shown.Tree();
    nextClaim = 0;
    claimSeen.assign(searchedTree != nullptr ? ClaimTableSize : 0, false);
    {
        // Gathering a long edited text takes a moment.
        const TBusyCursor wait;
        text = needle.isEmpty() ? QString() : document.Text();
    }
    done = false;
    ShowMatches();
    Search();
    if (!done) {
        busy.emplace(Qt::BusyCursor);
        searchTimer->start(0);
    }
}

void TFindBar::Search() {
    QElapsedTimer clock;
    clock.start();
    while (!done && clock.elapsed() < SliceMilliseconds) {
        if (progress.At < text.size()) {
            CountMatches(text, needle, sensitivity, progress, SliceCharacters);
            continue;
        }
        // The tree may have gone meanwhile; a new one starts a new search.
        const TClaimTree* tree = shown.Tree();
        if (tree != searchedTree) {
            searchedTree = nullptr;
            matchingClaims.clear();
        }
        if (needle.isEmpty() || searchedTree == nullptr || nextClaim >= tree->Claims.size()) {
            done = true;
            break;
        }
        SearchClaim(*tree);
    }
    ShowCount();
    if (!done)
        return;
    searchTimer->stop();
    busy.reset();
    MarkBoxes();
}

void TFindBar::SearchClaim(const TClaimTree& Tree) {
    const TClaim& claim = Tree.Claims[nextClaim++];
    if (!InClaimTable(claim.Number) || claimSeen[static_cast<std::size_t>(claim.Number)])
        return;
    if (ClaimTextOf(Tree, claim).contains(needle, sensitivity)) {
        claimSeen[static_cast<std::size_t>(claim.Number)] = true;
        matchingClaims.push_back(claim.Number);
    }
}

void TFindBar::ShowCount() {
    const qint64 count = progress.Count;
    const auto claims = static_cast<qint64>(matchingClaims.size());
    if (needle.isEmpty())
        lblMatches->clear();
    else if (!done)
        lblMatches->setText(QStringLiteral("Finding\u2026 %L1 so far").arg(count));
    else if (count == 0)
        lblMatches->setText(QStringLiteral("No matches"));
    else
        lblMatches->setText(
            QStringLiteral("%L1 %2 in %L3 %4")
                .arg(count)
                .arg(count == 1 ? QStringLiteral("match") : QStringLiteral("matches"))
                .arg(claims)
                .arg(claims == 1 ? QStringLiteral("claim") : QStringLiteral("claims")));
    Place();
}

void TFindBar::TreeChanged() {
    if (!isHidden())
        Refresh();
}

void TFindBar::ShowMatches() {
    std::vector<THighlight> highlights;
    if (needle.isEmpty() || isHidden()) {
        document.SetHighlights(highlights);
        return;
    }
    const auto [first, last] = document.ShownRange();
    const qsizetype from = std::clamp<qsizetype>(first, 0, text.size());
    // Those that begin in view, though they end beyond it.
    const qsizetype to = std::clamp<qsizetype>(last + needle.size() - 1, from, text.size());
    const QStringView around = QStringView(text).sliced(from, to - from);
    // The one stepped to first: it is shown whatever else must give way.
    if (current >= 0)
        highlights.push_back({current, needle.size(), CurrentColour});
    for (qsizetype at = around.indexOf(needle, 0, sensitivity);
         at >= 0 && highlights.size() < MaxHighlights;
         at = around.indexOf(needle, at + needle.size(), sensitivity)) {
        if (from + at != current)
            highlights.push_back({from + at, needle.size(), MatchColour});
    }
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
    // While a search goes on, through the claims found so far.
    if (matchingClaims.empty() || shown.Tree() == nullptr || shown.Tree() != searchedTree)
        return;
    const auto count = static_cast<int>(matchingClaims.size());
    if (currentClaim < 0 || currentClaim >= count)
        currentClaim = Forward ? 0 : count - 1;
    else
        currentClaim = (currentClaim + (Forward ? 1 : count - 1)) % count;
    const int32_t number = matchingClaims[static_cast<std::size_t>(currentClaim)];
    shown.RevealClaim(number);

    // The claim's first occurrence in the text, from where the claim starts.
    const qsizetype at = text.indexOf(needle, ClaimStart(number), sensitivity);
    if (at < 0)
        return;
    current = at;
    document.MoveCursorTo(at);
    ShowMatches();
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
    const QString claimText = ClaimTextOf(tree, claim);
    const QString first =
        claimText.left(claimText.indexOf(QRegularExpression(QStringLiteral("[\r\n]")))).trimmed();
    if (first.isEmpty())
        return 0;
    return std::max<qsizetype>(text.indexOf(first), 0);
}

bool TFindBar::eventFilter(QObject* Watched, QEvent* Event) {
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
