#include "ReadingNotice.h"

#include "AnchorLayout.h"
#include "ClaimChecks.h"
#include "ClaimTree.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace {

constexpr int NoticeHeight = 24;

QString Claims(std::size_t Count) {
    if (Count == 0)
        return QStringLiteral("none");
    return Count == 1 ? QStringLiteral("1 claim") : QStringLiteral("%1 claims").arg(Count);
}

} // namespace

bool ReadingsDiffer(const TClaimTree& Shown, const TClaimTree& Other) {
    return CompareReadings(Shown, Other).Differ();
}

QString ReadingNoticeText(const TClaimTree& Shown, const TClaimTree& Other) {
    // The command line compares the same way.
    const TReadingDifference difference = CompareReadings(Shown, Other);
    const bool differ = difference.Differ();
    const std::size_t shown = Shown.Claims.size();
    const std::size_t other = Other.Claims.size();
    if (Shown.Reading == TReading::Standard) {
        if (!differ)
            return {};
        QString text = QStringLiteral("This text reads differently with lenient reading: ");
        if (other != shown) {
            text += Claims(other) + QStringLiteral(" instead of ") +
                    Claims(shown).replace(QStringLiteral(" claims"), QString());
        } else {
            const std::size_t count = difference.Differing;
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
        const std::size_t count = difference.Differing;
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
