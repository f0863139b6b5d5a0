#include "ReadingChoice.h"

#include "ClaimTree.h"
#include "ProgramSettings.h"
#include "ReadingNotice.h"
#include "VelkinApplication.h"

#include <QAction>
#include <QMenu>
#include <QPushButton>

namespace {

const QString LenientReadingKey = QStringLiteral("reading/lenient");

} // namespace

TReadingChoice::TReadingChoice(TReadingNotice& Notice, QMenu& Tools,
                               std::function<void()> ReadAgain)
    : QObject(&Notice), notice(Notice), readAgain(std::move(ReadAgain)) {
    mnuLenientReading = Tools.addAction(QStringLiteral("&Lenient reading"));
    mnuLenientReading->setObjectName(QStringLiteral("mnuLenientReading"));
    mnuLenientReading->setCheckable(true);
    mnuLenientReading->setChecked(ProgramSettings().value(LenientReadingKey, false).toBool());
    connect(mnuLenientReading, &QAction::triggered, this,
            [this] { RunHandler([this] { mnuLenientReadingClick(); }); });
    connect(notice.btnReading, &QPushButton::clicked, this,
            [this] { RunHandler([this] { btnReadingClick(); }); });
}

TReading TReadingChoice::ForDocument() const {
    if (showingExample)
        return TReading::Standard;
    const bool lenient = mnuLenientReading->isChecked() != otherReading;
    return lenient ? TReading::Lenient : TReading::Standard;
}

void TReadingChoice::NewDocument(bool Example) {
    showingExample = Example;
    otherReading = false;
    notice.HideNotice();
}

void TReadingChoice::UpdateNotice(const TClaimTree* Shown, const std::string& Text) {
    if (showingExample || Shown == nullptr) {
        notice.HideNotice();
        return;
    }
    // Claims and references are all the comparison needs: no nodes.
    const TReading other =
        Shown->Reading == TReading::Lenient ? TReading::Standard : TReading::Lenient;
    UpdateNotice(*Shown, TClaimTree(Text, other, 0));
}

void TReadingChoice::UpdateNotice(const TClaimTree& Shown, const TClaimTree& Other) {
    if (showingExample) {
        notice.HideNotice();
        return;
    }
    const QString text = ReadingNoticeText(Shown, Other);
    if (text.isEmpty()) {
        notice.HideNotice();
        return;
    }
    QString button;
    if (ReadingsDiffer(Shown, Other))
        button = Other.Reading == TReading::Lenient ? QStringLiteral("Use lenient reading")
                                                    : QStringLiteral("Use standard reading");
    notice.ShowNotice(text, button);
}

void TReadingChoice::btnReadingClick() {
    otherReading = !otherReading;
    readAgain();
}

void TReadingChoice::mnuLenientReadingClick() {
    ProgramSettings().setValue(LenientReadingKey, mnuLenientReading->isChecked());
    otherReading = false;
    readAgain();
}
