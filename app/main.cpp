// Lexipede: start the toolkit, create the main window, run the message loop.

#include "AppServices.h"
#include "TfrmMain.h"
#include "media/SdlSoundOutput.h"
#include "platform/Clock.h"
#include "platform/widgets/Modal.h"

#include <QApplication>
#include <QIcon>
#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("lexipede"));
    QApplication::setApplicationDisplayName(QStringLiteral("Lexipede"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/pictures/icon.png")));

    // Without a playback device the whole run is silent, and says nothing of it.
    TSdlSoundOutput sound;
    if (sound.Open()) {
        for (const std::string& problem : LoadCompiledClips(sound)) {
            std::fprintf(stderr, "Lexipede: sound clip %s\n", problem.c_str());
        }
    }
    SetSoundOutput(&sound);

    TSystemClock clock;
    TModalRunner modal;
    TAppServices services;
    services.Clock = &clock;
    services.Modal = &modal;
    services.ExecutablePath = QCoreApplication::applicationFilePath().toStdString();
    services.Terminate = [] { QCoreApplication::quit(); };

    int result = 1;
    {
        TfrmMain main(services);
        if (!main.StartupFailed()) {
            main.show();
            result = QApplication::exec();
        }
    }
    SetSoundOutput(nullptr);
    return result;
}
