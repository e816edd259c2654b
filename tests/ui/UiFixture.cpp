#include "UiFixture.h"

#include "tools/DictBuilder.h"

#include <QDialog>
#include <QTest>
#include <QWidget>
#include <algorithm>

int TRecordingModal::ShowModal(QDialog& dialog) {
    DialogsShown.push_back(dialog.objectName());
    // A dialog without the window that opened it as parent falls behind that
    // window on Wayland compositors; one titled like the main window cannot be
    // told apart from it in a window list.
    QTest::qVerify(dialog.parentWidget() != nullptr, "dialog.parentWidget() != nullptr",
                   qPrintable(dialog.objectName() + " has no owner window"), __FILE__, __LINE__);
    QTest::qVerify(
        !dialog.windowTitle().isEmpty() && dialog.windowTitle() != "Lexipede", "a title of its own",
        qPrintable(dialog.objectName() + " has no title of its own"), __FILE__, __LINE__);
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
    RecordBoxParent(parent, text);
}

void TRecordingModal::Message(QWidget* parent, const QString& text) {
    Messages.push_back(text);
    RecordBoxParent(parent, text);
}

void TRecordingModal::RecordBoxParent(QWidget* parent, const QString& text) {
    BoxParents.emplace_back(parent);
    QTest::qVerify(parent != nullptr, "parent != nullptr",
                   qPrintable("the box \"" + text + "\" has no owner window"), __FILE__, __LINE__);
}

namespace {

std::vector<std::string> Sorted(std::vector<std::string> words) {
    std::sort(words.begin(), words.end());
    words.erase(std::unique(words.begin(), words.end()), words.end());
    return words;
}

} // namespace

TTestProgram::TTestProgram(const std::vector<std::string>& dictionary,
                           const std::vector<std::string>& bonusWords) {
    WriteStore(folder_.Path(), "Dict", Sorted(dictionary));
    WriteStore(folder_.Path(), "Bonus", Sorted(bonusWords));
    SetSoundOutput(&Sound);
    SoundCardPresent = false;
    SoundOn = true;
}

TTestProgram::~TTestProgram() {
    SetSoundOutput(nullptr);
    SoundCardPresent = false;
    SoundOn = true;
}

TTestProgram& TTestProgram::WithSoundDevice() {
    Sound.Device = true;
    SoundCardPresent = true;
    return *this;
}

void TTestProgram::SwitchSound(bool on) {
    SoundOn = on;
}

TAppServices TTestProgram::Services() {
    TAppServices services;
    services.Clock = &Clock;
    services.Random = &Random;
    services.Modal = &Modal;
    services.ExecutablePath = folder_.File("lexipede");
    services.Terminate = [this] { ++Terminations; };
    services.ScoreFolders = {folder_.Path(), folder_.Path()};
    return services;
}
