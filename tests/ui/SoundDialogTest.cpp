// The sound dialog, opened from the main window's Sound button: its faces, the
// switch, and how it closes.

#include "UiFixture.h"
#include "app/TfrmMain.h"
#include "media/TfrmSound.h"
#include "platform/widgets/TImage.h"
#include "ui_TfrmMain.h"
#include "ui_TfrmSound.h"

#include <QtTest>

namespace {

using Played = std::vector<std::pair<std::string, bool>>;

bool Shows(TfrmSound& dialog, TImage* source) {
    return dialog.Form().cmdSetSound->Picture().toImage() == source->Picture().toImage();
}

} // namespace

class SoundDialogTest : public QObject {
    Q_OBJECT

private slots:
    void theSoundButtonOpensTheDialog();
    void theButtonReadsAsWhatAClickDoes();
    void switchingOffClicksFirstAndSwitchingOnIsSilent();
    void enterOrOkClosesWithAClickAndEscapeDoesNot();
    void itWorksWithoutADevice();
};

void SoundDialogTest::theSoundButtonOpensTheDialog() {
    TTestProgram program;
    TfrmMain form(program.Services());
    QPointer<TfrmSound> opened;
    program.Modal.OnDialog = [&opened](QDialog& dialog) {
        opened = qobject_cast<TfrmSound*>(&dialog);
    };
    QTest::mouseClick(form.Form().cmdSound, Qt::LeftButton);
    QCOMPARE(program.Modal.DialogsShown, std::vector<QString>{"TfrmSound"});
    QVERIFY(opened != nullptr);
    QTRY_VERIFY2(opened == nullptr, "the dialog destroys itself when it closes");
}

void SoundDialogTest::theButtonReadsAsWhatAClickDoes() {
    TTestProgram program;
    TfrmMain form(program.Services());
    for (bool on : {true, false}) {
        program.SwitchSound(on);
        TfrmSound dialog;
        dialog.show();
        QVERIFY(Shows(dialog, on ? dialog.Form().ImageSoundOff : dialog.Form().ImageSoundOn));
    }
}

void SoundDialogTest::switchingOffClicksFirstAndSwitchingOnIsSilent() {
    TTestProgram program;
    program.Sound.Device = true;
    TfrmMain form(program.Services());
    TfrmSound dialog;
    dialog.show();
    program.Sound.Played.clear();

    QTest::mouseClick(dialog.Form().cmdSetSound, Qt::LeftButton);
    QVERIFY(!SoundOn);
    QCOMPARE(program.Sound.Played, (Played{{"Click", false}}));
    QVERIFY(Shows(dialog, dialog.Form().ImageSoundOn));

    QTest::mouseClick(dialog.Form().cmdSetSound, Qt::LeftButton);
    QVERIFY(SoundOn);
    QCOMPARE(program.Sound.Played.size(), 1u);
    QVERIFY(Shows(dialog, dialog.Form().ImageSoundOff));
}

void SoundDialogTest::enterOrOkClosesWithAClickAndEscapeDoesNot() {
    TTestProgram program;
    program.Sound.Device = true;
    TfrmMain form(program.Services());
    for (const char* how : {"Enter", "keypad Enter", "OK"}) {
        QPointer<TfrmSound> dialog = new TfrmSound;
        dialog->show();
        program.Sound.Played.clear();
        QTest::keyClick(dialog, Qt::Key_Escape);
        QVERIFY2(dialog->isVisible(), how);
        if (QString(how) == "OK") {
            QTest::mouseClick(dialog->Form().cmdOk, Qt::LeftButton);
        } else {
            QTest::keyClick(dialog, QString(how) == "Enter" ? Qt::Key_Return : Qt::Key_Enter);
        }
        QVERIFY2(dialog == nullptr || !dialog->isVisible(), how);
        QCOMPARE(program.Sound.Played, (Played{{"CLICK", true}}));
        QTRY_VERIFY(dialog == nullptr);
    }
}

void SoundDialogTest::itWorksWithoutADevice() {
    TTestProgram program;
    TfrmMain form(program.Services());
    QVERIFY(!SoundCardPresent);
    TfrmSound dialog;
    dialog.show();
    QTest::mouseClick(dialog.Form().cmdSetSound, Qt::LeftButton);
    QVERIFY(!SoundOn);
    QVERIFY(Shows(dialog, dialog.Form().ImageSoundOn));
    QVERIFY(program.Sound.Played.empty());
}

QTEST_MAIN(SoundDialogTest)
#include "SoundDialogTest.moc"
