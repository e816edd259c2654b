#pragma once

#include "platform/widgets/TDialogForm.h"

#include <memory>

namespace Ui {
class TfrmSameWord;
}

// The notice that a word was already found.
class TfrmSameWord : public TDialogForm {
    Q_OBJECT

public:
    explicit TfrmSameWord(QWidget* owner = nullptr);
    ~TfrmSameWord() override;

    Ui::TfrmSameWord& Form() { return *ui_; }

private:
    std::unique_ptr<Ui::TfrmSameWord> ui_;
};
