// A game on the main window, driven through its handlers with a fake clock so
// that no test waits for real time. The bonus store is empty, so nothing reseeds
// the random source, which starts each test at 0: every game deals the first
// board of a fresh process:
//
//     A O A F P
//     A G K U T
//     T D A I QU
//     E I T R F
//     E I A G D

#include "UiFixture.h"
#include "app/TfrmMain.h"
#include "dialogs/TfrmBadWord.h"
#include "dialogs/TfrmSameWord.h"
#include "platform/widgets/TImage.h"
#include "platform/widgets/TLabel.h"
#include "ui_TfrmMain.h"

#include <QTimer>
#include <QtTest>

namespace {

using Played = std::vector<std::pair<std::string, bool>>;
using Cells = std::vector<std::pair<int, int>>;

// Ten dice in reading order, then QU and its neighbours.
const Cells FirstRows = {{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0},
                         {0, 1}, {1, 1}, {2, 1}, {3, 1}, {4, 1}};
const Cells Toad = {{0, 2}, {1, 0}, {0, 0}, {1, 2}};      // T O A D
const Cells ToadAgain = {{4, 1}, {1, 0}, {2, 0}, {4, 4}}; // the same word from other dice
const Cells Quit = {{4, 2}, {3, 2}, {4, 1}};              // QU I T

const std::vector<std::string> Dictionary = {
    "a",        "ao",        "aoa",        "aoaf", "aoafp", "aoafpa", "aoafpag",
    "aoafpagk", "aoafpagku", "aoafpagkut", "toad", "quit",  "qua"};

struct TGame {
    TTestProgram Program{Dictionary, {}};
    std::unique_ptr<TfrmMain> Form;

    TGame() {
        Program.Sound.Device = true;
        Form = std::make_unique<TfrmMain>(Program.Services());
    }
    Ui::TfrmMain& Ui() { return Form->Form(); }

    void NewGame() {
        QTest::mouseClick(Ui().cmdNewGame, Qt::LeftButton);
        Program.Sound.Played.clear();
    }
    void Pick(const Cells& cells) {
        for (const auto& [col, row] : cells) {
            bool canSelect = true;
            Form->GridSelectCell(col, row, canSelect);
        }
    }
    void Add() { QTest::mouseClick(Ui().cmdAddWord, Qt::LeftButton); }
    void Tick(double afterSeconds) {
        Program.Clock.AdvanceSeconds(afterSeconds);
        Form->TimerTickTimer();
    }
    QString Time() { return Ui().lblTime->text(); }
    QStringList Lines() {
        QStringList lines;
        for (int i = 0; i < Ui().WordList->count(); ++i) {
            lines.push_back(Ui().WordList->item(i)->text());
        }
        return lines;
    }
    int HighScoreWindows() {
        return static_cast<int>(std::count(Program.Modal.DialogsShown.begin(),
                                           Program.Modal.DialogsShown.end(), "TfrmHighScores"));
    }
};

bool Shows(TImageButton* button, TImage* source) {
    return button->Picture().toImage() == source->Picture().toImage();
}

} // namespace

class GameTest : public QObject {
    Q_OBJECT

private slots:
    void aNewGameDealsAndStartsTheClock();
    void theClockCountsDownAndTheFirstTickBelowZeroEndsTheGameOnce();
    void theEndedClockBlinksAndNewGameComesBackAfterTheTable();
    void aPauseOfAnyLengthGivesTheTimeBack();
    void aPauseBeforeTheFirstTickKeepsTheWholeGame();
    void aWallClockStepInTheMiddleOfAGameChangesNothing();
    void diceArePickedInAnyOrderAndNeverTwice();
    void backSpaceTakesTheLastPickBack();
    void addWordOnAnEmptyWordAddsNothing();
    void wordsScoreByLength_data();
    void wordsScoreByLength();
    void theTenthWordIsListedAsTen();
    void aDuplicateIsRefusedWhateverItsCaseOrDice();
    void aWordNotInTheDictionaryOpensItsNotice();
    void pauseDoesNothingOnceTheGameIsOver();
    void aGameThatEndsUnderANoticeStaysEnded();
    void aDictionaryThatFailsDuringPlayDoesNotEndTheGame();
};

