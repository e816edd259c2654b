// The notice and information dialogs: their texts, their sounds on showing and
// closing, Enter closing them and Escape not, a fresh instance each time.

#include "UiFixture.h"
#include "app/TfrmMain.h"
#include "bonus/TfrmBonusDone.h"
#include "dialogs/TfrmAbout.h"
#include "dialogs/TfrmBadWord.h"
#include "dialogs/TfrmHelp.h"
#include "dialogs/TfrmSameWord.h"
#include "ui_TfrmAbout.h"
#include "ui_TfrmBadWord.h"
#include "ui_TfrmHelp.h"
#include "ui_TfrmMain.h"
#include "ui_TfrmSameWord.h"

#include <QPlainTextEdit>
#include <QWindow>
#include <QtTest>

namespace {

using Played = std::vector<std::pair<std::string, bool>>;

QString Text(QWidget* form, const char* label) {
    return form->findChild<QLabel*>(label)->text();
}

} // namespace

class DialogsTest : public QObject {
    Q_OBJECT

private slots:
    void eachDialogHasItsTextsAndSounds_data();
    void eachDialogHasItsTextsAndSounds();
    void theHelpTextHasItsNineLinesExactly();
    void enterInTheHelpTextClosesTheDialog();
    void enterClosesTheDialogFromTheWindowItBlocks();
    void theButtonsOpenAFreshDialogEachTime();
    void theClockRunsOnWhileADialogIsOpen();
};

void DialogsTest::eachDialogHasItsTextsAndSounds_data() {
    QTest::addColumn<QString>("dialog");
    QTest::addColumn<QStringList>("texts"); // label=text
    QTest::addColumn<QString>("showSound");
    QTest::addColumn<QString>("closeSound");
    QTest::newRow("bad word") << "TfrmBadWord"
                              << QStringList{"Label2=...OOPS!",
                                             "Label1=is not a word in my dictionary!"}
                              << "OOPS async"
                              << "CLICK async";
    QTest::newRow("same word") << "TfrmSameWord"
                               << QStringList{"Label2=...HEY!",
                                              "Label1=you already added that word!"}
                               << ""
                               << "OK wait";
    QTest::newRow("about") << "TfrmAbout"
                           << QStringList{"lblVersion=Lexipede 1.1.6.1",
                                          "lblCompany=The Lexipede developers",
                                          "lblCopyright=Copyright 2026 The Lexipede developers"}
                           << ""
                           << "OK wait";
    QTest::newRow("help") << "TfrmHelp"
                          << QStringList{"Label2=How to play:",
                                         "Label1=Letters:      Points Awarded:",
                                         "Label3=3 or less",
                                         "Label4=4",
                                         "Label5=5",
                                         "Label6=6",
                                         "Label7=7",
                                         "Label8=8 or more",
                                         "Label9==    1",
                                         "Label10==    2",
                                         "Label11==    3",
                                         "Label12==    6",
                                         "Label13==    8",
                                         "Label14==   10"}
                          << "LOADING wait"
                          << "CLICK async";
    QTest::newRow("bonus result")
        << "TfrmBonusDone"
        << QStringList{"Label2=Bonus Round is Over:", "Label5=The word was:",
                       "Label4=Your guess at the word:", "lblBonusPoints=Bonus Points : 0"}
        << ""
        << "CLICK async";
}

void DialogsTest::eachDialogHasItsTextsAndSounds() {
    QFETCH(QString, dialog);
    QFETCH(QStringList, texts);
    QFETCH(QString, showSound);
    QFETCH(QString, closeSound);
    const auto Sound = [](const QString& layout) {
        const QStringList parts = layout.split(' ');
        return std::pair<std::string, bool>{parts[0].toStdString(), parts[1] == "async"};
    };
    for (const char* how : {"Enter", "OK"}) {
        TTestProgram program;
        program.WithSoundDevice();
        QPointer<TDialogForm> form;
        if (dialog == "TfrmBadWord") {
            form = new TfrmBadWord;
        } else if (dialog == "TfrmSameWord") {
            form = new TfrmSameWord;
        } else if (dialog == "TfrmBonusDone") {
            form = new TfrmBonusDone;
        } else if (dialog == "TfrmAbout") {
            form = new TfrmAbout;
        } else {
            form = new TfrmHelp;
        }
        form->show();
        for (const QString& expected : texts) {
            const qsizetype split = expected.indexOf('=');
            QCOMPARE(Text(form, qPrintable(expected.left(split))), expected.mid(split + 1));
        }
        QCOMPARE(program.Sound.Played, showSound.isEmpty() ? Played{} : Played{Sound(showSound)});
        QTest::keyClick(form, Qt::Key_Escape);
        QVERIFY2(form->isVisible(), "Escape does nothing");
        program.Sound.Played.clear();
        if (QString(how) == "Enter") {
            QTest::keyClick(form, Qt::Key_Return);
        } else {
            QTest::mouseClick(form->findChild<TImageButton*>("cmdOk"), Qt::LeftButton);
        }
        QVERIFY(form == nullptr || !form->isVisible());
        QCOMPARE(program.Sound.Played, Played{Sound(closeSound)});
        QTRY_VERIFY2(form == nullptr, "destroyed on closing");
    }
}

