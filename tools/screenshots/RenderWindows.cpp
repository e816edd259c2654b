// render_windows OUTDIR: draws every window of the game to OUTDIR/<class>.png,
// so the designs can be looked at without building. Run under an X server
// (scripts/render-screenshots.sh starts one).

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
#include "platform/Clock.h"
#include "platform/widgets/Modal.h"
#include "platform/widgets/ScreenDisplayModes.h"
#include "scores/TfrmAddScore.h"
#include "scores/TfrmHighScores.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

namespace {

bool Save(QWidget& window, const QDir& out, const QString& name) {
    window.show();
    QCoreApplication::processEvents();
    const bool saved = window.grab().save(out.filePath(name + ".png"));
    window.hide();
    if (!saved) {
        std::fprintf(stderr, "render_windows: cannot write %s.png\n", qPrintable(name));
    }
    return saved;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("Lexipede"));
    if (argc != 3) {
        std::fprintf(stderr, "usage: render_windows PROGRAM_FOLDER OUTDIR\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[2]));
    TSystemClock clock;
    TModalRunner modal;
    TAppServices services;
    services.Clock = &clock;
    services.Modal = &modal;
    services.ExecutablePath = std::string(argv[1]) + "/lexipede";
    services.Terminate = [] {};
    // The high-score window makes a SCORES.DAT; not in the working directory.
    const QTemporaryDir scratch;
    services.ScoreFolders = {scratch.path().toStdString(), scratch.path().toStdString()};

    bool ok = true;
    TGameState bonusGame;
    const TGameClock gameClock(clock);
    TfrmMain main(services);
    if (main.StartupFailed()) {
        std::fprintf(stderr, "render_windows: no word stores in %s\n", argv[1]);
        return 1;
    }
    main.FillTheGrid();
    ok &= Save(main, out, "TfrmMain");

    // Each window is made, drawn and destroyed in turn, by its class name.
    const std::vector<std::pair<QString, std::function<QWidget*()>>> windows = {
        {"TfrmLoading", [] { return new TfrmLoading(nullptr); }},
        {"TfrmBadWord", [] { return new TfrmBadWord; }},
        {"TfrmSameWord", [] { return new TfrmSameWord; }},
        {"TfrmAbout", [] { return new TfrmAbout; }},
        {"TfrmHelp", [] { return new TfrmHelp; }},
        {"TfrmHighScores",
         [&] { return new TfrmHighScores(modal, 0, false, services.ScoreFolders); }},
        {"TfrmAddScore", [] { return new TfrmAddScore; }},
        {"TfrmSound", [] { return new TfrmSound; }},
        {"TfrmDisplaySettings", [&] { return new TfrmDisplaySettings(OpenDisplayModes(main)); }},
        {"TfrmBonus", [&] { return new TfrmBonus(bonusGame, gameClock, modal); }},
        {"TfrmBonusDone", [] { return new TfrmBonusDone; }},
    };
    for (const auto& [name, make] : windows) {
        const std::unique_ptr<QWidget> window(make());
        window->setAttribute(Qt::WA_DeleteOnClose, false);
        ok &= Save(*window, out, name);
    }
    return ok ? 0 : 1;
}
