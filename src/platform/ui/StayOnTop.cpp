#include "platform/ui/StayOnTop.h"

#include <QWidget>
#include <QWindow>

void SetStaysOnTop(QWidget* window, bool onTop) {
    Qt::WindowFlags flags = window->windowFlags();
    flags.setFlag(Qt::WindowStaysOnTopHint, onTop);
    if (QWindow* handle = window->windowHandle()) {
        // Asked again for what it already is (the start-up load runs once more when the settings
        // window is built): the window manager is not told anything.
        if (handle->flags() == flags && window->windowFlags() == flags)
            return;
        window->overrideWindowFlags(flags);
        handle->setFlags(flags);
    } else {
        window->setWindowFlags(flags);
    }
}
