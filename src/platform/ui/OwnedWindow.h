#pragma once
#include <Qt>

// Flags for a window that another window of the program opens (its owner, passed as the widget's
// parent). Window managers keep a transient window in front of the window it belongs to and in
// the same layer, so it never opens or hides behind an owner that stays on top. On X11 only
// dialog-type windows carry WM_TRANSIENT_FOR, so the type is Qt::Dialog whatever the window does.
constexpr Qt::WindowFlags OwnedWindowFlags(Qt::WindowFlags buttons) {
    return Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | buttons;
}
