// The baseline for start-up time: a bare frameless Qt window of the main
// window's size that prints the wall-clock time of its first paint.

#include <QApplication>
#include <QPainter>
#include <QWidget>
#include <cstdio>
#include <ctime>

class TBareWindow : public QWidget {
protected:
    void paintEvent(QPaintEvent*) override {
        QPainter(this).fillRect(rect(), Qt::white);
        if (!painted_) {
            painted_ = true;
            timespec now{};
            clock_gettime(CLOCK_REALTIME, &now);
            std::printf("first-paint %lld\n",
                        static_cast<long long>(now.tv_sec) * 1000 + now.tv_nsec / 1'000'000);
            std::fflush(stdout);
        }
    }

private:
    bool painted_ = false;
};

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    TBareWindow window;
    window.setWindowFlag(Qt::FramelessWindowHint);
    window.setFixedSize(685, 391);
    window.show();
    return QApplication::exec();
}
