#pragma once

#include "platform/widgets/TDialogForm.h"

#include <memory>

namespace Ui {
class TfrmBadWord;
}

// The notice that a word is not in the dictionary.
class TfrmBadWord : public TDialogForm {
    Q_OBJECT

public:
    explicit TfrmBadWord(QWidget* owner = nullptr);
    ~TfrmBadWord() override;

    Ui::TfrmBadWord& Form() { return *ui_; }

private:
    std::unique_ptr<Ui::TfrmBadWord> ui_;
};
