#pragma once

#include "platform/widgets/TDialogForm.h"

class TLabel;

namespace Ui {
class TfrmSameWord;
}

// The notice that a word was already found: "...HEY!", the word in red, "you
// already added that word!". Its caller plays OOPS before showing it. Destroyed
// when it closes.
class TfrmSameWord : public TNoticeDialog<Ui::TfrmSameWord> {
    Q_OBJECT

public:
    explicit TfrmSameWord(QWidget* owner = nullptr);
    ~TfrmSameWord() override;

    // Its caller puts the word in before showing it.
    TLabel* lblSameWord() const;

protected:
    void FormClose() override;
};
