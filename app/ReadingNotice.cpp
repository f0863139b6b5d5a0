#include "ReadingNotice.h"

#include "AnchorLayout.h"
#include "ClaimTree.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <algorithm>
#include <map>
#include <vector>

namespace {

constexpr int NoticeHeight = 24;

// Each claim number with its references, every number once.
std::map<int32_t, std::vector<int32_t>> ClaimReferences(const TClaimTree& Tree) {
    std::map<int32_t, std::vector<int32_t>> claims;
    for (const TClaim& claim : Tree.Claims) {
        std::vector<int32_t> list = claim.ReferenceList();
        std::sort(list.begin(), list.end());
        list.erase(std::unique(list.begin(), list.end()), list.end());
        claims[claim.Number] = std::move(list);
    }
    return claims;
}

QString Claims(std::size_t Count) {
    if (Count == 0)
        return QStringLiteral("none");
    return Count == 1 ? QStringLiteral("1 claim") : QStringLiteral("%1 claims").arg(Count);
}

// How many claims the two readings read differently.
std::size_t DifferentClaims(const TClaimTree& a, const TClaimTree& b) {
    const auto left = ClaimReferences(a);
    const auto right = ClaimReferences(b);
    std::size_t count = 0;
    for (const auto& [number, references] : left) {
        const auto other = right.find(number);
        count += other == right.end() || other->second != references ? 1 : 0;
    }
    for (const auto& entry : right)
        count += left.count(entry.first) == 0 ? 1 : 0;
    return count;
}

} // namespace

bool ReadingsDiffer(const TClaimTree& Shown, const TClaimTree& Other) {
    return ClaimReferences(Shown) != ClaimReferences(Other);
}

QString ReadingNoticeText(const TClaimTree& Shown, const TClaimTree& Other) {
    const bool differ = ReadingsDiffer(Shown, Other);
    const std::size_t shown = Shown.Claims.size();
    const std::size_t other = Other.Claims.size();
    if (Shown.Reading == TReading::Standard) {
        if (!differ)
            return {};
        const TClaimTree& lenient = Other;
        QString text = QStringLiteral("This text reads differently with lenient reading: ");
        if (other != shown) {
            text += Claims(other) + QStringLiteral(" instead of ") +
                    Claims(shown).replace(QStringLiteral(" claims"), QString());
        } else {
            const std::size_t count = DifferentClaims(Shown, lenient);
            text += count == 1 ? QStringLiteral("1 claim reads differently")
                               : QStringLiteral("%1 claims read differently").arg(count);
        }
        return text + QLatin1Char('.');
    }
    QString text = QStringLiteral("This tree shows the lenient reading");
    if (!differ) {
        text += QStringLiteral("; the standard reading gives the same");
    } else if (other != shown) {
        text +=
            QStringLiteral(": ") + Claims(shown) + QStringLiteral(", the standard reading ") +
            (other == 0 ? QStringLiteral("finds none") : QStringLiteral("finds ") + Claims(other));
    } else {
        const std::size_t count = DifferentClaims(Shown, Other);
        text += QStringLiteral(": the standard reading reads ") +
                (count == 1 ? QStringLiteral("1 claim") : QStringLiteral("%1 claims").arg(count)) +
                QStringLiteral(" differently");
    }
    text += QLatin1Char('.');
    if (Shown.FurtherClaimSets > 0)
        text += QStringLiteral(" Of %1 claim sets, the first is shown.")
                    .arg(Shown.FurtherClaimSets + 1);
    return text;
}

TReadingNotice::TReadingNotice(QWidget* Box, TAnchorLayout* Layout, QWidget* Pane)
    : QFrame(Box), layout(Layout), pane(Pane), paneBounds(Layout->Bounds(Pane)) {
    setObjectName(QStringLiteral("ReadingNotice"));
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, QColor(255, 248, 200));
    colours.setColor(QPalette::WindowText, Qt::black);
    setPalette(colours);

    lblReading = new QLabel(this);
    lblReading->setObjectName(QStringLiteral("lblReading"));
    lblReading->setToolTip(QString());
    btnReading = new QPushButton(this);
    btnReading->setObjectName(QStringLiteral("btnReading"));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(4, 0, 2, 0);
    row->setSpacing(6);
    row->addWidget(lblReading, 1);
    row->addWidget(btnReading, 0);

    const QRect place(paneBounds.left(), paneBounds.top(), paneBounds.width(), NoticeHeight);
    Layout->Place(this, place, Qt::LeftEdge | Qt::TopEdge | Qt::RightEdge);
    hide();
}

void TReadingNotice::ShowNotice(const QString& Text, const QString& Button) {
    // A long text is cut with an ellipsis; the tooltip holds it whole.
    lblReading->setText(Text);
    lblReading->setToolTip(Text);
    lblReading->setMinimumWidth(0);
    lblReading->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    btnReading->setText(Button);
    btnReading->setVisible(!Button.isEmpty());
    layout->Move(pane, paneBounds.adjusted(0, NoticeHeight, 0, 0));
    show();
    raise();
}

void TReadingNotice::HideNotice() {
    hide();
    layout->Move(pane, paneBounds);
}
