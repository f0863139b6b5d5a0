#include "Dialogs.h"

#include "AppTestMain.h"

#include <QAbstractButton>
#include <QDir>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QTimer>

class TestDialogs : public QObject {
    Q_OBJECT

private slots:
    void init() { TDialogs::Reset(); }
    void cleanup() { TDialogs::Reset(); }

    void queuedAnswersInOrder() {
        TDialogs::SetNextAnswer(QMessageBox::Yes);
        TDialogs::SetNextAnswer(QMessageBox::No);
        QCOMPARE(TDialogs::Message(nullptr, QStringLiteral("Input file\nA\nhas unsaved changes."),
                                   QStringLiteral("WARNING"), QMessageBox::Question,
                                   QMessageBox::Yes | QMessageBox::No),
                 QMessageBox::Yes);
        QCOMPARE(TDialogs::Message(nullptr, QStringLiteral("Unable to open file\nB"),
                                   QStringLiteral("ERROR"), QMessageBox::Critical, QMessageBox::Ok),
                 QMessageBox::No);
        QCOMPARE(TDialogs::BoxCount(), 2);
        const TDialogs::TBox last = TDialogs::LastBox();
        QCOMPARE(last.Text, QStringLiteral("Unable to open file\nB"));
        QCOMPARE(last.Caption, QStringLiteral("ERROR"));
        QCOMPARE(last.Icon, QMessageBox::Critical);
        QCOMPARE(last.Buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    }

    void queuedFileNames() {
        QFileDialog dialog;
        TDialogs::SetNextFileName(QStringLiteral("/tmp/claims.txt"));
        TDialogs::SetNextFileName(QString());
        QCOMPARE(TDialogs::ChooseFile(dialog), QStringLiteral("/tmp/claims.txt"));
        QCOMPARE(TDialogs::ChooseFile(dialog), QString()); // cancelled
        QCOMPARE(TDialogs::BoxCount(), 0);
    }

    void resetForgetsEverything() {
        TDialogs::SetNextAnswer(QMessageBox::Yes);
        TDialogs::Message(nullptr, QStringLiteral("a"), QStringLiteral("b"), QMessageBox::NoIcon,
                          QMessageBox::Ok);
        TDialogs::SetNextAnswer(QMessageBox::Yes);
        TDialogs::Reset();
        QCOMPARE(TDialogs::BoxCount(), 0);
        QVERIFY(TDialogs::LastBox().Text.isEmpty());
        // With the queue empty, a real box would be shown: answer it from outside.
        QTimer::singleShot(0, [] {
            for (QWidget* window : QApplication::topLevelWidgets())
                if (auto* box = qobject_cast<QMessageBox*>(window); box && box->isVisible())
                    box->button(QMessageBox::Ok)->click();
        });
        QCOMPARE(TDialogs::Message(nullptr, QStringLiteral("shown"), QStringLiteral("Velkin"),
                                   QMessageBox::Critical, QMessageBox::Ok),
                 QMessageBox::Ok);
    }

    // Escape and the close button leave a Yes/No question open, so that only
    // a button answers it; with Cancel among the buttons both cancel.
    void escapeAndClose_data() {
        QTest::addColumn<int>("buttons");
        QTest::addColumn<bool>("escape");
        QTest::addColumn<int>("answer");
        const int yesNo = QMessageBox::Yes | QMessageBox::No;
        const int yesNoCancel = yesNo | QMessageBox::Cancel;
        QTest::newRow("Yes/No, Escape") << yesNo << true << int(QMessageBox::Yes);
        QTest::newRow("Yes/No, close") << yesNo << false << int(QMessageBox::Yes);
        QTest::newRow("Yes/No/Cancel, Escape") << yesNoCancel << true << int(QMessageBox::Cancel);
        QTest::newRow("Yes/No/Cancel, close") << yesNoCancel << false << int(QMessageBox::Cancel);
    }

    void escapeAndClose() {
        QFETCH(int, buttons);
        QFETCH(bool, escape);
        QFETCH(int, answer);
        QTimer::singleShot(0, [escape] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box != nullptr);
            if (escape)
                QTest::keyClick(box, Qt::Key_Escape);
            else
                box->close();
            // A box left open is answered Yes, so that the test goes on.
            if (box->isVisible())
                box->button(QMessageBox::Yes)->click();
        });
        QCOMPARE(int(TDialogs::Message(nullptr, QStringLiteral("Input file\nA"),
                                       QStringLiteral("WARNING"), QMessageBox::Question,
                                       QMessageBox::StandardButtons(buttons))),
                 answer);
    }

    // The save dialog takes only a name whose folder exists.
    void saveDialogNeedsExistingFolder_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<QString>("warnedFolder");
        QTest::newRow("new file in an existing folder") << "new.txt" << true << "";
        QTest::newRow("existing file") << "old.txt" << true << "";
        QTest::newRow("missing folder") << "missing/new.txt" << false << "missing";
        QTest::newRow("an existing folder opens it") << "sub" << false << "";
    }

    void saveDialogNeedsExistingFolder() {
        QFETCH(QString, name);
        QFETCH(bool, accepted);
        QFETCH(QString, warnedFolder);
        QTemporaryDir dir;
        QDir(dir.path()).mkdir(QStringLiteral("sub"));
        QFile(dir.filePath(QStringLiteral("old.txt"))).open(QIODevice::WriteOnly);
        TSaveFileDialog dialog;
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
        dialog.setDirectory(dir.path());
        dialog.selectFile(dir.filePath(name));
        TDialogs::SetNextAnswer(QMessageBox::Ok);
        dialog.open();
        dialog.accept();
        QCOMPARE(dialog.isVisible(), !accepted);
        QCOMPARE(dialog.result(), accepted ? int(QDialog::Accepted) : int(QDialog::Rejected));
        QCOMPARE(TDialogs::BoxCount(), warnedFolder.isEmpty() ? 0 : 1);
        if (!warnedFolder.isEmpty()) {
            const TDialogs::TBox box = TDialogs::LastBox();
            QCOMPARE(box.Text, QStringLiteral("The folder does not exist:\n") +
                                   QDir::toNativeSeparators(dir.filePath(warnedFolder)));
            QCOMPARE(box.Caption, dialog.windowTitle());
            QCOMPARE(box.Icon, QMessageBox::Warning);
        }
    }
};

VELTRUM_APP_TEST_MAIN(TestDialogs)
#include "DialogsTest.moc"
