// The high-score window in its two modes, the name-entry dialog, and the keys.

#include "UiFixture.h"
#include "app/TfrmMain.h"
#include "scores/TfrmAddScore.h"
#include "scores/TfrmHighScores.h"
#include "ui_TfrmAddScore.h"
#include "ui_TfrmHighScores.h"
#include "ui_TfrmMain.h"

#include <QLineEdit>
#include <QWindow>
#include <QtTest>
#include <filesystem>

namespace {

using Played = std::vector<std::pair<std::string, bool>>;

QStringList Rows(TfrmHighScores& window) {
    QStringList rows;
    for (int row = 0; row < 10; ++row) {
        rows.push_back(window.Form().ScoreGrid->item(row, 0)->text() + "|" +
                       window.Form().ScoreGrid->item(row, 1)->text());
    }
    return rows;
}

QStringList Blank() {
    return QStringList(10, "|");
}

struct TScoresFixture {
    TTestProgram Program;
    TTempFolder Working;
    TTempFolder Temporary;

    TScoresFixture() { Program.WithSoundDevice(); }

    // Shows a new window as the game does and hands it back while still open.
    QPointer<TfrmHighScores> Open(std::int32_t score, bool gameOver) {
        auto* window =
            new TfrmHighScores(Program.Modal, score, gameOver, {Working.Path(), Temporary.Path()});
        window->show();
        return window;
    }
    std::string File() const { return Working.File("SCORES.DAT"); }
};

} // namespace

class HighScoresTest : public QObject {
    Q_OBJECT

private slots:
    void theScoresButtonOpensTheTableForViewingOnly();
    void theGridHasItsColumnsAndNeverShowsASelection();
    void aGameOverScoreIsNamedPlacedAndSaved();
    void aZeroScoreNeverAsksForAName();
    void theNameDialogPromptsAndTakesTheFocus();
    void f7EmptiesTheTableAndItsFile();
    void enterClosesAndEscapeDoesNot();
    void aDamagedFileIsToldOnce();
};

void HighScoresTest::theScoresButtonOpensTheTableForViewingOnly() {
    TScoresFixture f;
    TfrmMain form(f.Program.Services());
    QStringList rows;
    bool gameOverShown = true;
    f.Program.Modal.OnDialog = [&](QDialog& dialog) {
        auto& window = static_cast<TfrmHighScores&>(dialog);
        rows = Rows(window);
        gameOverShown = window.Form().lblGameOver->isVisible();
    };
    QTest::mouseClick(form.Form().cmdScores, Qt::LeftButton);

    QCOMPARE(f.Program.Modal.DialogsShown, std::vector<QString>{"TfrmHighScores"});
    QCOMPARE(rows, Blank());
    QVERIFY(!gameOverShown);
    // Created empty where the program keeps its scores, and no table written.
    QCOMPARE(std::filesystem::file_size(f.Program.File("SCORES.DAT")), 0u);
    QCOMPARE(f.Program.Sound.Played, (Played{{"LOADING", false}, {"CLICK", true}}));

    // A score handed over for viewing is never placed.
    QPointer<TfrmHighScores> viewing = f.Open(42, false);
    QCOMPARE(Rows(*viewing), Blank());
    QVERIFY(!std::filesystem::exists(f.File()) || std::filesystem::file_size(f.File()) == 0);
    delete viewing;
}

void HighScoresTest::theGridHasItsColumnsAndNeverShowsASelection() {
    TScoresFixture f;
    QPointer<TfrmHighScores> window = f.Open(0, false);
    QTableWidget* grid = window->Form().ScoreGrid;
    QCOMPARE(grid->columnWidth(0), 220);
    QCOMPARE(grid->columnWidth(1), 40);
    QCOMPARE(grid->currentRow(), -1);
    QVERIFY(grid->selectedItems().isEmpty());
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                      grid->visualItemRect(grid->item(2, 0)).center());
    QVERIFY(grid->selectedItems().isEmpty());
    const QImage shown = grid->grab().toImage();
    const QRgb highlight = grid->palette().color(QPalette::Highlight).rgb();
    for (int y = 0; y < shown.height(); y += 2) {
        for (int x = 0; x < shown.width(); x += 2) {
            QVERIFY(shown.pixel(x, y) != highlight);
        }
    }
    window->close();
}

