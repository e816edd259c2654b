// The display mode dialog opened by F8 from the main window, on a fixed list of
// modes: its lines, a click, Apply and its notice, closing; and the notice of a
// real display change.

#include "UiFixture.h"
#include "app/TfrmMain.h"
#include "media/TfrmDisplaySettings.h"
#include "platform/widgets/DisplayChange.h"
#include "platform/widgets/ScreenDisplayModes.h"
#include "ui_TfrmDisplaySettings.h"

#include <QGuiApplication>
#include <QScreen>
#include <QtTest>

namespace {

using Played = std::vector<std::pair<std::string, bool>>;
const QString Notice = QStringLiteral("Changes in display detected!");

// A display with a fixed list of modes, one of them current, that records the
// modes it is asked to set.
class TFakeDisplayModes : public TDisplayModes {
public:
    TFakeDisplayModes(std::vector<TDisplayMode> modes, std::size_t current, int depth,
                      std::vector<std::uint64_t>* set, bool refuse = false)
        : modes_(std::move(modes)), current_(current), depth_(depth), set_(set), refuse_(refuse) {}

    std::optional<TDisplayMode> Mode(int index) override {
        if (index == -1) {
            return modes_[current_];
        }
        if (index < 0 || index >= static_cast<int>(modes_.size())) {
            return std::nullopt;
        }
        return modes_[static_cast<std::size_t>(index)];
    }
    bool SetMode(const TDisplayMode& mode) override {
        set_->push_back(mode.Id);
        return !refuse_;
    }
    int Depth() override { return depth_; }

private:
    std::vector<TDisplayMode> modes_;
    std::size_t current_;
    int depth_;
    std::vector<std::uint64_t>* set_;
    bool refuse_;
};

// In the display's own order: unsorted, a 4-bit mode, and two modes that read
// the same.
const std::vector<TDisplayMode> Modes = {
    {1024, 768, 24, 60, 0x5e}, {640, 360, 24, 60, 0x68}, {640, 360, 24, 60, 0x69},
    {800, 600, 16, 60, 0x62},  {320, 200, 4, 70, 0x70},
};
const QStringList Lines = {
    "1024x768 16777216 Colors at 60 Hz", "640x360 16777216 Colors at 60 Hz",
    "640x360 16777216 Colors at 60 Hz",  "800x600 65536 Colors at 60 Hz",
    "320x200 16 Colors at 70 Hz",
};

// The game with the fixed display; OnDialog gets the dialog F8 opened.
struct TDisplayProgram {
    TTestProgram Program;
    std::vector<std::uint64_t> Set;
    bool Refuse = false;
    std::unique_ptr<TfrmMain> Main;

    TDisplayProgram() {
        TAppServices services = Program.Services();
        services.DisplayModes = [this](const QWidget&) {
            return std::make_unique<TFakeDisplayModes>(Modes, 3, 24, &Set, Refuse);
        };
        Main = std::make_unique<TfrmMain>(services);
    }
    std::unique_ptr<TfrmDisplaySettings> Dialog() {
        return std::make_unique<TfrmDisplaySettings>(
            std::make_unique<TFakeDisplayModes>(Modes, 3, 24, &Set, Refuse));
    }
};

QListWidget* List(QDialog& dialog) {
    return static_cast<TfrmDisplaySettings&>(dialog).Form().DispResList;
}

void ClickLine(QListWidget* list, int row) {
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(row)).center());
}

} // namespace

class DisplaySettingsTest : public QObject {
    Q_OBJECT

private slots:
    void f8WithAnyModifiersOpensTheDialogAndNoOtherKeyDoes_data();
    void f8WithAnyModifiersOpensTheDialogAndNoOtherKeyDoes();
    void listsEveryModeInTheDisplaysOrderWithTheCurrentColours();
    void clickingALineChangesOnlyTheSelectedText();
    void aClickBelowTheLinesKeepsTheLineThatApplyApplies();
    void applySetsTheSelectedIndexAndAnnouncesOnceBeforeReturning_data();
    void applySetsTheSelectedIndexAndAnnouncesOnceBeforeReturning();
    void showingWaitsForItsSoundAndEnterOrOkCloseIt();
    void withoutModeSwitchingTheCurrentModeStandsAlone();
    void aRealModeSwitchIsAnnouncedOnce();
};

