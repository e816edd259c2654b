// A game without a mouse: the focus goes round each window in its design's
// order, Space and Enter press the focused button as a click does, the board
// and the bonus dice pick from the keys, and the focus mark shows only while
// the keyboard is in use. Without bonus words nothing reseeds, so the board is
// the one dealt from state 0:
//
//     A O A F P
//     A G K U T
//     T D A I QU
//     E I T R F
//     E I A G D

#include "UiFixture.h"
#include "app/TfrmMain.h"
#include "bonus/TfrmBonus.h"
#include "media/Sound.h"
#include "media/TfrmSound.h"
#include "platform/widgets/TDrawGrid.h"
#include "platform/widgets/TImage.h"
#include "platform/widgets/TLabel.h"
#include "ui_TfrmBonus.h"
#include "ui_TfrmMain.h"
#include "ui_TfrmSound.h"

#include <QAccessible>
#include <QtTest>

namespace {

using Played = std::vector<std::pair<std::string, bool>>;

// A key as the window system delivers it: to the widget with the focus.
void Key(QWidget& window, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* focused = window.focusWidget();
    QTest::keyClick(focused != nullptr ? focused : &window, key, modifiers);
}

// The names of the widgets that the focus visits, Tab after Tab (Shift+Tab
// when backwards), from the one that has it until it comes back to it.
QStringList FocusRound(QWidget& window, bool backwards = false) {
    QStringList visited;
    for (int step = 0; step < 20; ++step) {
        const QWidget* focused = window.focusWidget();
        const QString name = focused != nullptr ? focused->objectName() : QStringLiteral("none");
        if (!visited.isEmpty() && name == visited.front()) {
            break;
        }
        visited << name;
        Key(window, Qt::Key_Tab, backwards ? Qt::ShiftModifier : Qt::NoModifier);
    }
    return visited;
}

bool Active(QWidget& window) {
    window.activateWindow();
    return QTest::qWaitForWindowActive(&window);
}

QImage Grab(QWidget* widget) {
    return widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// The pixels of picture away from the outline of the focus mark (4 pixels
// in from every edge of rect).
QImage Inside(const QImage& picture, const QRect& rect) {
    return picture.copy(rect.adjusted(4, 4, -4, -4));
}

struct TKeyboardGame {
    TTestProgram Program;
    std::unique_ptr<TfrmMain> Form;

    explicit TKeyboardGame(const std::vector<std::string>& bonusWords = {})
        : Program({"aa", "at", "cat"}, bonusWords) {
        Program.WithSoundDevice();
        Form = std::make_unique<TfrmMain>(Program.Services());
        Form->show();
    }
    Ui::TfrmMain& Ui() { return Form->Form(); }
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        ::Key(*Form, key, modifiers);
    }
    QWidget* Focused() { return Form->focusWidget(); }
};

} // namespace

class KeyboardTest : public QObject {
    Q_OBJECT

private slots:
    void theFocusGoesRoundEachWindowInItsDesignsOrder_data();
    void theFocusGoesRoundEachWindowInItsDesignsOrder();
    void spaceOrEnterPressesTheFocusedButtonAsAClickDoes_data();
    void spaceOrEnterPressesTheFocusedButtonAsAClickDoes();
    void inADialogSpacePressesTheFocusedButtonAndEnterCloses();
    void aWordIsBuiltAddedAndTakenBackFromTheKeys();
    void theBonusRoundIsSolvedFromTheKeys();
    void theFocusMarkShowsOnlyWhileTheKeyboardIsInUse();
};

