#include "platform/GstPipelineControl.h"

#include "platform/MallocTuning.h"

GstPipelineControl::GstPipelineControl(GstElement* pipeline, std::shared_ptr<PendingStops> pending,
                                       std::function<void(GstState)> refused, LogCategory category)
    : pipeline_(pipeline), pending_(std::move(pending)), refused_(std::move(refused)), category_(category) {
    pending_->add();
}

GstPipelineControl::~GstPipelineControl() {
    // Only reached without release() when no change was ever asked for: nothing runs yet.
    if (pipeline_) {
        gst_element_set_state(pipeline_, GST_STATE_NULL);
        gst_object_unref(pipeline_);
        pending_->done();
    }
}

void GstPipelineControl::change(GstState state) {
    queue(Step{state, {}});
}

void GstPipelineControl::prepare(std::function<void(GstElement*)> step) {
    queue(Step{GST_STATE_VOID_PENDING, std::move(step)});
}

void GstPipelineControl::queue(Step step) {
    std::lock_guard lock(mutex_);
    if (released_)
        return;
    steps_.push_back(std::move(step));
    scheduleLocked();
}

void GstPipelineControl::release(std::shared_ptr<void> keepAlive, std::function<void(GstElement*)> last) {
    std::lock_guard lock(mutex_);
    if (released_)
        return;
    released_ = true;
    keepAlive_ = std::move(keepAlive);
    steps_.clear();
    if (last)
        steps_.push_back(Step{GST_STATE_VOID_PENDING, std::move(last)});
    steps_.push_back(Step{GST_STATE_NULL, {}});
    scheduleLocked();
}

void GstPipelineControl::scheduleLocked() {
    if (running_)
        return;
    running_ = true;
    // GStreamer's pool grows as needed, so a pipeline that hangs holds up no other.
    gst_element_call_async(pipeline_, &GstPipelineControl::run, new std::shared_ptr(shared_from_this()),
                           [](gpointer p) { delete static_cast<std::shared_ptr<GstPipelineControl>*>(p); });
}

void GstPipelineControl::run(GstElement*, gpointer self) {
    (*static_cast<std::shared_ptr<GstPipelineControl>*>(self))->drain();
}

void GstPipelineControl::drain() {
    for (;;) {
        Step next;
        {
            std::lock_guard lock(mutex_);
            if (steps_.empty()) {
                running_ = false;
                if (!released_)
                    return;
                break;
            }
            next = std::move(steps_.front());
            steps_.pop_front();
        }
        if (next.work) {
            next.work(pipeline_);
            continue;
        }
        const GstStateChangeReturn result = gst_element_set_state(pipeline_, next.state);
        if (result == GST_STATE_CHANGE_FAILURE && next.state != GST_STATE_NULL) {
            qCWarning(category_) << GST_ELEMENT_NAME(pipeline_) << "refused the state"
                                 << gst_element_state_get_name(next.state);
            if (refused_)
                refused_(next.state);
        }
    }
    // Stopped: no streaming thread runs any more.
    gst_object_unref(pipeline_);
    pipeline_ = nullptr;
    keepAlive_.reset();
    // What the stream's threads allocated is free now, but stays resident until handed back.
    MallocTuning::ReturnFreed();
    pending_->done();
}
