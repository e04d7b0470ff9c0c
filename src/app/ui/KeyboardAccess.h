#pragma once
#include <QWidget>

#include <memory>
#include <vector>

class TForm1;
class AccessibleNames;
class EscapeCloses;
class KeyboardGroups;

// Keyboard and screen-reader reach of the program's windows: the main window's bar, grid, radio
// strip and tool bar as keyboard groups, accessible names for picture-only buttons, Escape for
// the secondary windows. Owns the helpers it installs.
class KeyboardAccess {
public:
    KeyboardAccess(TForm1& main, const std::vector<QWidget*>& windows,
                   const std::vector<QWidget*>& closeOnEscape);
    ~KeyboardAccess();
    KeyboardAccess(const KeyboardAccess&) = delete;
    KeyboardAccess& operator=(const KeyboardAccess&) = delete;

private:
    std::unique_ptr<KeyboardGroups> groups_;
    std::unique_ptr<AccessibleNames> names_;
    std::unique_ptr<EscapeCloses> escape_;
};
