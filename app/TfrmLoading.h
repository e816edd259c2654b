#pragma once

#include <QWidget>
#include <memory>

namespace Ui {
class TfrmLoading;
}
class TLabel;

// The small window shown while the word stores open. It is the only window shown
// without a modal loop, and the only one the main window owns; closing it
// destroys it.
class TfrmLoading : public QWidget {
    Q_OBJECT

public:
    explicit TfrmLoading(QWidget* owner);
    ~TfrmLoading() override;

    TLabel* lblLoading() const;
    // Shows the window and makes sure it is on screen and painted before the
    // caller goes on with blocking work.
    void ShowAndPaint();
    void PaintNow();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void WaitUntilExposed();

    std::unique_ptr<Ui::TfrmLoading> ui_;
};
