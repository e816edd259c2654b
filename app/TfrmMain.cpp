#include "TfrmMain.h"

#include "TfrmLoading.h"
#include "Trace.h"
#include "bonus/DiePainter.h"
#include "bonus/TfrmBonus.h"
#include "dialogs/TfrmAbout.h"
#include "dialogs/TfrmBadWord.h"
#include "dialogs/TfrmHelp.h"
#include "dialogs/TfrmSameWord.h"
#include "game/AsciiCase.h"
#include "game/BonusSetup.h"
#include "game/Countdown.h"
#include "media/Sound.h"
#include "media/TfrmDisplaySettings.h"
#include "media/TfrmSound.h"
#include "platform/InOutError.h"
#include "platform/ProgramFolder.h"
#include "platform/RecordFile.h"
#include "platform/widgets/DisplayChange.h"
#include "platform/widgets/FormStyle.h"
#include "platform/widgets/Modal.h"
#include "scores/TfrmHighScores.h"
#include "ui_TfrmMain.h"
#include "wordstore/bpBonusTree.h"
#include "wordstore/bpDictTree.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMouseEvent>
#include <QShowEvent>
#include <QTimer>
#include <QWindow>
#include <cstdio>
#include <ctime>
#include <optional>

namespace {

const QString VersionText = QStringLiteral("Lexipede 1.1.6.1");
const QString MissingDictionary = QStringLiteral("Dictionary files are missing or corrupt!");
constexpr const char* DataFiles[] = {"Dict.dat", "Dict.idx", "Bonus.dat", "Bonus.idx"};

} // namespace

TfrmMain::TfrmMain(TAppServices services, QWidget* parent)
    : QWidget(parent), ui_(std::make_unique<Ui::TfrmMain>()), services_(std::move(services)),
      gameClock_(*services_.Clock) {
    ui_->setupUi(this);
    ApplyWindowConventions(this, 685, 391);
    TimerTick = new QTimer(this);
    TimerDone = new QTimer(this);
    for (QTimer* timer : {TimerTick, TimerDone}) {
        timer->setInterval(250);
        timer->setTimerType(Qt::PreciseTimer);
    }
    setWindowTitle(QStringLiteral("Lexipede"));
    CentreOnScreen(this);
    WireHandlers();
    FormCreate();
}

TfrmMain::~TfrmMain() {
    FormDestroy();
}

void TfrmMain::WireHandlers() {
    connect(ui_->cmdNewGame, &TImageButton::clicked, this, &TfrmMain::cmdNewGameClick);
    connect(ui_->cmdPause, &TImageButton::clicked, this, &TfrmMain::cmdPauseClick);
    connect(ui_->cmdBackSpace, &TImageButton::clicked, this, &TfrmMain::cmdBackSpaceClick);
    connect(ui_->cmdAddWord, &TImageButton::clicked, this, &TfrmMain::cmdAddWordClick);
    connect(ui_->cmdHelp, &TImageButton::clicked, this, &TfrmMain::cmdHelpClick);
    connect(ui_->cmdAbout, &TImageButton::clicked, this, &TfrmMain::cmdAboutClick);
    connect(ui_->cmdScores, &TImageButton::clicked, this, &TfrmMain::cmdScoresClick);
    connect(ui_->cmdSound, &TImageButton::clicked, this, &TfrmMain::cmdSoundClick);
    connect(ui_->cmdQuit, &TImageButton::clicked, this, &TfrmMain::cmdQuitClick);
    connect(ui_->cmdMinimize, &TLabel::clicked, this, &TfrmMain::cmdMinimizeClick);
    connect(ui_->BackgroundImage, &TImage::mousePressed, this, &TfrmMain::BackgroundImageMouseDown);
    connect(&TDisplayChange::Instance(), &TDisplayChange::Changed, this,
            &TfrmMain::WMDisplayChange);
    connect(TimerTick, &QTimer::timeout, this, &TfrmMain::TimerTickTimer);
    connect(TimerDone, &QTimer::timeout, this, &TfrmMain::TimerDoneTimer);
    ConnectDice(*ui_->Grid, this, &TfrmMain::GridDrawCell, &TfrmMain::GridSelectCell,
                &TfrmMain::GridDescribeCell);
}

