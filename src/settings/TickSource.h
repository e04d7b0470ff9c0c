#pragma once
#include <QTimer>

#include <functional>

// A source of regular ticks, so the countdown can be driven by a real timer or by a test.
class TickSource {
public:
    virtual ~TickSource() = default;
    virtual void start() = 0;
    virtual void stop() = 0;
    virtual bool active() const = 0;
    void setHandler(std::function<void()> handler) { handler_ = std::move(handler); }

protected:
    void fire() {
        if (handler_)
            handler_();
    }

private:
    std::function<void()> handler_;
};

// Ticks from a QTimer on the owner's thread, between other events.
class TimerTickSource : public TickSource {
public:
    explicit TimerTickSource(int intervalMs = 1000) {
        timer_.setInterval(intervalMs);
        QObject::connect(&timer_, &QTimer::timeout, [this] { fire(); });
    }
    void start() override { timer_.start(); }
    void stop() override { timer_.stop(); }
    bool active() const override { return timer_.isActive(); }

private:
    QTimer timer_;
};
