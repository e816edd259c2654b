// How long a pick takes to show: a left press on a die of a dealt board, sent
// through the grid's event path, until the board has been repainted. Runs on
// the offscreen platform at the scale factor QT_SCALE_FACTOR gives (make bench
// runs it at 1 and at 2). Reports the median and the 99th percentile, and the
// same for the whole board repainted when Back Space gives the die back. The
// argument once_per_paint 0 makes the grid raise the board's drawing for every
// cell a paint covers, as it did before it learnt to raise it once.

#include "Percentile.h"
#include "UiFixture.h"
#include "app/TfrmMain.h"
#include "platform/widgets/TDrawGrid.h"
#include "ui_TfrmMain.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QtTest>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <vector>

namespace {

// Counts the paints a widget receives.
class TPaintCounter : public QObject {
public:
    int Paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            ++Paints;
        }
        return false;
    }
};

// Lets the event loop run until the widget has been painted at least once
// more; a pick that never repaints ends the run instead of hanging it.
void WaitForPaint(TPaintCounter& counter, benchmark::State& state) {
    const int before = counter.Paints;
    QElapsedTimer waited;
    waited.start();
    while (counter.Paints == before) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        if (waited.elapsed() > 2000) {
            state.SkipWithError("the board was not repainted within 2 s of a pick");
            return;
        }
    }
}

void PickRepaint(benchmark::State& state) {
    TTestProgram program;
    TfrmMain form(program.Services());
    form.show();
    if (!QTest::qWaitForWindowExposed(&form)) {
        state.SkipWithError("the main window was not exposed");
        return;
    }
    form.cmdNewGameClick();
    TDrawGrid* grid = form.Form().Grid;
    grid->DrawCellPaintsAll = state.range(0) != 0;
    TPaintCounter counter;
    grid->installEventFilter(&counter);
    QCoreApplication::processEvents();

    std::vector<double> samples;
    std::vector<double> wholeBoard;
    int cell = 0;
    for (auto _ : state) {
        const QPoint centre = grid->CellRect(cell % 5, cell / 5).center();
        QElapsedTimer timer;
        timer.start();
        QTest::mousePress(grid, Qt::LeftButton, {}, centre);
        WaitForPaint(counter, state);
        const double seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
        state.SetIterationTime(seconds);
        samples.push_back(seconds * 1000);

        QTest::mouseRelease(grid, Qt::LeftButton, {}, centre);
        timer.restart();
        form.cmdBackSpaceClick(); // the die comes back for the next pick
        WaitForPaint(counter, state);
        wholeBoard.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
        cell = (cell + 7) % 25;
    }
    if (!samples.empty()) {
        state.counters["median_ms"] = Percentile(samples, 0.5);
        state.counters["p99_ms"] = Percentile(samples, 0.99);
        state.counters["board_median_ms"] = Percentile(wholeBoard, 0.5);
        state.counters["board_p99_ms"] = Percentile(wholeBoard, 0.99);
        state.counters["scale"] = grid->devicePixelRatioF();
    }
}
BENCHMARK(PickRepaint)
    ->ArgName("once_per_paint")
    ->Arg(0)
    ->Arg(1)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond)
    ->MinTime(2.0);

} // namespace
