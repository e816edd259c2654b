// The letter board on the main window: dealing from the random source, drawing
// faces and blank used dice, and the switch of board and word buttons.

#include "UiFixture.h"
#include "app/TfrmMain.h"
#include "game/globals.h"
#include "platform/widgets/TDrawGrid.h"
#include "platform/widgets/TImage.h"
#include "ui_TfrmMain.h"

#include <QtTest>

namespace {

QImage CellPicture(TfrmMain& form, int col, int row) {
    TDrawGrid* grid = form.Form().Grid;
    grid->repaint();
    return grid->grab(grid->CellRect(col, row)).toImage().convertToFormat(QImage::Format_RGB32);
}

bool AllWhite(const QImage& image) {
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) != qRgb(255, 255, 255)) {
                return false;
            }
        }
    }
    return true;
}

using Board = std::array<std::array<QString, 5>, 5>;

} // namespace

class BoardTest : public QObject {
    Q_OBJECT

private slots:
    void theProcessStartsWithRandomStateZero();
    void theFirstBoardOfAFreshProcessIsPinned();
    void usedDiceDrawBlankAndComeBackWithTheirFaces();
    void nothingIsDrawnWhileTheGridIsFilling();
    void setButtonsSwitchesButtonsAndBoard_data();
    void setButtonsSwitchesButtonsAndBoard();
    void aButtonAlreadyInItsStateIsLeftAlone();
};

void BoardTest::theProcessStartsWithRandomStateZero() {
    // Runs first: nothing in this process has drawn from the random source yet,
    // and start-up itself draws nothing.
    TTestProgram program;
    TfrmMain form(program.Services());
    QCOMPARE(ProgramRandom().State(), 0u);
}

void BoardTest::theFirstBoardOfAFreshProcessIsPinned() {
    TTestProgram program; // its random source at state 0, as a fresh process has
    TfrmMain form(program.Services());
    form.FillTheGrid();
    const Board expected{{
        {"A", "A", "T", "E", "E"},
        {"O", "G", "D", "I", "I"},
        {"A", "K", "A", "T", "A"},
        {"F", "U", "I", "R", "G"},
        {"P", "T", "QU", "F", "D"},
    }};
    QCOMPARE(form.State().Faces, expected);
    for (int pick = 1; pick <= 25; ++pick) {
        QCOMPARE(form.State().RecentRecs[pick].Col, -1);
        QCOMPARE(form.State().RecentRecs[pick].Row, -1);
    }
}

void BoardTest::usedDiceDrawBlankAndComeBackWithTheirFaces() {
    TTestProgram program({"cat"}, {}); // no bonus die
    TfrmMain form(program.Services());
    form.cmdNewGameClick();
    const Board faces = form.State().Faces;
    const QImage before = CellPicture(form, 1, 2);
    QVERIFY(!AllWhite(before));

    bool canSelect = true;
    form.GridSelectCell(1, 2, canSelect);
    QVERIFY(AllWhite(CellPicture(form, 1, 2)));
    QVERIFY2(!AllWhite(CellPicture(form, 1, 3)), "the die below stays");

    form.cmdBackSpaceClick();
    QCOMPARE(CellPicture(form, 1, 2), before);
    QCOMPARE(form.State().Faces, faces);
}

void BoardTest::nothingIsDrawnWhileTheGridIsFilling() {
    TTestProgram program({"cat"}, {});
    TfrmMain form(program.Services());
    TCanvas& canvas = form.Form().Grid->Canvas();
    const QRect die = form.Form().Grid->CellRect(0, 0);
    // New Game plays its clip at the end of the deal, while the grid is still filling.
    program.Sound.OnPlay = [&](const std::string& clip) {
        if (clip == "NEWGAME") {
            QVERIFY(form.State().FillingGrid);
            canvas.FillRect(die, Qt::magenta);
            QCOMPARE(CellPicture(form, 0, 0).pixel(23, 23), qRgb(255, 0, 255));
        }
    };
    form.cmdNewGameClick();
    QVERIFY(!form.State().FillingGrid);
    QVERIFY(CellPicture(form, 0, 0).pixel(23, 23) != qRgb(255, 0, 255));
}

void BoardTest::setButtonsSwitchesButtonsAndBoard_data() {
    QTest::addColumn<bool>("wordButtons");
    QTest::addColumn<bool>("board");
    QTest::newRow("new game: buttons off, board on") << false << true;
    QTest::newRow("a die is picked: both on") << true << true;
    QTest::newRow("pause or game over: both off") << false << false;
}

void BoardTest::setButtonsSwitchesButtonsAndBoard() {
    QFETCH(bool, wordButtons);
    QFETCH(bool, board);
    TTestProgram program;
    TfrmMain form(program.Services());
    auto& ui = form.Form();
    form.SetButtons(!wordButtons, !board);
    form.SetButtons(wordButtons, board);
    QCOMPARE(ui.cmdBackSpace->isEnabled(), wordButtons);
    QCOMPARE(ui.cmdAddWord->isEnabled(), wordButtons);
    QCOMPARE(ui.Grid->isEnabled(), board);
    const QPixmap& backSpace = (wordButtons ? ui.ImageBackSpace : ui.ImageNoBackSpace)->Picture();
    const QPixmap& addWord = (wordButtons ? ui.ImageAddWord : ui.ImageNoAddWord)->Picture();
    QCOMPARE(ui.cmdBackSpace->Picture().toImage(), backSpace.toImage());
    QCOMPARE(ui.cmdAddWord->Picture().toImage(), addWord.toImage());
}

void BoardTest::aButtonAlreadyInItsStateIsLeftAlone() {
    TTestProgram program;
    TfrmMain form(program.Services());
    auto& ui = form.Form();
    form.SetButtons(true, true);
    QPixmap marker(105, 38);
    marker.fill(Qt::magenta);
    ui.cmdAddWord->SetPicture(marker);
    form.SetButtons(true, false);
    QCOMPARE(ui.cmdAddWord->Picture().toImage(), marker.toImage());
}

QTEST_MAIN(BoardTest)
#include "BoardTest.moc"
