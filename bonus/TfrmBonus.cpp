#include "TfrmBonus.h"

#include "ui_TfrmBonus.h"

TfrmBonus::TfrmBonus(QWidget* owner) : TDesignedDialog(owner, 334, 405) {
    // It stays on top of the other windows, and takes no keys of its own.
    setWindowFlag(Qt::WindowStaysOnTopHint, true);
}

TfrmBonus::~TfrmBonus() = default;
