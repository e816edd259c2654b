// The main window from start-up to shutdown: the no-game state, the failure
// path, the program folder, and the window's own commands.

#include "UiFixture.h"
#include "app/TfrmLoading.h"
#include "app/TfrmMain.h"
#include "app/Trace.h"
#include "platform/widgets/DisplayChange.h"
#include "platform/widgets/TImage.h"
#include "platform/widgets/TLabel.h"
#include "ui_TfrmMain.h"
#include "wordstore/bpBonusTree.h"
#include "wordstore/bpDictTree.h"

#include <QDir>
#include <QScreen>
#include <QSignalSpy>
#include <QtTest>
#include <filesystem>
#include <map>
#include <optional>

namespace {

bool SamePicture(const QPixmap& a, const QPixmap& b) {
    return !a.isNull() && a.toImage() == b.toImage();
}

// Every file in a folder with its bytes, to prove nothing was written.
std::map<std::string, std::string> Snapshot(const std::string& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        files[entry.path().filename().string()] = ReadBytes(entry.path().string());
    }
    return files;
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void startsInTheNoGameState();
    void soundButtonShowsWhetherADeviceExists();
    void startUpIsTracedInBrackets();
    void theLoadingWindowIsPaintedBeforeTheStoresOpenAndAgainAfter();
    void startUpFailsCleanlyWithoutItsFiles_data();
    void startUpFailsCleanlyWithoutItsFiles();
    void storesOpenFromTheProgramFolderNotTheWorkingDirectory();
    void quitPlaysItsSoundToTheEndThenEndsTheProgram();
    void minimizePlaysAClickWithoutWaiting();
    void aDisplayChangeIsAnnouncedWithTheWindowBackOnScreen();
    void pressesFallThroughDisabledAndHiddenControlsToTheBackground();
    void destroyingTheWindowFreesTheStores();
};

void MainWindowTest::startsInTheNoGameState() {
    TTestProgram program;
    TfrmMain form(program.Services());
    auto& ui = form.Form();
    QVERIFY(!form.StartupFailed());
    QCOMPARE(program.Modal.Warnings, QStringList());
    QCOMPARE(form.size(), QSize(685, 391));
    QVERIFY(form.windowFlags().testFlag(Qt::FramelessWindowHint));
    QCOMPARE(form.windowTitle(), QStringLiteral("Lexipede"));

    QCOMPARE(ui.NewWord->text(), QString());
    QCOMPARE(ui.lblVersion->text(), QStringLiteral("Lexipede 1.1.6.1"));
    QCOMPARE(ui.lblTime->text(), QStringLiteral("0:00"));
    QCOMPARE(ui.ScoreBox->text(), QStringLiteral("0"));
    QVERIFY(SoundOn);
    QCOMPARE(form.State().BonusCol, -1);
    QCOMPARE(form.State().BonusRow, -1);
    QCOMPARE(form.DictionaryWordCount(), 4);
    QCOMPARE(form.BonusWordCount(), 2);

    // Word buttons off with their greyed pictures, board off, Pause hidden.
    QVERIFY(!ui.cmdBackSpace->isEnabled());
    QVERIFY(!ui.cmdAddWord->isEnabled());
    QVERIFY(SamePicture(ui.cmdBackSpace->Picture(), ui.ImageNoBackSpace->Picture()));
    QVERIFY(SamePicture(ui.cmdAddWord->Picture(), ui.ImageNoAddWord->Picture()));
    QVERIFY(!ui.Grid->isEnabled());
    QVERIFY(ui.cmdPause->isHidden());
    QVERIFY(!ui.cmdNewGame->isHidden());

    form.show();
    QVERIFY(!ui.WordList->isEnabled());
}

void MainWindowTest::soundButtonShowsWhetherADeviceExists() {
    for (bool device : {false, true}) {
        TTestProgram program;
        program.Sound.Device = device;
        TfrmMain form(program.Services());
        QCOMPARE(SoundCardPresent, device);
        const TImage* expected = device ? form.Form().ImageSound : form.Form().ImageNoSound;
        QVERIFY2(SamePicture(form.Form().cmdSound->Picture(), expected->Picture()),
                 device ? "device" : "no device");
    }
}

