#pragma once

#include <QPixmap>
#include <QWidget>

// A picture: drawn from its top-left corner at its own logical size, cut at the
// widget's edges. On a screen whose device pixel ratio is above 1 it shows the
// picture painted at twice the size, and follows the window to another screen.
// A disabled or hidden picture lets mouse presses through to whatever lies
// beneath it.
class TImage : public QWidget {
    Q_OBJECT
    // The picture's resource name (":/pictures/A1.jpg"), as the designs give it.
    Q_PROPERTY(QString pictureName READ PictureName WRITE SetPictureName)

public:
    explicit TImage(QWidget* parent = nullptr);

    QString PictureName() const { return pictureName_; }
    void SetPictureName(const QString& name);

    // The picture for the screen the widget is on now, decoded when first
    // needed: hidden picture sources the logic never copies cost nothing at
    // start-up.
    const QPixmap& Picture() const;
    // Copies another picture in, as the logic does to swap button faces. A
    // picture from the resources is shown for whatever screen the widget is on.
    void SetPicture(const QPixmap& picture);
    // The resource name of the picture shown now, whether set by name or
    // copied in from another picture; empty when it came from elsewhere.
    QString ShownPictureName() const { return shownName_; }

signals:
    void mousePressed(QMouseEvent* event);

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QString pictureName_;
    QString shownName_; // resource of the picture shown; empty for a plain pixmap
    mutable QPixmap picture_;
    mutable qreal loadedRatio_ = 0; // the device pixel ratio picture_ was loaded for
};

// A picture that acts as a button: a hand-pointer cursor and a click on a left
// press and release inside it. It has no pressed or hover look of its own.
// It takes the keyboard focus unless hidden or disabled (the greyed look);
// Space or Enter presses it as a click does, and while the keyboard is in use
// the focus mark outlines it. Assistive technology sees a push button named by
// the caption of the picture it shows.
class TImageButton : public TImage {
    Q_OBJECT

public:
    explicit TImageButton(QWidget* parent = nullptr);

    // The caption of the picture shown ("Pause", then "Continue"), or the
    // button's accessible name where the picture has none.
    QString Caption() const;
    // What a click does, for a press that does not come from the mouse; like a
    // click it reaches nothing while the button is disabled or hidden.
    void Press();

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool pressed_ = false;
};
