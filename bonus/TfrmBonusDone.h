#pragma once

#include "platform/widgets/TDialogForm.h"

#include <cstdint>

class TLabel;

namespace Ui {
class TfrmBonusDone;
}

// The result of the bonus round: the word, the guess and the points. OK or Enter
// closes it, Escape does not; it is destroyed when it closes.
class TfrmBonusDone : public TNoticeDialog<Ui::TfrmBonusDone> {
    Q_OBJECT

public:
    explicit TfrmBonusDone(QWidget* owner = nullptr);
    ~TfrmBonusDone() override;

    // Set by the bonus window before it shows the dialog.
    std::int32_t Points = 0;
    TLabel* lblCorrectWord() const;
    TLabel* lblPlayerWord() const;

protected:
    void FormShow() override { ShowBonusPoints(); }
    void FormClose() override;

private:
    void ShowBonusPoints();
};
