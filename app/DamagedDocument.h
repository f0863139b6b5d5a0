#pragma once

#include "DocumentFile.h"

#include <QObject>
#include <QString>
#include <functional>

class QAction;
class QLabel;
class QWidget;

// A document that Save would damage stays read-only: the caption above the
// input pane says why, and Ctrl+S explains instead of saving.
class TDamagedDocument : public QObject {
    Q_OBJECT

public:
    // Caption is the input pane's; the key works anywhere in Window.
    // FileName names the document in the explanation.
    TDamagedDocument(QLabel& Caption, QWidget& Window, std::function<QString()> FileName);

    // Takes Ctrl+S while Save is off for a damaged document.
    QAction* DamagedSave1;

    void Set(TDocumentDamage Damage);
    bool IsDamaged() const { return damage != TDocumentDamage::None; }
    // A document read from another format ("a Word document"): its text is
    // shown read-only, Save explains, Save As writes the text as plain text.
    void SetConverted(const QString& FormatName);
    bool IsConverted() const { return !converted.isEmpty(); }
    void DamagedSaveClick();

private:
    QLabel& caption;
    QWidget& window;
    std::function<QString()> fileName;
    TDocumentDamage damage = TDocumentDamage::None;
    QString converted;
};
