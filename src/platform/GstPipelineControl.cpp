#include "platform/GstPipelineControl.h"

#include "platform/LogCategories.h"

GstPipelineControl::GstPipelineControl(GstElement* pipeline, std::shared_ptr<PendingStops> pending,
                                       std::function<void(GstState)> refused)
    : pipeline_(pipeline), pending_(std::move(pending)), refused_(std::move(refused)) {
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
    std::lock_guard lock(mutex_);
    if (released_)
        return;
    steps_.push_back(state);
    scheduleLocked();
}

void GstPipelineControl::release(std::shared_ptr<void> keepAlive) {
    std::lock_guard lock(mutex_);
    if (released_)
        return;
    released_ = true;
    keepAlive_ = std::move(keepAlive);
    steps_.clear();
    steps_.push_back(GST_STATE_NULL);
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
        GstState next;
        {
            std::lock_guard lock(mutex_);
            if (steps_.empty()) {
                running_ = false;
                if (!released_)
                    return;
                break;
            }
            next = steps_.front();
            steps_.pop_front();
        }
        const GstStateChangeReturn result = gst_element_set_state(pipeline_, next);
        if (result == GST_STATE_CHANGE_FAILURE && next != GST_STATE_NULL) {
            qCWarning(lcAudio) << "audio:" << GST_ELEMENT_NAME(pipeline_) << "refused the state"
                               << gst_element_state_get_name(next);
            if (refused_)
                refused_(next);
        }
    }
    // Stopped: no streaming thread runs any more.
    gst_object_unref(pipeline_);
    pipeline_ = nullptr;
    keepAlive_.reset();
    pending_->done();
}
