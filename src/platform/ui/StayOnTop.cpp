#include "platform/ui/StayOnTop.h"

#include <QWidget>
#include <QWindow>

void SetStaysOnTop(QWidget* window, bool onTop) {
    Qt::WindowFlags flags = window->windowFlags();
    flags.setFlag(Qt::WindowStaysOnTopHint, onTop);
    if (QWindow* handle = window->windowHandle()) {
        window->overrideWindowFlags(flags);
        handle->setFlags(flags);
    } else {
        window->setWindowFlags(flags);
    }
}
