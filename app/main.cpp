// Lexipede: start the toolkit, create the main window, run the message loop.

#include "AppServices.h"
#include "TfrmMain.h"
#include "media/PendingSoundOutput.h"
#include "platform/Clock.h"
#include "platform/FontWarmUp.h"
#include "platform/Pictures.h"
#include "platform/widgets/Modal.h"

#include <QApplication>
#include <QIcon>
#include <QTimer>
#include <csignal>
#include <functional>

namespace {

// Calls action once, in the turn of the event loop after widget's first paint.
void AfterFirstPaint(QWidget& widget, std::function<void()> action) {
    class TFirstPaint : public QObject {
    public:
        TFirstPaint(QObject* watched, std::function<void()> action)
            : QObject(watched), action_(std::move(action)) {}

    protected:
        bool eventFilter(QObject*, QEvent* event) override {
            if (event->type() == QEvent::Paint) {
                QTimer::singleShot(0, action_);
                deleteLater();
            }
            return false;
        }

    private:
        std::function<void()> action_;
    };
    widget.installEventFilter(new TFirstPaint(&widget, std::move(action)));
}

} // namespace

int main(int argc, char** argv) {
    // Under a file size limit, a write past it must fail with an error the
    // high-score save can answer, not end the game.
    std::signal(SIGXFSZ, SIG_IGN);

    TFontWarmUp fonts; // read while the toolkit starts

    // Finding and opening the sound device takes the audio libraries a few
    // milliseconds, now and then a tenth of a second; it goes on while the
    // toolkit starts, until the main window asks whether there is a device.
    // Without one the whole run is silent, and says nothing of it. The helper
    // makes no Qt object before the application object exists.
    TSdlSoundOutput device;
    TPendingSoundOutput sound(device);
    SetSoundOutput(&sound);

    QApplication app(argc, argv);
    sound.ToolkitStarted();
    QApplication::setApplicationName(QStringLiteral("lexipede"));
    QApplication::setApplicationDisplayName(QStringLiteral("Lexipede"));
    // Decoded as PNG by name: a window icon made from a file name asks every
    // image plugin whether it can read the file, and so loads them all.
    QApplication::setWindowIcon(
        QIcon(QPixmap::fromImage(LoadPng(QStringLiteral(":/pictures/icon.png")))));

    HandFocusToModalWindow(app);

    TSystemClock clock;
    TModalRunner modal;
    TAppServices services;
    services.Clock = &clock;
    services.Modal = &modal;
    services.ExecutablePath = QCoreApplication::applicationFilePath().toStdString();
    services.Terminate = [] { QCoreApplication::quit(); };

    int result = 1;
    {
        fonts.Wait();
        TfrmMain main(services);
        if (!main.StartupFailed()) {
            main.show();
            // Every size of the theme's icon, so a task switcher shows a sharp
            // one. Decoding them takes about 2 ms, which the first paint of
            // the window does not wait for.
            AfterFirstPaint(
                main, [] { QApplication::setWindowIcon(LoadPngIcon(QStringLiteral(":/icons"))); });
            result = QApplication::exec();
        }
    }
    SetSoundOutput(nullptr);
    return result;
}