void KeyboardTest::theFocusGoesRoundEachWindowInItsDesignsOrder_data() {
    // How the window is reached from the start, and the round from the widget
    // that has the focus when it opens.
    QTest::addColumn<QString>("opened");
    QTest::addColumn<QString>("window");
    QTest::addColumn<QStringList>("round");
    const QStringList column{"cmdHelp",   "cmdAbout", "cmdSound",
                             "cmdScores", "cmdQuit",  "cmdMinimize"};
    QTest::newRow("main window, no game") << ""
                                          << "TfrmMain" << QStringList{"cmdNewGame"} + column;
    // Disabled and hidden buttons are passed over: New Game while a game runs,
    // the word buttons while no word is built.
    QTest::newRow("main window, a new game")
        << "New Game"
        << "TfrmMain" << QStringList{"Grid", "cmdPause"} + column;
    QTest::newRow("main window, a word in progress")
        << "a die"
        << "TfrmMain"
        << QStringList{"Grid", "cmdPause"} + column + QStringList{"cmdBackSpace", "cmdAddWord"};
    QTest::newRow("help") << "cmdHelp"
                          << "TfrmHelp" << QStringList{"Memo1", "cmdOk"};
    QTest::newRow("about") << "cmdAbout"
                           << "TfrmAbout" << QStringList{"cmdOk"};
    QTest::newRow("sound") << "cmdSound"
                           << "TfrmSound" << QStringList{"cmdSetSound", "cmdOk"};
    QTest::newRow("high scores") << "cmdScores"
                                 << "TfrmHighScores" << QStringList{"ScoreGrid", "cmdOk"};
    QTest::newRow("display modes")
        << "F8"
        << "TfrmDisplaySettings" << QStringList{"DispResList", "cmdApply", "cmdOk"};
    QTest::newRow("not a word") << "a die, Add Word"
                                << "TfrmBadWord" << QStringList{"cmdOk"};
    QTest::newRow("name entry") << "a word, game over"
                                << "TfrmAddScore" << QStringList{"eNewName", "cmdOk"};
}

void KeyboardTest::theFocusGoesRoundEachWindowInItsDesignsOrder() {
    QFETCH(QString, opened);
    QFETCH(QString, window);
    QFETCH(QStringList, round);
    TKeyboardGame game;
    QStringList forwards;
    QStringList backwards;
    const auto goRound = [&](QWidget& shown) {
        QVERIFY(Active(shown));
        forwards = FocusRound(shown);
        backwards = FocusRound(shown, true);
        // Screen readers hear where the focus is.
        QAccessibleInterface* focused = QAccessible::queryAccessibleInterface(shown.focusWidget());
        QVERIFY(focused->state().focusable);
        QVERIFY(focused->state().focused);
    };
    game.Program.Modal.OnDialog = [&](QDialog& dialog) {
        if (dialog.objectName() == window) {
            goRound(dialog);
        }
    };
    QVERIFY(Active(*game.Form));
    if (opened.startsWith("New Game") || opened.startsWith("a ")) {
        game.Key(Qt::Key_Space); // New Game has the focus at start
    }
    if (opened.startsWith("a die")) {
        game.Key(Qt::Key_Space);
    }
    if (opened == "a die, Add Word") {
        game.Key(Qt::Key_Tab, Qt::ShiftModifier);
        game.Key(Qt::Key_Space); // "A" is not a word here
    }
    if (opened == "a word, game over") {
        game.Key(Qt::Key_Down);
        game.Key(Qt::Key_Down);
        game.Key(Qt::Key_Tab, Qt::ShiftModifier);
        game.Key(Qt::Key_Space); // "AT", 1 point
        game.Program.Clock.AdvanceSeconds(173);
        game.Form->TimerTickTimer();
    }
    if (opened.startsWith("cmd")) {
        game.Form->findChild<QWidget*>(opened)->setFocus();
        game.Key(Qt::Key_Space);
    }
    if (opened == "F8") {
        game.Key(Qt::Key_F8);
    }
    if (window == "TfrmMain") {
        goRound(*game.Form);
    }
    QCOMPARE(forwards, round);
    QStringList reversed{round.front()};
    for (qsizetype i = round.size() - 1; i > 0; --i) {
        reversed << round[i];
    }
    QCOMPARE(backwards, reversed);
}

void KeyboardTest::spaceOrEnterPressesTheFocusedButtonAsAClickDoes_data() {
    QTest::addColumn<int>("key");
    QTest::newRow("Space") << int(Qt::Key_Space);
    QTest::newRow("Enter") << int(Qt::Key_Return);
    QTest::newRow("keypad Enter") << int(Qt::Key_Enter);
}

