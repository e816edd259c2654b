// What assistive technology sees of the windows and can do in them: picture
// buttons as push buttons named by their captions, the board as a table of
// named dice, presses that do what clicks do and nothing where a click cannot
// reach. The random source starts each test at 0, so every game deals
//
//     A O A F P
//     A G K U T
//     T D A I QU
//     E I T R F
//     E I A G D

#include "UiFixture.h"
#include "app/TfrmMain.h"
#include "media/TfrmSound.h"
#include "platform/widgets/TDrawGrid.h"
#include "platform/widgets/TImage.h"
#include "ui_TfrmMain.h"
#include "ui_TfrmSound.h"

#include <QAccessible>
#include <QtTest>

namespace {

using Played = std::vector<std::pair<std::string, bool>>;

QAccessibleInterface* Accessible(QObject* object) {
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(object);
    if (face == nullptr) {
        qFatal("no accessible interface for %s", qPrintable(object->objectName()));
    }
    return face;
}

QString Name(QAccessibleInterface* face) {
    return face->text(QAccessible::Name);
}

// A press answers at once and is carried out in the next turn of the event loop.
void Press(QAccessibleInterface* face) {
    QAccessibleActionInterface* actions = face->actionInterface();
    QVERIFY(actions != nullptr);
    QCOMPARE(actions->actionNames(), QStringList{QAccessibleActionInterface::pressAction()});
    actions->doAction(QAccessibleActionInterface::pressAction());
    QCoreApplication::processEvents();
}

QAccessibleInterface* Cell(TfrmMain& form, int col, int row) {
    return Accessible(form.Form().Grid)->tableInterface()->cellAt(row, col);
}

struct TMainWindow {
    // No bonus words: nothing reseeds, so every game deals the state-0 board.
    TTestProgram Program{{"cat", "cats", "dog", "quiet"}, {}};
    TfrmMain Form{Program.WithSoundDevice().Services()};

    TMainWindow() { Form.show(); }
    QAccessibleInterface* Button(const char* name) {
        return Accessible(Form.findChild<TImageButton*>(name));
    }
};

} // namespace

class AccessibilityTest : public QObject {
    Q_OBJECT

private slots:
    void theMainWindowIsAWindowNamedLexipede();
    void everyButtonIsAPushButtonNamedByItsCaption_data();
    void everyButtonIsAPushButtonNamedByItsCaption();
    void pressingAButtonDoesWhatAClickDoes();
    void pressingADisabledOrHiddenButtonDoesNothing();
    void minimizeIsAPushButtonThatMinimizes();
    void theSoundSwitchIsNamedAsItShows();
    void theBoardIsATableOfTheDiceDealt();
    void theBonusDieReadsLikeEveryOther();
    void pressingADiePicksItAsAClickDoes();
    void pressingADieOfADisabledBoardDoesNothing();
};

void AccessibilityTest::theMainWindowIsAWindowNamedLexipede() {
    TMainWindow window;
    QAccessibleInterface* face = Accessible(&window.Form);
    QCOMPARE(face->role(), QAccessible::Window);
    QCOMPARE(Name(face), QStringLiteral("Lexipede"));
}

void AccessibilityTest::everyButtonIsAPushButtonNamedByItsCaption_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<bool>("visible");
    // As the window stands after start-up, before a game.
    QTest::newRow("new game") << "cmdNewGame"
                              << "New Game" << true << true;
    QTest::newRow("pause") << "cmdPause"
                           << "Pause" << true << false;
    QTest::newRow("add word") << "cmdAddWord"
                              << "Add Word" << false << true;
    QTest::newRow("back space") << "cmdBackSpace"
                                << "Back Space" << false << true;
    QTest::newRow("help") << "cmdHelp"
                          << "Help" << true << true;
    QTest::newRow("about") << "cmdAbout"
                           << "About" << true << true;
    QTest::newRow("sound") << "cmdSound"
                           << "Sound" << true << true;
    QTest::newRow("scores") << "cmdScores"
                            << "Scores" << true << true;
    QTest::newRow("quit") << "cmdQuit"
                          << "Quit" << true << true;
}

