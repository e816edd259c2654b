#include "TfrmMain.h"

#include "TfrmLoading.h"
#include "Trace.h"
#include "dialogs/TfrmAbout.h"
#include "dialogs/TfrmBadWord.h"
#include "dialogs/TfrmHelp.h"
#include "dialogs/TfrmSameWord.h"
#include "game/Scoring.h"
#include "game/globals.h"
#include "game/utility.h"
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

#include <QCollator>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QShowEvent>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>

namespace {

const QString VersionText = QStringLiteral("Lexipede 1.1.6.1");
const QString MissingDictionary = QStringLiteral("Dictionary files are missing or corrupt!");
constexpr const char* DataFiles[] = {"Dict.dat", "Dict.idx", "Bonus.dat", "Bonus.idx"};

} // namespace

TfrmMain::TfrmMain(TAppServices services, QWidget* parent)
    : QWidget(parent), ui_(std::make_unique<Ui::TfrmMain>()), services_(std::move(services)) {
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
    ui_->Grid->OnDrawCell = [this](int col, int row, const QRect& rect) {
        GridDrawCell(col, row, rect);
    };
    ui_->Grid->OnSelectCell = [this](int col, int row, bool& canSelect) {
        GridSelectCell(col, row, canSelect);
    };
    ui_->Grid->OnDescribeCell = [this](int col, int row) { return GridDescribeCell(col, row); };
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
    // The board always draws through its own off-screen surface: double-buffered.

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
    BonusCol = -1;
    BonusRow = -1;
    ui_->cmdPause->hide();
}

