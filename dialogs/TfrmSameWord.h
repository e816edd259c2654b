#pragma once

#include "platform/widgets/TDialogForm.h"

#include <memory>

class TLabel;

namespace Ui {
class TfrmSameWord;
}

// The notice that a word was already found: "...HEY!", the word in red, "you
// already added that word!". Its caller plays OOPS before showing it. Destroyed
// when it closes.
class TfrmSameWord : public TDialogForm {
    Q_OBJECT

public:
    explicit TfrmSameWord(QWidget* owner = nullptr);
    ~TfrmSameWord() override;

    Ui::TfrmSameWord& Form() { return *ui_; }
    // Its caller puts the word in before showing it.
    TLabel* lblSameWord() const;
    void cmdOKClick();

protected:
    void FormKeyDown(QKeyEvent* key) override;
    void FormClose() override;

private:
    std::unique_ptr<Ui::TfrmSameWord> ui_;
};
