// The claim text memo: how a claim's text becomes lines, and how many lines
// it shows at a width.

#include "DrawnTree.h"

#include <QtTest>

class ClaimMemoTest : public QObject {
    Q_OBJECT

private slots:
    void textBecomesLines_data();
    void textBecomesLines();
    void wrappedLinesAreCounted_data();
    void wrappedLinesAreCounted();
    void eachLineWrapsOnItsOwn();
};

void ClaimMemoTest::textBecomesLines_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QStringList>("lines");
    // The document's decoding, whatever the claim's bytes would read as alone.
    QTest::addColumn<bool>("documentIsUtf8");
    QTest::newRow("one line") << QByteArray(" A pump.") << QStringList{" A pump."} << true;
    QTest::newRow("indentation kept") << QByteArray(" A pump\n   with a valve.")
                                      << QStringList{" A pump", "   with a valve."} << true;
    QTest::newRow("empty lines dropped") << QByteArray("\n\nA pump\n\n\nwith a valve.\n")
                                         << QStringList{"A pump", "with a valve."} << true;
    QTest::newRow("CR LF line ends") << QByteArray("A pump\r\nwith a valve.\r\n")
                                     << QStringList{"A pump", "with a valve."} << true;
    QTest::newRow("blank CR LF line") << QByteArray("A pump\r\n\r\nwith a valve.")
                                      << QStringList{"A pump", "", "with a valve."} << true;
    QTest::newRow("CR line ends") << QByteArray("A pump\rwith a valve.")
                                  << QStringList{"A pump", "with a valve."} << true;
    QTest::newRow("Windows-1252") << QByteArray("A pump for 5\xb0"
                                                "C.")
                                  << QStringList{QString::fromUtf8("A pump for 5\xc2\xb0"
                                                                   "C.")}
                                  << false;
    QTest::newRow("UTF-8 claim in a Windows-1252 document")
        << QByteArray("A caf\xc3\xa9 pump.")
        << QStringList{QString::fromUtf8("A caf\xc3\x83\xc2\xa9 pump.")} << false;
    QTest::newRow("word processor hyphens 30 and 31")
        << QByteArray("X\x1eray cas\x1fing")
        << QStringList{QStringLiteral("X\u2011ray cas\u00ading")} << true;
    QTest::newRow("nothing") << QByteArray() << QStringList() << true;
}

void ClaimMemoTest::textBecomesLines() {
    QFETCH(QByteArray, text);
    QFETCH(QStringList, lines);
    QFETCH(bool, documentIsUtf8);
    const TMemoText memoText(text.toStdString(), documentIsUtf8);
    QCOMPARE(memoText.Lines(), lines);
    const QFontMetrics metrics(TClaimMemo::TextFont());
    int widest = 0;
    for (const QString& line : lines)
        widest = std::max(widest, metrics.horizontalAdvance(line));
    QCOMPARE(memoText.WidestLine(), widest);
}

void ClaimMemoTest::wrappedLinesAreCounted_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("count");
    const QByteArray sentence("one two three four five six seven eight nine ten");
    QTest::newRow("wide enough") << sentence << 1000 << 1;
    QTest::newRow("two lines, wide enough") << QByteArray(sentence + "\n" + sentence) << 1000 << 2;
    QTest::newRow("empty line counts once") << QByteArray("a\r\n\r\nb") << 100 << 3;
    // Word boundaries first, then inside a word that is wider than the memo.
    QTest::newRow("one word per line") << QByteArray("pump valve shaft seal") << 45 << 4;
    // Three and a half W wide: ten Ws make lines of 3, 3, 3 and 1.
    const int w = QFontMetrics(TClaimMemo::TextFont()).horizontalAdvance(QLatin1Char('W'));
    QTest::newRow("long word broken") << QByteArray("WWWWWWWWWW") << w * 7 / 2 << 4;
}

void ClaimMemoTest::wrappedLinesAreCounted() {
    QFETCH(QByteArray, text);
    QFETCH(int, width);
    QFETCH(int, count);
    const TMemoText memoText(text.toStdString(), true);
    QCOMPARE(memoText.WrappedLineCount(width), count);
    QCOMPARE(memoText.WrappedLineCount(width), count); // asked again, from the cache
}

void ClaimMemoTest::eachLineWrapsOnItsOwn() {
    const std::string sentence = "one two three four five six seven eight nine ten";
    const int once = TMemoText(sentence, true).WrappedLineCount(120);
    QVERIFY(once > 1);
    QCOMPARE(TMemoText(sentence + "\n" + sentence, true).WrappedLineCount(120), 2 * once);
}

QTEST_MAIN(ClaimMemoTest)
#include "ClaimMemoTest.moc"
