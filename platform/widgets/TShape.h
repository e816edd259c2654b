#pragma once

#include <QWidget>

// A shape: a rectangle with a black outline over its whole extent. Two pixels
// high, it reads as a line.
class TShape : public QWidget {
    Q_OBJECT

public:
    explicit TShape(QWidget* parent = nullptr) : QWidget(parent) {}

protected:
    void paintEvent(QPaintEvent* event) override;
};