void GameTest::aNewGameDealsAndStartsTheClock() {
    TGame game;
    QCOMPARE(game.Time(), QStringLiteral("0:00"));
    QTest::mouseClick(game.Ui().cmdNewGame, Qt::LeftButton);
    QCOMPARE(game.Program.Sound.Played, (Played{{"NEWGAME", true}}));
    QCOMPARE(game.Form->State().Faces[4][2], QStringLiteral("QU"));
    QVERIFY(game.Ui().cmdNewGame->isHidden());
    QVERIFY(!game.Ui().cmdPause->isHidden());
    QVERIFY(Shows(game.Ui().cmdPause, game.Ui().ImagePause));
    QVERIFY(game.Ui().Grid->isEnabled());
    QVERIFY(!game.Ui().cmdAddWord->isEnabled());
    QVERIFY(game.Ui().WordList->isEnabled());
    QVERIFY(game.Form->ClockRunning());
    QVERIFY(!game.Form->ClockBlinking());
    QCOMPARE(game.Form->State().BonusCol, -1);     // no bonus round yet
    QCOMPARE(game.Time(), QStringLiteral("0:00")); // until the first tick
    const QList<QTimer*> timers = game.Form->findChildren<QTimer*>();
    QCOMPARE(timers.size(), 2); // the clock's and the blinking's
    for (const QTimer* timer : timers) {
        QCOMPARE(timer->interval(), 250);
    }
}

void GameTest::theClockCountsDownAndTheFirstTickBelowZeroEndsTheGameOnce() {
    TGame game;
    game.NewGame();
    game.Tick(0.25);
    QCOMPARE(game.Time(), QStringLiteral("02:52"));
    game.Tick(60);
    QCOMPARE(game.Time(), QStringLiteral("01:52"));
    game.Tick(172.8 - 60.25 - 0.6); // 0.6 s left
    QCOMPARE(game.Time(), QStringLiteral("00:00"));
    QVERIFY(game.Form->ClockRunning());
    QCOMPARE(game.HighScoreWindows(), 0);
    game.Tick(0.6001);
    QVERIFY(!game.Form->ClockRunning());
    QVERIFY(game.Form->ClockBlinking());
    QCOMPARE(game.HighScoreWindows(), 1);
    QCOMPARE(game.Time(), QStringLiteral("00:00"));
    QVERIFY(!game.Ui().Grid->isEnabled());
    QVERIFY(!game.Ui().cmdAddWord->isEnabled());
    QCOMPARE(game.Program.Sound.Played.front(), (std::pair<std::string, bool>{"GAMEOVER", true}));
}

void GameTest::theEndedClockBlinksAndNewGameComesBackAfterTheTable() {
    TGame game;
    game.NewGame();
    bool newGameHiddenBehindTable = false;
    game.Program.Modal.OnDialog = [&](QDialog& dialog) {
        if (dialog.objectName() == "TfrmHighScores") {
            newGameHiddenBehindTable = game.Ui().cmdNewGame->isHidden();
        }
    };
    game.Tick(173);
    QVERIFY(newGameHiddenBehindTable);
    QVERIFY(!game.Ui().cmdNewGame->isHidden());
    QVERIFY(!game.Ui().cmdPause->isHidden()); // Pause stays where it was
    for (int blink = 1; blink <= 4; ++blink) {
        game.Form->TimerDoneTimer();
        QCOMPARE(game.Form->State().BlinkCount, blink);
        QCOMPARE(game.Time(), QStringLiteral("00:00"));
        QCOMPARE(game.Ui().lblTime->isVisibleTo(game.Form.get()), blink % 2 == 1);
    }
    game.NewGame();
    QVERIFY(!game.Form->ClockBlinking());
}

void GameTest::aPauseOfAnyLengthGivesTheTimeBack() {
    TGame game;
    game.NewGame();
    game.Pick({{0, 2}, {1, 0}});
    game.Tick(10.25);
    QCOMPARE(game.Time(), QStringLiteral("02:42"));
    game.Program.Clock.AdvanceSeconds(0.2); // part of a tick, given back by the pause
    QTest::mouseClick(game.Ui().cmdPause, Qt::LeftButton);
    QVERIFY(game.Form->State().Paused);
    QVERIFY(Shows(game.Ui().cmdPause, game.Ui().ImageContinue));
    QVERIFY(!game.Ui().Grid->isEnabled());
    QVERIFY(!game.Ui().cmdAddWord->isEnabled());
    QVERIFY(!game.Form->ClockRunning());

    game.Program.Clock.AdvanceSeconds(3600);
    QTest::mouseClick(game.Ui().cmdPause, Qt::LeftButton);
    QVERIFY(!game.Form->State().Paused);
    QVERIFY(Shows(game.Ui().cmdPause, game.Ui().ImagePause));
    QVERIFY(game.Form->ClockRunning());
    QVERIFY(game.Ui().Grid->isEnabled());
    QVERIFY(game.Ui().cmdAddWord->isEnabled());
    game.Tick(0);
    QCOMPARE(game.Time(), QStringLiteral("02:42"));
    QCOMPARE(game.Form->State().CurrentWord, QStringLiteral("TO"));
    QCOMPARE(game.Ui().NewWord->text(), QStringLiteral("TO"));
    QVERIFY(game.Form->State().UsedRecs[0][2] && game.Form->State().UsedRecs[1][0]);
    QCOMPARE(game.Program.Sound.Played,
             (Played{{"CLICK", true}, {"CLICK", true}, {"CLICK", true}, {"CLICK", true}}));
}

