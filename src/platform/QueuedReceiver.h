#pragma once
#include <QMetaObject>
#include <QObject>

#include <mutex>
#include <utility>

// Lets GStreamer's threads hand calls to an object on the UI thread that may be destroyed at any
// moment. The object closes its receiver first thing in its destructor; later posts are dropped,
// and a call posted before that is discarded with the object's other pending events.
class QueuedReceiver {
public:
    explicit QueuedReceiver(QObject* receiver) : receiver_(receiver) {}
    QueuedReceiver(const QueuedReceiver&) = delete;
    QueuedReceiver& operator=(const QueuedReceiver&) = delete;

    // Any thread. False when the receiver is closed.
    template <typename Call> bool post(Call&& call) {
        std::lock_guard lock(mutex_);
        if (!receiver_)
            return false;
        QMetaObject::invokeMethod(receiver_, std::forward<Call>(call), Qt::QueuedConnection);
        return true;
    }
    // The receiver's thread, before the receiver goes.
    void close() {
        std::lock_guard lock(mutex_);
        receiver_ = nullptr;
    }

private:
    std::mutex mutex_;
    QObject* receiver_;
};