void TfrmMain::FormCreate() {
    TRACE_OPERATION("FormCreate");
    new TKeyPreview(this, [this](QKeyEvent* key) { FormKeyDown(key); });
    ui_->NewWord->SetCaption(QString());
    ui_->lblVersion->setText(VersionText);
    SoundCardPresent = CheckForSoundCard();
    ui_->cmdSound->SetPicture(SoundCardPresent ? ui_->ImageSound->Picture()
                                               : ui_->ImageNoSound->Picture());
    SoundOn = true;

    auto* loading = new TfrmLoading(this);
    loading->ShowAndPaint();

    if (!DataFilesPresent()) {
        FailStartup(loading);
        return;
    }
    DictTree = std::make_unique<TBPlusTree>();
    BonusTree = std::make_unique<TBonusTree>();
    try {
        OpenDataFiles();
    } catch (const EInOutError& error) {
        // A damaged store is told as a missing one, and start-up ends cleanly.
        std::fprintf(stderr, "Lexipede: %s\n", error.what());
        DictTree.reset();
        BonusTree.reset();
        FailStartup(loading);
        return;
    }

    loading->lblLoading()->SetCaption(
        QStringLiteral("...opening dictionary...%1 words...").arg(DictTree->WordCount()));
    loading->PaintNow();
    loading->close();

    SetButtons(false, false);
    state_.ClearBonusDie();
    ui_->cmdPause->hide();
}

bool TfrmMain::DataFilesPresent() const {
    const std::string folder = ProgramFolder(services_.ExecutablePath);
    // A file that exists but cannot be read counts as missing: an index that
    // cannot be opened would give an empty store that refuses every word.
    for (const char* name : DataFiles) {
        if (!TRecordFile::FileReadable(folder + name)) {
            return false;
        }
    }
    return true;
}

void TfrmMain::FailStartup(TfrmLoading* loading) {
    services_.Modal->Warning(loading, MissingDictionary);
    startupFailed_ = true;
    services_.Terminate();
    loading->close();
}

void TfrmMain::OpenDataFiles() {
    TRACE_OPERATION("OpenDataFiles");
    const std::string folder = ProgramFolder(services_.ExecutablePath);
    DictTree->OpenTree(folder);
    BonusTree->OpenTree(folder);
}

std::int32_t TfrmMain::DictionaryWordCount() const {
    return DictTree ? DictTree->WordCount() : 0;
}

std::int32_t TfrmMain::BonusWordCount() const {
    return BonusTree ? BonusTree->WordCount() : 0;
}

bool TfrmMain::ClockRunning() const {
    return TimerTick->isActive();
}

bool TfrmMain::ClockBlinking() const {
    return TimerDone->isActive();
}

void TfrmMain::FormShow() {
    TRACE_OPERATION("FormShow");
    ui_->WordList->setEnabled(false);
}

void TfrmMain::showEvent(QShowEvent* event) {
    // A window restored from the taskbar is shown again by the system; the
    // show handler runs only when the program shows the window.
    if (!event->spontaneous()) {
        FormShow();
    }
    QWidget::showEvent(event);
}

void TfrmMain::paintEvent(QPaintEvent* event) {
    // For start-up measurements: LEXIPEDE_STARTUP_PROBE=1 prints the wall-clock
    // time of the first paint.
    if (!painted_ && qEnvironmentVariableIsSet("LEXIPEDE_STARTUP_PROBE")) {
        timespec now{};
        clock_gettime(CLOCK_REALTIME, &now);
        std::printf("first-paint %lld\n",
                    static_cast<long long>(now.tv_sec) * 1000 + now.tv_nsec / 1'000'000);
        std::fflush(stdout);
    }
    painted_ = true;
    QWidget::paintEvent(event);
}

void TfrmMain::FormDestroy() {
    TRACE_OPERATION("FormDestroy");
    DictTree.reset();
    BonusTree.reset();
}

void TfrmMain::cmdHelpClick() {
    TRACE_OPERATION("cmdHelpClick");
    auto* dialog = new TfrmHelp(this);
    services_.Modal->ShowModal(*dialog);
}

void TfrmMain::cmdAboutClick() {
    TRACE_OPERATION("cmdAboutClick");
    auto* dialog = new TfrmAbout(this);
    services_.Modal->ShowModal(*dialog);
}

void TfrmMain::cmdScoresClick() {
    TRACE_OPERATION("cmdScoresClick");
    // Viewing only: the score is handed over but not placed.
    auto* window =
        new TfrmHighScores(*services_.Modal, state_.Score, false, services_.ScoreFolders, this);
    services_.Modal->ShowModal(*window);
}