void AccessibilityTest::everyButtonIsAPushButtonNamedByItsCaption() {
    QFETCH(QString, button);
    QFETCH(QString, name);
    QFETCH(bool, enabled);
    QFETCH(bool, visible);
    TMainWindow window;
    QAccessibleInterface* face = window.Button(qPrintable(button));
    QCOMPARE(face->role(), QAccessible::Button);
    QCOMPARE(Name(face), name);
    QCOMPARE(!face->state().disabled, enabled);
    QCOMPARE(!face->state().invisible, visible);
    QVERIFY(face->actionInterface() != nullptr);
    QCOMPARE(face->actionInterface()->actionNames(),
             QStringList{QAccessibleActionInterface::pressAction()});
}

void AccessibilityTest::pressingAButtonDoesWhatAClickDoes() {
    TMainWindow window;
    Press(window.Button("cmdNewGame"));
    QCOMPARE(window.Program.Sound.Played, (Played{{"NEWGAME", true}}));
    QCOMPARE(window.Form.State().Faces[4][2], QStringLiteral("QU"));
    QVERIFY(window.Button("cmdNewGame")->state().invisible);

    QAccessibleInterface* pause = window.Button("cmdPause");
    QCOMPARE(Name(pause), QStringLiteral("Pause"));
    Press(pause);
    QVERIFY(window.Form.State().Paused);
    QCOMPARE(Name(pause), QStringLiteral("Continue"));
    Press(pause);
    QVERIFY(!window.Form.State().Paused);
    QCOMPARE(Name(pause), QStringLiteral("Pause"));

    Press(window.Button("cmdHelp"));
    QCOMPARE(window.Program.Modal.DialogsShown, std::vector<QString>{"TfrmHelp"});
}

void AccessibilityTest::pressingADisabledOrHiddenButtonDoesNothing() {
    TMainWindow window;
    // Add Word and Back Space are disabled, Pause hidden, before any game.
    for (const char* button : {"cmdAddWord", "cmdBackSpace", "cmdPause"}) {
        Press(window.Button(button));
    }
    QCOMPARE(window.Program.Sound.Played, Played{});
    QVERIFY(!window.Form.State().Paused);
    QVERIFY(!window.Form.ClockRunning());

    // A paused game disables them again, with a word in progress.
    Press(window.Button("cmdNewGame"));
    Press(Cell(window.Form, 1, 0));
    Press(window.Button("cmdPause"));
    window.Program.Sound.Played.clear();
    for (const char* button : {"cmdAddWord", "cmdBackSpace"}) {
        Press(window.Button(button));
    }
    QCOMPARE(window.Program.Sound.Played, Played{});
    QCOMPARE(window.Form.State().CurrentWord, QStringLiteral("O"));
}

void AccessibilityTest::minimizeIsAPushButtonThatMinimizes() {
    TMainWindow window;
    QAccessibleInterface* minimize = Accessible(window.Form.Form().cmdMinimize);
    QCOMPARE(minimize->role(), QAccessible::Button);
    QCOMPARE(Name(minimize), QStringLiteral("Minimize"));
    Press(minimize);
    QVERIFY(window.Form.isMinimized());
    QCOMPARE(window.Program.Sound.Played, (Played{{"CLICK", true}}));
}

void AccessibilityTest::theSoundSwitchIsNamedAsItShows() {
    TTestProgram program;
    program.WithSoundDevice();
    TfrmSound dialog;
    dialog.show();
    QAccessibleInterface* face = Accessible(dialog.Form().cmdSetSound);
    QCOMPARE(face->role(), QAccessible::Button);
    QCOMPARE(Name(face), QStringLiteral("Off"));
    Press(face);
    QVERIFY(!SoundOn);
    QCOMPARE(Name(face), QStringLiteral("On"));
    QCOMPARE(Name(Accessible(dialog.Form().cmdOk)), QStringLiteral("OK"));
}

