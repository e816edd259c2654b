// The main window on two screens, one at scale 1 and one scaled by 2 (as Qt
// scales a high-density screen), and moved between them: at scale 1 every pixel
// is what it has always been; at scale 2 pictures and dice are drawn at the
// screen's full resolution, not blown up, in the same logical layout. On both,
// the board drawn once per paint equals the board drawn for every cell.

#include "UiFixture.h"
#include "app/TfrmMain.h"
#include "bonus/TfrmBonus.h"
#include "game/GameClock.h"
#include "game/GameState.h"
#include "platform/widgets/TDrawGrid.h"
#include "platform/widgets/TImage.h"
#include "ui_TfrmBonus.h"
#include "ui_TfrmMain.h"

#include <QScreen>
#include <QTemporaryDir>
#include <QWindow>
#include <QtTest>

namespace {

// To "ordinary" at scale 1 or "dense" at scale 2 (set up in main).
void MoveWindowToScreen(QWidget& window, const QString& name) {
    window.winId();
    for (QScreen* screen : QGuiApplication::screens()) {
        if (screen->name() == name) {
            window.windowHandle()->setScreen(screen);
        }
    }
    QCoreApplication::processEvents();
}

// The main window of a fresh process with its first board dealt.
struct TDealtMain {
    TTestProgram Program;
    TfrmMain Form{Program.Services()};

    TDealtMain() { Form.FillTheGrid(); }
    void MoveToScreen(const QString& name) { MoveWindowToScreen(Form, name); }
    QImage Grab() { return Form.grab().toImage().convertToFormat(QImage::Format_RGB32); }
};

// 2 x 2 pixel blocks of a picture drawn at scale 2 whose pixels are not all
// alike: a picture blown up from scale 1 has none.
int MixedBlocks(const QImage& image, const QRect& logical) {
    int mixed = 0;
    for (int y = 2 * logical.top(); y < 2 * (logical.bottom() + 1); y += 2) {
        for (int x = 2 * logical.left(); x < 2 * (logical.right() + 1); x += 2) {
            const QRgb corner = image.pixel(x, y);
            if (image.pixel(x + 1, y) != corner || image.pixel(x, y + 1) != corner ||
                image.pixel(x + 1, y + 1) != corner) {
                ++mixed;
            }
        }
    }
    return mixed;
}

// The main window with the first board of a fresh process, as drawn at scale 1
// before there were pictures for high-density screens.
QImage ReferenceAtScaleOne() {
    return QImage(QStringLiteral(LEXI_REFERENCE_DIR "/TfrmMain-first-board.png"))
        .convertToFormat(QImage::Format_RGB32);
}

} // namespace

class ScreensTest : public QObject {
    Q_OBJECT

private slots:
    void atScaleOneTheWindowIsDrawnAsItAlwaysWas_data();
    void atScaleOneTheWindowIsDrawnAsItAlwaysWas();
    void atScaleTwoTheLayoutStaysInLogicalPixels();
    void atScaleTwoDiceAndPicturesAreNotBlownUp_data();
    void atScaleTwoDiceAndPicturesAreNotBlownUp();
    void atScaleTwoTheBonusDiceAreNotBlownUp();
    void theBoardDrawnOncePerPaintEqualsTheBoardDrawnPerCell_data();
    void theBoardDrawnOncePerPaintEqualsTheBoardDrawnPerCell();
};

void ScreensTest::atScaleOneTheWindowIsDrawnAsItAlwaysWas_data() {
    QTest::addColumn<bool>("visitScaleTwo");
    QTest::newRow("shown at scale 1") << false;
    QTest::newRow("moved back from scale 2") << true;
}

void ScreensTest::atScaleOneTheWindowIsDrawnAsItAlwaysWas() {
    QFETCH(bool, visitScaleTwo);
    TDealtMain main;
    main.MoveToScreen("ordinary");
    if (visitScaleTwo) {
        main.MoveToScreen("dense");
        QCOMPARE(main.Form.devicePixelRatioF(), 2.0);
        main.Grab();
        main.MoveToScreen("ordinary");
    }
    QCOMPARE(main.Form.devicePixelRatioF(), 1.0);
    const QImage reference = ReferenceAtScaleOne();
    QVERIFY(!reference.isNull());
    QCOMPARE(main.Grab(), reference);
}

void ScreensTest::atScaleTwoTheLayoutStaysInLogicalPixels() {
    TDealtMain main;
    main.MoveToScreen("dense");
    const Ui::TfrmMain& ui = main.Form.Form();
    QCOMPARE(main.Form.size(), QSize(685, 391));
    QCOMPARE(ui.Grid->geometry(), QRect(29, 75, 238, 236));
    QCOMPARE(ui.Grid->CellRect(4, 4), QRect(188, 188, 47, 47));
    QCOMPARE(ui.cmdNewGame->geometry(), QRect(552, 50, 105, 38));
    QCOMPARE(ui.cmdNewGame->Picture().deviceIndependentSize(), QSizeF(105, 38));
    QCOMPARE(main.Grab().size(), QSize(1370, 782));
}

