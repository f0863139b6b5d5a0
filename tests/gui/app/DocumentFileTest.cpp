#include "DocumentFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <optional>
#include <stdexcept>
#include <string>
#include <sys/resource.h>

Q_DECLARE_METATYPE(std::string)
Q_DECLARE_METATYPE(TTextEncoding)

namespace {

// The bytes of a literal, zero bytes included.
template <std::size_t Size> std::string Bytes(const char (&Literal)[Size]) {
    return std::string(Literal, Size - 1);
}

void WriteBytes(const QString& FileName, const std::string& Content) {
    QFile file(FileName);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(Content.data(), static_cast<qint64>(Content.size())),
             static_cast<qint64>(Content.size()));
}

std::string ReadBytes(const QString& FileName) {
    QFile file(FileName);
    if (!file.open(QIODevice::ReadOnly))
        return "<missing>";
    return file.readAll().toStdString();
}

// Lowers the file size limit for the test's process while it lives, so that
// writing a larger file fails as a full disk would.
class TFileSizeLimit {
public:
    explicit TFileSizeLimit(rlim_t Bytes) {
        getrlimit(RLIMIT_FSIZE, &saved);
        oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limited = saved;
        limited.rlim_cur = Bytes;
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~TFileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, oldHandler);
    }

private:
    rlimit saved{};
    void (*oldHandler)(int) = nullptr;
};

} // namespace

class TestDocumentFile : public QObject {
    Q_OBJECT

private slots:
    // A file read and written back unedited keeps every byte.
    void roundTrip_data() {
        QTest::addColumn<std::string>("bytes");
        QTest::addColumn<TTextEncoding>("encoding");
        QTest::newRow("CR LF, ASCII")
            << std::string("Pump\r\n\r\nWe claim:\r\n1. A pump.\r\n") << TTextEncoding::Utf8;
        QTest::newRow("empty") << std::string() << TTextEncoding::Utf8;
        QTest::newRow("Windows-1252: degree, no-break space, 30, 186, undefined 0x81")
            << Bytes("40\xb0"
                     "C\xa0"
                     "claims 1\x1e"
                     "3 at 5\xba\x81\r\n")
            << TTextEncoding::Windows1252;
        QTest::newRow("UTF-8: degree, no-break space, arrow") << std::string("40\xc2\xb0"
                                                                             "C claims\xc2\xa0"
                                                                             "1 \xe2\x86\x92 2\r\n")
                                                              << TTextEncoding::Utf8;
    }

    void roundTrip() {
        QFETCH(std::string, bytes);
        QFETCH(TTextEncoding, encoding);
        QTemporaryDir dir;
        const QString name = dir.filePath(QStringLiteral("claims.txt"));
        WriteBytes(name, bytes);

        std::string read;
        QVERIFY(ReadDocumentFile(name, read));
        QCOMPARE(read, bytes);
        TTextEncoding found{};
        const QString text = DecodeDocumentText(read, found);
        QCOMPARE(found, encoding);
        TTextEncoding used{};
        WriteDocumentFile(name, EncodeDocumentText(text, found, &used));
        QCOMPARE(used, encoding);
        QCOMPARE(ReadBytes(name), bytes);
    }

    // Lines are written with CR LF whatever the file had, the last one too.
    void lineEnds_data() {
        QTest::addColumn<std::string>("bytes");
        QTest::addColumn<QString>("text");
        QTest::addColumn<std::string>("saved");
        QTest::newRow("LF only") << std::string("a\nb\n") << "a\nb\n" << std::string("a\r\nb\r\n");
        QTest::newRow("CR only") << std::string("a\rb\r") << "a\nb\n" << std::string("a\r\nb\r\n");
        QTest::newRow("mixed, no final line end")
            << std::string("a\r\nb\rc\nd") << "a\nb\nc\nd" << std::string("a\r\nb\r\nc\r\nd\r\n");
        QTest::newRow("blank lines kept") << std::string("a\n\n\nb\n") << "a\n\n\nb\n"
                                          << std::string("a\r\n\r\n\r\nb\r\n");
    }

    void lineEnds() {
        QFETCH(std::string, bytes);
        QFETCH(QString, text);
        QFETCH(std::string, saved);
        TTextEncoding encoding{};
        QCOMPARE(DecodeDocumentText(bytes, encoding), text);
        QCOMPARE(EncodeDocumentText(text, encoding), saved);
    }

    // A character that Windows-1252 lacks makes the whole file UTF-8 rather
    // than being dropped.
    void windows1252FallsBackToUtf8() {
        TTextEncoding used{};
        QCOMPARE(EncodeDocumentText(QStringLiteral("40\u00b0 \u2192"), TTextEncoding::Windows1252,
                                    &used),
                 std::string("40\xc2\xb0 \xe2\x86\x92\r\n"));
        QCOMPARE(used, TTextEncoding::Utf8);
        QCOMPARE(EncodeDocumentText(QStringLiteral("40\u00b0 \u20ac"), TTextEncoding::Windows1252,
                                    &used),
                 Bytes("40\xb0 \x80\r\n"));
        QCOMPARE(used, TTextEncoding::Windows1252);
    }

    void unreadable_data() {
        QTest::addColumn<QString>("relativeName");
        QTest::newRow("missing") << "missing.txt";
        QTest::newRow("directory") << "folder";
        QTest::newRow("below a file") << "plain.txt/child.txt";
    }

    void unreadable() {
        QFETCH(QString, relativeName);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder")));
        WriteBytes(dir.filePath(QStringLiteral("plain.txt")), "text");
        std::string read = "stale";
        QVERIFY(!ReadDocumentFile(dir.filePath(relativeName), read));
        QVERIFY(read.empty());
    }

    void failedWriteKeepsOldFile_data() {
        QTest::addColumn<QString>("relativeName");
        QTest::addColumn<bool>("diskFull");
        QTest::newRow("disk full") << "claims.txt" << true;
        QTest::newRow("missing directory") << "missing/claims.txt" << false;
        QTest::newRow("name of a directory") << "folder" << false;
    }

    void failedWriteKeepsOldFile() {
        QFETCH(QString, relativeName);
        QFETCH(bool, diskFull);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder")));
        const QString name = dir.filePath(relativeName);
        const std::string old = "1. A pump.\r\n";
        if (diskFull)
            WriteBytes(name, old);
        const std::string larger(4096, 'x');
        try {
            std::optional<TFileSizeLimit> limit;
            if (diskFull)
                limit.emplace(1024);
            WriteDocumentFile(name, larger);
            QFAIL("no exception");
        } catch (const std::runtime_error& error) {
            QCOMPARE(QString::fromUtf8(error.what()), QStringLiteral("Cannot create file ") + name);
        }
        if (diskFull)
            QCOMPARE(ReadBytes(name), old);
        // No temporary file is left behind.
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), diskFull ? 1 : 0);
    }
};

QTEST_GUILESS_MAIN(TestDocumentFile)
#include "DocumentFileTest.moc"
