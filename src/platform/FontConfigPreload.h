#pragma once
#include <future>

// Reads the system's font configuration (fontconfig's XML files and font caches, ~4 ms) on a
// thread of its own while the first widgets are built. The first text
// a widget measures then finds it loaded instead of reading it on the window's thread. Waits for
// that thread when destroyed.
class FontConfigPreload {
public:
    FontConfigPreload();
    ~FontConfigPreload();
    FontConfigPreload(const FontConfigPreload&) = delete;
    FontConfigPreload& operator=(const FontConfigPreload&) = delete;

private:
    std::future<void> loading_;
};
