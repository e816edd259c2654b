#include "UiFixture.h"

#include "tools/DictBuilder.h"

#include <QWidget>
#include <algorithm>

int TRecordingModal::ShowModal(QDialog& dialog) {
    DialogsShown.push_back(dialog.objectName());
    dialog.show();
    if (OnDialog) {
        OnDialog(dialog);
    }
    if (dialog.isVisible()) {
        dialog.close();
    }
    return dialog.result();
}

void TRecordingModal::Warning(QWidget* parent, const QString& text) {
    Warnings.push_back(text);
    BoxParents.emplace_back(parent);
}

void TRecordingModal::Message(QWidget* parent, const QString& text) {
    Messages.push_back(text);
    BoxParents.emplace_back(parent);
}

TTestProgram::TTestProgram(const std::vector<std::string>& dictionary) {
    std::vector<std::string> sorted = dictionary;
    std::sort(sorted.begin(), sorted.end());
    sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
    WriteStore(folder_.Path(), "Dict", sorted);
    WriteStore(folder_.Path(), "Bonus", {"apple", "tiger"});
    SetSoundOutput(&Sound);
}

TTestProgram::~TTestProgram() {
    SetSoundOutput(nullptr);
}

TAppServices TTestProgram::Services() {
    TAppServices services;
    services.Clock = &Clock;
    services.Modal = &Modal;
    services.ExecutablePath = folder_.File("lexipede");
    services.Terminate = [this] { ++Terminations; };
    services.ScoreFolders = {folder_.Path(), folder_.Path()};
    return services;
}
