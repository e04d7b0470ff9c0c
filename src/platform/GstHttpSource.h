#pragma once
#include "platform/StreamSource.h"

#include <QByteArray>
#include <QUrl>

#include <gst/gst.h>

#include <memory>

// How the HTTP requests of one stream go out: every source of its pipeline, and the sources an
// adaptive demuxer makes outside the pipeline's bins for its playlist and variant downloads, which
// no signal of playbin reaches.
namespace GstHttpSource {

struct Setup {
    QByteArray userAgent; // used unless headers name a User-Agent
    HttpHeaders headers;  // sent with every request; they replace the demuxer's own (Referer)
    guint timeoutS = 5;   // reads that stall this long fail
};

// Makes GStreamer create its HTTP sources through this program (a subclass of souphttpsrc that
// behaves the same unless a stream claims it). Once per process, after gst_init; false when
// GStreamer has no souphttpsrc.
bool install();

// Sets up one HTTP source (an element with a "user-agent" property; others are left alone).
void apply(GstElement* source, const Setup& setup);

// While the returned handle lives, HTTP sources that start outside any pipeline's own bins and
// fetch from the stream's server (by their address, or the Referer the demuxer gives them) get
// setup. The newest claim of a server wins.
std::shared_ptr<void> claim(const QUrl& stream, Setup setup);

} // namespace GstHttpSource
