#pragma once

#include <QLabel>

// A label as the designs describe one. Transparent labels draw only their text;
// opaque ones fill their rectangle with the window colour first. A label that is
// not fixed (autoSize) grows or shrinks to its text, keeping its top-left corner.
// A disabled or hidden label lets mouse presses through.
class TLabel : public QLabel {
    Q_OBJECT
    Q_PROPERTY(bool autoSize READ AutoSize WRITE SetAutoSize)
    Q_PROPERTY(bool transparent READ Transparent WRITE SetTransparent)

public:
    explicit TLabel(QWidget* parent = nullptr);

    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool autoSize);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool transparent);

    // Sets the text and, for an auto-size label, fits the label to it.
    void SetCaption(const QString& caption);

    // A label named cmd... acts as a button, as the designs name controls: it
    // takes the keyboard focus, Space or Enter presses it, and while the
    // keyboard is in use the focus mark outlines it.
    bool ActsAsButton() const { return objectName().startsWith(QLatin1String("cmd")); }
    // What a left click does: clicked, unless disabled or hidden.
    void Press();

signals:
    void clicked();

protected:
    bool event(QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void FitToText();

    bool autoSize_ = false;
    bool transparent_ = true;
};
