#pragma once
#include <future>

// Reads the system's font configuration (fontconfig's XML files and font caches, ~4 ms) on a
// thread of its own while the application object and the first widgets are built. Waits for that
// thread when destroyed.
class FontConfigPreload {
public:
    FontConfigPreload();
    ~FontConfigPreload();
    FontConfigPreload(const FontConfigPreload&) = delete;
    FontConfigPreload& operator=(const FontConfigPreload&) = delete;

    // Returns once the configuration is loaded. Called before the first text is measured: a
    // fontconfig call made while the thread is still at work does not wait for it but loads the
    // whole configuration a second time.
    void wait();

private:
    std::future<void> loading_;
};
