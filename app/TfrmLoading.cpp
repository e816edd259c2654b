#include "TfrmLoading.h"

#include "platform/widgets/FormStyle.h"
#include "ui_TfrmLoading.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QWindow>

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
    // The window system maps the window asynchronously; give it a moment to
    // become exposed so the paint below reaches the screen. Input is not
    // handled meanwhile.
    QElapsedTimer waited;
    waited.start();
    while (windowHandle() != nullptr && !windowHandle()->isExposed() && waited.elapsed() < 250) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 10);
    }
    PaintNow();
}

void TfrmLoading::PaintNow() {
    repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TfrmLoading::closeEvent(QCloseEvent* event) {
    event->accept();
    deleteLater();
}