void MainWindowTest::startUpIsTracedInBrackets() {
    TTestProgram program;
    QStringList trace;
    SetTraceSink(
        [&trace](const std::string& text) { trace.push_back(QString::fromStdString(text)); });
    {
        TfrmMain form(program.Services());
        QCOMPARE(trace.first(), QStringLiteral("FormCreate"));
        QCOMPARE(trace.last(), QStringLiteral("FormCreate end"));
        QVERIFY(trace.indexOf("OpenDataFiles") < trace.indexOf("OpenDataFiles end"));
        QVERIFY(trace.contains("SetButtons end"));
        trace.clear();
    }
    SetTraceSink(nullptr);
    QCOMPARE(trace, (QStringList{"FormDestroy", "FormDestroy end"}));
}

void MainWindowTest::theLoadingWindowIsPaintedBeforeTheStoresOpenAndAgainAfter() {
    // Counts paints of the loading window or its controls while it is exposed:
    // a paint before then never reaches the screen.
    class TShownPaints : public QObject {
    public:
        int Count = 0;

    protected:
        bool eventFilter(QObject* object, QEvent* event) override {
            auto* widget = qobject_cast<QWidget*>(object);
            auto* loading =
                widget != nullptr ? qobject_cast<TfrmLoading*>(widget->window()) : nullptr;
            if (event->type() == QEvent::Paint && loading != nullptr &&
                loading->windowHandle() != nullptr && loading->windowHandle()->isExposed()) {
                ++Count;
            }
            return false;
        }
    } paints;
    qApp->installEventFilter(&paints);
    TTestProgram program;
    std::map<QString, int> paintsAt;
    SetTraceSink([&](const std::string& text) {
        paintsAt.emplace(QString::fromStdString(text), paints.Count);
    });
    { TfrmMain form(program.Services()); }
    SetTraceSink(nullptr);
    qApp->removeEventFilter(&paints);
    QVERIFY2(paintsAt.at("OpenDataFiles") > 0, "on screen and painted before the stores open");
    QVERIFY2(paintsAt.at("FormCreate end") > paintsAt.at("OpenDataFiles end"),
             "painted again with the word count");
}

void MainWindowTest::startUpFailsCleanlyWithoutItsFiles_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("fault");
    for (const char* name : {"Dict.dat", "Dict.idx", "Bonus.dat", "Bonus.idx"}) {
        QTest::newRow(name) << name << "missing";
    }
    QTest::newRow("damaged Dict.idx") << "Dict.idx"
                                      << "damaged";
    QTest::newRow("damaged Bonus.idx") << "Bonus.idx"
                                       << "damaged";
    QTest::newRow("unreadable Dict.idx") << "Dict.idx"
                                         << "unreadable";
    QTest::newRow("unreadable Bonus.idx") << "Bonus.idx"
                                          << "unreadable";
}

void MainWindowTest::startUpFailsCleanlyWithoutItsFiles() {
    QFETCH(QString, file);
    QFETCH(QString, fault);
    TTestProgram program;
    const std::string path = program.File(file.toStdString());
    if (fault == "damaged") {
        WriteBytes(path, std::string(584, '\x7f')); // a header whose Height is absurd
    } else if (fault == "unreadable") {
        std::filesystem::permissions(path, std::filesystem::perms::none);
    } else {
        std::filesystem::remove(path);
    }
    const auto before = Snapshot(program.Folder());

    std::optional<TObeyFilePermissions> obeying;
    if (fault == "unreadable") {
        obeying.emplace();
    }
    TfrmMain form(program.Services());
    obeying.reset();
    QVERIFY(form.StartupFailed());
    QCOMPARE(program.Modal.Warnings, QStringList{"Dictionary files are missing or corrupt!"});
    QVERIFY2(qobject_cast<TfrmLoading*>(program.Modal.BoxParents.front().data()) != nullptr,
             "the warning stands over the loading window");
    QCOMPARE(program.Terminations, 1);
    QCOMPARE(form.DictionaryWordCount(), 0);
    QCOMPARE(form.BonusWordCount(), 0);
    QVERIFY2(before == Snapshot(program.Folder()), "no file created or changed");
}

void MainWindowTest::storesOpenFromTheProgramFolderNotTheWorkingDirectory() {
    TTestProgram program({"ant", "bee", "cat", "dog", "eel"});
    TTempFolder elsewhere;
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(QString::fromStdString(elsewhere.Path())));
    TfrmMain form(program.Services());
    QDir::setCurrent(previous);

    QVERIFY(!form.StartupFailed());
    QCOMPARE(form.DictionaryWordCount(), 5);
    auto* loading = form.findChild<TfrmLoading*>();
    QVERIFY(loading != nullptr);
    QCOMPARE(loading->lblLoading()->text(), QStringLiteral("...opening dictionary...5 words..."));
    QVERIFY2(loading->isHidden(), "the loading window is closed at the end of start-up");
    QVERIFY2(std::filesystem::is_empty(elsewhere.Path()),
             "nothing is created in the working directory");
}