void KeyboardTest::spaceOrEnterPressesTheFocusedButtonAsAClickDoes() {
    QFETCH(int, key);
    TKeyboardGame game;
    QTest::mouseClick(game.Ui().cmdNewGame, Qt::LeftButton);
    game.Program.Sound.Played.clear();
    QTest::mouseClick(game.Ui().cmdPause, Qt::LeftButton);
    const Played byClick = game.Program.Sound.Played;
    QCOMPARE(byClick, (Played{{"CLICK", true}}));
    QTest::mouseClick(game.Ui().cmdPause, Qt::LeftButton); // Continue
    game.Program.Sound.Played.clear();

    game.Ui().cmdPause->setFocus();
    // Held down: the press repeats, the button is pressed once.
    QKeyEvent first(QEvent::KeyPress, key, Qt::NoModifier);
    QKeyEvent repeat(QEvent::KeyPress, key, Qt::NoModifier, QString(), true);
    QApplication::sendEvent(game.Focused(), &first);
    QApplication::sendEvent(game.Focused(), &repeat);
    QApplication::sendEvent(game.Focused(), &repeat);
    QCOMPARE(game.Program.Sound.Played, byClick);
    QVERIFY(game.Form->State().Paused);
    QCOMPARE(game.Ui().cmdPause->Caption(), QStringLiteral("Continue"));
}

void KeyboardTest::inADialogSpacePressesTheFocusedButtonAndEnterCloses() {
    TKeyboardGame game;
    bool closedByEnter = false;
    game.Program.Modal.OnDialog = [&](QDialog& dialog) {
        auto& sound = static_cast<TfrmSound&>(dialog);
        QVERIFY(Active(sound));
        QCOMPARE(sound.focusWidget(), sound.Form().cmdSetSound);
        Key(sound, Qt::Key_Space);
        QVERIFY(!SoundOn);
        QCOMPARE(sound.Form().cmdSetSound->Caption(), QStringLiteral("On"));
        Key(sound, Qt::Key_Return);
        closedByEnter = !sound.isVisible();
    };
    game.Ui().cmdSound->setFocus();
    game.Key(Qt::Key_Space);
    QVERIFY(closedByEnter);
    QVERIFY(!SoundOn); // Enter closed the dialog and pressed nothing
}

void KeyboardTest::aWordIsBuiltAddedAndTakenBackFromTheKeys() {
    TKeyboardGame game;
    QVERIFY(Active(*game.Form));
    game.Key(Qt::Key_Space); // New Game
    QCOMPARE(game.Focused(), game.Ui().Grid);
    game.Key(Qt::Key_Space); // the die the cursor starts on
    game.Key(Qt::Key_Down);  // and those it moves onto
    game.Key(Qt::Key_Down);
    QCOMPARE(game.Form->State().CurrentWord, QStringLiteral("AAT"));
    // Ctrl moves the cursor alone; a die already in the word is passed over.
    game.Key(Qt::Key_Right, Qt::ControlModifier);
    game.Key(Qt::Key_Up, Qt::ControlModifier);
    game.Key(Qt::Key_Left);
    QCOMPARE(game.Form->State().CurrentWord, QStringLiteral("AAT"));
    QCOMPARE(QPoint(game.Ui().Grid->Col(), game.Ui().Grid->Row()), QPoint(0, 1));
    QAccessibleInterface* cell =
        QAccessible::queryAccessibleInterface(game.Ui().Grid)->tableInterface()->cellAt(1, 0);
    QVERIFY(cell->state().focused);

    game.Key(Qt::Key_Tab, Qt::ShiftModifier);
    game.Key(Qt::Key_Tab, Qt::ShiftModifier);
    QCOMPARE(game.Focused(), game.Ui().cmdBackSpace);
    game.Key(Qt::Key_Space);
    QCOMPARE(game.Form->State().CurrentWord, QStringLiteral("AA"));
    game.Key(Qt::Key_Tab);
    game.Key(Qt::Key_Space); // Add Word
    QCOMPARE(game.Form->State().Score, 1);
    QCOMPARE(game.Ui().WordList->item(0)->text(), QStringLiteral("1.AA"));
    // Add Word goes grey and passes the focus on to the board.
    QCOMPARE(game.Focused(), game.Ui().Grid);
    QCOMPARE(game.Form->State().CurrentWord, QString());
}