void DialogsTest::theHelpTextHasItsNineLinesExactly() {
    TfrmHelp help;
    const QPlainTextEdit* memo = help.Form().Memo1;
    const QStringList lines = memo->toPlainText().split('\n');
    QCOMPARE(lines, (QStringList{"To play the game simply click on the New Game button",
                                 "and then click on the letters in the grid to build a new ",
                                 "word. Once a letter has been used it will not be available",
                                 "until you have began creating a new word. When you are",
                                 "satisfied with the word you have created you can click on ",
                                 "the Add Word button to add it to the list. Longer words are ",
                                 "worth more points.", "", " "}));
    QVERIFY(!memo->isReadOnly());
    QCOMPARE(memo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QCOMPARE(memo->lineWrapMode(), QPlainTextEdit::WidgetWidth);
}

void DialogsTest::enterInTheHelpTextClosesTheDialog() {
    TTestProgram program;
    QPointer<TfrmHelp> help = new TfrmHelp;
    help->show();
    QVERIFY(QTest::qWaitForWindowActive(help));
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(help->Form().Memo1));
    QTest::keyClicks(help->Form().Memo1, "xyz");
    QVERIFY(help->Form().Memo1->toPlainText().contains("xyz"));
    const int blocks = help->Form().Memo1->blockCount();
    QTest::keyClick(help->Form().Memo1, Qt::Key_Return);
    QVERIFY(help == nullptr || !help->isVisible());
    QVERIFY(help == nullptr || help->Form().Memo1->blockCount() == blocks); // no new line went in
}

void DialogsTest::enterClosesTheDialogFromTheWindowItBlocks() {
    // As a compositor that does not know the dialog is modal leaves it: the
    // player clicked the main window, which took the keyboard.
    TTestProgram program;
    TfrmMain form(program.Services());
    form.show();
    QPointer<TfrmHelp> help = new TfrmHelp(&form);
    help->setWindowModality(Qt::ApplicationModal);
    help->show();
    QVERIFY(QTest::qWaitForWindowExposed(help));
    form.windowHandle()->requestActivate();
    QTRY_COMPARE(QGuiApplication::focusWindow(), form.windowHandle());
    QTest::keyClick(form.windowHandle(), Qt::Key_Return);
    QTRY_VERIFY(help == nullptr || !help->isVisible());
}

void DialogsTest::theButtonsOpenAFreshDialogEachTime() {
    TTestProgram program;
    TfrmMain form(program.Services());
    std::vector<QDialog*> seen;
    QString typed;
    program.Modal.OnDialog = [&](QDialog& dialog) {
        seen.push_back(&dialog);
        if (auto* help = qobject_cast<TfrmHelp*>(&dialog)) {
            typed = help->Form().Memo1->toPlainText();
            QTest::keyClicks(help->Form().Memo1, "scribble");
        }
    };
    QTest::mouseClick(form.Form().cmdAbout, Qt::LeftButton);
    QTest::mouseClick(form.Form().cmdAbout, Qt::LeftButton);
    QTest::mouseClick(form.Form().cmdHelp, Qt::LeftButton);
    QTest::mouseClick(form.Form().cmdHelp, Qt::LeftButton);
    QCOMPARE(program.Modal.DialogsShown,
             (std::vector<QString>{"TfrmAbout", "TfrmAbout", "TfrmHelp", "TfrmHelp"}));
    QVERIFY2(!typed.contains("scribble"), "nothing typed into the help text survives its closing");
}

void DialogsTest::theClockRunsOnWhileADialogIsOpen() {
    TTestProgram program;
    TfrmMain form(program.Services());
    QTest::mouseClick(form.Form().cmdNewGame, Qt::LeftButton);
    program.Modal.OnDialog = [&](QDialog&) {
        program.Clock.AdvanceSeconds(30.25);
        form.TimerTickTimer(); // the main window's timer fires inside the dialog's loop
    };
    QTest::mouseClick(form.Form().cmdHelp, Qt::LeftButton);
    QCOMPARE(form.Form().lblTime->text(), QStringLiteral("02:22"));
    QVERIFY(form.ClockRunning());
}

QTEST_MAIN(DialogsTest)
#include "DialogsTest.moc"
