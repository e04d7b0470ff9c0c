#pragma once
#include <QStringList>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

// The first station after start must open as quickly as later ones. GStreamer loads a plug-in
// only when a pipeline first needs it, and the libav decoders' plug-in alone takes a third of a
// second to load inside this large process. Two remedies, both for GStreamer already initialised:
namespace GstWarmup {

// Where a format has a lighter decoder beside libav's, ranks the lighter one first, so that the
// usual radio formats never load libav: mpg123 for MP3, faad for AAC. Decoders that are missing
// are left alone. Returns the decoders that were moved up.
QStringList PreferLightDecoders();

// Takes libav's type finders out of this process's registry while libav is not loaded. They only
// know formats no station sends, yet whenever a stream's start leaves the MP3 type finder unsure,
// every type finder runs, and running one of libav's loads the whole plug-in (0.2-0.3 s here, and
// +45 MB). Returns the type finders taken out.
QStringList SkipHeavyTypeFinders();

// The elements an opened station runs through, in the order a pipeline meets them.
const QStringList& StationElements();

} // namespace GstWarmup

// Loads the plug-ins of StationElements() and initialises their element classes on a worker
// thread, so that the first open finds them ready, and decodes a little silent MP3 through
// decodebin once, which runs the type finders and decoder code a first station would run first.
// The same for GIO's proxy resolver and TLS back end, which the first HTTP request would load, and
// for the sound server's first connection (opened and closed at once). The worker
// first lets the program's own start-up (window, web engine) have the machine for a while. A station opened
// meanwhile only waits for the plug-in being loaded at that moment. The destructor cancels the wait and
// joins.
class GstPluginWarmer {
public:
    GstPluginWarmer() = default;
    ~GstPluginWarmer();
    GstPluginWarmer(const GstPluginWarmer&) = delete;
    GstPluginWarmer& operator=(const GstPluginWarmer&) = delete;

    // Starts the worker once, loading after delay; later calls do nothing.
    void start(std::chrono::milliseconds delay);
    // Cancels the wait and joins the worker (also done by the destructor).
    void stop();
    // True once every element has been loaded (or found missing).
    bool finished() const { return finished_; }

private:
    void run(std::chrono::milliseconds delay);

    std::mutex mutex_;
    std::condition_variable wake_;
    bool cancelled_ = false;
    std::atomic<bool> finished_{false};
    std::thread worker_;
};
