#include "TfrmMain.h"

#include "TfrmLoading.h"
#include "Trace.h"
#include "game/globals.h"
#include "game/utility.h"
#include "media/Sound.h"
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

#include <QMouseEvent>
#include <QShowEvent>
#include <QWindow>
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
    setWindowTitle(QStringLiteral("Lexipede"));
    CentreOnScreen(this);
    WireHandlers();
    FormCreate();
}

TfrmMain::~TfrmMain() { FormDestroy(); }

void TfrmMain::WireHandlers() {
    connect(ui_->cmdScores, &TImageButton::clicked, this, &TfrmMain::cmdScoresClick);
    connect(ui_->cmdSound, &TImageButton::clicked, this, &TfrmMain::cmdSoundClick);
    connect(ui_->cmdQuit, &TImageButton::clicked, this, &TfrmMain::cmdQuitClick);
    connect(ui_->cmdMinimize, &TLabel::clicked, this, &TfrmMain::cmdMinimizeClick);
    connect(ui_->BackgroundImage, &TImage::mousePressed, this, &TfrmMain::BackgroundImageMouseDown);
    connect(&TDisplayChange::Instance(), &TDisplayChange::Changed, this, &TfrmMain::WMDisplayChange);
    ui_->Grid->OnDrawCell = [this](int col, int row, const QRect& rect) { GridDrawCell(col, row, rect); };
}

void TfrmMain::FormCreate() {
    TRACE_OPERATION("FormCreate");
    ui_->NewWord->SetCaption(QString());
    ui_->lblVersion->setText(VersionText);
    SoundCardPresent = CheckForSoundCard();
    ui_->cmdSound->SetPicture(SoundCardPresent ? ui_->ImageSound->Picture() : ui_->ImageNoSound->Picture());
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

    loading->lblLoading()->SetCaption(QStringLiteral("...opening dictionary...%1 words...").arg(DictTree->WordCount()));
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
        timespec now {};
        clock_gettime(CLOCK_REALTIME, &now);
        std::printf("first-paint %lld\n", static_cast<long long>(now.tv_sec) * 1000 + now.tv_nsec / 1'000'000);
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

void TfrmMain::cmdScoresClick() {
    TRACE_OPERATION("cmdScoresClick");
    // Viewing only: the score is handed over but not placed.
    auto* window = new TfrmHighScores(*services_.Modal, Score, false);
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

void TfrmMain::NewLetter(QString& letter) {
    TRACE_OPERATION("NewLetter");
    letter = QString::fromLatin1(LetterTable[ProgramRandom().Draw(LetterTableSize)]);
}

void TfrmMain::ClearRecentRecs() {
    TRACE_OPERATION("ClearRecentRecs");
    for (int pick = 1; pick <= 25; ++pick) {
        RecentRecs[pick] = TCell {};
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
