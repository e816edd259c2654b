#pragma once

#include "platform/widgets/TDialogForm.h"

#include <memory>

class TLabel;

namespace Ui {
class TfrmBadWord;
}

// The notice that a word is not in the dictionary: "...OOPS!", the word in red,
// "is not a word in my dictionary!". Destroyed when it closes.
class TfrmBadWord : public TDialogForm {
    Q_OBJECT

public:
    explicit TfrmBadWord(QWidget* owner = nullptr);
    ~TfrmBadWord() override;

    Ui::TfrmBadWord& Form() { return *ui_; }
    // Its caller puts the word in before showing it.
    TLabel* lblBadWord() const;
    void cmdOKClick();

protected:
    void FormShow() override;
    void FormKeyDown(QKeyEvent* key) override;
    void FormClose() override;

private:
    std::unique_ptr<Ui::TfrmBadWord> ui_;
};
