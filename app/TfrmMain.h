#pragma once

#include "AppServices.h"
#include "platform/Clock.h"
#include "platform/widgets/TDrawGrid.h"

#include <QString>
#include <QWidget>
#include <array>
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

// The one window that lives for the whole run: the board, the found words, the
// clock and score, and the buttons. It owns the two word stores.
class TfrmMain : public QWidget {
    Q_OBJECT

public:
    explicit TfrmMain(TAppServices services, QWidget* parent = nullptr);
    ~TfrmMain() override;

    // True when start-up took the failure path; the program then ends.
    bool StartupFailed() const { return startupFailed_; }

    // A pick of the board: (column, row); (-1, -1) holds no pick.
    struct TCell {
        std::int32_t Col = -1;
        std::int32_t Row = -1;
    };

    // The game state record, in its order.
    bool FillingGrid = false;
    std::int32_t BonusCol = 0;
    std::int32_t BonusRow = 0;
    QString BonusWord;
    QString TangledWord;
    QString CurrentWord;
    std::int32_t Score = 0;
    std::array<std::array<QString, 5>, 5> Faces; // [column][row]
    std::array<std::array<bool, 5>, 5> UsedRecs{};
    std::array<TCell, 26> RecentRecs{}; // entries 1 to 25; entry 0 is not used
    std::unique_ptr<TBPlusTree> DictTree;
    std::unique_ptr<TBonusTree> BonusTree;
    TDateTime EndTime = 0;
    double TimeLeft = 0;
    std::int32_t BlinkCount = 0;
    bool Paused = false;
    std::int32_t BonusPoints = 0;

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

    std::unique_ptr<Ui::TfrmMain> ui_;
    TAppServices services_;
    int PickCount() const;

    bool startupFailed_ = false;
    bool painted_ = false;
    // From New Game until the clock runs out. Pause does nothing outside it, so
    // a finished game can never be resumed and offered to the table twice.
    bool gameRunning_ = false;
};
