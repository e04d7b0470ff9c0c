#pragma once
#include <QElapsedTimer>
#include <QMetaObject>
#include <QObject>
#include <QThread>

#include <algorithm>
#include <atomic>
#include <memory>
#include <vector>

// How long the UI thread takes to answer: from another thread, a call is queued to it every few
// ms and the time until it runs is recorded. A window whose thread is busy with a long task
// answers late by as long as the task takes, whatever the task is.
class UiRoundTrip : public QThread {
public:
    // Starts probing the thread `uiObject` lives in.
    explicit UiRoundTrip(QObject* uiObject) : target_(uiObject) { start(); }
    ~UiRoundTrip() override { finish(); }

    // Stops probing; the figures below are final from then on.
    void finish() {
        stop_ = true;
        wait();
    }
    qint64 maxMs() const {
        return samples_.empty() ? 0 : *std::max_element(samples_.begin(), samples_.end());
    }
    size_t count() const { return samples_.size(); }

protected:
    void run() override {
        QElapsedTimer clock;
        clock.start();
        while (!stop_) {
            auto answered = std::make_shared<std::atomic<qint64>>(-1);
            const qint64 sent = clock.elapsed();
            QMetaObject::invokeMethod(
                target_, [answered, clock] { *answered = clock.elapsed(); }, Qt::QueuedConnection);
            while (*answered < 0 && !stop_)
                QThread::usleep(500);
            // A probe still unanswered at the end counts for as long as it waited.
            const qint64 at = answered->load();
            samples_.push_back((at >= 0 ? at : clock.elapsed()) - sent);
            QThread::msleep(5);
        }
    }

private:
    QObject* target_;
    std::atomic<bool> stop_{false};
    std::vector<qint64> samples_; // ms; read only after finish()
};
