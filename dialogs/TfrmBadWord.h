#pragma once

#include "platform/widgets/TDialogForm.h"

class TLabel;

namespace Ui {
class TfrmBadWord;
}

// The notice that a word is not in the dictionary: "...OOPS!", the word in red,
// "is not a word in my dictionary!". Destroyed when it closes.
class TfrmBadWord : public TNoticeDialog<Ui::TfrmBadWord> {
    Q_OBJECT

public:
    explicit TfrmBadWord(QWidget* owner = nullptr);
    ~TfrmBadWord() override;

    // Its caller puts the word in before showing it.
    TLabel* lblBadWord() const;

protected:
    void FormShow() override;
    void FormClose() override;
};
