// The bonus round's rules without a window, and how its points reach the game:
// picks fill the answer in order, the round ends at five picks or when its clock
// runs out, and only a guess that spells the word scores.

#include "game/BonusRound.h"

#include "game/GameState.h"

#include <gtest/gtest.h>

namespace {

constexpr TDateTime Noon = 45000.5;
constexpr double Second = 1.0 / 86400;

TBonusRound Round(const char* correct, const char* tangled) {
    TBonusRound round;
    round.CorrectWord = QString::fromLatin1(correct);
    round.TangledWord = QString::fromLatin1(tangled);
    round.Start(Noon);
    return round;
}

TEST(BonusRound, picksFillTheSlotsInOrderAndADieIsPickedOnce) {
    TBonusRound round = Round("tiger", "GERTI");
    EXPECT_TRUE(round.Pick(3));
    EXPECT_TRUE(round.Pick(4));
    EXPECT_FALSE(round.Pick(3)) << "a picked die cannot be picked again";
    EXPECT_EQ(round.Slot(0), "T");
    EXPECT_EQ(round.Slot(1), "I");
    EXPECT_EQ(round.Slot(2), TBonusRound::EmptySlot);
    EXPECT_FALSE(round.Tick(Noon + 10 * Second).Up);
    EXPECT_TRUE(round.Tick(Noon + 25.921 * Second).Up) << "the clock has run out";
    EXPECT_EQ(round.Judge(), 0);
    EXPECT_EQ(round.PlayerWord, "TI      ");
}

TEST(BonusRound, theFifthPickEndsTheRoundAndOnlyTheWordScores) {
    for (const auto& [order, points] :
         {std::pair{std::array{3, 4, 0, 1, 2}, 20}, std::pair{std::array{3, 4, 0, 2, 1}, 0}}) {
        TBonusRound round = Round("Tiger", "GERTI"); // any case
        for (const int die : order) {
            EXPECT_FALSE(round.Tick(Noon + Second).Up);
            round.Pick(die);
        }
        EXPECT_TRUE(round.Tick(Noon + Second).Up) << "five picks end the round";
        EXPECT_EQ(round.Judge(), points) << round.PlayerWord.toStdString();
        EXPECT_EQ(round.RoundPoints, points);
    }
}

TEST(BonusRound, theRoundsPointsJoinTheScoreOnceAndTheDieIsSpent) {
    TGameState game;
    game.StartClock(Noon);
    game.ScoreWord(QStringLiteral("TOAD"));
    game.HideBonusDie(1, 2, QStringLiteral("tiger"), QStringLiteral("GERTI"));
    EXPECT_TRUE(game.IsBonusDie(1, 2));
    game.RecordBonusPoints(20); // a round of an earlier game
    game.BeginBonusRound();
    game.EndBonusRound(); // this round ended without points
    EXPECT_EQ(game.Score, 2);
    EXPECT_FALSE(game.IsBonusDie(1, 2));

    game.HideBonusDie(0, 0, QStringLiteral("tiger"), QStringLiteral("GERTI"));
    game.BeginBonusRound();
    game.RecordBonusPoints(20);
    game.EndBonusRound();
    EXPECT_EQ(game.Score, 22);
}

} // namespace