void GameTest::aPauseBeforeTheFirstTickKeepsTheWholeGame() {
    TGame game;
    game.NewGame();
    QTest::mouseClick(game.Ui().cmdPause, Qt::LeftButton);
    game.Program.Clock.AdvanceSeconds(5);
    QTest::mouseClick(game.Ui().cmdPause, Qt::LeftButton);
    game.Tick(0.25);
    QCOMPARE(game.Time(), QStringLiteral("02:52"));
    QVERIFY(game.Form->ClockRunning());
    QCOMPARE(game.HighScoreWindows(), 0);
}

void GameTest::aWallClockStepInTheMiddleOfAGameChangesNothing() {
    TGame game;
    game.NewGame();
    game.Tick(10.25);
    QCOMPARE(game.Time(), QStringLiteral("02:42"));
    game.Program.Clock.StepWallClock(3600); // forward an hour
    game.Tick(0.25);
    QCOMPARE(game.Time(), QStringLiteral("02:42"));
    game.Program.Clock.StepWallClock(-7200); // and back two
    game.Tick(1);
    QCOMPARE(game.Time(), QStringLiteral("02:41"));
    QCOMPARE(game.HighScoreWindows(), 0);
    game.Tick(172.8 - 11.5); // the deadline itself
    QCOMPARE(game.Time(), QStringLiteral("00:00"));
    QCOMPARE(game.HighScoreWindows(), 0);
    game.Tick(0.01);
    QCOMPARE(game.HighScoreWindows(), 1);
}

void GameTest::diceArePickedInAnyOrderAndNeverTwice() {
    TGame game;
    game.NewGame();
    game.Pick({{0, 0}, {4, 4}}); // opposite corners
    QCOMPARE(game.Form->State().CurrentWord, QStringLiteral("AD"));
    QVERIFY(game.Ui().cmdAddWord->isEnabled() && game.Ui().cmdBackSpace->isEnabled());
    QCOMPARE(game.Form->State().RecentRecs[1].Col, 0);
    QCOMPARE(game.Form->State().RecentRecs[2].Col, 4);
    QCOMPARE(game.Form->State().RecentRecs[3].Col, -1);

    // Drag from K across U and T, then back over U: four new dice, in order.
    TDrawGrid* grid = game.Ui().Grid;
    const auto at = [grid](int col, int row) { return grid->CellRect(col, row).center(); };
    game.Program.Sound.Played.clear();
    QMouseEvent press(QEvent::MouseButtonPress, at(2, 1), grid->mapToGlobal(at(2, 1)),
                      Qt::LeftButton, Qt::LeftButton, {});
    QCoreApplication::sendEvent(grid, &press);
    for (const auto& [col, row] : Cells{{3, 1}, {4, 1}, {3, 1}, {3, 2}}) {
        QMouseEvent move(QEvent::MouseMove, at(col, row), grid->mapToGlobal(at(col, row)),
                         Qt::NoButton, Qt::LeftButton, {});
        QCoreApplication::sendEvent(grid, &move);
    }
    QCOMPARE(game.Form->State().CurrentWord, QStringLiteral("ADKUTI"));
    QCOMPARE(game.Program.Sound.Played.size(), 4u); // nothing for dragging back over U
    QCOMPARE(game.Form->State().RecentRecs[6].Col, 3);
    QCOMPARE(game.Form->State().RecentRecs[6].Row, 2);
}

