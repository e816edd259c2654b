// Lexipede: start the toolkit, create the main window, run the message loop.

#include "AppServices.h"
#include "TfrmMain.h"
#include "platform/Clock.h"
#include "platform/widgets/Modal.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("lexipede"));
    QApplication::setApplicationDisplayName(QStringLiteral("Lexipede"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/pictures/icon.png")));

    TSystemClock clock;
    TModalRunner modal;
    TAppServices services;
    services.Clock = &clock;
    services.Modal = &modal;
    services.ExecutablePath = QCoreApplication::applicationFilePath().toStdString();
    services.Terminate = [] { QCoreApplication::quit(); };

    TfrmMain main(services);
    if (main.StartupFailed()) {
        return 1;
    }
    main.show();
    return QApplication::exec();
}
