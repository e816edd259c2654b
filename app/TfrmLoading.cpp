#include "TfrmLoading.h"

#include "platform/widgets/FormStyle.h"
#include "ui_TfrmLoading.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <QWindow>
#include <functional>

namespace {

// Calls back once its window has been exposed.
class TExposeWatch : public QObject {
public:
    TExposeWatch(QWindow* window, std::function<void()> exposed)
        : window_(window), exposed_(std::move(exposed)) {
        window_->installEventFilter(this);
    }
    ~TExposeWatch() override { window_->removeEventFilter(this); }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Expose) {
            exposed_();
        }
        return false;
    }

private:
    QWindow* window_;
    std::function<void()> exposed_;
};

} // namespace

TfrmLoading::TfrmLoading(QWidget* owner)
    : QWidget(owner, Qt::Window), ui_(std::make_unique<Ui::TfrmLoading>()) {
    ui_->setupUi(this);
    ApplyWindowConventions(this, 382, 96);
}

TfrmLoading::~TfrmLoading() = default;

TLabel* TfrmLoading::lblLoading() const {
    return ui_->lblLoading;
}

void TfrmLoading::ShowAndPaint() {
    CentreOnScreen(this);
    show();
    raise();
    WaitUntilExposed();
    PaintNow();
}

void TfrmLoading::WaitUntilExposed() {
    // The window system maps the window asynchronously; the paint below reaches
    // the screen only once the window is exposed. Sleep until it is, or a
    // quarter of a second has passed: spinning here would take the processor
    // from the X server that is mapping the window. Input waits meanwhile.
    QWindow* window = windowHandle();
    if (window == nullptr || window->isExposed()) {
        return;
    }
    QEventLoop waiting;
    TExposeWatch watch(window, [&waiting] { waiting.quit(); });
    QTimer::singleShot(250, &waiting, &QEventLoop::quit);
    waiting.exec(QEventLoop::ExcludeUserInputEvents);
}

void TfrmLoading::PaintNow() {
    repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TfrmLoading::closeEvent(QCloseEvent* event) {
    event->accept();
    deleteLater();
}
