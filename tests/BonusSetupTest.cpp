#include "game/BonusSetup.h"

#include "game/GameState.h"
#include "game/RandomSource.h"
#include "platform/Clock.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

// UTC milliseconds read from a script, one per reading; past its end the
// millisecond moves on by one per reading, so a scramble always finishes.
class TScriptedClock : public TClock {
public:
    explicit TScriptedClock(std::vector<std::uint32_t> readings) : readings_(std::move(readings)) {}
    TDateTime Now() const override { return 45000.5; }
    std::int64_t SteadyNanoseconds() const override { return 0; }
    std::uint32_t MillisecondsSinceMidnightUtc() const override {
        last_ = Readings < readings_.size() ? readings_[Readings] : last_ + 1;
        ++Readings;
        return last_;
    }
    mutable std::size_t Readings = 0;

private:
    std::vector<std::uint32_t> readings_;
    mutable std::uint32_t last_ = 0;
};

const std::vector<std::string> Words = {"apple", "tiger", "Crane", "planets"};
constexpr std::uint32_t T = ((12 * 60 + 34) * 60 + 56) * 1000 + 789; // 12:34:56.789 UTC

std::vector<std::uint32_t> TwiceEach(std::uint32_t from, std::uint32_t step, int count) {
    std::vector<std::uint32_t> readings;
    for (int k = 0; k < count; ++k) {
        readings.insert(readings.end(), 2, from + static_cast<std::uint32_t>(k) * step);
    }
    return readings;
}

std::vector<std::uint32_t> Concat(std::vector<std::uint32_t> head,
                                  const std::vector<std::uint32_t>& tail) {
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
}

// The board the game deals from the source, row by row.
std::vector<std::string> DealRows(TRandomSource& random) {
    TGameState state;
    state.DealFaces([&] { return NewFace(random); });
    std::vector<std::string> rows(BoardSize);
    for (int row = 0; row < BoardSize; ++row) {
        for (int col = 0; col < BoardSize; ++col) {
            rows[row] += (col ? " " : "") + state.Faces[col][row].toStdString();
        }
    }
    return rows;
}

struct TSetUpCase {
    const char* Name;
    std::vector<std::uint32_t> Readings;
    TBonusCard Card;
    std::int32_t RecordNumber;
    std::string Tangled;
    std::size_t ClockReadings; // one per reseed
    std::vector<std::string> FirstBoard;
};

class BonusSetUp : public testing::TestWithParam<TSetUpCase> {};

TEST_P(BonusSetUp, drawsCardWordScrambleAndTheBoardThatFollowsExactly) {
    const TSetUpCase& c = GetParam();
    TScriptedClock clock(c.Readings);
    TRandomSource random;
    std::vector<std::int32_t> asked;
    const auto draw = DrawBonusRound(
        static_cast<std::int32_t>(Words.size()),
        [&](std::int32_t n) {
            asked.push_back(n);
            return Words[static_cast<std::size_t>(n)];
        },
        random, clock);
    ASSERT_TRUE(draw.has_value());
    EXPECT_EQ(draw->Card.Col, c.Card.Col);
    EXPECT_EQ(draw->Card.Row, c.Card.Row);
    EXPECT_EQ(asked, std::vector<std::int32_t>{c.RecordNumber});
    EXPECT_EQ(draw->Word, Words[static_cast<std::size_t>(c.RecordNumber)]);
    EXPECT_EQ(draw->Tangled, c.Tangled);
    EXPECT_EQ(clock.Readings, c.ClockReadings);
    EXPECT_EQ(DealRows(random), c.FirstBoard);
}

INSTANTIATE_TEST_SUITE_P(
    Scripted, BonusSetUp,
    testing::Values(
        // Card and word read in one millisecond: the die on the diagonal, the
        // word drawn from that same state; then one reading per millisecond.
        TSetUpCase{"cardInOneMillisecond",
                   {T, T, T},
                   {2, 2},
                   1,
                   "GERTI",
                   30,
                   {"O T A G D", "N E QU N B", "V E U C S", "K S E N D", "V R C T A"}},
        // Each scramble reading comes twice: the repeat redraws a refused value.
        // A stored word in mixed case is scrambled in upper case.
        TSetUpCase{"readingsThatRepeat",
                   Concat({T + 11, T + 5, T + 1}, TwiceEach(T + 100000, 997, 12)),
                   {4, 3},
                   2,
                   "RNAEC",
                   16,
                   {"E Y I W U", "O O E P I", "T Z E T O", "E D I I V", "QU Y R T K"}},
        // The scramble may be the word itself; a longer word gives its first five.
        TSetUpCase{"scrambleEqualToTheWord",
                   {T + 14},
                   {4, 4},
                   3,
                   "PLANE",
                   30,
                   {"W I N L C", "A M A C L", "A B I Y L", "T F Y L S", "E A B E E"}}),
    [](const testing::TestParamInfo<TSetUpCase>& info) { return info.param.Name; });

TEST(BonusSetUp, noWordsMeansNoRoundAndNoDraw) {
    TScriptedClock clock({T});
    TRandomSource random;
    const auto draw = DrawBonusRound(
        0, [](std::int32_t) -> std::string { throw std::logic_error("no word to read"); }, random,
        clock);
    EXPECT_FALSE(draw.has_value());
    EXPECT_EQ(clock.Readings, 0u);
    EXPECT_EQ(random.State(), 0u) << "the board is dealt as if there were no bonus store";
}

TEST(BonusSetUp, aWordShorterThanFiveLettersGivesNoRoundAndNeverWaits) {
    for (const std::string word : {"", "cat", "tige"}) {
        TScriptedClock clock({T, T, T}); // one millisecond for ever would hang a scramble
        TRandomSource random;
        const auto draw = DrawBonusRound(
            1, [&](std::int32_t) { return word; }, random, clock);
        EXPECT_FALSE(draw.has_value()) << word;
        EXPECT_EQ(clock.Readings, 3u) << "card, card and word; no scramble";
    }
}

} // namespace
