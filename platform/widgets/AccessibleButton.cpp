#include "AccessibleButton.h"

#include "Accessibility.h"
#include "TImage.h"
#include "TLabel.h"

TAccessibleImageButton::TAccessibleImageButton(TImageButton* button)
    : QAccessibleWidget(button, QAccessible::Button) {}

TImageButton* TAccessibleImageButton::Button() const {
    return static_cast<TImageButton*>(widget());
}

QString TAccessibleImageButton::text(QAccessible::Text type) const {
    if (type == QAccessible::Name) {
        return Button()->Caption();
    }
    return QAccessibleWidget::text(type);
}

QStringList TAccessibleImageButton::actionNames() const {
    return {pressAction()};
}

void TAccessibleImageButton::doAction(const QString& actionName) {
    if (actionName == pressAction()) {
        TImageButton* button = Button();
        PressSoon(button, [button] { button->Press(); });
    }
}

TAccessibleLabelButton::TAccessibleLabelButton(TLabel* label)
    : QAccessibleWidget(label, QAccessible::Button) {}

QStringList TAccessibleLabelButton::actionNames() const {
    return {pressAction()};
}

void TAccessibleLabelButton::doAction(const QString& actionName) {
    if (actionName == pressAction()) {
        auto* label = static_cast<TLabel*>(widget());
        PressSoon(label, [label] { label->Press(); });
    }
}