void TfrmMain::cmdSoundClick() {
    TRACE_OPERATION("cmdSoundClick");
    // It destroys itself on closing.
    auto* dialog = new TfrmSound(this);
    services_.Modal->ShowModal(*dialog);
}

void TfrmMain::cmdQuitClick() {
    TRACE_OPERATION("cmdQuitClick");
    PlayWave("QUIT", false);
    services_.Terminate();
}

void TfrmMain::cmdMinimizeClick() {
    PlayWave("CLICK", true);
    showMinimized();
}

void TfrmMain::BackgroundImageMouseDown(QMouseEvent*) {
    if (windowHandle() != nullptr) {
        windowHandle()->startSystemMove();
    }
}

void TfrmMain::WMDisplayChange() {
    TRACE_OPERATION("WMDisplayChange");
    // A smaller mode can leave the window partly off the screen, with Quit
    // out of reach where no window manager brings it back.
    KeepOnScreen(this);
    // The box belongs to the dialog on top: the display dialog, after Apply.
    // A box that comes again while an earlier one is open is its sibling, not
    // its child: without a window manager the keyboard would not go back from
    // the later box to the earlier one.
    QWidget* owner = QApplication::activeModalWidget();
    while (qobject_cast<QMessageBox*>(owner) != nullptr) {
        owner = owner->parentWidget();
    }
    services_.Modal->Message(owner != nullptr ? owner : this,
                             QStringLiteral("Changes in display detected!"));
}

void TfrmMain::FormKeyDown(QKeyEvent* key) {
    TRACE_OPERATION("FormKeyDown");
    // F8 with any modifiers held. The key is left for the control that has
    // the focus.
    if (key->key() == Qt::Key_F8) {
        auto* dialog = new TfrmDisplaySettings(services_.DisplayModes(*this), this);
        services_.Modal->ShowModal(*dialog);
    }
}

void TfrmMain::NewLetter(QString& letter) {
    TRACE_OPERATION("NewLetter");
    letter = NewFace(*services_.Random);
}

void TfrmMain::ClearRecentRecs() {
    TRACE_OPERATION("ClearRecentRecs");
    state_.ClearRecentRecs();
}

void TfrmMain::ResetUsedRecs() {
    TRACE_OPERATION("ResetUsedRecs");
    state_.ResetUsedRecs();
}

void TfrmMain::SetGridAttributes() {
    TRACE_OPERATION("SetGridAttributes");
    SetDieFaceAttributes(ui_->Grid->Canvas());
}

void TfrmMain::FillTheGrid() {
    TRACE_OPERATION("FillTheGrid");
    ClearRecentRecs();
    ResetUsedRecs();
    SetGridAttributes();
    state_.DealFaces([this] {
        QString letter;
        NewLetter(letter);
        return letter;
    });
    // Drawn at once, without waiting for the board to be repainted.
    for (int col = 0; col < BoardSize; ++col) {
        for (int row = 0; row < BoardSize; ++row) {
            PaintDie(ui_->Grid->Canvas(), ui_->Grid->CellRect(col, row), ui_->DieImage->Picture(),
                     state_.Faces[col][row]);
        }
    }
}

void TfrmMain::GridDrawCell(int, int, const QRect&) {
    TRACE_OPERATION("GridDrawCell");
    if (state_.FillingGrid) {
        return;
    }
    SetGridAttributes();
    TCanvas& canvas = ui_->Grid->Canvas();
    for (int col = 0; col < BoardSize; ++col) {
        for (int row = 0; row < BoardSize; ++row) {
            const QRect cell = ui_->Grid->CellRect(col, row);
            if (state_.UsedRecs[col][row]) {
                // UsedImage holds no picture: the cell stays blank white.
                canvas.FillRect(cell, Qt::white);
                canvas.Draw(cell.left(), cell.top(), ui_->UsedImage->Picture());
            } else {
                PaintDie(canvas, cell, ui_->DieImage->Picture(), state_.Faces[col][row]);
            }
        }
    }
}

TDrawGrid::TCellDescription TfrmMain::GridDescribeCell(int col, int row) const {
    // Named by its face even while blank in the word, as the player placed it
    // there; whether it is the bonus die is never told.
    const bool used = state_.UsedRecs[col][row];
    return {state_.Faces[col][row], used, used ? QStringLiteral("in the word") : QString()};
}

