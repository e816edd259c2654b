#pragma once

#include "Countdown.h"
#include "platform/Clock.h"

#include <QString>
#include <array>
#include <cstdint>
#include <functional>

class TRandomSource;

constexpr int BoardSize = 5; // columns and rows
// One game lasts 0.002 of a day: 172.8 seconds.
constexpr double GameLength = 0.002;
constexpr int MaxPicks = BoardSize * BoardSize;

// A pick of the board: (column, row); (-1, -1) holds no pick.
struct TCell {
    std::int32_t Col = -1;
    std::int32_t Row = -1;
};

using TFaces = std::array<std::array<QString, BoardSize>, BoardSize>; // [column][row]

// One game: the board, the word being built, the score and the clock. The window
// that shows the game owns one, reads its fields and changes them only through
// the rules below; the bonus round records its points through it.
struct TGameState {
    // Kept in the order the game's first version kept them.
    bool FillingGrid = false;
    std::int32_t BonusCol = 0;
    std::int32_t BonusRow = 0;
    QString BonusWord;
    QString TangledWord;
    QString CurrentWord;
    std::int32_t Score = 0;
    TFaces Faces;
    std::array<std::array<bool, BoardSize>, BoardSize> UsedRecs{};
    std::array<TCell, MaxPicks + 1> RecentRecs{}; // entries 1 to 25; entry 0 is not used
    TDateTime EndTime = 0;
    double TimeLeft = 0; // days
    std::int32_t BlinkCount = 0;
    bool Paused = false;
    std::int32_t BonusPoints = 0;

    // A deal begins: the board draws nothing until it ends.
    void BeginDeal() { FillingGrid = true; }
    void EndDeal() { FillingGrid = false; }
    // Deals 25 faces column by column, top to bottom, each cut to 2 characters.
    void DealFaces(const std::function<QString()>& newLetter);

    // Every pick record back to (-1, -1).
    void ClearRecentRecs();
    // Every die free, and no pick records.
    void ResetUsedRecs();
    // The number of dice in the word: the filled pick records from entry 1 on.
    int PickCount() const;

    // Adds a free die's face to the word and records the pick; a die already in
    // the word changes nothing and gives false.
    bool PickDie(int col, int row);
    // Gives the last picked die back and takes its face, one letter or "QU",
    // off the end of the word. Nothing to take back changes nothing.
    void TakeBackLastPick();
    bool IsBonusDie(int col, int row) const { return col == BonusCol && row == BonusRow; }
    // The word in progress is gone; its dice come back with ResetUsedRecs.
    void DropWord() { CurrentWord.clear(); }
    // An accepted word adds the points for its length, "QU" counting as two letters.
    void ScoreWord(const QString& word);

    // This game's hidden bonus die and the word of its round, as tangled.
    void HideBonusDie(std::int32_t col, std::int32_t row, const QString& word,
                      const QString& tangled);
    // No bonus die: before any game, after the round, or without bonus words.
    void ClearBonusDie();
    // The round opens with no points; it records the points it ends with.
    void BeginBonusRound() { BonusPoints = 0; }
    void RecordBonusPoints(std::int32_t points) { BonusPoints = points; }
    // The round's points join the score, and the bonus die is an ordinary die
    // for the rest of the game.
    void EndBonusRound();

    // A new game: no score, not paused, the clock full and running out at
    // now + GameLength.
    void StartClock(TDateTime now);
    // One tick of the game clock: the countdown, whose time left is kept for a pause.
    TCountdown Tick(TDateTime now);
    // Pause or resume; a resume sets the deadline from the time left at the
    // last tick, so a pause gives back the part of a tick that had passed.
    void TogglePause(TDateTime now);
    // The clock has run out: it blinks from now on, shown at the first blink.
    void StartBlinking() { BlinkCount = 0; }
    // One blink of the ended clock; gives whether the time shows.
    bool Blink() { return ::Blink(BlinkCount); }
};

// One face from the letter table, drawn without reseeding.
QString NewFace(TRandomSource& random);
