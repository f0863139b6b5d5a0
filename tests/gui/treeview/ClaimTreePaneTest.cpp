// The tree pane: scrolling a control into view and the scroll range.

#include "DrawnTree.h"

#include <QScrollBar>
#include <QtTest>

class ClaimTreePaneTest : public QObject {
    Q_OBJECT

private slots:
    void scrollInViewMovesLeast_data();
    void scrollInViewMovesLeast();
    void contentFollowsShownControls();
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

QTEST_MAIN(ClaimTreePaneTest)
#include "ClaimTreePaneTest.moc"
