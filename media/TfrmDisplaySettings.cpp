#include "TfrmDisplaySettings.h"

#include "DisplayModeText.h"
#include "Sound.h"
#include "platform/widgets/DisplayChange.h"
#include "ui_TfrmDisplaySettings.h"

TfrmDisplaySettings::TfrmDisplaySettings(std::unique_ptr<TDisplayModes> modes, QWidget* owner)
    : TDesignedDialog(owner, 430, 407), modes_(std::move(modes)) {
    setAttribute(Qt::WA_DeleteOnClose);
    EnableKeyPreview();
    BindOk(ui_->cmdOk);
    connect(ui_->cmdApply, &TImageButton::clicked, this, &TfrmDisplaySettings::cmdApplyClick);
    connect(ui_->DispResList, &QListWidget::itemSelectionChanged, this,
            &TfrmDisplaySettings::DispResListClick);
    FormCreate();
}

TfrmDisplaySettings::~TfrmDisplaySettings() = default;

void TfrmDisplaySettings::FormCreate() {
    // Line k is mode k: nothing is filtered, sorted or merged, since Apply sets
    // the mode by the line's index.
    for (int index = 0;; ++index) {
        const std::optional<TDisplayMode> mode = modes_->Mode(index);
        if (!mode) {
            break;
        }
        ui_->DispResList->addItem(QString::fromStdString(DisplayModeLine(*mode)));
    }
    ui_->lblColors->setText(QString::fromStdString(CurrentColoursText(modes_->Depth())));
}

void TfrmDisplaySettings::FormShow() {
    PlayWave("LOADING", false);
    // First in the tab order; the toolkit would start at the OK picture, made
    // before it.
    ui_->DispResList->setFocus();
}

void TfrmDisplaySettings::DispResListClick() {
    QListWidget* list = ui_->DispResList;
    const QList<QListWidgetItem*> selected = list->selectedItems();
    if (selected.isEmpty()) {
        // A click below the lines clears the selection; the line picked stays
        // picked, so that lblSelected names what Apply applies.
        if (pickedRow_ >= 0) {
            list->item(pickedRow_)->setSelected(true);
        }
        return;
    }
    pickedRow_ = list->row(selected.front());
    ui_->lblSelected->setText(selected.front()->text());
}

void TfrmDisplaySettings::cmdApplyClick() {
    const QList<QListWidgetItem*> selected = ui_->DispResList->selectedItems();
    const int index = selected.isEmpty() ? -1 : ui_->DispResList->row(selected.front());
    // A refused or failed switch is not reported: the notice follows regardless.
    if (const std::optional<TDisplayMode> mode = modes_->Mode(index)) {
        modes_->SetMode(*mode);
    }
    TDisplayChange::Instance().Raise();
}

void TfrmDisplaySettings::FormClose() {
    PlayWave("CLICK", true);
}