void HighScoresTest::aGameOverScoreIsNamedPlacedAndSaved() {
    TScoresFixture f;
    bool ownerShown = false;
    f.Program.Modal.OnDialog = [&ownerShown](QDialog& dialog) {
        // Shown with its parent on the screen, which it can then name as its
        // parent to the compositor.
        ownerShown = dialog.parentWidget()->windowHandle() != nullptr &&
                     dialog.parentWidget()->windowHandle()->isVisible();
        auto& ask = static_cast<TfrmAddScore&>(dialog);
        QTest::keyClicks(ask.Form().eNewName, "Ann");
        QTest::keyClick(ask.Form().eNewName, Qt::Key_Return);
    };
    QPointer<TfrmHighScores> window = f.Open(25, true);
    QCOMPARE(f.Program.Modal.DialogsShown, std::vector<QString>{"TfrmAddScore"});
    QVERIFY(ownerShown);
    QVERIFY(window->Form().lblGameOver->isVisibleTo(window));
    QCOMPARE(Rows(*window).first(), QStringLiteral("Ann|25"));
    QCOMPARE(std::filesystem::file_size(f.File()), 308u);
    QCOMPARE(f.Program.Sound.Played,
             (Played{{"LOADING", false}, {"GOODJOB", true}, {"CLICK", true}}));

    // The next game's equal score is placed below the first one.
    f.Program.Modal.OnDialog = [](QDialog& dialog) {
        QTest::keyClicks(static_cast<TfrmAddScore&>(dialog).Form().eNewName, "Bo");
        QTest::mouseClick(static_cast<TfrmAddScore&>(dialog).Form().cmdOk, Qt::LeftButton);
    };
    window->close();
    window = f.Open(25, true);
    QCOMPARE(Rows(*window).mid(0, 3), (QStringList{"Ann|25", "Bo|25", "|"}));
    window->close();
}

void HighScoresTest::aZeroScoreNeverAsksForAName() {
    TScoresFixture f;
    QPointer<TfrmHighScores> window = f.Open(0, true);
    QVERIFY(f.Program.Modal.DialogsShown.empty());
    QCOMPARE(Rows(*window), Blank());
    QCOMPARE(std::filesystem::file_size(f.File()), 0u);
    window->close();
}

void HighScoresTest::theNameDialogPromptsAndTakesTheFocus() {
    TScoresFixture f;
    TfrmAddScore ask;
    ask.show();
    QVERIFY(QTest::qWaitForWindowActive(&ask));
    QCOMPARE(
        ask.Form().Label1->text(),
        QStringLiteral(
            "Wow!  You got one of the top 10 highest scores!  Please add your name to the list:"));
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(ask.Form().eNewName));
    QCOMPARE(ask.Form().eNewName->text(), QString());
    QCOMPARE(ask.Form().eNewName->maxLength(), 32767); // no limit of its own
    QCOMPARE(f.Program.Sound.Played, (Played{{"GOODJOB", true}}));
}

void HighScoresTest::f7EmptiesTheTableAndItsFile() {
    TScoresFixture f;
    f.Program.Modal.OnDialog = [](QDialog& dialog) {
        QTest::keyClicks(static_cast<TfrmAddScore&>(dialog).Form().eNewName, "Cy");
    };
    QPointer<TfrmHighScores> window = f.Open(9, true);
    QCOMPARE(Rows(*window).first(), QStringLiteral("Cy|9"));
    f.Program.Sound.Played.clear();
    QTest::keyClick(window, Qt::Key_F7);
    QCOMPARE(Rows(*window), Blank());
    QCOMPARE(std::filesystem::file_size(f.File()), 0u);
    QCOMPARE(f.Program.Sound.Played, (Played{{"GAMEOVER", true}}));
    QVERIFY(window->isVisible());
    window->close();
}

void HighScoresTest::enterClosesAndEscapeDoesNot() {
    TScoresFixture f;
    QPointer<TfrmHighScores> window = f.Open(0, false);
    QTest::keyClick(window, Qt::Key_Escape);
    QVERIFY(window->isVisible());
    QTest::keyClick(window, Qt::Key_Return);
    QVERIFY(window == nullptr || !window->isVisible());
    QTRY_VERIFY2(window == nullptr, "destroyed on closing");
}

void HighScoresTest::aDamagedFileIsToldOnce() {
    TScoresFixture f;
    WriteBytes(f.File(), std::string(300, '\x01'));
    QPointer<TfrmHighScores> window = f.Open(0, false);
    QCOMPARE(f.Program.Modal.Warnings, QStringList{"The high scores file is missing or corrupt!"});
    QCOMPARE(Rows(*window), Blank());
    window->close();
}

QTEST_MAIN(HighScoresTest)
#include "HighScoresTest.moc"
