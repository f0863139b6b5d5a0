#include "BoxMenu.h"

#include "ClaimTree.h"
#include "ClaimTreePane.h"
#include "FullClaimText.h"
#include "TextEncoding.h"
#include "TreeDrawing.h"
#include "VelkinApplication.h"
#include "frmMain.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QMenu>

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

TBoxMenu::TBoxMenu(TfrMain* Window)
    : QObject(Window), window(Window), content(Window->sbClaimTree->Content()) {
    content->installEventFilter(this);
}

TClaimTreeNode* TBoxMenu::BoxAt(QPoint ContentPoint) const {
    TClaimTree* tree = window->ClaimTree.get();
    if (tree == nullptr || window->sbClaimTree->DrawnTree() != tree)
        return nullptr;
    const TTreeDrawing* drawing = window->ClaimDrawing.get();
    return drawing != nullptr ? drawing->NodeAt(ContentPoint) : nullptr;
}

QString TBoxMenu::ClaimText(const TClaimTreeNode& Node) {
    return ClipboardText(Node.Text(), Node.OwnerTree()->TextIsUtf8);
}

QString TBoxMenu::ClaimInFull(const TClaimTreeNode& Node) {
    return ClipboardText(FullClaimText(Node), Node.OwnerTree()->TextIsUtf8);
}

QMenu* TBoxMenu::MenuFor(TClaimTreeNode& Node) {
    auto* menu = new QMenu(window->sbClaimTree);
    menu->setObjectName(QStringLiteral("BoxMenu"));
    QAction* text = menu->addAction(QStringLiteral("Copy claim text"));
    text->setObjectName(QStringLiteral("CopyClaimText1"));
    QAction* full = menu->addAction(QStringLiteral("Copy claim in full"));
    full->setObjectName(QStringLiteral("CopyClaimInFull1"));
    const QString claimText = ClaimText(Node);
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
