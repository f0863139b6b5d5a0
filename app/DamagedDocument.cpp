#include "DamagedDocument.h"

#include "Dialogs.h"
#include "VelkinApplication.h"

#include <QAction>
#include <QLabel>
#include <QWidget>

namespace {

// Why a damaged document is read-only: a short form for the caption above
// the pane, and a sentence.
QString DamageNotice(TDocumentDamage Damage, bool Short) {
    switch (Damage) {
    case TDocumentDamage::CutAtZeroByte:
        return Short ? QStringLiteral("cut at a zero byte")
                     : QStringLiteral("The file holds a zero byte; only the text before it is "
                                      "shown.");
    case TDocumentDamage::NotText:
        return Short ? QStringLiteral("not plain text")
                     : QStringLiteral("The file is not plain text.");
    case TDocumentDamage::LegacyCjk:
        return Short ? QStringLiteral("older Chinese, Japanese or Korean encoding")
                     : QStringLiteral("The file is in an older Chinese, Japanese or Korean "
                                      "encoding (GB18030, Shift_JIS or EUC-KR); it is shown "
                                      "read-only so that saving cannot change it.");
    case TDocumentDamage::None:
        break;
    }
    return {};
}

} // namespace

TDamagedDocument::TDamagedDocument(QLabel& Caption, QWidget& Window,
                                   std::function<QString()> FileName)
    : QObject(&Window), caption(Caption), window(Window), fileName(std::move(FileName)) {
    // Not in a menu: the window's own action.
    DamagedSave1 = new QAction(&Window);
    DamagedSave1->setObjectName(QStringLiteral("DamagedSave1"));
    DamagedSave1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    DamagedSave1->setEnabled(false);
    Window.addAction(DamagedSave1);
    connect(DamagedSave1, &QAction::triggered, this,
            [this] { RunHandler([this] { DamagedSaveClick(); }); });
}

void TDamagedDocument::Set(TDocumentDamage Damage) {
    damage = Damage;
    converted.clear();
    caption.setText(
        IsDamaged() ? QStringLiteral("Input text (read-only: %1)").arg(DamageNotice(damage, true))
                    : QStringLiteral("Input text"));
    caption.setToolTip(DamageNotice(damage, false));
    DamagedSave1->setEnabled(IsDamaged());
}

void TDamagedDocument::SetConverted(const QString& FormatName) {
    Set(TDocumentDamage::None);
    converted = FormatName;
    caption.setText(QStringLiteral("Input text (read-only: from %1)").arg(converted));
    caption.setToolTip(QStringLiteral("The text read from %1. Save As writes it as a plain-text "
                                      "file.")
                           .arg(converted));
    DamagedSave1->setEnabled(true);
}

void TDamagedDocument::DamagedSaveClick() {
    if (IsConverted()) {
        TDialogs::Message(&window,
                          QStringLiteral("The file is %1; Veltrum shows the text read from it "
                                         "and does not write it back:\n%2\nSave As writes the "
                                         "text as a plain-text file.")
                              .arg(converted, fileName()),
                          QStringLiteral("Velkin"), QMessageBox::Information, QMessageBox::Ok);
        return;
    }
    TDialogs::Message(&window,
                      DamageNotice(damage, false) +
                          QStringLiteral("\nSaving would damage the file, so it is read-only:\n") +
                          fileName(),
                      QStringLiteral("Velkin"), QMessageBox::Information, QMessageBox::Ok);
}
