#pragma once
#include "platform/PendingStops.h"

#include <QLoggingCategory>

#include <gst/gst.h>

#include <deque>
#include <functional>
#include <memory>
#include <mutex>

// Changes a pipeline's state on GStreamer's worker threads, one change after another, so that the
// UI thread never waits for a source that hangs in open() or a sink that takes its time. Released,
// it stops the pipeline and frees it there, together with what the streaming threads still use.
class GstPipelineControl : public std::enable_shared_from_this<GstPipelineControl> {
public:
    using LogCategory = const QLoggingCategory& (*)();
    // Takes the pipeline's reference. refused runs on a worker when a change other than the final
    // stop fails; the failure is logged in category.
    GstPipelineControl(GstElement* pipeline, std::shared_ptr<PendingStops> pending,
                       std::function<void(GstState)> refused, LogCategory category);
    ~GstPipelineControl();
    GstPipelineControl(const GstPipelineControl&) = delete;
    GstPipelineControl& operator=(const GstPipelineControl&) = delete;

    // Queued behind the changes asked for before; ignored once released.
    void change(GstState state);
    // Runs step on the worker in the same queue: set-up that may wait (opening the sound output)
    // before the pipeline starts. Dropped when released before it began.
    void prepare(std::function<void(GstElement* pipeline)> step);
    // Stops the pipeline after the change in progress (later queued ones are dropped) and frees it;
    // keepAlive goes with it, once no streaming thread runs. last, when given, runs on the worker
    // just before the stop (completing a file while the pipeline still plays).
    void release(std::shared_ptr<void> keepAlive, std::function<void(GstElement* pipeline)> last = {});

private:
    struct Step {
        GstState state = GST_STATE_VOID_PENDING;
        std::function<void(GstElement*)> work; // set: runs instead of a state change
    };
    void queue(Step step);
    static void run(GstElement*, gpointer self);
    void scheduleLocked();
    void drain();

    GstElement* pipeline_;
    std::shared_ptr<PendingStops> pending_;
    std::function<void(GstState)> refused_;
    LogCategory category_;
    std::mutex mutex_;
    std::deque<Step> steps_;
    bool running_ = false;
    bool released_ = false;
    std::shared_ptr<void> keepAlive_;
};
