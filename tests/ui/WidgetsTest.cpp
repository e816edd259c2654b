// Our widgets on their own: the grid's draw-cell and select-cell rules, the list that never
// highlights, pictures that are never scaled, key preview.

#include "app/xClasses.h"
#include "platform/widgets/FormStyle.h"
#include "platform/widgets/TDrawGrid.h"
#include "platform/widgets/TImage.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScrollBar>
#include <QtTest>

namespace {

using Cells = QList<QPoint>;

QPoint CentreOf(const TDrawGrid& grid, int col, int row) {
    return grid.CellRect(col, row).center();
}

void Send(QWidget* widget, QEvent::Type type, QPoint at, Qt::MouseButton button,
          Qt::MouseButtons held) {
    QMouseEvent event(type, at, widget->mapToGlobal(at), button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &event);
}

struct TRecordedGrid {
    TDrawGrid Grid;
    Cells Raised;
    bool Refuse = false;

    TRecordedGrid() {
        Grid.resize(238, 236);
        Grid.OnSelectCell = [this](int col, int row, bool& canSelect) {
            Raised.push_back({col, row});
            canSelect = !Refuse;
        };
    }
};

} // namespace

class WidgetsTest : public QObject {
    Q_OBJECT

private slots:
    void aPaintRaisesDrawCellPerCoveredCellOrOnceForAWholeGridHandler_data();
    void aPaintRaisesDrawCellPerCoveredCellOrOnceForAWholeGridHandler();
    void dragPicksEachCellEnteredInOrder();
    void onlyTheLeftButtonPicks();
    void aRefusedCellDoesNotBecomeCurrent();
    void arrowKeysRaiseSelectCell();
    void aDisabledGridRaisesNothing();
    void theListNeverShowsWhichLineIsCurrent();
    void theListScrollsToTheCurrentLineWithoutAScrollBar();
    void aPictureIsDrawnFromItsCornerAndCutNotScaled();
    void keyPreviewSeesEachKeyOnce();
};

void WidgetsTest::aPaintRaisesDrawCellPerCoveredCellOrOnceForAWholeGridHandler_data() {
    QTest::addColumn<bool>("paintsAll");
    QTest::addColumn<Cells>("covered");
    QTest::addColumn<Cells>("raised");
    Cells everyCell;
    for (int col = 0; col < 5; ++col) {
        for (int row = 0; row < 5; ++row) {
            everyCell.push_back({col, row});
        }
    }
    const Cells two{{3, 4}, {1, 0}};
    QTest::newRow("per cell, whole grid") << false << everyCell << everyCell;
    QTest::newRow("per cell, two cells") << false << two << Cells{{1, 0}, {3, 4}};
    QTest::newRow("whole grid handler, whole grid") << true << everyCell << Cells{{0, 0}};
    QTest::newRow("whole grid handler, two cells") << true << two << Cells{{1, 0}};
}

void WidgetsTest::aPaintRaisesDrawCellPerCoveredCellOrOnceForAWholeGridHandler() {
    QFETCH(bool, paintsAll);
    QFETCH(Cells, covered);
    QFETCH(Cells, raised);
    TDrawGrid grid;
    grid.resize(238, 236);
    Cells drawn;
    grid.OnDrawCell = [&](int col, int row, const QRect& rect) {
        QCOMPARE(rect, grid.CellRect(col, row));
        drawn.push_back({col, row});
    };
    grid.DrawCellPaintsAll = paintsAll;
    QRegion region;
    for (const QPoint& cell : covered) {
        region += grid.CellRect(cell.x(), cell.y());
    }
    QPixmap target(grid.size());
    grid.render(&target, {}, region);
    QCOMPARE(drawn, raised);
}

void WidgetsTest::dragPicksEachCellEnteredInOrder() {
    TRecordedGrid grid;
    QWidget* g = &grid.Grid;
    Send(g, QEvent::MouseButtonPress, CentreOf(grid.Grid, 0, 0), Qt::LeftButton, Qt::LeftButton);
    Send(g, QEvent::MouseMove, CentreOf(grid.Grid, 0, 0) + QPoint(5, 5), Qt::NoButton,
         Qt::LeftButton);
    Send(g, QEvent::MouseMove, CentreOf(grid.Grid, 1, 0), Qt::NoButton, Qt::LeftButton);
    Send(g, QEvent::MouseMove, CentreOf(grid.Grid, 2, 0), Qt::NoButton, Qt::LeftButton);
    Send(g, QEvent::MouseMove, CentreOf(grid.Grid, 2, 1), Qt::NoButton, Qt::LeftButton);
    Send(g, QEvent::MouseMove, CentreOf(grid.Grid, 1, 0), Qt::NoButton, Qt::LeftButton);
    Send(g, QEvent::MouseButtonRelease, CentreOf(grid.Grid, 1, 0), Qt::LeftButton, Qt::NoButton);
    Send(g, QEvent::MouseMove, CentreOf(grid.Grid, 4, 4), Qt::NoButton, Qt::NoButton);
    QCOMPARE(grid.Raised, (Cells{{0, 0}, {1, 0}, {2, 0}, {2, 1}, {1, 0}}));
    QCOMPARE(QPoint(grid.Grid.Col(), grid.Grid.Row()), QPoint(1, 0));

    // A second press on the current cell raises it again.
    Send(g, QEvent::MouseButtonPress, CentreOf(grid.Grid, 1, 0), Qt::LeftButton, Qt::LeftButton);
    QCOMPARE(grid.Raised.size(), 6);
}