void MainWindowTest::quitPlaysItsSoundToTheEndThenEndsTheProgram() {
    TTestProgram program;
    program.Sound.Device = true;
    TfrmMain form(program.Services());
    program.Sound.Played.clear();
    QTest::mouseClick(form.Form().cmdQuit, Qt::LeftButton);
    QCOMPARE(program.Sound.Played, (std::vector<std::pair<std::string, bool>>{{"QUIT", false}}));
    QCOMPARE(program.Terminations, 1);

    // A close request from the system ends the program without a sound.
    program.Sound.Played.clear();
    form.show();
    QVERIFY(form.close());
    QVERIFY(program.Sound.Played.empty());
}

void MainWindowTest::minimizePlaysAClickWithoutWaiting() {
    TTestProgram program;
    program.Sound.Device = true;
    TfrmMain form(program.Services());
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    program.Sound.Played.clear();
    QStringList trace;
    SetTraceSink(
        [&trace](const std::string& text) { trace.push_back(QString::fromStdString(text)); });
    QTest::mouseClick(form.Form().cmdMinimize, Qt::LeftButton);
    SetTraceSink(nullptr);
    QCOMPARE(program.Sound.Played, (std::vector<std::pair<std::string, bool>>{{"CLICK", true}}));
    QVERIFY(form.windowState().testFlag(Qt::WindowMinimized));
    QCOMPARE(trace, QStringList()); // minimize does not trace
}

void MainWindowTest::aDisplayChangeIsAnnouncedWithTheWindowBackOnScreen() {
    TTestProgram program;
    TfrmMain form(program.Services());
    form.show();
    // As a switch to a smaller mode leaves it: Quit and the button column off
    // the screen's right and bottom edges.
    const QRect screen = form.screen()->availableGeometry();
    form.move(screen.right() - 300, screen.bottom() - 100);
    TDisplayChange::Instance().Raise();
    QCOMPARE(program.Modal.Messages, QStringList{"Changes in display detected!"});
    QVERIFY2(screen.contains(form.frameGeometry()),
             qPrintable(QStringLiteral("the window is at %1, %2 on a %3 x %4 screen")
                            .arg(form.x())
                            .arg(form.y())
                            .arg(screen.width())
                            .arg(screen.height())));
}

void MainWindowTest::pressesFallThroughDisabledAndHiddenControlsToTheBackground() {
    TTestProgram program;
    TfrmMain form(program.Services());
    auto& ui = form.Form();
    const auto at = [&form](QWidget* control) {
        return form.childAt(control->geometry().center());
    };
    const auto is = [](QWidget* widget) { return widget; };

    QCOMPARE(at(ui.cmdBackSpace), is(ui.BackgroundImage)); // disabled Back Space
    QCOMPARE(at(ui.cmdPause), is(ui.BackgroundImage));     // hidden Pause
    QCOMPARE(at(ui.cmdNewGame), is(ui.cmdNewGame));
    QCOMPARE(at(ui.Label1), is(ui.Label1)); // a label does not move the window
    QCOMPARE(at(ui.Grid), is(ui.Grid));     // nor does the board, even disabled
    form.SetButtons(true, true);
    QCOMPARE(at(ui.cmdBackSpace), is(ui.cmdBackSpace)); // enabled Back Space

    // Any mouse button on the background asks for the system move.
    QSignalSpy presses(ui.BackgroundImage, &TImage::mousePressed);
    QTest::mousePress(ui.BackgroundImage, Qt::RightButton, {}, QPoint(300, 350));
    QTest::mousePress(ui.BackgroundImage, Qt::MiddleButton, {}, QPoint(300, 350));
    QCOMPARE(presses.count(), 2);
}

// Files of this process open inside folder, read off /proc/self/fd.
int OpenFilesIn(const std::string& folder) {
    int count = 0;
    for (const auto& fd : std::filesystem::directory_iterator("/proc/self/fd")) {
        std::error_code ignored;
        const std::string target = std::filesystem::read_symlink(fd.path(), ignored).string();
        count += target.rfind(folder, 0) == 0 ? 1 : 0;
    }
    return count;
}

void MainWindowTest::destroyingTheWindowFreesTheStores() {
    TTestProgram program;
    auto form = std::make_unique<TfrmMain>(program.Services());
    QCOMPARE(OpenFilesIn(program.Folder()), 4); // both stores hold their index and data files
    form.reset();
    QCOMPARE(OpenFilesIn(program.Folder()), 0);
}

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
