#pragma once

class QWidget;

// Puts `window` into or out of the stay-on-top layer. A window that already exists is told
// directly: setWindowFlags would hide and re-show it, which runs its show handlers again and ends
// a modal showing the user is working in.
void SetStaysOnTop(QWidget* window, bool onTop);