void DisplaySettingsTest::f8WithAnyModifiersOpensTheDialogAndNoOtherKeyDoes_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<bool>("opens");
    QTest::newRow("F8") << int(Qt::Key_F8) << int(Qt::NoModifier) << true;
    QTest::newRow("Shift+F8") << int(Qt::Key_F8) << int(Qt::ShiftModifier) << true;
    QTest::newRow("Ctrl+F8") << int(Qt::Key_F8) << int(Qt::ControlModifier) << true;
    QTest::newRow("Ctrl+Alt+Shift+F8")
        << int(Qt::Key_F8) << int(Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier)
        << true;
    QTest::newRow("F7") << int(Qt::Key_F7) << int(Qt::NoModifier) << false;
    QTest::newRow("F9") << int(Qt::Key_F9) << int(Qt::NoModifier) << false;
    QTest::newRow("Enter") << int(Qt::Key_Return) << int(Qt::NoModifier) << false;
    QTest::newRow("8") << int(Qt::Key_8) << int(Qt::NoModifier) << false;
}

void DisplaySettingsTest::f8WithAnyModifiersOpensTheDialogAndNoOtherKeyDoes() {
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(bool, opens);
    TDisplayProgram game;
    QStringList lines;
    game.Program.Modal.OnDialog = [&lines](QDialog& dialog) {
        for (int row = 0; row < List(dialog)->count(); ++row) {
            lines << List(dialog)->item(row)->text();
        }
    };
    QTest::keyClick(game.Main.get(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(game.Program.Modal.DialogsShown,
             opens ? std::vector<QString>{"TfrmDisplaySettings"} : std::vector<QString>{});
    QCOMPARE(lines, opens ? Lines : QStringList());

    // The window does not take the key from its controls.
    QKeyEvent press(QEvent::KeyPress, key, Qt::KeyboardModifiers(modifiers));
    press.ignore();
    game.Main->FormKeyDown(&press);
    QVERIFY(!press.isAccepted());
}

void DisplaySettingsTest::listsEveryModeInTheDisplaysOrderWithTheCurrentColours() {
    TDisplayProgram game;
    const auto dialog = game.Dialog();
    dialog->show();
    QListWidget* list = dialog->Form().DispResList;
    QStringList lines;
    for (int row = 0; row < list->count(); ++row) {
        lines << list->item(row)->text();
        QCOMPARE(list->visualItemRect(list->item(row)).height(), 23);
    }
    QCOMPARE(lines, Lines);
    QCOMPARE(dialog->Form().lblColors->text(), QStringLiteral("Currently at: 16777216 Colors"));
    QCOMPARE(dialog->Form().lblSelected->text(),
             QStringLiteral("Please select a 256 color resolution from the list and  then "
                            "click apply:"));
    QVERIFY(list->selectedItems().isEmpty());
}

void DisplaySettingsTest::clickingALineChangesOnlyTheSelectedText() {
    TDisplayProgram game;
    const auto dialog = game.Dialog();
    dialog->show();
    QListWidget* list = dialog->Form().DispResList;
    for (int row : {4, 0}) {
        ClickLine(list, row);
        QCOMPARE(dialog->Form().lblSelected->text(), Lines[row]);
        QCOMPARE(list->item(row)->isSelected(), true);
    }
    QCOMPARE(list->count(), Lines.size());
    QCOMPARE(dialog->Form().lblColors->text(), QStringLiteral("Currently at: 16777216 Colors"));
    QCOMPARE(game.Set, std::vector<std::uint64_t>{});
    QCOMPARE(game.Program.Modal.Messages, QStringList{});
}

void DisplaySettingsTest::aClickBelowTheLinesKeepsTheLineThatApplyApplies() {
    TDisplayProgram game;
    game.Program.Modal.OnDialog = [](QDialog& dialog) {
        QListWidget* list = List(dialog);
        ClickLine(list, 4);
        const QRect last = list->visualItemRect(list->item(list->count() - 1));
        QVERIFY(last.bottom() + 10 < list->viewport()->height());
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          QPoint(last.center().x(), last.bottom() + 10));
        QCOMPARE(static_cast<TfrmDisplaySettings&>(dialog).Form().lblSelected->text(), Lines[4]);
        QTest::mouseClick(static_cast<TfrmDisplaySettings&>(dialog).Form().cmdApply,
                          Qt::LeftButton);
    };
    QTest::keyClick(game.Main.get(), Qt::Key_F8);
    QCOMPARE(game.Set, std::vector<std::uint64_t>{0x70});
}

void DisplaySettingsTest::applySetsTheSelectedIndexAndAnnouncesOnceBeforeReturning_data() {
    QTest::addColumn<int>("row"); // -1: no line selected
    QTest::addColumn<bool>("refuse");
    QTest::addColumn<quint64>("set");
    QTest::newRow("nothing selected sets the current mode again") << -1 << false << quint64(0x62);
    QTest::newRow("the second of two equal lines") << 2 << false << quint64(0x69);
    QTest::newRow("the first line") << 0 << false << quint64(0x5e);
    QTest::newRow("a refused mode is still announced") << 4 << true << quint64(0x70);
}

void DisplaySettingsTest::applySetsTheSelectedIndexAndAnnouncesOnceBeforeReturning() {
    QFETCH(int, row);
    QFETCH(bool, refuse);
    QFETCH(quint64, set);
    TDisplayProgram game;
    game.Refuse = refuse;
    QStringList noticesWhenApplyReturned;
    bool openAfterApply = false;
    game.Program.Modal.OnDialog = [&](QDialog& dialog) {
        if (row >= 0) {
            ClickLine(List(dialog), row);
        }
        QTest::mouseClick(static_cast<TfrmDisplaySettings&>(dialog).Form().cmdApply,
                          Qt::LeftButton);
        noticesWhenApplyReturned = game.Program.Modal.Messages;
        openAfterApply = dialog.isVisible();
    };
    QTest::keyClick(game.Main.get(), Qt::Key_F8);
    QCOMPARE(game.Set, std::vector<std::uint64_t>{set});
    QCOMPARE(noticesWhenApplyReturned, QStringList{Notice});
    QVERIFY(openAfterApply);
    QCoreApplication::processEvents();
    QCOMPARE(game.Program.Modal.Messages, QStringList{Notice});
}

void DisplaySettingsTest::showingWaitsForItsSoundAndEnterOrOkCloseIt() {
    TDisplayProgram game;
    game.Program.WithSoundDevice(); // the game found none at its start
    for (const char* how : {"Enter", "keypad Enter", "OK"}) {
        QPointer<TfrmDisplaySettings> dialog = game.Dialog().release();
        game.Program.Sound.Played.clear();
        dialog->show();
        QCOMPARE(game.Program.Sound.Played, (Played{{"LOADING", false}}));
        QTest::keyClick(dialog, Qt::Key_Escape);
        QVERIFY2(dialog->isVisible(), how);
        if (QString(how) == "OK") {
            QTest::mouseClick(dialog->Form().cmdOk, Qt::LeftButton);
        } else {
            QTest::keyClick(dialog->Form().DispResList,
                            QString(how) == "Enter" ? Qt::Key_Return : Qt::Key_Enter);
        }
        QVERIFY2(dialog == nullptr || !dialog->isVisible(), how);
        QCOMPARE(game.Program.Sound.Played, (Played{{"LOADING", false}, {"CLICK", true}}));
        QTRY_VERIFY2(dialog == nullptr, "the dialog destroys itself when it closes");
    }
}

void DisplaySettingsTest::withoutModeSwitchingTheCurrentModeStandsAlone() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    TCurrentModeOnly modes(screen);
    const TDisplayMode current{screen->size().width(), screen->size().height(), screen->depth(),
                               qRound(screen->refreshRate()), 0};
    QCOMPARE(modes.Mode(0), std::optional<TDisplayMode>(current));
    QCOMPARE(modes.Mode(-1), std::optional<TDisplayMode>(current));
    QCOMPARE(modes.Mode(1), std::optional<TDisplayMode>());
    QCOMPARE(modes.Depth(), screen->depth());
    QVERIFY(!modes.SetMode(current));
}

void DisplaySettingsTest::aRealModeSwitchIsAnnouncedOnce() {
    TDisplayProgram game;
    QScreen* screen = QGuiApplication::primaryScreen();
    // A switch from 1024x768 at 60 Hz to 800x600 at 75 Hz tells both at once.
    emit screen->geometryChanged(QRect(0, 0, 800, 600));
    emit screen->refreshRateChanged(75);
    QCOMPARE(game.Program.Modal.Messages, QStringList{});
    QTRY_COMPARE(game.Program.Modal.Messages, QStringList{Notice});
    QTest::qWait(50);
    QCOMPARE(game.Program.Modal.Messages, QStringList{Notice});
}

QTEST_MAIN(DisplaySettingsTest)
#include "DisplaySettingsTest.moc"
