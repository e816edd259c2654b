// The bonus round window and its result, with a fake clock: picking the tangled
// dice, the round's clock and its end, the judging, and that the player cannot
// dismiss the round.

#include "UiFixture.h"
#include "app/TfrmMain.h"
#include "bonus/TfrmBonus.h"
#include "bonus/TfrmBonusDone.h"
#include "game/GameClock.h"
#include "game/GameState.h"
#include "platform/widgets/TDrawGrid.h"
#include "platform/widgets/TLabel.h"
#include "ui_TfrmBonus.h"
#include "ui_TfrmBonusDone.h"
#include "ui_TfrmMain.h"

#include <QAccessible>
#include <QMouseEvent>
#include <QTimer>
#include <QtTest>

namespace {

using Played = std::vector<std::pair<std::string, bool>>;

QPoint DieCentre(int col) {
    return {col * 47 + 23, 23};
}

void Send(QWidget* grid, QEvent::Type type, int col, Qt::MouseButtons held) {
    QMouseEvent event(type, DieCentre(col), grid->mapToGlobal(DieCentre(col)), Qt::LeftButton, held,
                      Qt::NoModifier);
    QApplication::sendEvent(grid, &event);
}

// A round on its own, as the main window opens it.
struct TRound {
    TTestProgram Program;
    TGameState Game;
    TGameClock GameClock{Program.Clock};
    QPointer<TfrmBonus> Bonus;
    QStringList Result; // correct word, guess, points line, seen while the result is open

    TRound(const QString& correct, const QString& tangled) {
        Program.WithSoundDevice();
        Game.RecordBonusPoints(-1);
        Bonus = new TfrmBonus(Game, GameClock, Program.Modal);
        Bonus->Round.CorrectWord = correct;
        Bonus->Round.TangledWord = tangled;
        Program.Modal.OnDialog = [this](QDialog& dialog) {
            auto* done = qobject_cast<TfrmBonusDone*>(&dialog);
            QVERIFY(done != nullptr);
            Result =
                QStringList{done->Form().lblCorrectWord->text(), done->Form().lblPlayerWord->text(),
                            done->Form().lblBonusPoints->text()};
        };
        Bonus->show();
    }
    // A round left running must not tick on after its clock is gone.
    ~TRound() { delete Bonus; }
    Ui::TfrmBonus& Ui() { return Bonus->Form(); }
    TDrawGrid* Grid() { return Ui().BonusGrid; }
    void Click(int col) {
        QTest::mouseClick(Grid(), Qt::LeftButton, Qt::NoModifier, DieCentre(col));
    }
    // Press on the first die and sweep over the others with the button held.
    void Sweep(const std::vector<int>& cols) {
        Send(Grid(), QEvent::MouseButtonPress, cols.front(), Qt::LeftButton);
        for (std::size_t i = 1; i < cols.size(); ++i) {
            Send(Grid(), QEvent::MouseMove, cols[i], Qt::LeftButton);
        }
        Send(Grid(), QEvent::MouseButtonRelease, cols.back(), Qt::NoButton);
    }
    void Tick(double afterSeconds) {
        Program.Clock.AdvanceSeconds(afterSeconds);
        Bonus->TimerTickTimer();
    }
    QString Slots() {
        QString filled;
        for (TLabel* slot : {Ui().BonusLetter1, Ui().BonusLetter2, Ui().BonusLetter3,
                             Ui().BonusLetter4, Ui().BonusLetter5}) {
            filled += slot->text();
        }
        return filled;
    }
};

// A game on the main window whose bonus store holds the given words. The fake
// clock reads 12:00:00.000 UTC first and moves on a millisecond per reading, so
// the first game's bonus die is (1, 2), its word "apple" tangled as "PPLEA", on
// the board
//
//     Z I I B C
//     O O O O W
//     A I U R X
//     R A B O M
//     L N A L U
struct TBonusGame {
    TTestProgram Program;
    std::unique_ptr<TfrmMain> Form;

