#pragma once

#include "ScoreKeeper.h"
#include "platform/widgets/TDialogForm.h"

namespace Ui {
class TfrmHighScores;
}
class TModalRunner;

// The ten best scores. After a game it places the final score and asks for a
// name when the score earns a place; from the Scores button it only shows the
// table. The table is read from the file every time the window shows. Destroyed
// when it closes.
class TfrmHighScores : public TDesignedDialog<Ui::TfrmHighScores> {
    Q_OBJECT

public:
    TfrmHighScores(TModalRunner& modal, std::int32_t finalScore, bool gameOver,
                   TScoreFolders folders = TScoreFolders::Default(), QWidget* owner = nullptr);
    ~TfrmHighScores() override;

    const TScoreTable& Table() const { return keeper_.Table; }

    void LoadScores();
    void SaveScores();
    void ShowScores();
    void ClearGrid();
    int PlaceScore(std::int32_t score);
    void SetScore(const QString& name, std::int32_t score, int position);
    void ResetScores();
    void cmdOkClick();
    void setVisible(bool visible) override;

protected:
    void FormShow() override;
    void FormKeyDown(QKeyEvent* key) override;
    void FormClose() override;

private:
    void FormCreate();
    // After a game: places the score and, when it earns a place, asks for the
    // player's name and saves the table.
    void AskForName();

    TModalRunner& modal_;
    std::int32_t finalScore_;
    bool gameOver_;
    bool placed_ = false;
    TScoreKeeper keeper_;
};