void GameTest::backSpaceTakesTheLastPickBack() {
    TGame game;
    game.NewGame();
    game.Pick({{0, 0}, {4, 2}});
    QCOMPARE(game.Form->State().CurrentWord, QStringLiteral("AQU"));
    QTest::mouseClick(game.Ui().cmdBackSpace, Qt::LeftButton);
    QCOMPARE(game.Form->State().CurrentWord, QStringLiteral("A")); // both letters of QU
    QVERIFY(!game.Form->State().UsedRecs[4][2]);
    QCOMPARE(game.Form->State().RecentRecs[2].Col, -1);
    QVERIFY(game.Ui().cmdBackSpace->isEnabled());
    QTest::mouseClick(game.Ui().cmdBackSpace, Qt::LeftButton);
    QCOMPARE(game.Form->State().CurrentWord, QString());
    QVERIFY(!game.Ui().cmdBackSpace->isEnabled());
    QVERIFY(!game.Ui().cmdAddWord->isEnabled());
    QVERIFY(game.Ui().Grid->isEnabled());

    // On an empty word it only switches the word buttons off.
    game.Form->SetButtons(true, true);
    game.Program.Sound.Played.clear();
    game.Form->cmdBackSpaceClick();
    QCOMPARE(game.Program.Sound.Played, (Played{{"CLICK", true}}));
    QVERIFY(!game.Ui().cmdAddWord->isEnabled());
    QCOMPARE(game.Form->State().CurrentWord, QString());
}

void GameTest::addWordOnAnEmptyWordAddsNothing() {
    TGame game;
    game.NewGame();
    QTest::mouseClick(game.Ui().cmdPause, Qt::LeftButton);
    QTest::mouseClick(game.Ui().cmdPause, Qt::LeftButton);
    QVERIFY(game.Ui().cmdAddWord->isEnabled()); // a resume enables it, word or not
    game.Add();
    QCOMPARE(game.Lines(), QStringList());
    QCOMPARE(game.Form->State().Score, 0);
    QVERIFY(!game.Ui().cmdAddWord->isEnabled());
    QVERIFY(game.Program.Modal.DialogsShown.empty());
}

void GameTest::wordsScoreByLength_data() {
    QTest::addColumn<int>("dice");
    QTest::addColumn<int>("points");
    const std::pair<int, int> table[] = {{1, 0}, {2, 1}, {3, 1},  {4, 2},  {5, 3},
                                         {6, 6}, {7, 8}, {8, 10}, {10, 10}};
    for (const auto& [dice, points] : table) {
        QTest::newRow(qPrintable(QStringLiteral("%1 letters").arg(dice))) << dice << points;
    }
}

void GameTest::wordsScoreByLength() {
    QFETCH(int, dice);
    QFETCH(int, points);
    TGame game;
    game.NewGame();
    game.Pick(Cells(FirstRows.begin(), FirstRows.begin() + dice));
    game.Add();
    QCOMPARE(game.Form->State().Score, points);
    QCOMPARE(game.Ui().ScoreBox->text(), QString::number(points));
    QCOMPARE(game.Lines().size(), 1);
    QCOMPARE(game.Program.Sound.Played.back(), (std::pair<std::string, bool>{"ADDWORD", true}));
    // Every die is back and the word is gone.
    QCOMPARE(game.Form->State().CurrentWord, QString());
    QCOMPARE(game.Ui().NewWord->text(), QString());
    QVERIFY(!game.Form->State().UsedRecs[0][0]);
    QVERIFY(game.Ui().Grid->isEnabled());
    QVERIFY(!game.Ui().cmdAddWord->isEnabled());
}

void GameTest::theTenthWordIsListedAsTen() {
    TGame game;
    game.NewGame();
    for (int dice = 1; dice <= 10; ++dice) {
        game.Pick(Cells(FirstRows.begin(), FirstRows.begin() + dice));
        game.Add();
    }
    QCOMPARE(game.Lines().size(), 10);
    QCOMPARE(game.Lines().first(), QStringLiteral("1.A"));
    QCOMPARE(game.Lines().last(), QStringLiteral("10.AOAFPAGKUT"));
    QCOMPARE(game.Ui().WordList->currentRow(), 9);
    QCOMPARE(game.Form->State().Score, 0 + 1 + 1 + 2 + 3 + 6 + 8 + 10 + 10 + 10);

    // QU counts as two letters: QUIT has four.
    game.Pick(Quit);
    game.Add();
    QCOMPARE(game.Lines().last(), QStringLiteral("11.QUIT"));
    QCOMPARE(game.Form->State().Score, 51 + 2);
}

