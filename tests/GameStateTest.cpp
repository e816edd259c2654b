// The game's rules without a window: dealing, picking and taking back, scoring,
// the found words, and the game clock with its countdown.

#include "game/GameState.h"

#include "game/Countdown.h"
#include "game/FoundWords.h"
#include "game/RandomSource.h"

#include <QLocale>
#include <gtest/gtest.h>
#include <vector>

namespace {

// Five columns, each written top to bottom.
TFaces Board(const std::vector<std::vector<const char*>>& columns) {
    TFaces faces;
    for (int col = 0; col < BoardSize; ++col) {
        for (int row = 0; row < BoardSize; ++row) {
            faces[col][row] = QString::fromLatin1(columns[col][row]);
        }
    }
    return faces;
}

TEST(Dealing, facesComeFromTheRandomSourceColumnByColumn) {
    TGameState state;
    TRandomSource random;
    random.SetState(45296789); // a reseed at 12:34:56.789 UTC
    state.DealFaces([&random] { return NewFace(random); });
    EXPECT_EQ(state.Faces, Board({{"K", "E", "H", "A", "P"},
                                  {"K", "B", "L", "S", "A"},
                                  {"D", "X", "V", "Y", "V"},
                                  {"E", "D", "O", "E", "O"},
                                  {"U", "M", "E", "P", "O"}}));
}

TEST(Dealing, eachFaceKeepsAtMostTwoCharacters) {
    TGameState state;
    int next = 0;
    state.DealFaces([&next] { return QStringLiteral("QUX%1").arg(next++); });
    EXPECT_EQ(state.Faces[0][0], QStringLiteral("QU"));
    EXPECT_EQ(next, MaxPicks);
}

struct TPicking : testing::Test {
    TGameState state;
    void SetUp() override {
        state.Faces = Board({{"A", "A", "T", "E", "E"},
                             {"O", "G", "D", "I", "I"},
                             {"A", "K", "A", "T", "A"},
                             {"F", "U", "I", "R", "G"},
                             {"P", "T", "QU", "F", "D"}});
        state.ResetUsedRecs();
    }
};

TEST_F(TPicking, picksFillTheWordAndTheRecordsInOrder) {
    EXPECT_TRUE(state.PickDie(0, 2)); // T
    EXPECT_TRUE(state.PickDie(4, 2)); // QU, from the far side of the board
    EXPECT_TRUE(state.PickDie(3, 2)); // I
    EXPECT_FALSE(state.PickDie(4, 2)) << "a die already in the word";
    EXPECT_EQ(state.CurrentWord, QStringLiteral("TQUI"));
    EXPECT_EQ(state.PickCount(), 3);
    EXPECT_TRUE(state.UsedRecs[4][2]);
    EXPECT_EQ(state.RecentRecs[2].Col, 4);
    EXPECT_EQ(state.RecentRecs[2].Row, 2);
    EXPECT_EQ(state.RecentRecs[4].Col, -1);
}

TEST_F(TPicking, takingBackRemovesTheLastFaceWholeAndFreesItsDie) {
    state.PickDie(0, 0);
    state.PickDie(4, 2);
    state.TakeBackLastPick();
    EXPECT_EQ(state.CurrentWord, QStringLiteral("A")) << "both letters of QU";
    EXPECT_FALSE(state.UsedRecs[4][2]);
    EXPECT_EQ(state.RecentRecs[2].Col, -1);
    state.TakeBackLastPick();
    state.TakeBackLastPick(); // nothing left: nothing changes
    EXPECT_EQ(state.CurrentWord, QString());
    EXPECT_EQ(state.PickCount(), 0);
    EXPECT_TRUE(state.PickDie(4, 2)) << "the die can be picked again";
}

TEST_F(TPicking, aWordCanUseAllTwentyFiveDice) {
    for (int col = 0; col < BoardSize; ++col) {
        for (int row = 0; row < BoardSize; ++row) {
            ASSERT_TRUE(state.PickDie(col, row));
        }
    }
    EXPECT_EQ(state.PickCount(), MaxPicks);
    EXPECT_EQ(state.CurrentWord.size(), 26) << "25 dice, one of them QU";
    state.ResetUsedRecs();
    EXPECT_EQ(state.PickCount(), 0);
    EXPECT_FALSE(state.UsedRecs[4][4]);
}

TEST(Scoring, anAddedWordScoresByItsLengthWithQuAsTwoLetters) {
    TGameState state;
    const std::pair<const char*, int> words[] = {{"A", 0},     {"QU", 1},     {"QUIT", 2},
                                                 {"QUIET", 3}, {"SQUARE", 6}, {"ABCDEFGHIJ", 10}};
    int total = 0;
    for (const auto& [word, points] : words) {
        state.ScoreWord(QString::fromLatin1(word));
        total += points;
        EXPECT_EQ(state.Score, total) << word;
    }
}

TEST(FoundWords, linesAreNumberedFromOne) {
    TFoundWords found;
    EXPECT_EQ(found.Add(QStringLiteral("CAT")), QStringLiteral("1.CAT"));
    for (int n = 2; n <= 9; ++n) {
        found.Add(QStringLiteral("W%1").arg(n));
    }
    EXPECT_EQ(found.Add(QStringLiteral("WORD")), QStringLiteral("10.WORD"));
    EXPECT_EQ(found.Count(), 10);
    found.Clear();
    EXPECT_EQ(found.Count(), 0);
    EXPECT_FALSE(found.Contains(QStringLiteral("CAT")));
}

struct TDuplicateCase {
    const char* Locale;
    const char* Word;
    bool Found;
};

class FoundWordsAgainstTOADAndQUIET : public testing::TestWithParam<TDuplicateCase> {};

TEST_P(FoundWordsAgainstTOADAndQUIET, matchIgnoringCaseAsTheLocaleCompares) {
    const TDuplicateCase c = GetParam();
    QLocale::setDefault(QLocale(QString::fromLatin1(c.Locale)));
    TFoundWords found;
    found.Add(QStringLiteral("TOAD"));
    found.Add(QStringLiteral("QUIET"));
    EXPECT_EQ(found.Contains(QString::fromUtf8(c.Word)), c.Found);
    QLocale::setDefault(QLocale::c());
}

INSTANTIATE_TEST_SUITE_P(
    Locales, FoundWordsAgainstTOADAndQUIET,
    testing::Values(TDuplicateCase{"en_US", "toad", true}, TDuplicateCase{"en_US", "Quiet", true},
                    TDuplicateCase{"en_US", "TOADS", false}, TDuplicateCase{"en_US", "TOA", false},
                    TDuplicateCase{"de_DE", "TÖAD", false}, // an accent is another letter
                    TDuplicateCase{"tr_TR", "QUIET", true},
                    // Turkish pairs I with dotless ı, not with i.
                    TDuplicateCase{"tr_TR", "quiet", false}));

} // namespace
