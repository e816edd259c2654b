// The game on a real X server with several modes (display_modes_xorg.sh starts
// one): F8 pressed on the server's keyboard lists the server's modes in the server's order, Apply
// switches the screen to 800x600 and the notices come, and the first mode comes back. With
// LEXIPEDE_SHOTS set to a folder, pictures of the dialog and of the notice are left there.

#include "UiFixture.h"
#include "app/TfrmMain.h"
#include "media/TfrmDisplaySettings.h"
#include "platform/XrandrDisplayModes.h"
#include "ui_TfrmDisplaySettings.h"

#include <QMessageBox>
#include <QProcess>
#include <QRegularExpression>
#include <QScreen>
#include <QtTest>

namespace {

const QString Notice = QStringLiteral("Changes in display detected!");

QString Run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(10000) || process.exitCode() != 0) {
        return QString();
    }
    return QString::fromLocal8Bit(process.readAllStandardOutput());
}

// The output's modes as xrandr lists them, as the dialog's lines: the server's
// screen is 24 bits deep (xorg-dummy.conf).
QStringList XrandrLines(const QString& output) {
    const QStringList lines = Run("xrandr", {"--verbose"}).split('\n');
    const QRegularExpression width(R"(^\s+h: width\s+(\d+))");
    const QRegularExpression height(R"(^\s+v: height\s+(\d+).*clock\s+([\d.]+)Hz)");
    QStringList modes;
    bool inOutput = false;
    QString w;
    for (const QString& line : lines) {
        if (!line.startsWith(' ') && !line.startsWith('\t')) {
            inOutput = line.startsWith(output + " ");
        } else if (inOutput) {
            if (const auto m = width.match(line); m.hasMatch()) {
                w = m.captured(1);
            } else if (const auto m = height.match(line); m.hasMatch()) {
                modes << QStringLiteral("%1x%2 16777216 Colors at %3 Hz")
                             .arg(w, m.captured(1))
                             .arg(qRound(m.captured(2).toDouble()));
            }
        }
    }
    return modes;
}

QString ScreenSize() {
    const QRegularExpression current(R"(current (\d+) x (\d+))");
    const auto m = current.match(Run("xrandr", {}));
    return m.hasMatch() ? m.captured(1) + "x" + m.captured(2) : QString();
}

// `window` as import takes it: an X window id, or "root" for the whole screen.
void Shoot(const QString& name, const QString& window) {
    const QString folder = qEnvironmentVariable("LEXIPEDE_SHOTS");
    if (!folder.isEmpty()) {
        QProcess::execute("import", {"-window", window, folder + "/" + name});
    }
}

// Shows dialogs and boxes on the server for real, and lets the test act in
// them instead of waiting for a player.
class TOnScreenModal : public TRecordingModal {
public:
    void Message(QWidget* parent, const QString& text) override {
        TRecordingModal::Message(parent, text);
        QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Lexipede"), text, QMessageBox::Ok,
                        parent);
        box.show();
        if (QTest::qWaitForWindowExposed(&box) && Messages.size() == 1) {
            QTest::qWait(100);
            Shoot("display-change-notice.png", QStringLiteral("root"));
        }
        QTest::keyClick(&box, Qt::Key_Return);
    }
};

} // namespace

class DisplayModesXorgTest : public QObject {
    Q_OBJECT

private slots:
    void applyingALineSwitchesTheServersScreen();
    void theCurrentModeFollowsASwitch();
};

void DisplayModesXorgTest::applyingALineSwitchesTheServersScreen() {
    TTestProgram program;
    TOnScreenModal modal;
    TAppServices services = program.Services();
    services.Modal = &modal;
    TfrmMain main(services);
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    const QString output = main.screen()->name();
    const QStringList expected = XrandrLines(output);
    QVERIFY2(expected.size() >= 3,
             qPrintable("xrandr lists for " + output + ": " + expected.join(", ")));
    const QString firstSize = expected.front().section(' ', 0, 0);
    QCOMPARE(ScreenSize(), firstSize);

    QStringList listed;
    QString sizeAfterApply, sizeAfterRestore;
    qsizetype noticesAfterApply = 0;
    modal.OnDialog = [&](QDialog& shown) {
        auto& dialog = static_cast<TfrmDisplaySettings&>(shown);
        QListWidget* list = dialog.Form().DispResList;
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        for (int row = 0; row < list->count(); ++row) {
            listed << list->item(row)->text();
        }
        const auto click = [list](int row) {
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                              list->visualItemRect(list->item(row)).center());
        };
        const int small = static_cast<int>(
            listed.indexOf(QRegularExpression(R"(^800x600 16777216 Colors at \d+ Hz$)")));
        QVERIFY(small >= 0);
        click(small);
        QTest::qWait(100);
        Shoot("display-modes-dialog.png", QString::number(dialog.winId()));

        QTest::mouseClick(dialog.Form().cmdApply, Qt::LeftButton);
        noticesAfterApply = modal.Messages.size();
        sizeAfterApply = ScreenSize();
        // The server announces the switch as well, while the first box is up
        // or after it.
        QTRY_VERIFY_WITH_TIMEOUT(modal.Messages.size() >= 2, 5000);

        click(0);
        QTest::mouseClick(dialog.Form().cmdApply, Qt::LeftButton);
        sizeAfterRestore = ScreenSize();
        QTest::keyClick(list, Qt::Key_Return);
    };
    // F8 from the server's keyboard, to the window that has the focus.
    main.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&main));
    QVERIFY(QProcess::startDetached("xdotool", {"key", "F8"}));
    QTRY_COMPARE_WITH_TIMEOUT(modal.DialogsShown.size(), std::size_t{1}, 10000);
    QCOMPARE(modal.DialogsShown.front(), QStringLiteral("TfrmDisplaySettings"));

    QCOMPARE(listed, expected);
    QVERIFY(noticesAfterApply >= 1);
    QCOMPARE(sizeAfterApply, QStringLiteral("800x600"));
    QCOMPARE(sizeAfterRestore, firstSize);
    QTRY_COMPARE(main.screen()->size(), QSize(1024, 768));
    QCOMPARE(modal.Messages.count(Notice), modal.Messages.size());
}

void DisplayModesXorgTest::theCurrentModeFollowsASwitch() {
    const auto modes = TXrandrDisplayModes::Open(nullptr, "", 0, 0);
    QVERIFY(modes != nullptr);
    const auto current = modes->Mode(-1);
    QVERIFY(current.has_value());
    QCOMPARE(modes->Depth(), 24);
    int count = 0;
    int other = -1;
    while (const auto mode = modes->Mode(count)) {
        if (other < 0 && (mode->Width != current->Width || mode->Height != current->Height)) {
            other = count;
        }
        ++count;
    }
    QVERIFY(other >= 0);
    QCOMPARE(modes->Mode(-2), std::optional<TDisplayMode>());

    QVERIFY(modes->SetMode(*modes->Mode(other)));
    QCOMPARE(modes->Mode(-1), modes->Mode(other));
    QVERIFY(modes->SetMode(*current));
    QCOMPARE(modes->Mode(-1), current);
    QCOMPARE(ScreenSize(), QStringLiteral("%1x%2").arg(current->Width).arg(current->Height));
    // A mode the output does not offer is refused, and nothing changes.
    TDisplayMode foreign = *current;
    foreign.Id = 0x7fffffff;
    QVERIFY(!modes->SetMode(foreign));
    QCOMPARE(modes->Mode(-1), current);
}

QTEST_MAIN(DisplayModesXorgTest)
#include "DisplayModesXorgTest.moc"