    explicit TBonusGame(const std::vector<std::string>& bonusWords = {"apple", "tiger"})
        : Program({"cat", "room"}, bonusWords) {
        Program.WithSoundDevice();
        Form = std::make_unique<TfrmMain>(Program.Services());
        QTest::mouseClick(Form->Form().cmdNewGame, Qt::LeftButton);
        Program.Sound.Played.clear();
    }
    const TGameState& State() { return Form->State(); }
    TDrawGrid* Grid() { return Form->Form().Grid; }
    void Click(int col, int row) {
        QTest::mouseClick(Grid(), Qt::LeftButton, Qt::NoModifier,
                          QPoint(col * 47 + 23, row * 47 + 23));
    }
    void ClickBonusDie() { Click(State().BonusCol, State().BonusRow); }
    void Tick(double afterSeconds) {
        Program.Clock.AdvanceSeconds(afterSeconds);
        Form->TimerTickTimer();
    }
    QString Time() { return Form->Form().lblTime->text(); }
    int BonusRounds() {
        return static_cast<int>(std::count(Program.Modal.DialogsShown.begin(),
                                           Program.Modal.DialogsShown.end(), "TfrmBonus"));
    }
    // Plays the round that opens: solved or not, then 26 s pass and it ends.
    void PlayRoundsAs(bool solve) {
        Program.Modal.OnDialog = [this, solve](QDialog& dialog) {
            auto* bonus = qobject_cast<TfrmBonus*>(&dialog);
            if (bonus == nullptr) {
                return; // the result: closed as the player would
            }
            QString left = bonus->Round.TangledWord;
            for (const QChar letter : bonus->Round.CorrectWord.toUpper()) {
                const qsizetype col = left.indexOf(letter);
                const QPoint centre(static_cast<int>(col) * 47 + 23, 23);
                if (solve) {
                    QTest::mouseClick(bonus->Form().BonusGrid, Qt::LeftButton, {}, centre);
                }
                left[col] = QChar('-');
            }
            Program.Clock.AdvanceSeconds(26);
            bonus->TimerTickTimer();
        };
    }
};

} // namespace

class BonusTest : public QObject {
    Q_OBJECT

private slots:
    void theGuessIsJudgedOnItsFiveSlots_data();
    void theGuessIsJudgedOnItsFiveSlots();
    void aPickedDieVanishesAndCannotBePickedAgain();
    void theFifthPickEndsTheRoundAtTheNextTick();
    void theRoundsClockRunsOutAfter25_92Seconds();
    void theZeroTimeBlinksWhileTheResultIsOpen();
    void theRoundCannotBeDismissedBeforeItEnds();
    void assistiveTechnologyReadsTheDiceAndPicksThemByAPress();

    void aNewGameHidesABonusDieDrawnFromTheClock_data();
    void aNewGameHidesABonusDieDrawnFromTheClock();
    void theBonusDieOpensTheRoundInsteadOfAddingItsLetter_data();
    void theBonusDieOpensTheRoundInsteadOfAddingItsLetter();
    void theSpentDieIsOrdinaryAndThereIsNoSecondRound();
    void anAccessiblePressOnTheBonusDieAnswersBeforeTheRoundOpens();
    void noStaleBonusPointsAreAdded();
    void aDamagedBonusStoreWarnsOnceAndTheGamesGoOnWithoutABonusDie();
};

void BonusTest::theGuessIsJudgedOnItsFiveSlots_data() {
    QTest::addColumn<QString>("correct");
    QTest::addColumn<QString>("tangled");
    QTest::addColumn<QList<int>>("picks");
    QTest::addColumn<bool>("swept");
    QTest::addColumn<QString>("guess");
    QTest::addColumn<int>("points");
    QTest::newRow("solved") << "tiger"
                            << "GERTI" << QList<int>{3, 4, 0, 1, 2} << false << "TIGER" << 20;
    QTest::newRow("solved by a sweep")
        << "tiger"
        << "GERTI" << QList<int>{3, 4, 0, 1, 2} << true << "TIGER" << 20;
    QTest::newRow("no pick") << "tiger"
                             << "GERTI" << QList<int>{} << false << "          " << 0;
    QTest::newRow("three picks") << "tiger"
                                 << "GERTI" << QList<int>{3, 4, 0} << false << "TIG    " << 0;
    QTest::newRow("wrong order") << "tiger"
                                 << "GERTI" << QList<int>{0, 1, 2, 3, 4} << false << "GERTI" << 0;
    QTest::newRow("repeated letter, first P first")
        << "apple"
        << "PLEAP" << QList<int>{3, 0, 4, 1, 2} << false << "APPLE" << 20;
    QTest::newRow("repeated letter, second P first")
        << "apple"
        << "PLEAP" << QList<int>{3, 4, 0, 1, 2} << false << "APPLE" << 20;
    QTest::newRow("scramble equal to the word")
        << "Crane"
        << "CRANE" << QList<int>{0, 1, 2, 3, 4} << false << "CRANE" << 20;
    QTest::newRow("longer stored word")
        << "planets"
        << "PLANE" << QList<int>{0, 1, 2, 3, 4} << false << "PLANE" << 0;
}

