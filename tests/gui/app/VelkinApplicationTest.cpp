#include "VelkinApplication.h"

#include "AppTestMain.h"
#include "Dialogs.h"
#include "TreeView.h"

#include <QAction>
#include <QLabel>
#include <stdexcept>

namespace {

// Throws from its event handler, as a faulty handler would.
class TThrowingObject : public QObject {
public:
    std::function<void()> Throw;
    int Handled = 0;

protected:
    bool event(QEvent* Event) override {
        if (Event->type() != QEvent::User)
            return QObject::event(Event);
        ++Handled;
        if (Throw)
            Throw();
        return true;
    }
};

} // namespace

class TestVelkinApplication : public QObject {
    Q_OBJECT

private slots:
    void init() { TDialogs::Reset(); }
    void cleanup() { TDialogs::Reset(); }

    void exceptionBoxText_data() {
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("shown");
        QTest::newRow("letter: period added") << "Cannot create file /tmp/x.txt"
                                              << "Cannot create file /tmp/x.txt.";
        QTest::newRow("period kept single") << "Out of memory."
                                            << "Out of memory.";
        QTest::newRow("space (32)") << "Trailing "
                                    << "Trailing ";
        QTest::newRow("closing parenthesis (41)") << "Failed (read)"
                                                  << "Failed (read)";
        QTest::newRow("exclamation mark (33)") << "Stop!"
                                               << "Stop!";
        QTest::newRow("hyphen (45)") << "Range 1-"
                                     << "Range 1-";
        QTest::newRow("slash (47): period added") << "dir/"
                                                  << "dir/.";
        QTest::newRow("digit") << "Error 5"
                               << "Error 5.";
        QTest::newRow("non-ASCII letter")
            << QString::fromUtf8("Datei für") << QString::fromUtf8("Datei für.");
        QTest::newRow("line feed (10)") << "Line\n"
                                        << "Line\n";
        QTest::newRow("empty") << ""
                               << "";
    }

    void exceptionBoxText() {
        QFETCH(QString, message);
        QFETCH(QString, shown);
        QCOMPARE(ExceptionBoxText(message), shown);
    }

    void handlerExceptionShowsBox_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("text");
        QTest::newRow("standard exception") << 0 << "Cannot create file /no/such/dir/a.txt.";
        QTest::newRow("allocation failure") << 1 << "std::bad_alloc.";
        QTest::newRow("anything else") << 2 << "Unknown exception.";
    }

    void handlerExceptionShowsBox() {
        QFETCH(int, kind);
        QFETCH(QString, text);
        TThrowingObject object;
        object.Throw = [kind] {
            if (kind == 0)
                throw std::runtime_error("Cannot create file /no/such/dir/a.txt");
            if (kind == 1)
                throw std::bad_alloc();
            throw 42;
        };
        TDialogs::SetNextAnswer(QMessageBox::Ok);
        QEvent event(QEvent::User);
        QVERIFY(!QCoreApplication::sendEvent(&object, &event));
        QCOMPARE(TDialogs::BoxCount(), 1);
        const TDialogs::TBox box = TDialogs::LastBox();
        QCOMPARE(box.Text, text);
        QCOMPARE(box.Caption, QStringLiteral("Velkin"));
        QCOMPARE(box.Icon, QMessageBox::Critical);
        QCOMPARE(box.Buttons, QMessageBox::StandardButtons(QMessageBox::Ok));

        // The program goes on: the next event is handled as usual.
        object.Throw = nullptr;
        QVERIFY(QCoreApplication::sendEvent(&object, &event));
        QCOMPARE(object.Handled, 2);
        QCOMPARE(TDialogs::BoxCount(), 1);
    }

    // The common road: a menu item's handler throws. The handler runs through
    // RunHandler, so the exception is shown before it reaches Qt's code, and
    // the item works again afterwards.
    void menuHandlerException() {
        QAction item;
        int runs = 0;
        QObject::connect(&item, &QAction::triggered, [&runs] {
            RunHandler([&runs] {
                if (++runs == 1)
                    throw std::runtime_error("Cannot create file x");
            });
        });
        TDialogs::SetNextAnswer(QMessageBox::Ok);
        item.trigger();
        QCOMPARE(TDialogs::BoxCount(), 1);
        QCOMPARE(TDialogs::LastBox().Text, QStringLiteral("Cannot create file x."));
        QCOMPARE(TDialogs::LastBox().Caption, QStringLiteral("Velkin"));
        item.trigger();
        QCOMPARE(runs, 2);
        QCOMPARE(TDialogs::BoxCount(), 1);
    }

    // A handler behind a box's button throws: the exception is shown, and
    // the pane keeps its boxes and works on.
    void boxHandlerException() {
        TImageList images;
        TClaimTreePane pane;
        pane.resize(400, 300);
        pane.show();
        QVERIFY(QTest::qWaitForWindowExposed(&pane));
        TClaimTree tree("We claim:\n1. A pump.\n2. The pump of claim 1.\n");
        TTreeDrawing drawing(tree);
        drawing.BuildDrawing(
            &pane, &images,
            [](TClaimTreeNode*) { throw std::runtime_error("Cannot decompose claim 2"); }, -1,
            true);
        drawing.ExpandAll();
        TClaimTreeNode* two = tree.NodesByClaim[2].front();
        TDialogs::SetNextAnswer(QMessageBox::Ok);
        QTest::mouseClick(drawing.View(*two).DecomposeButton, Qt::LeftButton);
        QCOMPARE(TDialogs::BoxCount(), 1);
        QCOMPARE(TDialogs::LastBox().Text, QStringLiteral("Cannot decompose claim 2."));
        QCOMPARE(TDialogs::LastBox().Caption, QStringLiteral("Velkin"));
        QVERIFY(pane.Content()->isVisible());
        QVERIFY(drawing.View(*two).CaptionLabel->isVisible());
        TClaimTreeNode* one = tree.Roots.front();
        QTest::mouseClick(drawing.View(*one).ExpandButton, Qt::LeftButton);
        QVERIFY(!drawing.View(*two).CaptionLabel->isVisible());
        QCOMPARE(TDialogs::BoxCount(), 1);
    }
};

VELTRUM_APP_TEST_MAIN(TestVelkinApplication)
#include "VelkinApplicationTest.moc"