void TfrmMain::SetButtons(bool wordButtons, bool board) {
    TRACE_OPERATION("SetButtons");
    const auto Switch = [wordButtons](TImageButton* button, TImage* on, TImage* off) {
        if (button->isEnabled() != wordButtons) {
            button->setEnabled(wordButtons);
            button->SetPicture(wordButtons ? on->Picture() : off->Picture());
        }
    };
    Switch(ui_->cmdBackSpace, ui_->ImageBackSpace, ui_->ImageNoBackSpace);
    Switch(ui_->cmdAddWord, ui_->ImageAddWord, ui_->ImageNoAddWord);
    ui_->Grid->setEnabled(board);
}

void TfrmMain::cmdNewGameClick() {
    TRACE_OPERATION("cmdNewGameClick");
    NewGame();
}

void TfrmMain::NewGame() {
    TRACE_OPERATION("NewGame");
    ui_->cmdNewGame->hide();
    ui_->cmdPause->show();
    state_.BeginDeal();

    ui_->WordList->clear();
    foundWords_.Clear();
    ui_->WordList->setEnabled(true);
    state_.DropWord();
    ui_->NewWord->SetCaption(QString());

    // Only this set-up reseeds the random source from the clock, so it is what
    // makes one launch deal other boards than the last.
    if (BonusTree && BonusTree->WordCount() > 0) {
        DrawBonusDie();
    }

    FillTheGrid();
    ui_->cmdPause->SetPicture(ui_->ImagePause->Picture());
    state_.StartClock(gameClock_.Now());
    SetButtons(false, true);
    ui_->ScoreBox->SetCaption(QString::number(state_.Score));
    TimerTick->start();
    TimerDone->stop();
    gameRunning_ = true;
    // The keyboard's next move is on the board, wherever New Game was pressed.
    ui_->Grid->setFocus();
    PlayWave("NEWGAME", true);
    state_.EndDeal();
}

void TfrmMain::DrawBonusDie() {
    std::optional<TBonusDraw> draw;
    try {
        draw = DrawBonusRound(
            BonusTree->WordCount(), [this](std::int32_t n) { return BonusTree->GetWord(n); },
            *services_.Random, *services_.Clock);
    } catch (const EInOutError& error) {
        // The bonus files were damaged or taken away under the running game. The
        // game goes on without a bonus die; the player is told the first time.
        std::fprintf(stderr, "Lexipede: %s\n", error.what());
        if (!bonusStoreReported_) {
            bonusStoreReported_ = true;
            services_.Modal->Warning(this, MissingDictionary);
        }
    }
    if (draw) {
        state_.HideBonusDie(draw->Card.Col, draw->Card.Row, QString::fromLatin1(draw->Word),
                            QString::fromLatin1(draw->Tangled));
    } else {
        state_.ClearBonusDie();
    }
}

void TfrmMain::TimerTickTimer() {
    TRACE_OPERATION("TimerTickTimer");
    // The clock follows time, not the count of ticks: a late tick still shows
    // the true time left.
    const TCountdown left = state_.Tick(gameClock_.Now());
    if (!left.Up) {
        ShowTime(left.Minutes, left.Seconds);
        return;
    }
    ShowTime(0, 0);
    TimerTick->stop();
    TimerDone->start();
    state_.StartBlinking();
    GameOver();
}

void TfrmMain::ShowTime(std::uint16_t minutes, std::uint16_t seconds) {
    TRACE_OPERATION("ShowTime");
    ui_->lblTime->setVisible(true);
    ui_->lblTime->SetCaption(QString::fromStdString(ClockText(minutes, seconds)));
}

void TfrmMain::TimerDoneTimer() {
    TRACE_OPERATION("TimerDoneTimer");
    const bool visible = state_.Blink();
    ShowTime(0, 0);
    ui_->lblTime->setVisible(visible);
}

void TfrmMain::GameOver() {
    TRACE_OPERATION("GameOver");
    gameRunning_ = false;
    SetButtons(false, false);
    PlayWave("GAMEOVER", true);
    auto* window =
        new TfrmHighScores(*services_.Modal, state_.Score, true, services_.ScoreFolders, this);
    services_.Modal->ShowModal(*window);
    ui_->cmdNewGame->show();
    ui_->cmdNewGame->setFocus(); // what a keyboard player presses next
}

