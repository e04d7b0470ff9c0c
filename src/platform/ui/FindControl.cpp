#include "platform/ui/FindControl.h"

#include <QList>

namespace {
bool isOtherWindow(const QObject* object) {
    return object->isWidgetType() && static_cast<const QWidget*>(object)->isWindow();
}
} // namespace

QObject* FindControlObject(const QObject& window, const QString& name, const QMetaObject& type) {
    QList<const QObject*> level{&window};
    while (!level.isEmpty()) {
        QList<const QObject*> next;
        for (const QObject* parent : level)
            for (QObject* child : parent->children()) {
                if (child->objectName() == name && type.cast(child))
                    return child;
                if (!isOtherWindow(child))
                    next.append(child);
            }
        level = std::move(next);
    }
    return nullptr;
}
