#include "Accessibility.h"

#include "AccessibleButton.h"
#include "AccessibleGrid.h"
#include "TDrawGrid.h"
#include "TImage.h"
#include "TLabel.h"

#include <QTimer>
#include <QWidget>

namespace {

QAccessibleInterface* AccessibleWidget(const QString& className, QObject* object) {
    if (className == QLatin1String("TImageButton")) {
        return new TAccessibleImageButton(static_cast<TImageButton*>(object));
    }
    if (className == QLatin1String("TLabel") && static_cast<TLabel*>(object)->ActsAsButton()) {
        return new TAccessibleLabelButton(static_cast<TLabel*>(object));
    }
    if (className == QLatin1String("TDrawGrid")) {
        return new TAccessibleDrawGrid(static_cast<TDrawGrid*>(object));
    }
    // A window made straight from a plain widget (the main and loading windows)
    // is a window, not an unnamed filler; dialogs are told as dialogs already.
    if (className == QLatin1String("QWidget") && static_cast<QWidget*>(object)->isWindow()) {
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Window);
    }
    return nullptr;
}

} // namespace

void InstallAccessibility() {
    static bool installed = false;
    if (!installed) {
        QAccessible::installFactory(AccessibleWidget);
        installed = true;
    }
}

void PressSoon(QObject* target, std::function<void()> press) {
    QTimer::singleShot(0, target, std::move(press));
}
