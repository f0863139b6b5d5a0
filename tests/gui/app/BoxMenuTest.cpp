// A box's context menu: the box under the pointer, and what it copies.

#include "BoxMenu.h"

#include "AppTestMain.h"
#include "ClaimTree.h"
#include "ClaimTreePane.h"
#include "TreeDrawing.h"
#include "frmMain.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QTimer>
#include <memory>

namespace {

// 1 [2 [3 [5]], 5 [6]]: claim 5 hangs on claims 1 and 3.
const char* const LeverClaims = "We claim:\n"
                                "1. A lever.\n"
                                "2. The lever of claim 1, of steel.\n"
                                "3.\tThe lever of claim 2, hardened.\r\n"
                                "5. The lever of claim 1 or 3, bent.\n"
                                "6. The lever of claim 5, with a grip.\n";

} // namespace

class BoxMenuTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TfrMain> window;

    TClaimTreeNode* CopyBelow(int Claim, int Parent) const {
        for (TClaimTreeNode* node : window->ClaimTree->NodesByClaim[Claim]) {
            if (node->Parent != nullptr && node->Parent->Number == Parent)
                return node;
        }
        return nullptr;
    }

private slots:
    void init() {
        window = std::make_unique<TfrMain>();
        frMain = window.get();
        window->WasActivated = true;
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        window->InputText = LeverClaims;
        window->AnalyseInput();
    }

    void cleanup() { window.reset(); }

    void pointFindsBoxAndItsPath_data() {
        QTest::addColumn<int>("claim");
        QTest::addColumn<int>("parent");
        QTest::addColumn<int>("below"); // pixels below the row's top
        QTest::addColumn<QString>("inFull");
        QTest::newRow("deep copy, on the row")
            << 5 << 3 << 4
            << "1. A lever.\n\n2. The lever of claim 1, of steel.\n\n3.\tThe lever of claim 2, "
               "hardened.\n\n5. The lever of claim 1 or 3, bent.";
        QTest::newRow("below a copy, in the gap")
            << 6 << 5 << 25
            << "1. A lever.\n\n5. The lever of claim 1 or 3, bent.\n\n6. The lever of claim 5, "
               "with a grip.";
    }

    void pointFindsBoxAndItsPath() {
        QFETCH(int, claim);
        QFETCH(int, parent);
        QFETCH(int, below);
        QFETCH(QString, inFull);
        TClaimTreeNode* node = CopyBelow(claim, parent);
        QVERIFY(node != nullptr);
        const TNodeView& view = window->ClaimDrawing->View(*node);
        QCOMPARE(window->BoxMenu1->BoxAt(QPoint(view.RowLeft + 40, view.RowTop + below)), node);
        QCOMPARE(TBoxMenu::ClaimInFull(*node), inFull);
    }

    void menuCopies_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("copied");
        const QString text = QStringLiteral("The lever of claim 2, hardened.");
        const QString inFull =
            QStringLiteral("1. A lever.\n\n2. The lever of claim 1, of steel.\n\n"
                           "3.\tThe lever of claim 2, hardened.");
        QTest::newRow("right click, text") << "right click"
                                           << "CopyClaimText1" << text;
        QTest::newRow("right click, in full") << "right click"
                                              << "CopyClaimInFull1" << inFull;
        QTest::newRow("Menu key") << "Menu"
                                  << "CopyClaimText1" << text;
        QTest::newRow("Shift+F10") << "Shift+F10"
                                   << "CopyClaimInFull1" << inFull;
    }

    // The menu of claim 3's box opens at the box, by a click or the keys.
    void menuCopies() {
        QFETCH(QString, how);
        QFETCH(QString, item);
        QFETCH(QString, copied);
        QGuiApplication::clipboard()->clear();
        TClaimTreeNode* three = window->ClaimTree->NodesByClaim[3].front();
        QLabel* caption = window->ClaimDrawing->View(*three).CaptionLabel;
        const bool click = how == QLatin1String("right click");
        QPoint at;
        bool opened = false;
        QTimer::singleShot(0, this, [item, &at, &opened] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            QVERIFY(menu != nullptr);
            opened = true;
            QVERIFY2((menu->pos() - at).manhattanLength() <= 2,
                     qPrintable(QStringLiteral("menu at %1, %2").arg(menu->x()).arg(menu->y())));
            menu->findChild<QAction*>(item)->trigger();
            menu->close();
        });
        if (click) {
            at = caption->mapToGlobal(QPoint(3, 3));
            QContextMenuEvent request(QContextMenuEvent::Mouse, QPoint(3, 3), at);
            QApplication::sendEvent(caption, &request);
        } else {
            window->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(window.get()));
            window->sbClaimTree->setFocus(Qt::TabFocusReason);
            window->sbClaimTree->SetCurrentBox(three);
            at = caption->mapToGlobal(QPoint(0, caption->height() - 1));
            const QKeyCombination key = QKeySequence(how)[0];
            QTest::keyClick(window->sbClaimTree, key.key(), key.keyboardModifiers());
        }
        QVERIFY(opened);
        QCOMPARE(QGuiApplication::clipboard()->text(), copied);
    }
};

VELTRUM_APP_TEST_MAIN(BoxMenuTest)
#include "BoxMenuTest.moc"