void BonusTest::theGuessIsJudgedOnItsFiveSlots() {
    QFETCH(QString, correct);
    QFETCH(QString, tangled);
    QFETCH(QList<int>, picks);
    QFETCH(bool, swept);
    QFETCH(QString, guess);
    QFETCH(int, points);
    TRound round(correct, tangled);
    QCOMPARE(round.Slots(), QStringLiteral("          "));
    if (swept) {
        round.Sweep({picks.begin(), picks.end()});
    } else {
        for (int col : picks) {
            round.Click(col);
        }
    }
    round.Tick(picks.size() == 5 ? 0.25 : 26.0);
    QCOMPARE(round.Result, (QStringList{correct.toUpper(), guess,
                                        QStringLiteral("Bonus Points : %1").arg(points)}));
    QCOMPARE(round.Bonus->Round.PlayerWord.toUpper(), guess);
    QCOMPARE(round.Game.BonusPoints, points);
    Played sounds{{"LOADING", false}};
    sounds.insert(sounds.end(), static_cast<std::size_t>(picks.size()), {"CLICK", true});
    sounds.emplace_back(points == 20 ? "ADDWORD" : "OOPS", true);
    sounds.emplace_back("CLICK", true); // the result dialog closing
    QCOMPARE(round.Program.Sound.Played, sounds);
    QTRY_VERIFY2(round.Bonus == nullptr, "the window closes itself and is destroyed");
}

void BonusTest::aPickedDieVanishesAndCannotBePickedAgain() {
    TRound round("tiger", "GERTI");
    round.Program.Sound.Played.clear();
    round.Click(1);
    round.Click(1);
    QCOMPARE(round.Slots(), QStringLiteral("E        "));
    QCOMPARE(round.Program.Sound.Played, (Played{{"CLICK", true}}));
    const QImage dice = round.Grid()->grab().toImage();
    QCOMPARE(dice.pixelColor(DieCentre(1)), QColor(Qt::white));
    QVERIFY2(dice.pixelColor(5, 5) != QColor(Qt::white), "an unpicked die is drawn");
}

void BonusTest::theFifthPickEndsTheRoundAtTheNextTick() {
    TRound round("tiger", "GERTI");
    for (int col : {3, 4, 0, 1, 2}) {
        round.Click(col);
    }
    QVERIFY(round.Program.Modal.DialogsShown.empty());
    QVERIFY(round.Bonus->TimerTick->isActive());
    round.Tick(0.25);
    QCOMPARE(round.Program.Modal.DialogsShown, std::vector<QString>{"TfrmBonusDone"});
    QCOMPARE(round.Game.BonusPoints, 20);
}

void BonusTest::theRoundsClockRunsOutAfter25_92Seconds() {
    TRound round("tiger", "GERTI");
    QCOMPARE(round.Ui().lblTime->text(), QStringLiteral("0:00"));
    QVERIFY(round.Bonus->TimerTick->isActive());
    QVERIFY(!round.Bonus->TimerDone->isActive());
    round.Tick(0.25);
    QCOMPARE(round.Ui().lblTime->text(), QStringLiteral("00:25"));
    round.Program.Clock.StepWallClock(3600); // the system clock is set: the round runs on
    round.Tick(24.7);
    QCOMPARE(round.Ui().lblTime->text(), QStringLiteral("00:00"));
    round.Tick(0.969); // 25.919 s
    QVERIFY(round.Program.Modal.DialogsShown.empty());
    round.Tick(0.002); // 25.921 s
    QCOMPARE(round.Program.Modal.DialogsShown, std::vector<QString>{"TfrmBonusDone"});
    QCOMPARE(round.Game.BonusPoints, 0);
}

void BonusTest::theZeroTimeBlinksWhileTheResultIsOpen() {
    TRound round("tiger", "GERTI");
    QList<bool> shown;
    round.Program.Modal.OnDialog = [&](QDialog&) {
        QVERIFY(!round.Bonus->TimerTick->isActive());
        QVERIFY(round.Bonus->TimerDone->isActive());
        for (int tick = 0; tick < 3; ++tick) {
            round.Bonus->TimerDoneTimer(); // its timer fires inside the result's loop
            QCOMPARE(round.Ui().lblTime->text(), QStringLiteral("00:00"));
            shown.push_back(round.Ui().lblTime->isVisible());
        }
    };
    round.Tick(30);
    QCOMPARE(shown, (QList<bool>{true, false, true}));
}

