#include "BoxMenu.h"

#include "ClaimTree.h"
#include "FullClaimText.h"
#include "ShownTree.h"
#include "TextEncoding.h"
#include "VelkinApplication.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QMenu>
#include <QToolTip>

namespace {

// Document bytes as the clipboard's text, decoded as the whole document is,
// with plain line feeds.
QString ClipboardText(const std::string& Bytes, bool DocumentIsUtf8) {
    QString text =
        QString::fromStdString(DocumentIsUtf8 ? DecodeToUtf8(Bytes) : Windows1252ToUtf8(Bytes));
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text.trimmed();
}

} // namespace

TBoxMenu::TBoxMenu(TShownTree& Shown, QObject* Parent)
    : QObject(Parent), shown(Shown), content(Shown.DrawingArea()) {
    content->installEventFilter(this);
}

TClaimTreeNode* TBoxMenu::BoxAt(QPoint AreaPoint) const {
    return shown.BoxAt(AreaPoint);
}

QString TBoxMenu::ClaimText(const TClaimTreeNode& Node) {
    return ClipboardText(Node.Text(), Node.OwnerTree()->TextIsUtf8);
}

QString TBoxMenu::ClaimInFull(const TClaimTreeNode& Node) {
    return ClipboardText(FullClaimText(Node), Node.OwnerTree()->TextIsUtf8);
}

QMenu* TBoxMenu::MenuFor(TClaimTreeNode& Node) {
    // Not on the drawing itself, which a new analysis clears.
    auto* menu = new QMenu(content->parentWidget());
    menu->setObjectName(QStringLiteral("BoxMenu"));
    QAction* text = menu->addAction(QStringLiteral("Copy claim text"));
    text->setObjectName(QStringLiteral("CopyClaimText1"));
    QAction* full = menu->addAction(QStringLiteral("Copy claim in full"));
    full->setObjectName(QStringLiteral("CopyClaimInFull1"));
    QString claimText = ClaimText(Node);
    if (const QString citation = Citation ? Citation(*Node.Claim) : QString(); !citation.isEmpty())
        claimText += QStringLiteral("\n(%1)").arg(citation);
    const QString inFull = ClaimInFull(Node);
    connect(text, &QAction::triggered, menu,
            [claimText] { QGuiApplication::clipboard()->setText(claimText); });
    connect(full, &QAction::triggered, menu,
            [inFull] { QGuiApplication::clipboard()->setText(inFull); });
    return menu;
}

bool TBoxMenu::eventFilter(QObject* Watched, QEvent* Event) {
    // Not through the window: it may be on its way out while the content
    // still gets events.
    // The caption has no tip of its own: the box's comes here.
    if (Event->type() == QEvent::ToolTip && Watched == content && Citation) {
        auto* help = static_cast<QHelpEvent*>(Event);
        const TClaimTreeNode* node = BoxAt(help->pos());
        const QString citation = node != nullptr ? Citation(*node->Claim) : QString();
        if (citation.isEmpty())
            return QObject::eventFilter(Watched, Event);
        QToolTip::showText(help->globalPos(),
                           QStringLiteral("Claim %1: %2").arg(node->Number).arg(citation), content);
        return true;
    }
    if (Event->type() != QEvent::ContextMenu || Watched != content)
        return QObject::eventFilter(Watched, Event);
    auto* request = static_cast<QContextMenuEvent*>(Event);
    RunHandler([this, request] {
        if (TClaimTreeNode* node = BoxAt(request->pos())) {
            QMenu* menu = MenuFor(*node);
            menu->exec(request->globalPos());
            delete menu;
        }
    });
    return true;
}