void ScreensTest::atScaleTwoDiceAndPicturesAreNotBlownUp_data() {
    QTest::addColumn<QRect>("area");
    QTest::addColumn<int>("atLeast");
    // A third or more of the blocks of a die or a button lie on an edge or a letter.
    QTest::newRow("die (0, 0)") << QRect(29, 75, 47, 47) << 47 * 47 / 3;
    QTest::newRow("die (4, 2) with QU") << QRect(29 + 4 * 47, 75 + 2 * 47, 47, 47) << 47 * 47 / 3;
    QTest::newRow("New Game button") << QRect(552, 50, 105, 38) << 105 * 38 / 3;
    QTest::newRow("mascot of the background") << QRect(580, 330, 60, 50) << 60 * 50 / 3;
}

void ScreensTest::atScaleTwoDiceAndPicturesAreNotBlownUp() {
    QFETCH(QRect, area);
    QFETCH(int, atLeast);
    TDealtMain main;
    main.MoveToScreen("dense");
    const int mixed = MixedBlocks(main.Grab(), area);
    QVERIFY2(
        mixed >= atLeast,
        qPrintable(
            QStringLiteral("%1 of %2 blocks mixed").arg(mixed).arg(area.width() * area.height())));
}

void ScreensTest::atScaleTwoTheBonusDiceAreNotBlownUp() {
    TTestProgram program;
    TGameState game;
    const TGameClock gameClock(program.Clock);
    TfrmBonus bonus(game, gameClock, program.Modal);
    bonus.Round.TangledWord = QStringLiteral("RTIGE");
    MoveWindowToScreen(bonus, "dense");
    TDrawGrid* grid = bonus.Form().BonusGrid;
    QCOMPARE(grid->devicePixelRatioF(), 2.0);
    const QImage dice = grid->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(dice.size(), QSize(476, 100));
    const int mixed = MixedBlocks(dice, QRect(0, 0, 5 * 47, 47));
    QVERIFY2(mixed >= 5 * 47 * 47 / 3, qPrintable(QStringLiteral("%1 blocks mixed").arg(mixed)));
}

void ScreensTest::theBoardDrawnOncePerPaintEqualsTheBoardDrawnPerCell_data() {
    QTest::addColumn<QString>("screen");
    QTest::newRow("scale 1") << QStringLiteral("ordinary");
    QTest::newRow("scale 2") << QStringLiteral("dense");
}

void ScreensTest::theBoardDrawnOncePerPaintEqualsTheBoardDrawnPerCell() {
    QFETCH(QString, screen);
    TDealtMain once;
    TDealtMain perCell;
    QVERIFY(once.Form.Form().Grid->DrawCellPaintsAll);
    perCell.Form.Form().Grid->DrawCellPaintsAll = false;
    QImage boards[2];
    for (TDealtMain* main : {&once, &perCell}) {
        main->MoveToScreen(screen);
        for (const QPoint die : {QPoint(1, 2), QPoint(4, 0)}) {
            bool canSelect = true;
            main->Form.GridSelectCell(die.x(), die.y(), canSelect);
        }
        boards[main == &once ? 0 : 1] =
            main->Form.Form().Grid->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }
    QCOMPARE(once.Form.State().Faces, perCell.Form.State().Faces);
    // The paint drew the used dice blank over the dealt board; the "QU" die stays.
    const qreal scale = boards[0].devicePixelRatio();
    QCOMPARE(scale, screen == QStringLiteral("dense") ? 2.0 : 1.0);
    const auto Cell = [&](int col, int row) {
        const QRect cell = once.Form.Form().Grid->CellRect(col, row);
        return boards[0].copy(QRect(cell.topLeft() * scale, cell.size() * scale));
    };
    QImage blank = Cell(1, 2);
    blank.fill(Qt::white);
    QCOMPARE(Cell(1, 2), blank);
    QCOMPARE(Cell(4, 0), blank);
    QVERIFY(Cell(4, 2) != blank);
    QCOMPARE(boards[0], boards[1]);
}

// Two offscreen screens side by side, the second scaled by 2.
int main(int argc, char** argv) {
    QTemporaryDir config;
    const QString screens = config.filePath(QStringLiteral("screens.json"));
    QFile file(screens);
    if (!file.open(QIODevice::WriteOnly) || file.write(R"({"screens": [
            {"name": "ordinary", "x": 0, "y": 0, "width": 1920, "height": 1080, "logicalDpi": 96},
            {"name": "dense", "x": 1920, "y": 0, "width": 3840, "height": 2160, "logicalDpi": 96}
        ]})") < 0) {
        return 1;
    }
    file.close();
    qputenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + screens).toLocal8Bit());
    qputenv("QT_SCREEN_SCALE_FACTORS", "ordinary=1;dense=2");
    QApplication app(argc, argv);
    ScreensTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "ScreensTest.moc"
