#include "AboutBox.h"

#include "AppTestMain.h"
#include "MemoryStatus.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

Q_DECLARE_METATYPE(TMemoryStatus)

namespace {

constexpr uint64_t MiB = 1024 * 1024;
constexpr uint64_t GiB = 1024 * MiB;

} // namespace

class TestAboutBox : public QObject {
    Q_OBJECT

private slots:
    void megabytesShown_data() {
        QTest::addColumn<quint64>("bytes");
        QTest::addColumn<quint64>("shown");
        QTest::newRow("nothing") << quint64(0) << quint64(0);
        QTest::newRow("one byte short of a MiB") << quint64(1'048'575) << quint64(0);
        QTest::newRow("one MiB") << quint64(1'048'576) << quint64(2);
        QTest::newRow("512 MiB") << quint64(512 * MiB) << quint64(513);
        QTest::newRow("512.5 MiB") << quint64(512 * MiB + MiB / 2) << quint64(513);
        QTest::newRow("largest 31-bit count") << quint64(2'147'483'647) << quint64(2048);
        QTest::newRow("4 GiB, past 32 bits") << quint64(4 * GiB) << quint64(4097);
        QTest::newRow("64 GiB") << quint64(64 * GiB) << quint64(65537);
        QTest::newRow("128 TiB address space") << (quint64(1) << 47) << quint64(134'217'729);
        QTest::newRow("largest count") << ~quint64(0) << (~quint64(0) / MiB + 1);
    }

    void megabytesShown() {
        QFETCH(quint64, bytes);
        QFETCH(quint64, shown);
        QCOMPARE(quint64(MegabytesShown(bytes)), shown);
    }

    void figures_data() {
        QTest::addColumn<TMemoryStatus>("status");
        QTest::addColumn<QStringList>("texts");
        QTest::newRow("nothing known")
            << TMemoryStatus{} << QStringList{"Memory load: 0%", "Available physical memory: 0 MB",
                                              "Total: 0 MB",     "Available page file: 0 MB",
                                              "Total: 0 MB",     "Available virtual memory: 0 MB",
                                              "Total: 0 MB"};
        QTest::newRow("more than 4 GB")
            << TMemoryStatus{37,
                             10 * GiB,
                             6 * GiB + 3,
                             18 * GiB,
                             14 * GiB,
                             uint64_t(1) << 47,
                             (uint64_t(1) << 47) - GiB}
            << QStringList{"Memory load: 37%",   "Available physical memory: 6145 MB",
                           "Total: 10241 MB",    "Available page file: 14337 MB",
                           "Total: 18433 MB",    "Available virtual memory: 134216705 MB",
                           "Total: 134217729 MB"};
        QTest::newRow("edges") << TMemoryStatus{100,           1'048'576, 1'048'575, 2'147'483'647,
                                                2'147'483'648, 0,         0}
                               << QStringList{
                                      "Memory load: 100%", "Available physical memory: 0 MB",
                                      "Total: 2 MB",       "Available page file: 2049 MB",
                                      "Total: 2048 MB",    "Available virtual memory: 0 MB",
                                      "Total: 0 MB"};
    }

    void figures() {
        QFETCH(TMemoryStatus, status);
        QFETCH(QStringList, texts);
        TAboutBox box;
        box.MemoryStatusSource = [status] { return status; };
        box.FormActivate();
        const QLineEdit* fields[] = {box.Edit1, box.Edit2, box.Edit3, box.Edit4,
                                     box.Edit5, box.Edit6, box.Edit7};
        for (int i = 0; i < 7; ++i) {
            QCOMPARE(fields[i]->text(), texts[i]);
            QCOMPARE(fields[i]->cursorPosition(), 0); // the start of the text is in view
        }
        QCOMPARE(box.Version->text(), QStringLiteral("Version 1.0"));
    }

    // Every figure and total reads whole, measured with the dialog's own
    // fonts, in rows that stay inside the panel, below the upper bevel.
    void figuresReadWhole_data() { figures_data(); }

    void figuresReadWhole() {
        QFETCH(TMemoryStatus, status);
        TAboutBox box;
        box.MemoryStatusSource = [status] { return status; };
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        const QLineEdit* fields[] = {box.Edit1, box.Edit2, box.Edit3, box.Edit4,
                                     box.Edit5, box.Edit6, box.Edit7};
        for (const QLineEdit* field : fields) {
            const int textWidth = field->fontMetrics().horizontalAdvance(field->text());
            // A line edit keeps two pixels either side of its text.
            QVERIFY2(textWidth + 4 <= field->width(), qPrintable(field->text()));
            QVERIFY(box.Panel1->contentsRect().contains(field->geometry()));
            QVERIFY(field->y() > box.Bevel1->y());
            // The design's fields overlap their neighbours by one pixel.
            const QRect inner = field->geometry().adjusted(0, 0, -1, -1);
            for (const QLineEdit* other : fields) {
                if (other != field)
                    QVERIFY(!other->geometry().adjusted(0, 0, -1, -1).intersects(inner));
            }
        }
        QVERIFY(box.Bevel1->y() > box.Bevel2->y());
    }

    void freshFiguresEachShow() {
        TAboutBox box;
        uint32_t reads = 0;
        box.MemoryStatusSource = [&reads] {
            TMemoryStatus status;
            status.MemoryLoad = ++reads;
            status.AvailPhys = reads * GiB;
            return status;
        };
        QCOMPARE(reads, 0u); // nothing is read before the dialog is shown
        box.show();
        QCOMPARE(box.Edit1->text(), QStringLiteral("Memory load: 1%"));
        QCOMPARE(box.Edit2->text(), QStringLiteral("Available physical memory: 1025 MB"));
        box.hide();
        box.show();
        QCOMPARE(box.Edit1->text(), QStringLiteral("Memory load: 2%"));
        QCOMPARE(box.Edit2->text(), QStringLiteral("Available physical memory: 2049 MB"));
        QCOMPARE(reads, 2u);
    }

    void layout_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("bounds");
        QTest::newRow("panel") << "Panel1" << QRect(8, 8, 301, 238);
        QTest::newRow("OK") << "OKButton" << QRect(238, 255, 65, 26);
        QTest::newRow("icon panel") << "IconPanel" << QRect(8, 8, 33, 33);
        QTest::newRow("icon") << "ProgramIcon" << QRect(0, 0, 32, 32);
        QTest::newRow("upper bevel") << "Bevel2" << QRect(8, 85, 285, 9);
        QTest::newRow("lower bevel") << "Bevel1" << QRect(8, 155, 285, 9);
        QTest::newRow("load") << "Edit1" << QRect(8, 163, 289, 17);
        QTest::newRow("physical") << "Edit2" << QRect(8, 179, 201, 17);
        QTest::newRow("physical total") << "Edit3" << QRect(208, 179, 89, 17);
        QTest::newRow("page file") << "Edit4" << QRect(8, 195, 201, 17);
        QTest::newRow("page file total") << "Edit5" << QRect(208, 195, 89, 17);
        QTest::newRow("virtual") << "Edit6" << QRect(8, 211, 201, 17);
        QTest::newRow("virtual total") << "Edit7" << QRect(208, 211, 89, 17);
    }

    void layout() {
        QFETCH(QString, name);
        QFETCH(QRect, bounds);
        TAboutBox box;
        box.MemoryStatusSource = [] { return TMemoryStatus{}; };
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        QCOMPARE(box.size(), QSize(318, 286));
        QCOMPARE(box.minimumSize(), box.maximumSize());
        QCOMPARE(box.findChild<QWidget*>(name)->geometry(), bounds);
        QCOMPARE(box.ProductName->pos(), QPoint(48, 8));
        QCOMPARE(box.Version->pos(), QPoint(48, 24));
        QCOMPARE(box.Version->size(), box.Version->sizeHint());
    }

    void properties() {
        TAboutBox box;
        box.MemoryStatusSource = [] { return TMemoryStatus{}; };
        QCOMPARE(box.objectName(), QStringLiteral("AboutBox"));
        QCOMPARE(box.windowTitle(), QStringLiteral("About"));
        QVERIFY(
            !(box.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
        QCOMPARE(box.font().family(), QStringLiteral("Liberation Sans"));
        QCOMPARE(box.font().pixelSize(), 11);
        QCOMPARE(box.ProductName->text(), QStringLiteral("Veltrum"));
        QCOMPARE(box.ProgramIcon->pixmap().size(), QSize(32, 32));
        QVERIFY(box.ProgramIcon->hasScaledContents());
        QCOMPARE(box.OKButton->text(), QStringLiteral("O&K"));
        QVERIFY(box.OKButton->isDefault());
        QCOMPARE(box.OKButton->cursor().shape(), Qt::PointingHandCursor);
        for (const QLineEdit* field : box.findChildren<QLineEdit*>()) {
            QVERIFY(field->isReadOnly());
            QVERIFY(!field->hasFrame());
        }
        QCOMPARE(box.findChildren<QLineEdit*>().size(), 7);
    }

    void opensWithOKFocusedAndCentred() {
        TAboutBox box;
        box.MemoryStatusSource = [] { return TMemoryStatus{}; };
        box.show();
        QVERIFY(QTest::qWaitForWindowActive(&box));
        QCOMPARE(box.focusWidget(), box.OKButton);
        const QRect screen = box.screen()->availableGeometry();
        QVERIFY(qAbs(box.frameGeometry().center().x() - screen.center().x()) <= 1);
        QVERIFY(qAbs(box.frameGeometry().center().y() - screen.center().y()) <= 1);
        QTest::keyClick(&box, Qt::Key_Return);
        QVERIFY(!box.isVisible());
        QCOMPARE(box.result(), int(QDialog::Accepted));
    }

    // OK, Enter, the close box and Escape close the dialog.
    void closing_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("closes");
        QTest::addColumn<int>("result");
        QTest::newRow("Enter") << "Enter" << true << int(QDialog::Accepted);
        QTest::newRow("keypad Enter") << "keypad Enter" << true << int(QDialog::Accepted);
        QTest::newRow("OK") << "OK" << true << int(QDialog::Accepted);
        QTest::newRow("close box") << "close box" << true << int(QDialog::Rejected);
        QTest::newRow("Escape") << "Escape" << true << int(QDialog::Rejected);
    }

    void closing() {
        QFETCH(QString, how);
        QFETCH(bool, closes);
        QFETCH(int, result);
        TAboutBox box;
        box.MemoryStatusSource = [] { return TMemoryStatus{}; };
        box.show();
        QVERIFY(QTest::qWaitForWindowActive(&box));
        if (how == "Enter")
            QTest::keyClick(&box, Qt::Key_Return);
        else if (how == "keypad Enter")
            QTest::keyClick(&box, Qt::Key_Enter, Qt::KeypadModifier);
        else if (how == "OK")
            box.OKButton->click();
        else if (how == "close box")
            box.close();
        else
            QTest::keyClick(&box, Qt::Key_Escape);
        QCOMPARE(box.isVisible(), !closes);
        QCOMPARE(box.result(), result);
    }

    void readMeminfo_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<bool>("read");
        QTest::addColumn<TMemoryStatus>("expected");
        constexpr uint64_t k = 1024;
        QTest::newRow("current kernel")
            << QByteArray("MemTotal:       16384000 kB\nMemFree:         1000000 kB\n"
                          "MemAvailable:    4096000 kB\nBuffers:          200000 kB\n"
                          "Cached:          3000000 kB\nSwapTotal:       2048000 kB\n"
                          "SwapFree:        1024000 kB\n")
            << true
            << TMemoryStatus{75, 16384000 * k, 4096000 * k, 18432000 * k, 5120000 * k, 0, 0};
        QTest::newRow("before MemAvailable: free, buffers and cache")
            << QByteArray("MemTotal: 1000 kB\nMemFree: 100 kB\nBuffers: 50 kB\nCached: 150 kB\n")
            << true << TMemoryStatus{70, 1000 * k, 300 * k, 1000 * k, 300 * k, 0, 0};
        QTest::newRow("no swap lines, Windows line ends")
            << QByteArray("MemTotal: 2000 kB\r\nMemAvailable: 2000 kB\r\n") << true
            << TMemoryStatus{0, 2000 * k, 2000 * k, 2000 * k, 2000 * k, 0, 0};
        QTest::newRow("similar names are not taken")
            << QByteArray("MemTotalX: 5 kB\nMemTotal: 100 kB\nMemAvailable: 25 kB\n") << true
            << TMemoryStatus{75, 100 * k, 25 * k, 100 * k, 25 * k, 0, 0};
        QTest::newRow("more available than total")
            << QByteArray("MemTotal: 100 kB\nMemAvailable: 900 kB\n") << true
            << TMemoryStatus{0, 100 * k, 100 * k, 100 * k, 100 * k, 0, 0};
        QTest::newRow("no MemTotal") << QByteArray("MemFree: 100 kB\n") << false << TMemoryStatus{};
        QTest::newRow("empty") << QByteArray() << false << TMemoryStatus{};
        QTest::newRow("MemTotal without number")
            << QByteArray("MemTotal: kB\n") << false << TMemoryStatus{};
        QTest::newRow("overflowing number")
            << QByteArray("MemTotal: 99999999999999999999999 kB\n") << false << TMemoryStatus{};
    }

    void readMeminfo() {
        QFETCH(QByteArray, text);
        QFETCH(bool, read);
        QFETCH(TMemoryStatus, expected);
        TMemoryStatus status;
        QCOMPARE(ReadMeminfo(std::string_view(text.constData(), text.size()), status), read);
        QCOMPARE(status.MemoryLoad, expected.MemoryLoad);
        QCOMPARE(status.TotalPhys, expected.TotalPhys);
        QCOMPARE(status.AvailPhys, expected.AvailPhys);
        QCOMPARE(status.TotalPageFile, expected.TotalPageFile);
        QCOMPARE(status.AvailPageFile, expected.AvailPageFile);
    }

    void readsThisMachine() {
        const TMemoryStatus status = ReadMemoryStatus();
        QVERIFY(status.TotalPhys > 0);
        QVERIFY(status.AvailPhys <= status.TotalPhys);
        QVERIFY(status.TotalPageFile >= status.TotalPhys);
        QVERIFY(status.MemoryLoad <= 100);
        QVERIFY(status.TotalVirtual > 0);
        QVERIFY(status.AvailVirtual < status.TotalVirtual);
    }
};

VELTRUM_APP_TEST_MAIN(TestAboutBox)
#include "AboutBoxTest.moc"
