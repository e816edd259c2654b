#include "BonusRound.h"

#include "AsciiCase.h"

void TBonusRound::Start(TDateTime now) {
    BonusEndTime = now + Length;
}

bool TBonusRound::Pick(int die) {
    if (LetterPicked[die] || picks_ == Dice) {
        return false;
    }
    LetterPicked[die] = true;
    pickedDice_[picks_++] = die;
    return true;
}

QString TBonusRound::Slot(int slot) const {
    return slot < picks_ ? Letter(pickedDice_[slot]) : EmptySlot;
}

TCountdown TBonusRound::Tick(TDateTime now) {
    TCountdown left = CountDown(BonusEndTime, now);
    BonusTimeLeft = left.TimeLeft;
    left.Up = left.Up || AllPicked();
    return left;
}

std::int32_t TBonusRound::Judge() {
    PlayerWord.clear();
    for (int slot = 0; slot < Dice; ++slot) {
        PlayerWord += Slot(slot);
    }
    const bool spelt =
        AsciiUpper(PlayerWord.toStdString()) == AsciiUpper(CorrectWord.toStdString());
    RoundPoints = spelt ? Points : 0;
    return RoundPoints;
}
