#include "DocumentFile.h"

#include "AppTestMain.h"
#include "DocumentPlaces.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <optional>
#include <stdexcept>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

Q_DECLARE_METATYPE(std::string)
Q_DECLARE_METATYPE(TTextEncoding)
Q_DECLARE_METATYPE(TDocumentDamage)

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
        QTest::newRow("Windows-1252: degree, no-break space, 30, 31, 186, undefined 0x81")
            << Bytes("40\xb0"
                     "C\xa0"
                     "claims 1\x1e"
                     "3 at 5\xba\x81 cas\x1fing\r\n")
            << TTextEncoding::Windows1252;
        QTest::newRow("UTF-8: degree, no-break space, arrow") << std::string("40\xc2\xb0"
                                                                             "C claims\xc2\xa0"
                                                                             "1 \xe2\x86\x92 2\r\n")
                                                              << TTextEncoding::Utf8;
        QTest::newRow("UTF-8: its own non-breaking hyphen beside byte 30")
            << std::string("X\xe2\x80\x91ray, X\x1eray\n") << TTextEncoding::Utf8;
        QTest::newRow("LF") << std::string("1. A pump.\n\n2. A valve.\n") << TTextEncoding::Utf8;
        QTest::newRow("CR") << std::string("1. A pump.\r2. A valve.\r") << TTextEncoding::Utf8;
        QTest::newRow("no line end after the last line")
            << std::string("1. A pump.\r\n2. A valve.") << TTextEncoding::Utf8;
        QTest::newRow("UTF-8 with mark") << std::string("\xef\xbb\xbf"
                                                        "1. 40\xc2\xb0 \xe2\x86\x92\r\n")
                                         << TTextEncoding::Utf8Bom;
        QTest::newRow("UTF-8 with mark, then U+FEFF twice")
            << std::string("\xef\xbb\xbf\xef\xbb\xbf\xef\xbb\xbf"
                           "1.\r\n")
            << TTextEncoding::Utf8Bom;
        // "1. 40°€ X", byte 30, "ray 😀", CR LF.
        QTest::newRow("UTF-16 LE with mark")
            << Bytes("\xff\xfe"
                     "1\0.\0 \0"
                     "4\0"
                     "0\0\xb0\0\xac\x20X\0\x1e\0r\0a\0y\0 \0\x3d\xd8\x00\xde\r\0\n\0")
            << TTextEncoding::Utf16Le;
        QTest::newRow("UTF-16 BE with mark")
            << Bytes("\xfe\xff\0"
                     "1\0.\0 \0"
                     "4\0"
                     "0\0\xb0\x20\xac\0X\0\x1e\0r\0a\0y\0 \xd8\x3d\xde\x00\0\n")
            << TTextEncoding::Utf16Be;
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
        const TDocumentText document = ReadDocumentText(read);
        QCOMPARE(document.Format.Encoding, encoding);
        QCOMPARE(document.Damage, TDocumentDamage::None);
        QVERIFY(!document.Shown.contains(QChar(0x1e)) || bytes.find("\xe2\x80\x91") != bytes.npos);
        QVERIFY(!document.Shown.contains(QChar(0x1f)));
        // The analysis of the unedited pane reads what the file gave it.
        QCOMPARE(AnalysedDocumentText(document.Shown, document.Format), document.Analysed);
        TDocumentFormat format = document.Format;
        std::string encoded;
        QVERIFY(EncodeDocumentText(document.Shown, format, encoded));
        WriteDocumentFile(name, encoded);
        QCOMPARE(format.Encoding, encoding);
        QCOMPARE(ReadBytes(name), bytes);
    }

    // What the pane shows and the analysis reads, and why a document may not
    // be saved.
    void read_data() {
        QTest::addColumn<std::string>("bytes");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<std::string>("analysed");
        QTest::addColumn<TDocumentDamage>("damage");
        QTest::newRow("UTF-16: Windows-1252 bytes of its characters")
            << Bytes("\xff\xfe"
                     "9\0"
                     "0\0\xb0\0\r\0\n\0")
            << QStringLiteral("90\u00b0\n") << Bytes("90\xb0\r\n") << TDocumentDamage::None;
        QTest::newRow("UTF-16: UTF-8 when a character has no Windows-1252 byte")
            << Bytes("\xfe\xff\x03\xb1\0\n") << QStringLiteral("\u03b1\n")
            << std::string("\xce\xb1\n") << TDocumentDamage::None;
        // C3 A9 would read as one other character, as UTF-8.
        QTest::newRow("UTF-16: UTF-8 when the Windows-1252 bytes read as UTF-8")
            << Bytes("\xff\xfe\xc3\0\xa9\0") << QStringLiteral("\u00c3\u00a9")
            << std::string("\xc3\x83\xc2\xa9") << TDocumentDamage::None;
        QTest::newRow("UTF-8 with mark")
            << std::string("\xef\xbb\xbf"
                           "90\xc2\xb0")
            << QStringLiteral("90\u00b0") << Bytes("90\xb0") << TDocumentDamage::None;
        QTest::newRow("Windows-1252 hyphens")
            << Bytes("X\x1eray cas\x1fing") << QStringLiteral("X\u2011ray cas\u00ading")
            << Bytes("X\x1eray cas\x1fing") << TDocumentDamage::None;
        // Shown and read, but a wrong guess must not be written back.
        QTest::newRow("GB18030: read-only")
            << Bytes("\xc8\xa8\xc0\xfb\xd2\xaa\xc7\xf3\x31")
            << QStringLiteral("\u6743\u5229\u8981\u6c421")
            << std::string("\xe6\x9d\x83\xe5\x88\xa9\xe8\xa6\x81\xe6\xb1\x82\x31")
            << TDocumentDamage::LegacyCjk;
        QTest::newRow("zero byte")
            << Bytes("1. A pump.\r\n\0\x01\x02") << QStringLiteral("1. A pump.\n")
            << std::string("1. A pump.\r\n") << TDocumentDamage::CutAtZeroByte;
        QTest::newRow("UTF-16 with a zero character")
            << Bytes("\xff\xfe"
                     "A\0\0\0B\0")
            << QStringLiteral("A") << std::string("A") << TDocumentDamage::CutAtZeroByte;
        QTest::newRow("UTF-16 with an odd byte")
            << Bytes("\xff\xfe"
                     "A\0B")
            << QStringLiteral("A\ufffd") << std::string("A\xef\xbf\xbd")
            << TDocumentDamage::NotText;
        QTest::newRow("UTF-8 mark before Windows-1252")
            << Bytes("\xef\xbb\xbf"
                     "90\xb0")
            << QStringLiteral("90\u00b0") << Bytes("90\xb0") << TDocumentDamage::NotText;
        QTest::newRow("control bytes") << Bytes("\x7f"
                                                "ELF\x02\x01\x01\x03")
                                       << QStringLiteral("\x7f"
                                                         "ELF\x02\x01\x01\x03")
                                       << Bytes("\x7f"
                                                "ELF\x02\x01\x01\x03")
                                       << TDocumentDamage::NotText;
    }

    void read() {
        QFETCH(std::string, bytes);
        QFETCH(QString, shown);
        QFETCH(std::string, analysed);
        QFETCH(TDocumentDamage, damage);
        const TDocumentText document = ReadDocumentText(bytes);
        QCOMPARE(document.Shown, shown);
        QCOMPARE(document.Analysed, analysed);
        QCOMPARE(document.Damage, damage);
    }

    // Lines the edit left keep their own ends, lines it added take the most
    // frequent one; a text without any gets CR LF.
    void lineEnds_data() {
        QTest::addColumn<std::string>("bytes");
        QTest::addColumn<QString>("edited");
        QTest::addColumn<std::string>("saved");
        QTest::newRow("LF") << std::string("a\nb\n") << "a\nb\nc\n" << std::string("a\nb\nc\n");
        QTest::newRow("CR LF") << std::string("a\r\nb") << "a\nb\nc" << std::string("a\r\nb\r\nc");
        QTest::newRow("CR") << std::string("a\rb\r") << "a\n\nb\n" << std::string("a\r\rb\r");
        QTest::newRow("mixed, unedited")
            << std::string("a\nb\r\nc\rd") << "a\nb\nc\nd" << std::string("a\nb\r\nc\rd");
        QTest::newRow("a line added after the first")
            << std::string("a\r\nb\rc\nd\ne") << "a\nx\nb\nc\nd\ne"
            << std::string("a\r\nx\nb\rc\nd\ne");
        QTest::newRow("an edited line keeps its end") << std::string("a\rb\nc\n") << "A\nb\nc\n"
                                                      << std::string("A\rb\nc\n");
        QTest::newRow("joined lines keep the end of the last")
            << std::string("a\rb\r\nc\nd\n") << "ab\nc\nd\n"
            << std::string("ab\r\nc\nd\n");
        QTest::newRow("a line emptied after one ended by CR")
            << std::string("a\rb\nc\n") << "a\n\nc\n"
            << std::string("a\r\n\nc\n");
        QTest::newRow("a line removed") << std::string("a\rb\r\nc\n") << "a\nc\n"
                                        << std::string("a\rc\n");
        QTest::newRow("a line removed and another added further on")
            << std::string("a\rX\r\nb\nc\nY\r\nd\n") << "a\nb\nc\nZ\nY\nd\n"
            << std::string("a\rb\nc\nZ\nY\r\nd\n");
        {
            // Too many changes for the fewest to be sought: lines found once
            // in each text pair them.
            std::string before, after = "new\n";
            for (int line = 0; line < 3000; ++line) {
                const std::string end = line % 3 == 0 ? "\r\n" : "\n";
                before += std::to_string(line) + end;
                after += std::to_string(line) + (line % 2 ? "x" : "") + end;
            }
            QTest::newRow("a line added and every other line changed")
                << before << QString::fromStdString(after).replace("\r\n", "\n") << after;
        }
        QTest::newRow("separators U+2028 and U+2029 kept") << std::string("a\xe2\x80\xa8"
                                                                          "b\xe2\x80\xa9"
                                                                          "c\n")
                                                           << "a\u2028b\nc\nd"
                                                           << std::string("a\xe2\x80\xa8"
                                                                          "b\xe2\x80\xa9"
                                                                          "c\nd");
        QTest::newRow("one line") << std::string("a") << "a\nb" << std::string("a\r\nb");
        QTest::newRow("paragraph separators of the pane")
            << std::string("a\n") << QString("a\u2029b\u2029") << std::string("a\nb\n");
    }

    void lineEnds() {
        QFETCH(std::string, bytes);
        QFETCH(QString, edited);
        QFETCH(std::string, saved);
        TDocumentFormat format;
        DecodeDocumentText(bytes, format);
        std::string encoded;
        QVERIFY(EncodeDocumentText(edited, format, encoded));
        QCOMPARE(encoded, saved);
        // The text saved is what the next save compares with.
        QVERIFY(EncodeDocumentText(edited, format, encoded));
        QCOMPARE(encoded, saved);
    }

    // A character that Windows-1252 lacks is named, and nothing is encoded.
    void windows1252NamesUnheldCharacter() {
        TDocumentFormat format;
        format.Encoding = TTextEncoding::Windows1252;
        std::string bytes;
        QVERIFY(EncodeDocumentText(QStringLiteral("40\u00b0 \u20ac"), format, bytes));
        QCOMPARE(bytes, Bytes("40\xb0 \x80"));
        TUnheldCharacter unheld;
        for (const auto& [text, character] :
             {std::pair{QStringLiteral("40\u00b0\n\u20ac \u2192 \u03b1"), char32_t(0x2192)},
              std::pair{QStringLiteral("a\n\nb \U0001F600"), char32_t(0x1F600)}}) {
            QVERIFY(!EncodeDocumentText(text, format, bytes, &unheld));
            QVERIFY(bytes.empty());
            QCOMPARE(format.Encoding, TTextEncoding::Windows1252);
            QCOMPARE(unheld.Character, character);
            QCOMPARE(unheld.Line, text.count(u'\n') + 1);
        }
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

    // A replaced file keeps its mode, its owner and its other hard links; a
    // symbolic link stays a link to the file written.
    void replacedFileKeepsItsKind_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("otherOwner");
        QTest::addColumn<QString>("hardLink");
        QTest::addColumn<QString>("symbolicLink");
        QTest::newRow("read-only") << 0444 << false << QString() << QString();
        QTest::newRow("set-group-ID, group-writable") << 02664 << false << QString() << QString();
        QTest::newRow("another user's") << 0640 << true << QString() << QString();
        QTest::newRow("hard link") << 0600 << false << "other.txt" << QString();
        QTest::newRow("symbolic link") << 0640 << false << QString() << "link.txt";
    }

    void replacedFileKeepsItsKind() {
        QFETCH(int, mode);
        QFETCH(bool, otherOwner);
        QFETCH(QString, hardLink);
        QFETCH(QString, symbolicLink);
        if (::geteuid() != 0 && (otherOwner || (mode & 0200) == 0))
            QSKIP("Only the superuser writes such a file");
        QTemporaryDir dir;
        const QString name = dir.filePath(QStringLiteral("claims.txt"));
        WriteBytes(name, "1. A pump.\n");
        const QByteArray path = QFile::encodeName(name);
        QCOMPARE(::chmod(path.constData(), static_cast<mode_t>(mode)), 0);
        if (otherOwner)
            QCOMPARE(::chown(path.constData(), 65534, 65534), 0);
        QString written = name;
        if (!hardLink.isEmpty())
            QCOMPARE(::link(path.constData(), QFile::encodeName(dir.filePath(hardLink))), 0);
        if (!symbolicLink.isEmpty()) {
            written = dir.filePath(symbolicLink);
            QCOMPARE(::symlink("claims.txt", QFile::encodeName(written).constData()), 0);
        }
        struct stat before {};
        QCOMPARE(::stat(path.constData(), &before), 0);

        const std::string text = "1. A pump.\n2. The pump of claim 1.\n";
        WriteDocumentFile(written, text);
        struct stat after {};
        QCOMPARE(::stat(path.constData(), &after), 0);
        QCOMPARE(ReadBytes(name), text);
        QCOMPARE(after.st_mode, before.st_mode);
        QCOMPARE(after.st_uid, before.st_uid);
        QCOMPARE(after.st_gid, before.st_gid);
        QCOMPARE(after.st_nlink, before.st_nlink);
        if (!hardLink.isEmpty())
            QCOMPARE(ReadBytes(dir.filePath(hardLink)), text);
        if (!symbolicLink.isEmpty())
            QVERIFY(QFileInfo(written).isSymLink());
        // No temporary file is left behind.
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System).size(),
                 1 + !hardLink.isEmpty() + !symbolicLink.isEmpty());
    }

    // The document's Save and the tables' export write the same way.
    void failedWriteKeepsOldFile_data() {
        QTest::addColumn<QString>("relativeName");
        QTest::addColumn<bool>("diskFull");
        QTest::addColumn<bool>("table");
        for (const bool table : {false, true}) {
            const char* writer = table ? "table: " : "document: ";
            QTest::addRow("%sdisk full", writer) << "claims.txt" << true << table;
            QTest::addRow("%smissing directory", writer) << "missing/claims.txt" << false << table;
            QTest::addRow("%sname of a directory", writer) << "folder" << false << table;
        }
    }

    void failedWriteKeepsOldFile() {
        QFETCH(QString, relativeName);
        QFETCH(bool, diskFull);
        QFETCH(bool, table);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder")));
        const QString name = dir.filePath(relativeName);
        const std::string old = "1. A pump.\r\n";
        if (diskFull)
            WriteBytes(name, old);
        // Within QSaveFile's buffer: only the last flush meets the full disk.
        const std::string larger(4096, 'x');
        QString error;
        {
            std::optional<TFileSizeLimit> limit;
            if (diskFull)
                limit.emplace(1024);
            if (table) {
                error = WriteWholeFile(name, larger);
            } else {
                try {
                    WriteDocumentFile(name, larger);
                } catch (const std::runtime_error& failure) {
                    error = QString::fromUtf8(failure.what());
                }
            }
        }
        if (table)
            QVERIFY(!error.isEmpty());
        else
            QCOMPARE(error, QStringLiteral("Cannot create file ") + name);
        if (diskFull)
            QCOMPARE(ReadBytes(name), old);
        // No temporary file is left behind.
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), diskFull ? 1 : 0);
    }
};

QTEST_GUILESS_MAIN(TestDocumentFile)
#include "DocumentFileTest.moc"
