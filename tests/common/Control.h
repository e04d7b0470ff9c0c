#pragma once
#include "platform/ui/FindControl.h"

#include <QString>
#include <QtGlobal>

// A window's control by its object name, as a user's tool finds it; the test stops when it is
// missing, since every later step would only fail less clearly.
template <typename T> T* Control(const QObject& window, const char* name) {
    T* control = FindControl<T>(window, QString::fromLatin1(name));
    if (!control)
        qFatal("%s has no control %s", qPrintable(window.objectName()), name);
    return control;
}