void BonusTest::theRoundCannotBeDismissedBeforeItEnds() {
    TRound round("tiger", "GERTI");
    QTest::keyClick(round.Bonus, Qt::Key_Escape);
    QTest::keyClick(round.Bonus, Qt::Key_Return);
    QVERIFY2(!round.Bonus->close(), "a window manager's close request (Alt+F4) is refused");
    QVERIFY(round.Bonus->isVisible());
    QCOMPARE(round.Game.BonusPoints, -1);
    round.Tick(30);
    QTRY_VERIFY(round.Bonus == nullptr);
    QCOMPARE(round.Game.BonusPoints, 0);
}

void BonusTest::aNewGameHidesABonusDieDrawnFromTheClock_data() {
    QTest::addColumn<QStringList>("bonusWords");
    QTest::addColumn<int>("col");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("tangled");
    QTest::addColumn<QString>("firstRow");
    QTest::newRow("two words") << QStringList{"apple", "tiger"} << 1 << 2 << "apple"
                               << "PPLEA"
                               << "Z I I B C";
    // Card and word drawn, no scramble: the board follows the word's draw.
    QTest::newRow("a word too short") << QStringList{"cat"} << -1 << -1 << ""
                                      << ""
                                      << "A E D E D";
    // Nothing drawn: the board of a fresh random source.
    QTest::newRow("no words") << QStringList{} << -1 << -1 << ""
                              << ""
                              << "A O A F P";
}

void BonusTest::aNewGameHidesABonusDieDrawnFromTheClock() {
    QFETCH(QStringList, bonusWords);
    QFETCH(int, col);
    QFETCH(int, row);
    QFETCH(QString, word);
    QFETCH(QString, tangled);
    QFETCH(QString, firstRow);
    std::vector<std::string> words;
    for (const QString& w : bonusWords) {
        words.push_back(w.toStdString());
    }
    TBonusGame game(words);
    QCOMPARE(game.State().BonusCol, col);
    QCOMPARE(game.State().BonusRow, row);
    QCOMPARE(game.State().BonusWord, word);
    QCOMPARE(game.State().TangledWord, tangled);
    QStringList faces;
    for (int c = 0; c < BoardSize; ++c) {
        faces.push_back(game.State().Faces[c][0]);
    }
    QCOMPARE(faces.join(' '), firstRow);
    QVERIFY(game.Program.Modal.Warnings.isEmpty());
}

void BonusTest::theBonusDieOpensTheRoundInsteadOfAddingItsLetter_data() {
    QTest::addColumn<bool>("solve");
    QTest::addColumn<int>("points");
    QTest::newRow("solved") << true << 20;
    QTest::newRow("failed") << false << 0;
}

void BonusTest::theBonusDieOpensTheRoundInsteadOfAddingItsLetter() {
    QFETCH(bool, solve);
    QFETCH(int, points);
    TBonusGame game;
    game.Tick(10.25);
    QCOMPARE(game.Time(), QStringLiteral("02:42"));
    for (const QPoint die : {QPoint(0, 3), QPoint(0, 1), QPoint(1, 1), QPoint(4, 3)}) {
        game.Click(die.x(), die.y()); // ROOM, 2 points
    }
    game.Form->cmdAddWordClick();
    const int before = game.State().Score;
    QCOMPARE(before, 2);
    game.Click(0, 0);
    game.Click(4, 4); // a word in progress: "ZU"
    QCOMPARE(game.State().CurrentWord, QStringLiteral("ZU"));
    game.Program.Sound.Played.clear();
    game.PlayRoundsAs(solve);

    game.ClickBonusDie();

    QCOMPARE(game.BonusRounds(), 1);
    QCOMPARE(game.State().Score, before + points);
    QCOMPARE(game.Form->Form().ScoreBox->text(), QString::number(before + points));
    QCOMPARE(game.State().CurrentWord, QString());
    QCOMPARE(game.Form->Form().NewWord->text(), QString());
    QCOMPARE(game.State().PickCount(), 0);
    QVERIFY2(!game.State().UsedRecs[0][0] && !game.State().UsedRecs[4][4], "the dice come back");
    QCOMPARE(QPoint(game.Grid()->Col(), game.Grid()->Row()), QPoint(4, 4)); // the pick refused
    QCOMPARE(QPoint(game.State().BonusCol, game.State().BonusRow), QPoint(-1, -1));
    // The clock lost nothing to the 26 s round and runs again.
    QVERIFY(!game.State().Paused);
    QVERIFY(game.Form->ClockRunning());
    QVERIFY(game.Grid()->isEnabled());
    QCOMPARE(game.Time(), QStringLiteral("02:42"));
    game.Tick(0);
    QCOMPARE(game.Time(), QStringLiteral("02:42"));
    Played sounds{{"CLICK", true}, {"CLICK", true}, {"LOADING", false}}; // pick, pause, round
    sounds.insert(sounds.end(), solve ? 5 : 0, {"CLICK", true});
    sounds.emplace_back(solve ? "ADDWORD" : "OOPS", true);
    sounds.emplace_back("CLICK", true); // the result closes
    sounds.emplace_back("CLICK", true); // the game resumes
    QCOMPARE(game.Program.Sound.Played, sounds);
}