void KeyboardTest::theBonusRoundIsSolvedFromTheKeys() {
    // The fake clock puts the first game's bonus die at (1, 2), its word
    // "apple" tangled as "PPLEA".
    TKeyboardGame game({"apple", "tiger"});
    QString answer;
    int passedOver = -1;
    game.Program.Modal.OnDialog = [&](QDialog& dialog) {
        auto* bonus = qobject_cast<TfrmBonus*>(&dialog);
        if (bonus == nullptr) {
            return; // the result
        }
        QVERIFY(Active(*bonus));
        TDrawGrid* dice = bonus->Form().BonusGrid;
        QCOMPARE(bonus->focusWidget(), dice);
        for (int step = 0; step < 4; ++step) {
            Key(*bonus, Qt::Key_Right, Qt::ControlModifier);
        }
        Key(*bonus, Qt::Key_Space); // A
        for (int step = 0; step < 4; ++step) {
            Key(*bonus, Qt::Key_Left, Qt::ControlModifier);
        }
        Key(*bonus, Qt::Key_Space); // P
        Key(*bonus, Qt::Key_Right); // P
        Key(*bonus, Qt::Key_Right); // L
        Key(*bonus, Qt::Key_Right); // E
        Key(*bonus, Qt::Key_Right); // the A, picked already: the cursor moves on
        passedOver = dice->Col();
        answer = bonus->Form().BonusLetter1->text() + bonus->Form().BonusLetter2->text() +
                 bonus->Form().BonusLetter3->text() + bonus->Form().BonusLetter4->text() +
                 bonus->Form().BonusLetter5->text();
        game.Program.Clock.AdvanceSeconds(0.25);
        bonus->TimerTickTimer();
    };
    QVERIFY(Active(*game.Form));
    game.Key(Qt::Key_Space); // New Game
    QCOMPARE(QPoint(game.Form->State().BonusCol, game.Form->State().BonusRow), QPoint(1, 2));
    game.Key(Qt::Key_Down);
    game.Key(Qt::Key_Down);
    game.Key(Qt::Key_Right); // onto the bonus die
    QCOMPARE(answer, QStringLiteral("APPLE"));
    QCOMPARE(passedOver, 4);
    QCOMPARE(game.Form->State().Score, 20);
    // Back on the board, on the die that is ordinary now.
    QCOMPARE(game.Focused(), game.Ui().Grid);
    game.Key(Qt::Key_Space);
    QCOMPARE(game.Form->State().CurrentWord, QStringLiteral("I"));
}

void KeyboardTest::theFocusMarkShowsOnlyWhileTheKeyboardIsInUse() {
    TKeyboardGame game;
    QVERIFY(Active(*game.Form));
    const auto click = [&] {
        QTest::mouseClick(game.Ui().BackgroundImage, Qt::LeftButton, {}, QPoint(300, 360));
    };
    click();
    TImageButton* help = game.Ui().cmdHelp;
    help->setFocus();
    const QImage unmarked = Grab(help);
    game.Key(Qt::Key_Tab);
    game.Key(Qt::Key_Tab, Qt::ShiftModifier);
    QCOMPARE(game.Focused(), help);
    const QImage marked = Grab(help);
    // An outline one pixel in from the edge, black outside and white inside;
    // the picture within it and the button's size stay.
    QCOMPARE(marked.size(), unmarked.size());
    QCOMPARE(marked.pixel(1, 19), qRgb(0, 0, 0));
    QCOMPARE(marked.pixel(52, 2), qRgb(0, 0, 0));
    QCOMPARE(marked.pixel(3, 19), qRgb(255, 255, 255));
    QVERIFY(unmarked.pixel(1, 19) != qRgb(0, 0, 0));
    QCOMPARE(Inside(marked, help->rect()), Inside(unmarked, help->rect()));

    click();
    QCOMPARE(Grab(help), unmarked);

    // On the board, around the current cell only.
    game.Ui().cmdNewGame->setFocus();
    game.Key(Qt::Key_Space);
    TDrawGrid* board = game.Ui().Grid;
    game.Key(Qt::Key_Right, Qt::ControlModifier);
    const QImage cursor = Grab(board);
    const QRect cell = board->CellRect(1, 0);
    QCOMPARE(cursor.pixel(cell.left() + 1, cell.center().y()), qRgb(0, 0, 0));
    QCOMPARE(cursor.pixel(cell.right() - 1, cell.center().y()), qRgb(0, 0, 0));
    click();
    const QImage plain = Grab(board);
    QVERIFY(plain.pixel(cell.left() + 1, cell.center().y()) != qRgb(0, 0, 0));
    QCOMPARE(Inside(cursor, cell), Inside(plain, cell));
    QCOMPARE(plain.copy(board->CellRect(2, 0)), cursor.copy(board->CellRect(2, 0)));
}

QTEST_MAIN(KeyboardTest)
#include "KeyboardTest.moc"
