#pragma once

#include "AppServices.h"
#include "game/FoundWords.h"
#include "game/GameClock.h"
#include "game/GameState.h"
#include "platform/widgets/TDrawGrid.h"

#include <QString>
#include <QWidget>
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
// the two word stores.
class TfrmMain : public QWidget {
    Q_OBJECT

public:
    explicit TfrmMain(TAppServices services, QWidget* parent = nullptr);
    ~TfrmMain() override;

    // True when start-up took the failure path; the program then ends.
    bool StartupFailed() const { return startupFailed_; }

    // The game this window shows, and the words found in it.
    TGameState State;
    TFoundWords FoundWords;
    // The two word stores, open for the whole run.
    std::unique_ptr<TBPlusTree> DictTree;
    std::unique_ptr<TBonusTree> BonusTree;

    // The board.
    void NewLetter(QString& letter);
    void FillTheGrid();
    void ResetUsedRecs();
    void ClearRecentRecs();
    void SetGridAttributes();
    void GridDrawCell(int col, int row, const QRect& rect);
    // What assistive technology hears of a die: its face, and whether it is in
    // the word being built.
    TDrawGrid::TCellDescription GridDescribeCell(int col, int row) const;
    void SetButtons(bool wordButtons, bool board);

    // The course of a game and its clock.
    void cmdNewGameClick();
    void NewGame();
    void TimerTickTimer();
    void TimerDoneTimer();
    void ShowTime(std::uint16_t minutes, std::uint16_t seconds);
    void GameOver();
    void cmdPauseClick();
    QTimer* TimerTick = nullptr;
    QTimer* TimerDone = nullptr;

    // Building and adding words.
    void GridSelectCell(int col, int row, bool& canSelect);
    void cmdBackSpaceClick();
    void cmdAddWordClick();
    bool NotDuplicate(const QString& word);
    bool InDictionary(const QString& word);

    // The bonus round, opened by picking the hidden bonus die.
    void DoBonusRound();

    // The window's own commands.
    void cmdHelpClick();
    void cmdAboutClick();
    void cmdScoresClick();
    void cmdSoundClick();
    void cmdQuitClick();
    void cmdMinimizeClick();
    void BackgroundImageMouseDown(QMouseEvent* event);
    void WMDisplayChange();
    void FormKeyDown(QKeyEvent* key);

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
    void DrawBonusDie();

    std::unique_ptr<Ui::TfrmMain> ui_;
    TAppServices services_;
    TGameClock gameClock_;

    bool startupFailed_ = false;
    bool painted_ = false;
    // From New Game until the clock runs out. Pause does nothing outside it, so
    // a finished game can never be resumed and offered to the table twice.
    bool gameRunning_ = false;
    // A bonus store that failed under the running game has been reported.
    bool bonusStoreReported_ = false;
};
