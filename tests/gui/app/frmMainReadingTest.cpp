#include "AppTestMain.h"
#include "ClaimTree.h"
#include "ClaimTreePane.h"
#include "Dialogs.h"
#include "ReadingChoice.h"
#include "ReadingNotice.h"
#include "frmMain.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <memory>

namespace {

// Claims that only the lenient reading finds: the heading is the first line.
const std::string HeadedFirst = "Claims\n1. A pump.\n2. The pump of claim 1.\n3. A valve.\n";
// Claims both readings read alike.
const std::string Agreeing = "We claim:\r\n1. A pump.\r\n2. The pump of claim 1.\r\n";
// Claims both find, with references only the lenient reading reads.
const std::string German =
    "Patentansprüche:\n1. Pumpe.\n2. Pumpe nach einem der Ansprüche 1.\n3. Pumpe nach Anspruch 1 "
    "oder 2.\n";

} // namespace

class TestfrMainReading : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TfrMain> window;
    std::unique_ptr<QTemporaryDir> dir;
    QTemporaryDir settings;

    void NewWindow() {
        window = std::make_unique<TfrMain>();
        frMain = window.get();
        window->WasActivated = true;
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }

    void Open(const std::string& Bytes) {
        const QString name = dir->filePath(QStringLiteral("claims.txt"));
        QFile file(name);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(Bytes.data(), static_cast<qint64>(Bytes.size()));
        file.close();
        TDialogs::SetNextFileName(name);
        window->Open1Click();
    }

    bool NoticeShown() const { return window->ReadingNotice->isVisible(); }
    QString NoticeText() const { return window->ReadingNotice->lblReading->text(); }

private slots:
    void initTestCase() {
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings.path());
    }

    void init() {
        TDialogs::Reset();
        QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Veltrum"),
                  QStringLiteral("Veltrum"))
            .clear();
        dir = std::make_unique<QTemporaryDir>();
        NewWindow();
    }

    void cleanup() {
        window.reset();
        dir.reset();
    }

    // Hidden, the notice leaves the tree pane where it was.
    void agreeingReadingsShowNoNotice() {
        const QRect pane = window->sbClaimTree->geometry();
        Open(Agreeing);
        QVERIFY(!NoticeShown());
        QCOMPARE(window->sbClaimTree->geometry().top(), pane.top());
        QCOMPARE(window->sbClaimTree->geometry().bottom(), pane.bottom());
        QCOMPARE(window->ClaimTree->Reading, TReading::Standard);
    }

    void noticeOffersTheLenientReading() {
        const QRect pane = window->sbClaimTree->geometry();
        Open(HeadedFirst);
        QVERIFY(NoticeShown());
        QCOMPARE(NoticeText(),
                 QStringLiteral("This text reads differently with lenient reading: 3 claims "
                                "instead of none."));
        QVERIFY(window->sbClaimTree->geometry().top() >=
                window->ReadingNotice->geometry().bottom());
        QCOMPARE(window->sbClaimTree->geometry().bottom(), pane.bottom());
        QCOMPARE(window->ClaimTree->Claims.size(), std::size_t{0});

        window->ReadingNotice->btnReading->click();
        QCOMPARE(window->ClaimTree->Reading, TReading::Lenient);
        QCOMPARE(window->Label4->text(),
                 QStringLiteral("Tree of claims: independent 2; dependent 1; total 3"));
        QVERIFY(NoticeShown());
        QVERIFY(NoticeText().startsWith(QStringLiteral("This tree shows the lenient reading")));
        QCOMPARE(window->ReadingNotice->btnReading->text(), QStringLiteral("Use standard reading"));

        // The button's choice holds for this document only.
        Open(Agreeing);
        QCOMPARE(window->ClaimTree->Reading, TReading::Standard);
        QVERIFY(!NoticeShown());
        QCOMPARE(window->sbClaimTree->geometry().top(), pane.top());
    }

    void noticeNamesClaimsReadDifferently() {
        Open(German);
        QVERIFY(NoticeShown());
        QCOMPARE(NoticeText(), QStringLiteral("This text reads differently with lenient reading: 2 "
                                              "claims read differently."));
    }

    void optionReadsEveryDocumentAndIsRemembered() {
        QVERIFY(!window->Readings1->mnuLenientReading->isChecked());
        Open(HeadedFirst);
        window->Readings1->mnuLenientReading->trigger();
        QCOMPARE(window->ClaimTree->Reading, TReading::Lenient);
        QCOMPARE(window->ClaimTree->Claims.size(), std::size_t{3});

        Open(Agreeing);
        QCOMPARE(window->ClaimTree->Reading, TReading::Lenient);
        QVERIFY(NoticeShown());
        QCOMPARE(NoticeText(), QStringLiteral("This tree shows the lenient reading; the standard "
                                              "reading gives the same."));
        QVERIFY(!window->ReadingNotice->btnReading->isVisible());

        NewWindow();
        QVERIFY(window->Readings1->mnuLenientReading->isChecked());
        Open(HeadedFirst);
        QCOMPARE(window->ClaimTree->Reading, TReading::Lenient);
        window->Readings1->mnuLenientReading->trigger();
        QCOMPARE(window->ClaimTree->Reading, TReading::Standard);
        NewWindow();
        QVERIFY(!window->Readings1->mnuLenientReading->isChecked());
    }

    // The examples are the standard reading's texts, whatever the option.
    void examplesNeverShowTheNotice() {
        window->Readings1->mnuLenientReading->trigger();
        for (int example = 1; example <= 5; ++example) {
            window->ShowBuiltinExample(example);
            QVERIFY(!NoticeShown());
            QCOMPARE(window->ClaimTree->Reading, TReading::Standard);
        }
    }

    void newHidesTheNotice() {
        Open(HeadedFirst);
        QVERIFY(NoticeShown());
        window->New1Click();
        QVERIFY(!NoticeShown());
    }
};

VELTRUM_APP_TEST_MAIN(TestfrMainReading)
#include "frmMainReadingTest.moc"
