#pragma once

#include "Countdown.h"
#include "platform/Clock.h"

#include <QString>
#include <array>
#include <cstdint>

// The bonus round without its window: five dice carry the letters of a word in
// tangled order, and the player picks them in the order that spells it against
// a clock of 25.92 seconds. Each pick fills the next of five answer slots; a
// picked die cannot be taken back. The round is over when the clock runs out or
// the fifth die is picked; the guess then scores 20 points if it spells the
// word, else nothing.
class TBonusRound {
public:
    static constexpr int Dice = 5;
    // 0.0003 of a day.
    static constexpr double Length = 0.0003;
    static constexpr std::int32_t Points = 20;
    // How an answer slot reads while no letter is in it.
    static inline const QString EmptySlot = QStringLiteral("  ");

    // Set before the round starts; letter c of TangledWord belongs to die c.
    QString CorrectWord;
    QString TangledWord;

    std::array<bool, Dice> LetterPicked{};
    QString PlayerWord; // the five slots as they read when the round was judged
    std::int32_t RoundPoints = 0;
    TDateTime BonusEndTime = 0;
    double BonusTimeLeft = 0; // days
    std::int32_t DoneCount = 0;

    // The clock starts: the round runs out at now + Length.
    void Start(TDateTime now);
    // The letter die `die` carries.
    QString Letter(int die) const { return TangledWord.mid(die, 1); }
    // Puts the die's letter into the first empty slot; a die picked already
    // changes nothing and gives false.
    bool Pick(int die);
    // Slot `slot` (0 to 4): the letter picked into it, or EmptySlot.
    QString Slot(int slot) const;
    bool AllPicked() const { return picks_ == Dice; }
    // One tick of the round's clock: the countdown, Up once the clock has run
    // out or all five dice are picked.
    TCountdown Tick(TDateTime now);
    // Judges the guess: PlayerWord takes the five slots, and RoundPoints is
    // Points when they spell CorrectWord (ASCII letters in any case), else 0.
    std::int32_t Judge();
    // The round is over: its clock blinks from now on, shown at the first blink.
    void StartBlinking() { DoneCount = 0; }
    bool Blink() { return ::Blink(DoneCount); }

private:
    std::array<int, Dice> pickedDice_{}; // in the order picked
    int picks_ = 0;
};