void WidgetsTest::onlyTheLeftButtonPicks() {
    TRecordedGrid grid;
    Send(&grid.Grid, QEvent::MouseButtonPress, CentreOf(grid.Grid, 3, 3), Qt::RightButton,
         Qt::RightButton);
    Send(&grid.Grid, QEvent::MouseMove, CentreOf(grid.Grid, 3, 4), Qt::NoButton, Qt::RightButton);
    QCOMPARE(grid.Raised, Cells());
}

void WidgetsTest::aRefusedCellDoesNotBecomeCurrent() {
    TRecordedGrid grid;
    grid.Refuse = true;
    QTest::mouseClick(&grid.Grid, Qt::LeftButton, {}, CentreOf(grid.Grid, 4, 4));
    QCOMPARE(grid.Raised, (Cells{{4, 4}}));
    QCOMPARE(QPoint(grid.Grid.Col(), grid.Grid.Row()), QPoint(0, 0));
}

void WidgetsTest::arrowKeysRaiseSelectCell() {
    TRecordedGrid grid;
    QTest::keyClick(&grid.Grid, Qt::Key_Right);
    QTest::keyClick(&grid.Grid, Qt::Key_Down);
    QTest::keyClick(&grid.Grid, Qt::Key_Up);
    QTest::keyClick(&grid.Grid, Qt::Key_Up); // already on the top row: nothing
    QCOMPARE(grid.Raised, (Cells{{1, 0}, {1, 1}, {1, 0}}));
}

void WidgetsTest::aDisabledGridRaisesNothing() {
    TRecordedGrid grid;
    grid.Grid.setEnabled(false);
    Send(&grid.Grid, QEvent::MouseButtonPress, CentreOf(grid.Grid, 1, 1), Qt::LeftButton,
         Qt::LeftButton);
    Send(&grid.Grid, QEvent::MouseMove, CentreOf(grid.Grid, 2, 1), Qt::NoButton, Qt::LeftButton);
    QTest::keyClick(&grid.Grid, Qt::Key_Right);
    QCOMPARE(grid.Raised, Cells());
}

void WidgetsTest::theListNeverShowsWhichLineIsCurrent() {
    TxListBox list;
    list.resize(233, 235);
    list.addItems({"1.CAT", "1.CAT"});
    list.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list));
    list.setFocus();
    list.setCurrentRow(0);
    const QImage first = list.grab().toImage();
    list.setCurrentRow(1);
    const QImage second = list.grab().toImage();
    // Two equal lines: with no highlight or focus mark, which one is current cannot be seen.
    const QRect top = list.visualItemRect(list.item(0));
    const QRect below = list.visualItemRect(list.item(1));
    QCOMPARE(first.copy(top), first.copy(below));
    QCOMPARE(first, second);
    const QRgb highlight = list.palette().color(QPalette::Highlight).rgb();
    for (int y = 0; y < first.height(); ++y) {
        for (int x = 0; x < first.width(); ++x) {
            QVERIFY(first.pixel(x, y) != highlight);
        }
    }
    QCOMPARE(top.height(), 16);
}

void WidgetsTest::theListScrollsToTheCurrentLineWithoutAScrollBar() {
    TxListBox list;
    list.resize(233, 235);
    for (int i = 1; i <= 40; ++i) {
        list.addItem(QStringLiteral("%1.WORD").arg(i));
    }
    list.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list));
    list.setCurrentRow(39);
    QVERIFY(!list.verticalScrollBar()->isVisible());
    QVERIFY(list.viewport()->rect().contains(list.visualItemRect(list.item(39))));
    list.SetVertScrollBar(true);
    QTRY_VERIFY(list.verticalScrollBar()->isVisible());
}

void WidgetsTest::aPictureIsDrawnFromItsCornerAndCutNotScaled() {
    QImage source(686, 392, QImage::Format_RGB32);
    for (int y = 0; y < source.height(); ++y) {
        for (int x = 0; x < source.width(); ++x) {
            source.setPixel(x, y, qRgb(x % 256, y % 256, (x * y) % 256));
        }
    }
    TImage image;
    image.resize(685, 391);
    image.SetPicture(QPixmap::fromImage(source));
    const QImage shown = image.grab().toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(shown, source.copy(0, 0, 685, 391));
}

void WidgetsTest::keyPreviewSeesEachKeyOnce() {
    QWidget form;
    auto* edit = new QLineEdit(&form);
    int seen = 0;
    new TKeyPreview(&form, [&seen](QKeyEvent* key) {
        seen += key->key() == Qt::Key_F8 ? 1 : 0;
        if (key->key() == Qt::Key_X) {
            key->accept(); // the window takes X: the edit never sees it
        }
    });
    // The edit ignores F8, so the key travels on to the form: still one sighting.
    QTest::keyClick(edit, Qt::Key_F8);
    QCOMPARE(seen, 1);
    QTest::keyClick(&form, Qt::Key_F8);
    QCOMPARE(seen, 2);
    QTest::keyClick(edit, Qt::Key_F8, Qt::ShiftModifier);
    QCOMPARE(seen, 3);
    QTest::keyClicks(edit, "axb");
    QCOMPARE(edit->text(), QStringLiteral("ab"));
}

QTEST_MAIN(WidgetsTest)
#include "WidgetsTest.moc"
