#include "AccessibleButton.h"

#include "TImage.h"

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
        Button()->Press();
    }
}
