#pragma once
#include <QObject>
#include <QString>
#include <QWidget>

// A control of a window by its object name. The windows a window owns (dialogs and tool windows
// made with it as parent) have controls of the same names, so the search never enters another
// window: first the window's direct children, then, level by level, the children of children
// that are not windows themselves. Null when there is none of that name and type.
QObject* FindControlObject(const QObject& window, const QString& name, const QMetaObject& type);

template <typename T> T* FindControl(const QObject& window, const QString& name) {
    return static_cast<T*>(FindControlObject(window, name, T::staticMetaObject));
}
