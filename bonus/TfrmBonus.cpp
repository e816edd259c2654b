#include "TfrmBonus.h"

#include "ui_TfrmBonus.h"

TfrmBonus::TfrmBonus(QWidget* owner) : TDialogForm(owner, 334, 405), ui_(std::make_unique<Ui::TfrmBonus>()) {
    ui_->setupUi(this);
    // It stays on top of the other windows, and takes no keys of its own.
    setWindowFlag(Qt::WindowStaysOnTopHint, true);
}

TfrmBonus::~TfrmBonus() = default;