bool TfrmMain::DataFilesPresent() const {
    const std::string folder = ProgramFolder(services_.ExecutablePath);
    for (const char* name : DataFiles) {
        if (!TRecordFile::FileExists(folder + name)) {
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
    auto* dialog = new TfrmHelp();
    services_.Modal->ShowModal(*dialog);
}

void TfrmMain::cmdAboutClick() {
    TRACE_OPERATION("cmdAboutClick");
    auto* dialog = new TfrmAbout();
    services_.Modal->ShowModal(*dialog);
}

void TfrmMain::cmdScoresClick() {
    TRACE_OPERATION("cmdScoresClick");
    // Viewing only: the score is handed over but not placed.
    auto* window = new TfrmHighScores(*services_.Modal, Score, false, services_.ScoreFolders);
    services_.Modal->ShowModal(*window);
}

void TfrmMain::cmdSoundClick() {
    TRACE_OPERATION("cmdSoundClick");
    // Owned by the application, not this window; it destroys itself on closing.
    auto* dialog = new TfrmSound();
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
    services_.Modal->Message(this, QStringLiteral("Changes in display detected!"));
}

void TfrmMain::FormKeyDown(QKeyEvent* key) {
    TRACE_OPERATION("FormKeyDown");
    // F8 with any modifiers held. The key is left for the control that has
    // the focus.
    if (key->key() == Qt::Key_F8) {
        auto* dialog = new TfrmDisplaySettings(services_.DisplayModes(*this));
        services_.Modal->ShowModal(*dialog);
    }
}

void TfrmMain::NewLetter(QString& letter) {
    TRACE_OPERATION("NewLetter");
    letter = QString::fromLatin1(LetterTable[ProgramRandom().Draw(LetterTableSize)]);
}

void TfrmMain::ClearRecentRecs() {
    TRACE_OPERATION("ClearRecentRecs");
    for (int pick = 1; pick <= 25; ++pick) {
        RecentRecs[pick] = TCell{};
    }
}

void TfrmMain::ResetUsedRecs() {
    TRACE_OPERATION("ResetUsedRecs");
    for (auto& column : UsedRecs) {
        column.fill(false);
    }
    ClearRecentRecs();
}

void TfrmMain::SetGridAttributes() {
    TRACE_OPERATION("SetGridAttributes");
    TCanvas& canvas = ui_->Grid->Canvas();
    // "Arial" bold 18 points: 24 pixels at 96 dots per inch.
    canvas.Font = QFont(QStringLiteral("Liberation Sans"));
    canvas.Font.setBold(true);
    canvas.Font.setPixelSize(24);
    canvas.FontColor = Qt::black;
}

void TfrmMain::FillTheGrid() {
    TRACE_OPERATION("FillTheGrid");
    ClearRecentRecs();
    ResetUsedRecs();
    SetGridAttributes();
    TCanvas& canvas = ui_->Grid->Canvas();
    for (int col = 0; col < 5; ++col) {
        for (int row = 0; row < 5; ++row) {
            QString letter;
            NewLetter(letter);
            Faces[col][row] = letter.left(2);
            const QRect cell = ui_->Grid->CellRect(col, row);
            canvas.Draw(cell.left(), cell.top(), ui_->DieImage->Picture());
            const TTextOffset offset = LetterOffset(Faces[col][row].toStdString());
            canvas.TextOut(cell.left() + offset.X, cell.top() + offset.Y, Faces[col][row]);
        }
    }
}

void TfrmMain::GridDrawCell(int, int, const QRect&) {
    TRACE_OPERATION("GridDrawCell");
    if (FillingGrid) {
        return;
    }
    SetGridAttributes();
    TCanvas& canvas = ui_->Grid->Canvas();
    for (int col = 0; col < 5; ++col) {
        for (int row = 0; row < 5; ++row) {
            const QRect cell = ui_->Grid->CellRect(col, row);
            if (UsedRecs[col][row]) {
                // UsedImage holds no picture: the cell stays blank white.
                canvas.FillRect(cell, Qt::white);
                canvas.Draw(cell.left(), cell.top(), ui_->UsedImage->Picture());
            } else {
                canvas.Draw(cell.left(), cell.top(), ui_->DieImage->Picture());
                const TTextOffset offset = LetterOffset(Faces[col][row].toStdString());
                canvas.TextOut(cell.left() + offset.X, cell.top() + offset.Y, Faces[col][row]);
            }
        }
    }
}

TDrawGrid::TCellDescription TfrmMain::GridDescribeCell(int col, int row) const {
    // Named by its face even while blank in the word, as the player placed it
    // there; whether it is the bonus die is never told.
    const bool used = UsedRecs[col][row];
    return {Faces[col][row], used, used ? QStringLiteral("in the word") : QString()};
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
    FillingGrid = true;

    ui_->WordList->clear();
    ui_->WordList->setEnabled(true);
    CurrentWord.clear();
    ui_->NewWord->SetCaption(QString());

    // The bonus die and its word are drawn here once the bonus round exists;
    // until then BonusCol and BonusRow stay -1 and no game has a bonus die.

    FillTheGrid();
    ui_->cmdPause->SetPicture(ui_->ImagePause->Picture());
    Paused = false;
    SetButtons(false, true);
    Score = 0;
    ui_->ScoreBox->SetCaption(QStringLiteral("0"));
    EndTime = services_.Clock->Now() + GameLength;
    TimerTick->start();
    TimerDone->stop();
    gameRunning_ = true;
    PlayWave("NEWGAME", true);
    FillingGrid = false;
}

void TfrmMain::TimerTickTimer() {
    TRACE_OPERATION("TimerTickTimer");
    // The clock follows the wall clock, not the count of ticks: a late tick
    // still shows the true time left.
    TimeLeft = EndTime - services_.Clock->Now();
    if (TimeLeft >= 0) {
        TimeLeft = TimeLeft - std::floor(TimeLeft);
        const TTimeOfDay left = DecodeTime(TimeLeft);
        ShowTime(static_cast<std::uint16_t>(left.Minutes),
                 static_cast<std::uint16_t>(left.Seconds));
        return;
    }
    ShowTime(0, 0);
    TimerTick->stop();
    TimerDone->start();
    BlinkCount = 0;
    GameOver();
}

void TfrmMain::ShowTime(std::uint16_t minutes, std::uint16_t seconds) {
    TRACE_OPERATION("ShowTime");
    ui_->lblTime->setVisible(true);
    ui_->lblTime->SetCaption(QString::fromStdString(ClockText(minutes, seconds)));
}

void TfrmMain::TimerDoneTimer() {
    TRACE_OPERATION("TimerDoneTimer");
    ++BlinkCount;
    ShowTime(0, 0);
    ui_->lblTime->setVisible(BlinkCount % 2 == 1);
}

void TfrmMain::GameOver() {
    TRACE_OPERATION("GameOver");
    gameRunning_ = false;
    SetButtons(false, false);
    PlayWave("GAMEOVER", true);
    auto* window = new TfrmHighScores(*services_.Modal, Score, true, services_.ScoreFolders);
    services_.Modal->ShowModal(*window);
    ui_->cmdNewGame->show();
}

void TfrmMain::cmdPauseClick() {
    TRACE_OPERATION("cmdPauseClick");
    if (!gameRunning_) {
        return;
    }
    PlayWave("CLICK", true);
    Paused = !Paused;
    if (Paused) {
        ui_->cmdPause->SetPicture(ui_->ImageContinue->Picture());
        SetButtons(false, false);
    } else {
        // The time left stands as the last tick measured it.
        ui_->cmdPause->SetPicture(ui_->ImagePause->Picture());
        EndTime = services_.Clock->Now() + TimeLeft;
        SetButtons(true, true);
    }
    if (Paused) {
        TimerTick->stop();
    } else {
        TimerTick->start();
    }
}

int TfrmMain::PickCount() const {
    int picks = 0;
    while (picks < 25 && RecentRecs[picks + 1].Col != -1) {
        ++picks;
    }
    return picks;
}

void TfrmMain::GridSelectCell(int col, int row, bool&) {
    TRACE_OPERATION("GridSelectCell");
    // Any die not yet in the word may come next, wherever it lies.
    if (UsedRecs[col][row]) {
        return;
    }
    PlayWave("CLICK", true);
    CurrentWord += Faces[col][row];
    ui_->NewWord->SetCaption(CurrentWord);
    UsedRecs[col][row] = true;
    RecentRecs[PickCount() + 1] = TCell{col, row};
    SetButtons(true, true);
}

void TfrmMain::cmdBackSpaceClick() {
    TRACE_OPERATION("cmdBackSpaceClick");
    PlayWave("CLICK", true);
    const int picks = PickCount();
    if (picks >= 1) {
        TCell& last = RecentRecs[picks];
        UsedRecs[last.Col][last.Row] = false;
        CurrentWord.chop(Faces[last.Col][last.Row].size());
        last = TCell{};
    }
    ui_->NewWord->SetCaption(CurrentWord);
    ui_->Grid->update();
    if (CurrentWord.isEmpty()) {
        SetButtons(false, true);
    }
}

void TfrmMain::cmdAddWordClick() {
    TRACE_OPERATION("cmdAddWordClick");
    if (ui_->NewWord->text() == CurrentWord && !CurrentWord.isEmpty() &&
        NotDuplicate(CurrentWord)) {
        if (!InDictionary(CurrentWord)) {
            auto* notice = new TfrmBadWord();
            notice->lblBadWord()->setText(CurrentWord);
            services_.Modal->ShowModal(*notice);
        } else {
            Score += PointsForLength(static_cast<std::size_t>(CurrentWord.size()));
            const int lines = ui_->WordList->count();
            ui_->WordList->addItem(QString::fromStdString(
                FoundWordLine(static_cast<std::size_t>(lines), CurrentWord.toStdString())));
            ui_->WordList->setCurrentRow(lines);
            PlayWave("ADDWORD", true);
        }
    }
    // Whatever became of the word, it is gone and its dice are back. A game
    // that ran out while a notice was open stays over: board and buttons off.
    ui_->ScoreBox->SetCaption(QString::number(Score));
    ui_->NewWord->SetCaption(QString());
    CurrentWord.clear();
    ResetUsedRecs();
    SetButtons(false, gameRunning_);
    ui_->Grid->update();
}

bool TfrmMain::NotDuplicate(const QString& word) {
    TRACE_OPERATION("NotDuplicate");
    QStringList found;
    for (int line = 0; line < ui_->WordList->count(); ++line) {
        found.push_back(QString::fromStdString(WordOfLine(
            static_cast<std::size_t>(line), ui_->WordList->item(line)->text().toStdString())));
    }
    // Case does not count, and the order is the player's locale's.
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::sort(found.begin(), found.end(), collator);
    if (!std::binary_search(found.begin(), found.end(), word, collator)) {
        return true;
    }
    PlayWave("OOPS", true);
    auto* notice = new TfrmSameWord();
    notice->lblSameWord()->setText(CurrentWord);
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
