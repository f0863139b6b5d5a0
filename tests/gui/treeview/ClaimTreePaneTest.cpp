// The tree pane: scrolling a control into view and the scroll range.

#include "DrawnTree.h"

#include <QLineEdit>
#include <QScrollBar>
#include <QtTest>

class ClaimTreePaneTest : public QObject {
    Q_OBJECT

private slots:
    void scrollInViewMovesLeast_data();
    void scrollInViewMovesLeast();
    void contentFollowsShownControls();
    void focusMarkOnlyFromTheKeyboard_data();
    void focusMarkOnlyFromTheKeyboard();
};

void ClaimTreePaneTest::scrollInViewMovesLeast_data() {
    QTest::addColumn<QRect>("control");
    QTest::addColumn<QPoint>("scrolledFrom");
    QTest::addColumn<QPoint>("scrolledTo");
    // The visible area is 200 x 100 (the pane's frame aside).
    QTest::newRow("already in view") << QRect(50, 40, 20, 13) << QPoint(0, 0) << QPoint(0, 0);
    QTest::newRow("below") << QRect(50, 300, 20, 13) << QPoint(0, 0) << QPoint(0, 213);
    QTest::newRow("above") << QRect(50, 300, 20, 13) << QPoint(0, 400) << QPoint(0, 300);
    QTest::newRow("right") << QRect(500, 40, 20, 13) << QPoint(0, 0) << QPoint(320, 0);
    QTest::newRow("left") << QRect(500, 40, 20, 13) << QPoint(600, 0) << QPoint(500, 0);
    QTest::newRow("wider than the view")
        << QRect(500, 40, 300, 13) << QPoint(0, 0) << QPoint(500, 0);
    QTest::newRow("both directions") << QRect(500, 300, 20, 13) << QPoint(0, 0) << QPoint(320, 213);
}

void ClaimTreePaneTest::scrollInViewMovesLeast() {
    QFETCH(QRect, control);
    QFETCH(QPoint, scrolledFrom);
    QFETCH(QPoint, scrolledTo);
    TClaimTreePane pane;
    pane.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    pane.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    pane.show();
    QVERIFY(QTest::qWaitForWindowExposed(&pane));
    pane.resize(pane.width() - pane.viewport()->width() + 200,
                pane.height() - pane.viewport()->height() + 100);
    QTRY_COMPARE(pane.ClientWidth(), 200);
    QTRY_COMPARE(pane.ClientHeight(), 100);
    auto* widget = new QWidget(pane.Content());
    widget->setGeometry(control);
    widget->show();
    auto* far = new QWidget(pane.Content());
    far->setGeometry(1000, 1000, 10, 10);
    far->show();
    pane.FitContent();
    pane.horizontalScrollBar()->setValue(scrolledFrom.x());
    pane.verticalScrollBar()->setValue(scrolledFrom.y());
    pane.ScrollInView(widget);
    QCOMPARE(QPoint(pane.horizontalScrollBar()->value(), pane.verticalScrollBar()->value()),
             scrolledTo);
}

void ClaimTreePaneTest::contentFollowsShownControls() {
    TDrawnTree drawn(PumpClaims, 200, 150);
    const QSize expanded = drawn.pane.Content()->size();
    QCOMPARE(expanded.height(), drawn.View(8).RowTop + 13);
    drawn.drawing->CollapseAll();
    // Only the two roots are left: the content shrinks to the visible area.
    QCOMPARE(drawn.pane.Content()->height(),
             std::max(drawn.View(7).RowTop + 13, drawn.pane.ClientHeight()));
    QVERIFY(drawn.pane.Content()->width() < expanded.width());
}

void ClaimTreePaneTest::focusMarkOnlyFromTheKeyboard_data() {
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("marked"); // the claim whose box carries the mark, or ""
    QTest::newRow("no focus") << QStringList() << "";
    QTest::newRow("focus from a click") << QStringList{"click"} << "";
    QTest::newRow("click on a box") << QStringList{"click", "caption 2"} << "";
    QTest::newRow("Tab") << QStringList{"Tab"} << "1";
    QTest::newRow("a key after a click") << QStringList{"click", "caption 2", "key"} << "2";
    QTest::newRow("focus gone") << QStringList{"Tab", "key", "away"} << "";
    QTest::newRow("back by a click") << QStringList{"Tab", "away", "click"} << "";
    QTest::newRow("other window for a while") << QStringList{"Tab", "key", "window"} << "2";
    QTest::newRow("menu bar for a while") << QStringList{"Tab", "key", "menu bar"} << "2";
}

// The picture stays as it was until the keyboard reaches the pane.
void ClaimTreePaneTest::focusMarkOnlyFromTheKeyboard() {
    QFETCH(QStringList, steps);
    QFETCH(QString, marked);
    QWidget window;
    auto* other = new QLineEdit(&window);
    auto* drawn = new TDrawnTree(PumpClaims, 300, 300);
    std::unique_ptr<TDrawnTree> owner(drawn);
    drawn->pane.setParent(&window);
    drawn->pane.move(0, 40);
    drawn->pane.show();
    window.resize(300, 340);
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    other->setFocus();
    const QImage before = drawn->pane.viewport()->grab().toImage();
    for (const QString& step : steps) {
        if (step == QLatin1String("click"))
            drawn->pane.setFocus(Qt::MouseFocusReason);
        else if (step.startsWith(QLatin1String("caption")))
            QTest::mouseClick(drawn->View(step.mid(8).toInt()).CaptionLabel, Qt::LeftButton);
        else if (step == QLatin1String("Tab"))
            drawn->pane.setFocus(Qt::TabFocusReason);
        else if (step == QLatin1String("key"))
            QTest::keyClick(&drawn->pane, Qt::Key_Down);
        else if (step == QLatin1String("menu bar")) {
            other->setFocus(Qt::MenuBarFocusReason);
            drawn->pane.setFocus(Qt::MenuBarFocusReason);
        } else if (step == QLatin1String("away"))
            other->setFocus(Qt::MouseFocusReason);
        else if (step == QLatin1String("window")) {
            QWidget elsewhere;
            elsewhere.show();
            elsewhere.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&elsewhere));
            elsewhere.close();
            window.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&window));
        }
    }
    const QImage after = drawn->pane.viewport()->grab().toImage();
    if (marked.isEmpty()) {
        QCOMPARE(after, before);
        return;
    }
    QVERIFY(after != before);
    // The mark runs close above and below the box's caption, in the highlight colour.
    const QLabel* caption = drawn->View(marked.toInt()).CaptionLabel;
    const QRect place(caption->mapTo(drawn->pane.viewport(), QPoint(0, 0)), caption->size());
    const QColor highlight = drawn->pane.palette().color(QPalette::Active, QPalette::Highlight);
    const auto marks = [&](int From, int Step) {
        for (int y = From; std::abs(y - From) < 8; y += Step) {
            if (after.pixelColor(place.center().x(), y) == highlight)
                return true;
        }
        return false;
    };
    QVERIFY(marks(place.top() - 1, -1));
    QVERIFY(marks(place.bottom() + 1, 1));
    QCOMPARE(drawn->pane.CurrentBox(), drawn->Node(marked.toInt()));
}

QTEST_MAIN(ClaimTreePaneTest)
#include "ClaimTreePaneTest.moc"
