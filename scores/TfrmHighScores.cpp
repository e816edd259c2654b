#include "TfrmHighScores.h"

#include "TfrmAddScore.h"
#include "media/Sound.h"
#include "platform/widgets/Modal.h"
#include "platform/widgets/TPlainCellDelegate.h"
#include "ui_TfrmAddScore.h"
#include "ui_TfrmHighScores.h"

#include <QKeyEvent>

TfrmHighScores::TfrmHighScores(TModalRunner& modal, std::int32_t finalScore, bool gameOver,
                               TScoreFolders folders, QWidget* owner)
    : TDesignedDialog(owner, 333, 403), modal_(modal), finalScore_(finalScore), gameOver_(gameOver),
      keeper_(std::move(folders)) {
    setAttribute(Qt::WA_DeleteOnClose);
    EnableKeyPreview();
    keeper_.Warn = [this](const QString& text) { modal_.Warning(this, text); };
    connect(ui_->cmdOk, &TImageButton::clicked, this, &TfrmHighScores::cmdOkClick);
    FormCreate();
}

TfrmHighScores::~TfrmHighScores() = default;

void TfrmHighScores::FormCreate() {
    ui_->ScoreGrid->setColumnWidth(0, 220);
    ui_->ScoreGrid->setColumnWidth(1, 40);
    // No cell is ever shown selected: nothing can be selected, and cells are
    // drawn without highlight or focus mark.
    ui_->ScoreGrid->setItemDelegate(new TPlainCellDelegate(ui_->ScoreGrid));
    ui_->ScoreGrid->setCurrentCell(-1, -1);
    ui_->ScoreGrid->clearSelection();
    for (int row = 0; row < TScoreTable::Shown; ++row) {
        for (int col = 0; col < 2; ++col) {
            ui_->ScoreGrid->setItem(row, col, new QTableWidgetItem());
        }
    }
}

void TfrmHighScores::FormShow() {
    PlayWave("LOADING", false);
    // First in the tab order; the toolkit would start at the OK picture, made
    // before it.
    ui_->ScoreGrid->setFocus();
    ui_->lblGameOver->setVisible(gameOver_);
    if (!gameOver_) {
        LoadScores();
    }
}

void TfrmHighScores::setVisible(bool visible) {
    TDesignedDialog::setVisible(visible);
    // The name entry opens once this window is on the screen: a dialog opened
    // before its parent has a window of its own cannot name it as its parent,
    // and a compositor may then stack it below the window it belongs to. It
    // covers this window whole, so what shows first is the name entry still.
    if (visible && gameOver_ && !placed_) {
        placed_ = true;
        AskForName();
        LoadScores();
        // The keyboard comes back from the closed name entry; where no window
        // manager gives it, it would stay with none of the game's windows.
        activateWindow();
    }
}

void TfrmHighScores::AskForName() {
    const int position = PlaceScore(finalScore_);
    if (position < TScoreTable::Shown) {
        const auto dialog = std::make_unique<TfrmAddScore>(this);
        modal_.ShowModal(*dialog);
        SetScore(dialog->Form().eNewName->text(), finalScore_, position);
        ShowScores();
        SaveScores();
    }
}

void TfrmHighScores::LoadScores() {
    ClearGrid();
    keeper_.LoadScores();
    ShowScores();
}

void TfrmHighScores::SaveScores() {
    keeper_.SaveScores();
}

void TfrmHighScores::ShowScores() {
    for (int row = 0; row < TScoreTable::Shown; ++row) {
        const TScoreEntry& entry = keeper_.Table.Entry[row];
        const bool filled = entry.Score != 0;
        ui_->ScoreGrid->item(row, 0)->setText(
            filled
                ? QString::fromLatin1(entry.Name.data(), static_cast<qsizetype>(entry.Name.size()))
                : QString());
        ui_->ScoreGrid->item(row, 1)->setText(filled ? QString::number(entry.Score) : QString());
    }
}

void TfrmHighScores::ClearGrid() {
    for (int row = 0; row < TScoreTable::Shown; ++row) {
        for (int col = 0; col < 2; ++col) {
            ui_->ScoreGrid->item(row, col)->setText(QString());
        }
    }
}

int TfrmHighScores::PlaceScore(std::int32_t score) {
    return keeper_.PlaceScore(score);
}

void TfrmHighScores::SetScore(const QString& name, std::int32_t score, int position) {
    keeper_.SetScore(name, score, position);
}

void TfrmHighScores::ResetScores() {
    PlayWave("GAMEOVER", true);
    keeper_.ResetScores();
    LoadScores();
}

void TfrmHighScores::cmdOkClick() {
    close();
}

void TfrmHighScores::FormKeyDown(QKeyEvent* key) {
    if (CloseOnEnter(key)) {
        return;
    }
    if (key->key() == Qt::Key_F7) {
        key->accept();
        ResetScores();
    }
}

void TfrmHighScores::FormClose() {
    PlayWave("CLICK", true);
}
