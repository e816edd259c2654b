// Every window at its client size, and each control where the designs put it,
// with its font. Auto-size labels (w = h = 0 here) are checked by position, since
// they take the size of their text.

#include "UiFixture.h"
#include "app/TfrmLoading.h"
#include "app/TfrmMain.h"
#include "bonus/TfrmBonus.h"
#include "bonus/TfrmBonusDone.h"
#include "dialogs/TfrmAbout.h"
#include "dialogs/TfrmBadWord.h"
#include "dialogs/TfrmHelp.h"
#include "dialogs/TfrmSameWord.h"
#include "game/GameClock.h"
#include "game/GameState.h"
#include "media/TfrmDisplaySettings.h"
#include "media/TfrmSound.h"
#include "platform/widgets/ScreenDisplayModes.h"
#include "platform/widgets/TImage.h"
#include "scores/TfrmAddScore.h"
#include "scores/TfrmHighScores.h"

#include <QAccessible>
#include <QLabel>
#include <QtTest>
#include <functional>

namespace {

struct TControl {
    const char* Name;
    int X, Y, W, H;
    int Px = 0; // font pixel height; 0 for a picture
    const char* Colour = "#000000";
};

struct TWindowDesign {
    const char* Class;
    int Width, Height;
    std::vector<TControl> Controls;
};

constexpr const char* Red = "#ff0000";
constexpr const char* Green = "#008000";

// AN is "Arial Narrow" bold: Liberation Sans Narrow bold here.
const std::vector<TWindowDesign> Designs = {
    {"TfrmMain",
     685,
     391,
     {{"BackgroundImage", 0, 0, 685, 391},
      {"NewWord", 36, 24, 185, 23, 21},
      {"cmdNewGame", 552, 50, 105, 38},
      {"cmdPause", 552, 87, 105, 38},
      {"cmdAddWord", 157, 327, 105, 38},
      {"cmdHelp", 552, 124, 105, 38},
      {"cmdQuit", 552, 272, 105, 38},
      {"cmdAbout", 552, 161, 105, 38},
      {"cmdScores", 552, 235, 105, 38},
      {"cmdSound", 552, 198, 105, 38},
      {"cmdBackSpace", 45, 327, 105, 38},
      {"lblTime", 341, 24, 0, 0, 21},
      {"Label3", 256, 24, 0, 0, 21},
      {"lblVersion", 288, 364, 225, 16, 13},
      {"Label1", 424, 24, 0, 0, 21},
      {"ScoreBox", 484, 24, 0, 0, 21},
      {"cmdMinimize", 613, 28, 42, 17},
      {"Grid", 29, 75, 238, 236},
      {"WordList", 288, 75, 233, 235}}},
    {"TfrmLoading",
     382,
     96,
     {{"Image2", 0, 0, 382, 96}, {"lblLoading", 109, 37, 0, 0, 16}, {"Image1", 12, 8, 85, 81}}},
    {"TfrmBadWord",
     330,
     180,
     {{"Image2", 0, 0, 330, 180},
      {"lblBadWord", 8, 61, 313, 30, 19, Red},
      {"Label1", 54, 101, 0, 0, 19},
      {"Label2", 95, 13, 0, 0, 19},
      {"cmdOk", 113, 130, 105, 38}}},
    {"TfrmSameWord",
     330,
     180,
     {{"Image2", 0, 0, 330, 180},
      {"lblSameWord", 59, 53, 213, 30, 21, Red},
      {"Label1", 54, 96, 0, 0, 21},
      {"Label2", 91, 13, 0, 0, 21},
      {"Image1", 8, 8, 75, 75},
      {"cmdOk", 118, 128, 105, 38}}},
    {"TfrmAbout",
     330,
     180,
     {{"Image2", 0, 0, 330, 180},
      {"Image1", 8, 8, 84, 84},
      {"cmdOk", 112, 126, 105, 38},
      {"lblCopyright", 26, 90, 277, 23, 16},
      {"lblVersion", 57, 25, 215, 24, 16},
      {"lblCompany", 65, 61, 199, 24, 16}}},
    {"TfrmHelp",
     430,
     410,
     {{"Image2", 0, 0, 430, 408},
      {"Label2", 163, 13, 0, 0, 21},
      {"Image1", 272, 216, 120, 120},
      {"cmdOk", 163, 355, 105, 38},
      {"Label1", 28, 205, 0, 0, 16},
      {"Label3", 36, 229, 0, 0, 16},
      {"Label8", 36, 325, 0, 0, 16},
      {"Label9", 136, 229, 0, 0, 16},
      {"Label14", 136, 325, 0, 0, 16},
      {"Memo1", 28, 40, 381, 153}}},
    {"TfrmHighScores",
     333,
     403,
     {{"Image2", 0, 0, 333, 403},
      {"Label1", 121, 61, 0, 0, 19},
      {"Image1", 8, 8, 84, 84},
      {"cmdOk", 114, 355, 105, 38},
      {"lblGameOver", 114, 25, 0, 0, 19},
      {"ScoreGrid", 36, 95, 260, 250}}},
    {"TfrmAddScore",
     332,
     404,
     {{"Image2", 0, 0, 332, 404},
      {"Label1", 59, 169, 221, 72, 19},
      {"Shape2", 61, 300, 217, 2},
      {"cmdOk", 117, 344, 105, 38},
      {"Image1", 104, 32, 120, 90},
      {"eNewName", 59, 275, 221, 25}}},
    {"TfrmSound",
     330,
     179,
     {{"Image2", 0, 0, 330, 180},
      {"cmdOk", 123, 130, 105, 38},
      {"cmdSetSound", 123, 69, 105, 38},
      {"Label1", 19, 71, 0, 0, 21},
      {"Label2", 119, 17, 0, 0, 21}}},
    {"TfrmBonus",
     334,
     405,
     {{"Image2", 0, 0, 334, 404},
      {"Label2", 106, 13, 0, 0, 19},
      {"Label1", 25, 52, 297, 76, 16},
      {"BonusLetter1", 47, 237, 42, 40, 24},
      {"BonusLetter5", 247, 237, 42, 40, 24},
      {"lblTime", 193, 328, 0, 0, 21},
      {"Label3", 104, 328, 0, 0, 21},
      {"BonusGrid", 44, 165, 238, 50}}},
    {"TfrmBonusDone",
     334,
     404,
     {{"Image1", 0, 0, 334, 404},
      {"cmdOk", 115, 354, 105, 38},
      {"Label2", 84, 15, 0, 0, 19},
      {"lblCorrectWord", 61, 67, 213, 30, 21, Green},
      {"lblBonusPoints", 37, 315, 261, 30, 19},
      {"lblPlayerWord", 61, 260, 213, 30, 21, Green},
      {"Label4", 66, 235, 0, 0, 21},
      {"Label5", 106, 46, 0, 0, 21},
      {"Image2", 112, 104, 120, 120}}},
    {"TfrmDisplaySettings",
     430,
     407,
     {{"Image1", 0, 0, 430, 408},
      {"Label2", 131, 13, 157, 24, 19},
      {"cmdOk", 208, 353, 105, 38},
      {"Label1", 63, 37, 293, 48, 13},
      {"lblColors", 79, 81, 261, 24, 13},
      {"lblSelected", 87, 312, 261, 37, 13},
      {"cmdApply", 106, 353, 105, 38},
      {"DispResList", 24, 120, 369, 185}}},
};

std::unique_ptr<QWidget> Create(const QString& name, TTestProgram& program) {
    static TSystemClock systemClock;
    static TGameClock gameClock(systemClock);
    static TGameState bonusGame;
    const std::map<QString, std::function<QWidget*()>> makers = {
        {"TfrmMain", [&program] { return new TfrmMain(program.Services()); }},
        {"TfrmLoading", [] { return new TfrmLoading(nullptr); }},
        {"TfrmBadWord", [] { return new TfrmBadWord; }},
        {"TfrmSameWord", [] { return new TfrmSameWord; }},
        {"TfrmAbout", [] { return new TfrmAbout; }},
        {"TfrmHelp", [] { return new TfrmHelp; }},
        {"TfrmHighScores", [&program] { return new TfrmHighScores(program.Modal, 0, false); }},
        {"TfrmAddScore", [] { return new TfrmAddScore; }},
        {"TfrmSound", [] { return new TfrmSound; }},
        {"TfrmBonus", [&program] { return new TfrmBonus(bonusGame, gameClock, program.Modal); }},
        {"TfrmBonusDone", [] { return new TfrmBonusDone; }},
        {"TfrmDisplaySettings",
         [] {
             return new TfrmDisplaySettings(
                 std::make_unique<TCurrentModeOnly>(QGuiApplication::primaryScreen()));
         }},
    };
    return std::unique_ptr<QWidget>(makers.at(name)());
}

} // namespace

