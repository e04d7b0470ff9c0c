#pragma once
#include <QEvent>
#include <QObject>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <ctime>
#include <functional>

// The same marker lines the program prints with ZELMO_BENCH=1.
inline void BenchMark(const char* what) {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    std::printf("ZELMO_BENCH %s %lld\n", what, static_cast<long long>(ts.tv_sec) * 1000000000LL + ts.tv_nsec);
    std::fflush(stdout);
}

// Marks "shown" right after the window's first paint (as the program does), then runs next.
class FirstPaintMark : public QObject {
public:
    FirstPaintMark(QWidget* window, std::function<void()> next = {})
        : QObject(window), next_(std::move(next)) {
        window->installEventFilter(this);
    }
    bool eventFilter(QObject*, QEvent* event) override {
        if (!done_ && (event->type() == QEvent::Paint || event->type() == QEvent::UpdateRequest)) {
            done_ = true;
            QTimer::singleShot(0, this, [this] {
                BenchMark("shown");
                if (next_)
                    next_();
            });
        }
        return false;
    }

private:
    std::function<void()> next_;
    bool done_ = false;
};
