#pragma once

#include "AppServices.h"
#include "game/FoundWords.h"
#include "game/GameClock.h"
#include "game/GameState.h"
#include "platform/widgets/TDrawGrid.h"

#include <QString>
#include <QWidget>
#include <cstdint>
#include <memory>

namespace Ui {
class TfrmMain;
}
class TBPlusTree;
class TBonusTree;
class TfrmLoading;
class QKeyEvent;
class QMouseEvent;
class QTimer;

// The one window that lives for the whole run: it shows the game (board, word,
// found words, clock and score) and takes the player's clicks to it. It owns
// the two word stores. Its handlers ask the game's rules in game/ and then show
// what changed; nothing else outside it changes the game.
class TfrmMain : public QWidget {
    Q_OBJECT

public:
    explicit TfrmMain(TAppServices services, QWidget* parent = nullptr);
    ~TfrmMain() override;

    // True when start-up took the failure path; the program then ends.
    bool StartupFailed() const { return startupFailed_; }

    // The game this window shows, and the words found in it.
    const TGameState& State() const { return state_; }
    const TFoundWords& FoundWords() const { return foundWords_; }
    // The word counts of the two stores; 0 without them.
    std::int32_t DictionaryWordCount() const;
    std::int32_t BonusWordCount() const;

    // The handlers of the window's controls, timers and keys.
    void GridDrawCell(int col, int row, const QRect& rect);
    void GridSelectCell(int col, int row, bool& canSelect);
    // What assistive technology hears of a die: its face, and whether it is in
    // the word being built.
    TDrawGrid::TCellDescription GridDescribeCell(int col, int row) const;
    void cmdNewGameClick();
    void cmdPauseClick();
    void cmdBackSpaceClick();
    void cmdAddWordClick();
    void cmdHelpClick();
    void cmdAboutClick();
    void cmdScoresClick();
    void cmdSoundClick();
    void cmdQuitClick();
    void cmdMinimizeClick();
    void BackgroundImageMouseDown(QMouseEvent* event);
    void TimerTickTimer();
    void TimerDoneTimer();
    void WMDisplayChange();
    void FormKeyDown(QKeyEvent* key);

    // Whether the game clock, or the blinking of an ended one, is running.
    bool ClockRunning() const;
    bool ClockBlinking() const;

    // The board's shared operations: a new deal of 25 dice, drawn at once, and
    // the word buttons and the board switched on or off.
    void FillTheGrid();
    void SetButtons(bool wordButtons, bool board);

    Ui::TfrmMain& Form() { return *ui_; }

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void FormCreate();
    void FormShow();
    void FormDestroy();
    void OpenDataFiles();
    bool DataFilesPresent() const;
    void FailStartup(TfrmLoading* loading);
    void WireHandlers();

    // The board.
    void NewLetter(QString& letter);
    void ResetUsedRecs();
    void ClearRecentRecs();
    void SetGridAttributes();

    // The course of a game and its clock.
    void NewGame();
    void DrawBonusDie();
    void ShowTime(std::uint16_t minutes, std::uint16_t seconds);
    void GameOver();

    // Adding words, and the bonus round the hidden die opens.
    bool NotDuplicate(const QString& word);
    bool InDictionary(const QString& word);
    void DoBonusRound();

    std::unique_ptr<Ui::TfrmMain> ui_;
    TAppServices services_;
    TGameClock gameClock_;
    TGameState state_;
    TFoundWords foundWords_;
    // The two word stores, open for the whole run.
    std::unique_ptr<TBPlusTree> DictTree;
    std::unique_ptr<TBonusTree> BonusTree;
    QTimer* TimerTick = nullptr;
    QTimer* TimerDone = nullptr;

    bool startupFailed_ = false;
    bool painted_ = false;
    // From New Game until the clock runs out. Pause does nothing outside it, so
    // a finished game can never be resumed and offered to the table twice.
    bool gameRunning_ = false;
    // A bonus store that failed under the running game has been reported.
    bool bonusStoreReported_ = false;
};
