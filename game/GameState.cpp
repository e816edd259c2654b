#include "GameState.h"

#include "RandomSource.h"
#include "Scoring.h"
#include "globals.h"

void TGameState::DealFaces(const std::function<QString()>& newLetter) {
    for (auto& column : Faces) {
        for (QString& face : column) {
            face = newLetter().left(2);
        }
    }
}

void TGameState::ClearRecentRecs() {
    for (int pick = 1; pick <= MaxPicks; ++pick) {
        RecentRecs[pick] = TCell{};
    }
}

void TGameState::ResetUsedRecs() {
    for (auto& column : UsedRecs) {
        column.fill(false);
    }
    ClearRecentRecs();
}

int TGameState::PickCount() const {
    int picks = 0;
    while (picks < MaxPicks && RecentRecs[picks + 1].Col != -1) {
        ++picks;
    }
    return picks;
}

bool TGameState::PickDie(int col, int row) {
    if (UsedRecs[col][row]) {
        return false;
    }
    CurrentWord += Faces[col][row];
    UsedRecs[col][row] = true;
    RecentRecs[PickCount() + 1] = TCell{col, row};
    return true;
}

void TGameState::TakeBackLastPick() {
    const int picks = PickCount();
    if (picks == 0) {
        return;
    }
    TCell& last = RecentRecs[picks];
    UsedRecs[last.Col][last.Row] = false;
    CurrentWord.chop(Faces[last.Col][last.Row].size());
    last = TCell{};
}

void TGameState::ScoreWord(const QString& word) {
    Score += PointsForLength(static_cast<std::size_t>(word.size()));
}

void TGameState::HideBonusDie(std::int32_t col, std::int32_t row, const QString& word,
                              const QString& tangled) {
    BonusCol = col;
    BonusRow = row;
    BonusWord = word;
    TangledWord = tangled;
}

void TGameState::ClearBonusDie() {
    BonusCol = -1;
    BonusRow = -1;
}

void TGameState::EndBonusRound() {
    Score += BonusPoints;
    ClearBonusDie();
}

void TGameState::StartClock(TDateTime now) {
    Paused = false;
    Score = 0;
    EndTime = now + GameLength;
    // Full from the start: a pause before the first tick resumes with the whole game.
    TimeLeft = GameLength;
}

TCountdown TGameState::Tick(TDateTime now) {
    const TCountdown left = CountDown(EndTime, now);
    TimeLeft = left.TimeLeft;
    return left;
}

void TGameState::TogglePause(TDateTime now) {
    Paused = !Paused;
    if (!Paused) {
        EndTime = now + TimeLeft;
    }
}

QString NewFace(TRandomSource& random) {
    return QString::fromLatin1(LetterTable[random.Draw(LetterTableSize)]);
}