class DesignsTest : public QObject {
    Q_OBJECT

private slots:
    void everyControlStandsWhereTheDesignPutsIt_data();
    void everyControlStandsWhereTheDesignPutsIt();
    void everyWindowFollowsTheConventions();
    void pictureButtonsHaveAHandAndTheirCaptionAsName();
    void everyWindowTellsAssistiveTechnologyItsTitle();
};

void DesignsTest::everyControlStandsWhereTheDesignPutsIt_data() {
    QTest::addColumn<int>("design");
    for (std::size_t d = 0; d < Designs.size(); ++d) {
        QTest::newRow(Designs[d].Class) << static_cast<int>(d);
    }
}

void DesignsTest::everyControlStandsWhereTheDesignPutsIt() {
    QFETCH(int, design);
    const TWindowDesign& window = Designs[design];
    TTestProgram program;
    const auto form = Create(window.Class, program);
    QCOMPARE(form->size(), QSize(window.Width, window.Height));
    for (const TControl& control : window.Controls) {
        auto* widget = form->findChild<QWidget*>(control.Name);
        QVERIFY2(widget != nullptr, control.Name);
        widget->ensurePolished();
        const QRect at = widget->geometry();
        QVERIFY2(at.topLeft() == QPoint(control.X, control.Y), control.Name);
        if (control.W > 0) {
            QVERIFY2(at.size() == QSize(control.W, control.H), control.Name);
        }
        if (control.Px > 0) {
            const QFont font = widget->font();
            QVERIFY2(font.family() == QStringLiteral("Liberation Sans Narrow"), control.Name);
            QVERIFY2(font.bold(), control.Name);
            QVERIFY2(font.pixelSize() == control.Px, control.Name);
            QVERIFY2(widget->palette().color(QPalette::WindowText) == QColor(control.Colour),
                     control.Name);
        }
    }
}

