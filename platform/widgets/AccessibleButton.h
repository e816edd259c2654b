#pragma once

#include <QAccessibleWidget>

class TImageButton;
class TLabel;

// A picture button as assistive technology sees it: a push button named by its
// caption, with a press action that does what a click does.
class TAccessibleImageButton : public QAccessibleWidget {
public:
    explicit TAccessibleImageButton(TImageButton* button);

    QString text(QAccessible::Text type) const override;
    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;

private:
    TImageButton* Button() const;
};

// A label that acts as a button (Minimize) as assistive technology sees it: a
// push button named by its accessible name, pressed as a click presses it.
class TAccessibleLabelButton : public QAccessibleWidget {
public:
    explicit TAccessibleLabelButton(TLabel* label);

    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;
};
