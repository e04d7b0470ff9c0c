#include "desktop/ui/AccessibleNames.h"

#include <QAbstractButton>
#include <QEvent>
#include <QWidget>

namespace {
constexpr const char* NamedFromHint = "accessibleNameFromHint";

void nameFromHint(QAbstractButton* b) {
    b->setAccessibleName(b->toolTip());
}
} // namespace

AccessibleNames::AccessibleNames(QObject* parent) : QObject(parent) {}

void AccessibleNames::nameButtonsOf(QWidget* window) {
    for (QAbstractButton* b : window->findChildren<QAbstractButton*>()) {
        if (!b->text().isEmpty() || (!b->accessibleName().isEmpty() && !b->property(NamedFromHint).toBool()))
            continue;
        if (!b->property(NamedFromHint).toBool()) {
            b->setProperty(NamedFromHint, true);
            b->installEventFilter(this);
        }
        nameFromHint(b);
    }
}

bool AccessibleNames::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ToolTipChange)
        if (auto* b = qobject_cast<QAbstractButton*>(watched))
            nameFromHint(b);
    return false;
}