void DesignsTest::everyWindowFollowsTheConventions() {
    for (const TWindowDesign& window : Designs) {
        TTestProgram program;
        const auto form = Create(window.Class, program);
        QVERIFY2(form->windowFlags().testFlag(Qt::FramelessWindowHint), window.Class);
        QVERIFY2(form->minimumSize() == form->maximumSize(), window.Class);
        QVERIFY2(form->palette().color(QPalette::Window) == QColor(Qt::white), window.Class);
        QCOMPARE(form->windowFlags().testFlag(Qt::WindowStaysOnTopHint),
                 QString(window.Class) == "TfrmBonus");
    }
}

void DesignsTest::pictureButtonsHaveAHandAndTheirCaptionAsName() {
    TTestProgram program;
    const auto main = Create("TfrmMain", program);
    const std::map<QString, QString> captions = {
        {"cmdNewGame", "New Game"},     {"cmdPause", "Pause"},   {"cmdAddWord", "Add Word"},
        {"cmdBackSpace", "Back Space"}, {"cmdHelp", "Help"},     {"cmdAbout", "About"},
        {"cmdSound", "Sound"},          {"cmdScores", "Scores"}, {"cmdQuit", "Quit"}};
    for (const auto& [name, caption] : captions) {
        auto* button = main->findChild<TImageButton*>(name);
        QVERIFY2(button != nullptr, qPrintable(name));
        QCOMPARE(button->accessibleName(), caption);
        QCOMPARE(button->cursor().shape(), Qt::PointingHandCursor);
        QCOMPARE(button->Picture().size(), QSize(105, 38));
    }
    QCOMPARE(main->findChild<QWidget*>("Grid")->accessibleName(), QStringLiteral("Letter board"));
    QCOMPARE(main->findChild<QWidget*>("WordList")->accessibleName(),
             QStringLiteral("Found words"));
    QCOMPARE(main->findChild<QWidget*>("cmdMinimize")->cursor().shape(), Qt::PointingHandCursor);
}

void DesignsTest::everyWindowTellsAssistiveTechnologyItsTitle() {
    // The heading each window shows, or the button that opens it where it
    // shows none; none of them is a window title the player could see.
    const std::map<QString, QString> titles = {{"TfrmMain", "Lexipede"},
                                               {"TfrmLoading", "Lexipede"},
                                               {"TfrmBadWord", "...OOPS!"},
                                               {"TfrmSameWord", "...HEY!"},
                                               {"TfrmAbout", "About"},
                                               {"TfrmHelp", "Help"},
                                               {"TfrmHighScores", "High Scores"},
                                               {"TfrmAddScore", "New High Score"},
                                               {"TfrmSound", "Sound Settings:"},
                                               {"TfrmBonus", "Bonus Round:"},
                                               {"TfrmBonusDone", "Bonus Round is Over:"},
                                               {"TfrmDisplaySettings", "Display Settings:"}};
    QCOMPARE(titles.size(), Designs.size());
    for (const auto& [window, title] : titles) {
        TTestProgram program;
        const auto form = Create(window, program);
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(form.get());
        QVERIFY2(face != nullptr, qPrintable(window));
        QCOMPARE(face->text(QAccessible::Name), title);
    }
}

QTEST_MAIN(DesignsTest)
#include "DesignsTest.moc"