void AccessibilityTest::theBoardIsATableOfTheDiceDealt() {
    TMainWindow window;
    Press(window.Button("cmdNewGame"));
    QAccessibleInterface* board = Accessible(window.Form.Form().Grid);
    QCOMPARE(board->role(), QAccessible::Table);
    QCOMPARE(Name(board), QStringLiteral("Letter board"));
    QAccessibleTableInterface* table = board->tableInterface();
    QVERIFY(table != nullptr);
    QCOMPARE(table->rowCount(), 5);
    QCOMPARE(table->columnCount(), 5);
    QCOMPARE(board->childCount(), 25);

    const std::vector<QStringList> rows = {{"A", "O", "A", "F", "P"},
                                           {"A", "G", "K", "U", "T"},
                                           {"T", "D", "A", "I", "QU"},
                                           {"E", "I", "T", "R", "F"},
                                           {"E", "I", "A", "G", "D"}};
    for (int row = 0; row < 5; ++row) {
        for (int col = 0; col < 5; ++col) {
            QAccessibleInterface* cell = Cell(window.Form, col, row);
            QCOMPARE(cell->role(), QAccessible::Cell);
            QCOMPARE(Name(cell), rows[row][col]);
            QCOMPARE(board->child(row * 5 + col), cell);
            QCOMPARE(board->indexOfChild(cell), row * 5 + col);
            QCOMPARE(cell->parent(), board);
            QCOMPARE(cell->tableCellInterface()->columnIndex(), col);
            QCOMPARE(cell->tableCellInterface()->rowIndex(), row);
            QVERIFY(!cell->state().checked);
            QVERIFY(!cell->state().disabled);
            QCOMPARE(cell->text(QAccessible::Description), QString());
            const QRect onScreen = window.Form.Form().Grid->CellRect(col, row).translated(
                window.Form.Form().Grid->mapToGlobal(QPoint(0, 0)));
            QCOMPARE(cell->rect(), onScreen);
            QCOMPARE(board->childAt(onScreen.center().x(), onScreen.center().y()), cell);
        }
    }
}

void AccessibilityTest::theBonusDieReadsLikeEveryOther() {
    TTestProgram program; // with bonus words: a die of each board is the bonus die
    TfrmMain form(program.Services());
    form.show();
    form.cmdNewGameClick();
    const int col = form.State().BonusCol;
    const int row = form.State().BonusRow;
    QVERIFY(col >= 0 && row >= 0);
    QAccessibleInterface* die = Cell(form, col, row);
    QCOMPARE(Name(die), form.State().Faces[col][row]);
    QCOMPARE(die->text(QAccessible::Description), QString());
    QVERIFY(!die->state().checked);
}

void AccessibilityTest::pressingADiePicksItAsAClickDoes() {
    TMainWindow window;
    Press(window.Button("cmdNewGame"));
    window.Program.Sound.Played.clear();
    QAccessibleInterface* qu = Cell(window.Form, 4, 2);
    QAccessibleInterface* i = Cell(window.Form, 3, 2);

    Press(qu);
    Press(i);
    QCOMPARE(window.Form.State().CurrentWord, QStringLiteral("QUI"));
    QCOMPARE(Name(Accessible(window.Form.Form().NewWord)), QStringLiteral("QUI"));
    QCOMPARE(window.Program.Sound.Played, (Played{{"CLICK", true}, {"CLICK", true}}));
    QVERIFY(qu->state().checked);
    QCOMPARE(qu->text(QAccessible::Description), QStringLiteral("in the word"));
    QCOMPARE(Name(qu), QStringLiteral("QU"));
    QVERIFY(!window.Button("cmdAddWord")->state().disabled);

    // A die already in the word: no sound, no change, as for a click.
    Press(qu);
    QCOMPARE(window.Form.State().CurrentWord, QStringLiteral("QUI"));
    QCOMPARE(window.Program.Sound.Played.size(), 2u);

    Press(window.Button("cmdBackSpace"));
    QCOMPARE(window.Form.State().CurrentWord, QStringLiteral("QU"));
    QVERIFY(!i->state().checked);
    QCOMPARE(i->text(QAccessible::Description), QString());
}

void AccessibilityTest::pressingADieOfADisabledBoardDoesNothing() {
    TMainWindow window;
    window.Form.FillTheGrid();
    QAccessibleInterface* cell = Cell(window.Form, 0, 0);
    QCOMPARE(Name(cell), QStringLiteral("A"));
    QVERIFY(cell->state().disabled);
    Press(cell);
    QCOMPARE(window.Form.State().CurrentWord, QString());
    QCOMPARE(window.Program.Sound.Played, Played{});
}

QTEST_MAIN(AccessibilityTest)
#include "AccessibilityTest.moc"
