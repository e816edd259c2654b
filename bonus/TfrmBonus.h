#pragma once

#include "game/BonusRound.h"
#include "platform/widgets/TDialogForm.h"
#include "platform/widgets/TDrawGrid.h"

#include <QString>
#include <array>
#include <cstdint>

class QTimer;
class TGameClock;
class TModalRunner;
class TLabel;
struct TGameState;

namespace Ui {
class TfrmBonus;
}

// The bonus round's window: it shows the round (TBonusRound) and takes the
// player's picks to it. The window has no buttons and no keys; it closes itself
// once the result dialog has been closed, after recording the round's points in
// the game. Its clock is the game's. Destroyed when it closes.
class TfrmBonus : public TDesignedDialog<Ui::TfrmBonus> {
    Q_OBJECT

public:
    TfrmBonus(TGameState& game, const TGameClock& clock, TModalRunner& modal,
              QWidget* owner = nullptr);
    ~TfrmBonus() override;

    // The round shown; its words are set before the window is shown.
    TBonusRound Round;
    QTimer* TimerTick = nullptr;
    QTimer* TimerDone = nullptr;

    void BonusGridDrawCell(int col, int row, const QRect& rect);
    void BonusGridSelectCell(int col, int row, bool& canSelect);
    // What assistive technology hears of a die: its letter, and whether it is
    // already in the guess.
    TDrawGrid::TCellDescription BonusGridDescribeCell(int col, int row) const;
    void TimerTickTimer();
    void TimerDoneTimer();

protected:
    void FormShow() override;
    // The player cannot dismiss the round: a close request from the window
    // manager (Alt+F4) is refused until the round has written its points.
    void closeEvent(QCloseEvent* event) override;

private:
    void SetBonusGridAttributes();
    void ShowTime(std::uint16_t minutes, std::uint16_t seconds);
    void FinishBonusRound();
    std::array<TLabel*, TBonusRound::Dice> BonusLetters() const;

    TGameState& game_;
    const TGameClock& clock_;
    TModalRunner& modal_;
    bool mayClose_ = false;
};