void TfrmMain::cmdPauseClick() {
    TRACE_OPERATION("cmdPauseClick");
    if (!gameRunning_) {
        return;
    }
    PlayWave("CLICK", true);
    state_.TogglePause(gameClock_.Now());
    if (state_.Paused) {
        ui_->cmdPause->SetPicture(ui_->ImageContinue->Picture());
        SetButtons(false, false);
        TimerTick->stop();
    } else {
        ui_->cmdPause->SetPicture(ui_->ImagePause->Picture());
        SetButtons(true, true);
        TimerTick->start();
    }
}

void TfrmMain::GridSelectCell(int col, int row, bool& canSelect) {
    TRACE_OPERATION("GridSelectCell");
    // Any die not yet in the word may come next, wherever it lies.
    if (state_.UsedRecs[col][row]) {
        return;
    }
    PlayWave("CLICK", true);
    if (state_.IsBonusDie(col, row)) {
        DoBonusRound();
        // The bonus die's face never enters a word, and the word in progress
        // is lost: every die comes back.
        canSelect = false;
        ui_->NewWord->SetCaption(QString());
        state_.DropWord();
        ResetUsedRecs();
        ui_->Grid->update();
        return;
    }
    state_.PickDie(col, row);
    ui_->NewWord->SetCaption(state_.CurrentWord);
    SetButtons(true, true);
}

void TfrmMain::DoBonusRound() {
    TRACE_OPERATION("DoBonusRound");
    // Paused through the Pause button's own handler, so the game clock loses
    // nothing to the round. The pause switches the board off, which moves the
    // focus on; a board picked from the keyboard gets it back after the round.
    const bool boardHadFocus = focusWidget() == ui_->Grid;
    cmdPauseClick();
    // Only the points of this round can be added.
    state_.BeginBonusRound();
    auto* bonus = new TfrmBonus(state_, gameClock_, *services_.Modal, this);
    bonus->Round.CorrectWord = state_.BonusWord;
    bonus->Round.TangledWord = state_.TangledWord;
    services_.Modal->ShowModal(*bonus);
    // At most one round a game: the die is an ordinary die from now on.
    state_.EndBonusRound();
    ui_->ScoreBox->SetCaption(QString::number(state_.Score));
    cmdPauseClick();
    if (boardHadFocus) {
        ui_->Grid->setFocus();
    }
}

void TfrmMain::cmdBackSpaceClick() {
    TRACE_OPERATION("cmdBackSpaceClick");
    PlayWave("CLICK", true);
    state_.TakeBackLastPick();
    ui_->NewWord->SetCaption(state_.CurrentWord);
    ui_->Grid->update();
    if (state_.CurrentWord.isEmpty()) {
        SetButtons(false, true);
    }
}

void TfrmMain::cmdAddWordClick() {
    TRACE_OPERATION("cmdAddWordClick");
    const QString word = state_.CurrentWord;
    if (!word.isEmpty() && NotDuplicate(word)) {
        if (!InDictionary(word)) {
            auto* notice = new TfrmBadWord(this);
            notice->lblBadWord()->setText(word);
            services_.Modal->ShowModal(*notice);
        } else {
            state_.ScoreWord(word);
            ui_->WordList->addItem(foundWords_.Add(word));
            ui_->WordList->setCurrentRow(ui_->WordList->count() - 1);
            PlayWave("ADDWORD", true);
        }
    }
    // Whatever became of the word, it is gone and its dice are back. A game
    // that ran out while a notice was open stays over: board and buttons off.
    ui_->ScoreBox->SetCaption(QString::number(state_.Score));
    ui_->NewWord->SetCaption(QString());
    state_.DropWord();
    ResetUsedRecs();
    SetButtons(false, gameRunning_);
    ui_->Grid->update();
}

bool TfrmMain::NotDuplicate(const QString& word) {
    TRACE_OPERATION("NotDuplicate");
    if (!foundWords_.Contains(word)) {
        return true;
    }
    PlayWave("OOPS", true);
    auto* notice = new TfrmSameWord(this);
    notice->lblSameWord()->setText(state_.CurrentWord);
    services_.Modal->ShowModal(*notice);
    return false;
}

bool TfrmMain::InDictionary(const QString& word) {
    TRACE_OPERATION("InDictionary");
    try {
        return DictTree->FindWord(AsciiLower(word.toStdString()));
    } catch (const EInOutError& error) {
        // The files were damaged or taken away under the running game: the word
        // counts as not found and the game goes on.
        std::fprintf(stderr, "Lexipede: %s\n", error.what());
        services_.Modal->Warning(this, MissingDictionary);
        return false;
    }
}
