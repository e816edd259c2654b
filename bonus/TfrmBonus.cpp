#include "TfrmBonus.h"

#include "DiePainter.h"
#include "TfrmBonusDone.h"
#include "game/AsciiCase.h"
#include "game/GameClock.h"
#include "game/GameState.h"
#include "media/Sound.h"
#include "platform/widgets/Modal.h"
#include "ui_TfrmBonus.h"

#include <QCloseEvent>
#include <QTimer>

TfrmBonus::TfrmBonus(TGameState& game, const TGameClock& clock, TModalRunner& modal, QWidget* owner)
    : TDesignedDialog(owner, 334, 405), game_(game), clock_(clock), modal_(modal) {
    // It stays on top of the other windows, and takes no keys of its own.
    setWindowFlag(Qt::WindowStaysOnTopHint, true);
    setAttribute(Qt::WA_DeleteOnClose);
    TimerTick = new QTimer(this);
    TimerDone = new QTimer(this);
    for (QTimer* timer : {TimerTick, TimerDone}) {
        timer->setInterval(250);
        timer->setTimerType(Qt::PreciseTimer);
    }
    connect(TimerTick, &QTimer::timeout, this, &TfrmBonus::TimerTickTimer);
    connect(TimerDone, &QTimer::timeout, this, &TfrmBonus::TimerDoneTimer);
    ConnectDice(*ui_->BonusGrid, this, &TfrmBonus::BonusGridDrawCell,
                &TfrmBonus::BonusGridSelectCell, &TfrmBonus::BonusGridDescribeCell);
}

TfrmBonus::~TfrmBonus() = default;

std::array<TLabel*, TBonusRound::Dice> TfrmBonus::BonusLetters() const {
    return {ui_->BonusLetter1, ui_->BonusLetter2, ui_->BonusLetter3, ui_->BonusLetter4,
            ui_->BonusLetter5};
}

void TfrmBonus::FormShow() {
    // The window shows, and its clock starts, only once the clip has ended.
    PlayWave("LOADING", false);
    for (TLabel* slot : BonusLetters()) {
        slot->SetCaption(TBonusRound::EmptySlot);
    }
    Round.Start(clock_.Now());
    TimerTick->start();
    TimerDone->stop();
}

void TfrmBonus::closeEvent(QCloseEvent* event) {
    if (!mayClose_) {
        event->ignore();
        return;
    }
    TDesignedDialog::closeEvent(event);
}

void TfrmBonus::SetBonusGridAttributes() {
    SetDieFaceAttributes(ui_->BonusGrid->Canvas());
}

void TfrmBonus::BonusGridDrawCell(int, int, const QRect&) {
    // Whatever cell the grid asks for, all five are painted.
    for (int col = 0; col < TBonusRound::Dice; ++col) {
        SetBonusGridAttributes();
        TCanvas& canvas = ui_->BonusGrid->Canvas();
        const QRect cell = ui_->BonusGrid->CellRect(col, 0);
        if (Round.LetterPicked[col]) {
            canvas.FillRect(cell, Qt::white); // a picked die vanishes
        } else {
            PaintDie(canvas, cell, ui_->DieImage->Picture(), Round.Letter(col));
        }
    }
}

TDrawGrid::TCellDescription TfrmBonus::BonusGridDescribeCell(int col, int) const {
    // Named by its letter even once picked and blank, as on the main board.
    const bool picked = Round.LetterPicked[col];
    return {Round.Letter(col), picked, picked ? QStringLiteral("in the word") : QString()};
}

void TfrmBonus::BonusGridSelectCell(int col, int, bool& canSelect) {
    // A picked letter cannot be taken back, and picking it again says nothing.
    if (Round.LetterPicked[col]) {
        canSelect = false;
        return;
    }
    PlayWave("CLICK", true);
    Round.Pick(col);
    const std::array<TLabel*, TBonusRound::Dice> answer = BonusLetters();
    for (int slot = 0; slot < TBonusRound::Dice; ++slot) {
        answer[slot]->SetCaption(Round.Slot(slot));
    }
}

void TfrmBonus::ShowTime(std::uint16_t minutes, std::uint16_t seconds) {
    ui_->lblTime->setVisible(true);
    ui_->lblTime->SetCaption(QString::fromStdString(ClockText(minutes, seconds)));
}

void TfrmBonus::TimerTickTimer() {
    const TCountdown left = Round.Tick(clock_.Now());
    if (!left.Up) {
        ShowTime(left.Minutes, left.Seconds);
        return;
    }
    // Time is up, or the fifth letter was picked since the last tick.
    ShowTime(0, 0);
    TimerTick->stop();
    TimerDone->start();
    Round.StartBlinking();
    FinishBonusRound();
}

void TfrmBonus::TimerDoneTimer() {
    const bool visible = Round.Blink();
    ShowTime(0, 0);
    ui_->lblTime->setVisible(visible);
}

void TfrmBonus::FinishBonusRound() {
    const std::int32_t points = Round.Judge();
    auto* result = new TfrmBonusDone(this);
    result->lblCorrectWord()->SetCaption(
        QString::fromStdString(AsciiUpper(Round.CorrectWord.toStdString())));
    result->lblPlayerWord()->SetCaption(
        QString::fromStdString(AsciiUpper(Round.PlayerWord.toStdString())));
    PlayWave(points > 0 ? "ADDWORD" : "OOPS", true);
    result->Points = points;
    modal_.ShowModal(*result);
    game_.RecordBonusPoints(points);
    TimerDone->stop(); // the blinking lasts as long as the result shows
    mayClose_ = true;
    close();
}
