#pragma once
#include <functional>

class QMenu;
class QPushButton;

// Opens `menu` where `button` is right-clicked. `opening` runs first and is told the button, so
// that the window knows which button the menu's items act on (and can fit the menu to it).
void BindPopupMenu(QPushButton* button, QMenu* menu, std::function<void(QPushButton*)> opening);