void GameTest::aDuplicateIsRefusedWhateverItsCaseOrDice() {
    TGame game;
    game.NewGame();
    game.Pick(Toad);
    game.Add();
    QCOMPARE(game.Form->State().Score, 2);
    game.Program.Sound.Played.clear();
    QString shownWord;
    game.Program.Modal.OnDialog = [&shownWord](QDialog& dialog) {
        if (auto* notice = qobject_cast<TfrmSameWord*>(&dialog)) {
            shownWord = notice->lblSameWord()->text();
        }
    };
    game.Pick(ToadAgain);
    game.Add();
    QCOMPARE(game.Program.Modal.DialogsShown, std::vector<QString>{"TfrmSameWord"});
    QCOMPARE(shownWord, QStringLiteral("TOAD"));
    QCOMPARE(game.Form->State().Score, 2);
    QCOMPARE(game.Lines(), QStringList{"1.TOAD"});
    // OOPS before the notice, OK (waited) as it closes.
    const Played tail(game.Program.Sound.Played.end() - 2, game.Program.Sound.Played.end());
    QCOMPARE(tail, (Played{{"OOPS", true}, {"OK", false}}));
    QVERIFY(game.Ui().Grid->isEnabled());

    QVERIFY(game.Form->FoundWords().Contains(QStringLiteral("toad")));
    QVERIFY(game.Form->FoundWords().Contains(QStringLiteral("Toad")));
    QVERIFY(!game.Form->FoundWords().Contains(QStringLiteral("TOADS")));
}

void GameTest::aWordNotInTheDictionaryOpensItsNotice() {
    TGame game;
    game.NewGame();
    QString shownWord;
    game.Program.Modal.OnDialog = [&shownWord](QDialog& dialog) {
        if (auto* notice = qobject_cast<TfrmBadWord*>(&dialog)) {
            shownWord = notice->lblBadWord()->text();
        }
    };
    game.Pick({{1, 0}, {0, 0}}); // OA
    game.Add();
    QCOMPARE(game.Program.Modal.DialogsShown, std::vector<QString>{"TfrmBadWord"});
    QCOMPARE(shownWord, QStringLiteral("OA"));
    QCOMPARE(game.Form->State().Score, 0);
    QCOMPARE(game.Lines(), QStringList());
    const Played tail(game.Program.Sound.Played.end() - 2, game.Program.Sound.Played.end());
    QCOMPARE(tail, (Played{{"OOPS", true}, {"CLICK", true}}));
    QVERIFY(game.Ui().Grid->isEnabled());
}

void GameTest::pauseDoesNothingOnceTheGameIsOver() {
    TGame game;
    game.NewGame();
    game.Tick(173);
    QCOMPARE(game.HighScoreWindows(), 1);
    game.Program.Sound.Played.clear();
    QTest::mouseClick(game.Ui().cmdPause, Qt::LeftButton);
    QTest::mouseClick(game.Ui().cmdPause, Qt::LeftButton);
    QVERIFY(!game.Form->State().Paused);
    QVERIFY(!game.Form->ClockRunning());
    QVERIFY(!game.Ui().Grid->isEnabled());
    QVERIFY(game.Program.Sound.Played.empty());
    QCOMPARE(game.HighScoreWindows(), 1); // the score is never offered twice
}

void GameTest::aGameThatEndsUnderANoticeStaysEnded() {
    TGame game;
    game.NewGame();
    game.Program.Modal.OnDialog = [&game](QDialog& dialog) {
        if (qobject_cast<TfrmBadWord*>(&dialog) != nullptr) {
            game.Tick(173); // the clock runs down behind the notice
        }
    };
    game.Pick({{1, 0}, {0, 0}});
    game.Add();
    QCOMPARE(game.Program.Modal.DialogsShown,
             (std::vector<QString>{"TfrmBadWord", "TfrmHighScores"}));
    QVERIFY(!game.Ui().Grid->isEnabled());
    QVERIFY(!game.Ui().cmdAddWord->isEnabled());
    QVERIFY(!game.Ui().cmdBackSpace->isEnabled());
    QVERIFY(!game.Ui().cmdNewGame->isHidden());
}

void GameTest::aDictionaryThatFailsDuringPlayDoesNotEndTheGame() {
    TGame game;
    game.NewGame();
    TruncateFile(game.Program.File("Dict.dat"), 0); // the word records are gone
    game.Pick(Toad);
    game.Add();
    QCOMPARE(game.Program.Modal.Warnings, QStringList{"Dictionary files are missing or corrupt!"});
    QCOMPARE(game.Program.Modal.DialogsShown, std::vector<QString>{"TfrmBadWord"});
    QCOMPARE(game.Form->State().Score, 0);
    QVERIFY(game.Ui().Grid->isEnabled());
    QVERIFY(game.Form->ClockRunning());
}

QTEST_MAIN(GameTest)
#include "GameTest.moc"
