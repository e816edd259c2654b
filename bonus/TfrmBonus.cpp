#include "TfrmBonus.h"

#include "TfrmBonusDone.h"
#include "game/Countdown.h"
#include "game/GameClock.h"
#include "game/GameState.h"
#include "game/Scoring.h"
#include "media/Sound.h"
#include "platform/widgets/DiePainter.h"
#include "platform/widgets/Modal.h"
#include "ui_TfrmBonus.h"

#include <QCloseEvent>
#include <QTimer>
#include <algorithm>

namespace {

// An empty answer slot reads two spaces.
const QString EmptySlot = QStringLiteral("  ");
// The round lasts 0.0003 of a day: 25.92 seconds.
constexpr double BonusRoundLength = 0.0003;
constexpr std::int32_t BonusRoundPoints = 20;

} // namespace

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
    ui_->BonusGrid->OnDrawCell = [this](int col, int row, const QRect& rect) {
        BonusGridDrawCell(col, row, rect);
    };
    // BonusGridDrawCell draws the whole board whichever cell it is raised for: once a paint.
    ui_->BonusGrid->DrawCellPaintsAll = true;
    ui_->BonusGrid->OnSelectCell = [this](int col, int row, bool& canSelect) {
        BonusGridSelectCell(col, row, canSelect);
    };
    ui_->BonusGrid->OnDescribeCell = [this](int col, int row) {
        return BonusGridDescribeCell(col, row);
    };
}

TfrmBonus::~TfrmBonus() = default;

std::array<TLabel*, 5> TfrmBonus::BonusLetters() const {
    return {ui_->BonusLetter1, ui_->BonusLetter2, ui_->BonusLetter3, ui_->BonusLetter4,
            ui_->BonusLetter5};
}

void TfrmBonus::FormShow() {
    // The window shows, and its clock starts, only once the clip has ended.
    PlayWave("LOADING", false);
    for (TLabel* slot : BonusLetters()) {
        slot->SetCaption(EmptySlot);
    }
    BonusEndTime = clock_.Now() + BonusRoundLength;
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
    for (int col = 0; col < 5; ++col) {
        SetBonusGridAttributes();
        TCanvas& canvas = ui_->BonusGrid->Canvas();
        const QRect cell = ui_->BonusGrid->CellRect(col, 0);
        if (LetterPicked[col]) {
            canvas.FillRect(cell, Qt::white); // a picked die vanishes
        } else {
            PaintDie(canvas, cell, ui_->DieImage->Picture(), TangledWord.mid(col, 1));
        }
    }
}

TDrawGrid::TCellDescription TfrmBonus::BonusGridDescribeCell(int col, int) const {
    // Named by its letter even once picked and blank, as on the main board.
    const bool picked = LetterPicked[col];
    return {TangledWord.mid(col, 1), picked, picked ? QStringLiteral("in the word") : QString()};
}

void TfrmBonus::BonusGridSelectCell(int col, int, bool& canSelect) {
    // A picked letter cannot be taken back, and picking it again says nothing.
    if (LetterPicked[col]) {
        canSelect = false;
        return;
    }
    PlayWave("CLICK", true);
    LetterPicked[col] = true;
    for (TLabel* slot : BonusLetters()) {
        if (slot->text() == EmptySlot) {
            slot->SetCaption(TangledWord.mid(col, 1));
            break;
        }
    }
}

bool TfrmBonus::AllLettersPicked() const {
    return std::all_of(LetterPicked.begin(), LetterPicked.end(),
                       [](bool picked) { return picked; });
}

void TfrmBonus::ShowTime(std::uint16_t minutes, std::uint16_t seconds) {
    ui_->lblTime->setVisible(true);
    ui_->lblTime->SetCaption(QString::fromStdString(ClockText(minutes, seconds)));
}

void TfrmBonus::TimerTickTimer() {
    const TCountdown left = CountDown(BonusEndTime, clock_.Now());
    BonusTimeLeft = left.TimeLeft;
    if (!left.Up && !AllLettersPicked()) {
        ShowTime(left.Minutes, left.Seconds);
        return;
    }
    // Time is up, or the fifth letter was picked since the last tick.
    ShowTime(0, 0);
    TimerTick->stop();
    TimerDone->start();
    DoneCount = 0;
    FinishBonusRound();
}

void TfrmBonus::TimerDoneTimer() {
    ++DoneCount;
    ShowTime(0, 0);
    ui_->lblTime->setVisible(DoneCount % 2 == 1);
}

void TfrmBonus::FinishBonusRound() {
    PlayerWord.clear();
    for (const TLabel* slot : BonusLetters()) {
        PlayerWord += slot->text();
    }
    auto* result = new TfrmBonusDone();
    const QString correct = QString::fromStdString(AsciiUpper(CorrectWord.toStdString()));
    const QString guess = QString::fromStdString(AsciiUpper(PlayerWord.toStdString()));
    result->lblCorrectWord()->SetCaption(correct);
    result->lblPlayerWord()->SetCaption(guess);
    if (guess == correct) {
        RoundPoints = BonusRoundPoints;
        PlayWave("ADDWORD", true);
    } else {
        RoundPoints = 0;
        PlayWave("OOPS", true);
    }
    result->Points = RoundPoints;
    modal_.ShowModal(*result);
    game_.BonusPoints = RoundPoints;
    TimerDone->stop(); // the blinking lasts as long as the result shows
    mayClose_ = true;
    close();
}