void BonusTest::theSpentDieIsOrdinaryAndThereIsNoSecondRound() {
    TBonusGame game;
    game.PlayRoundsAs(false);
    game.Click(1, 2);
    QCOMPARE(game.BonusRounds(), 1);
    game.Click(1, 2);
    QCOMPARE(game.BonusRounds(), 1);
    QCOMPARE(game.State().CurrentWord, QStringLiteral("I"));
    QVERIFY(game.State().UsedRecs[1][2]);

    game.Form->cmdNewGameClick(); // the next game hides a die of its own
    QVERIFY(game.State().BonusCol != -1);
    game.ClickBonusDie();
    QCOMPARE(game.BonusRounds(), 2);
}

void BonusTest::anAccessiblePressOnTheBonusDieAnswersBeforeTheRoundOpens() {
    TBonusGame game;
    game.Form->show();
    game.PlayRoundsAs(false);
    QAccessibleInterface* die = QAccessible::queryAccessibleInterface(game.Grid())
                                    ->tableInterface()
                                    ->cellAt(game.State().BonusRow, game.State().BonusCol);
    die->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QCOMPARE(game.BonusRounds(), 0); // the call has its answer, the round is still to come
    QCoreApplication::processEvents();
    QCOMPARE(game.BonusRounds(), 1);
}

void BonusTest::noStaleBonusPointsAreAdded() {
    TBonusGame game;
    game.PlayRoundsAs(true);
    game.ClickBonusDie();
    game.Form->cmdNewGameClick();
    QCOMPARE(game.State().BonusPoints, 20); // left from the round of the game before
    QPointer<QDialog> unfinished;
    game.Program.Modal.OnDialog = [&](QDialog& dialog) { unfinished = &dialog; };
    game.ClickBonusDie(); // its loop ends before the round has written its points
    QCOMPARE(game.State().Score, 0);
    QCOMPARE(game.Form->Form().ScoreBox->text(), QStringLiteral("0"));
    delete unfinished;
}

void BonusTest::aDamagedBonusStoreWarnsOnceAndTheGamesGoOnWithoutABonusDie() {
    TBonusGame game;
    TruncateFile(game.Program.File("Bonus.dat"), 0); // under the running game
    for (int games = 0; games < 2; ++games) {
        game.Form->cmdNewGameClick();
        QCOMPARE(QPoint(game.State().BonusCol, game.State().BonusRow), QPoint(-1, -1));
        QVERIFY(game.Form->ClockRunning());
        QVERIFY(game.Grid()->isEnabled());
    }
    QCOMPARE(game.Program.Modal.Warnings,
             QStringList{QStringLiteral("Dictionary files are missing or corrupt!")});
    QCOMPARE(game.Program.Terminations, 0);
}

void BonusTest::assistiveTechnologyReadsTheDiceAndPicksThemByAPress() {
    TRound round("tiger", "GERTI");
    QAccessibleTableInterface* dice =
        QAccessible::queryAccessibleInterface(round.Grid())->tableInterface();
    QVERIFY(dice != nullptr);
    QCOMPARE(dice->rowCount(), 1);
    QStringList letters;
    for (int col = 0; col < dice->columnCount(); ++col) {
        letters.push_back(dice->cellAt(0, col)->text(QAccessible::Name));
    }
    QCOMPARE(letters, (QStringList{"G", "E", "R", "T", "I"}));

    QAccessibleInterface* t = dice->cellAt(0, 3);
    t->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QCoreApplication::processEvents();
    QCOMPARE(round.Slots(), QStringLiteral("T        "));
    QCOMPARE(round.Program.Sound.Played, (Played{{"LOADING", false}, {"CLICK", true}}));
    QVERIFY(t->state().checked);
    QCOMPARE(t->text(QAccessible::Name), QStringLiteral("T"));
}

QTEST_MAIN(BonusTest)
#include "BonusTest.moc"
