#pragma once
#include "navigation/TvPlayer.h"
#include "platform/VideoPlayer.h"

#include <QObject>

#include <functional>
#include <memory>

// The main window's native TV: plays an imported stream and says when the view area belongs to
// the video (active) and when it goes back to the web page.
class TvScreen : public QObject, public TvPlayer {
    Q_OBJECT
public:
    // Without a player, the program's own (see MediaBackend.h).
    explicit TvScreen(std::unique_ptr<VideoPlayer> player = nullptr, QObject* parent = nullptr);
    ~TvScreen() override;

    // Runs before every play: the radio falls silent, as when another station starts.
    void setBeforePlay(std::function<void()> beforePlay) { beforePlay_ = std::move(beforePlay); }

    void play(const ImportedStream& stream) override;
    void stop() override;
    // From play() until stop(), whatever the stream does meanwhile (a failed stream keeps its
    // message in the view).
    bool isPlaying() const override { return active_; }

    VideoPlayer& video() { return *video_; }
    const VideoPlayer& video() const { return *video_; }
    // The name of the channel on screen.
    QString channelName() const { return name_; }

signals:
    void activeChanged(bool active);

private:
    std::unique_ptr<VideoPlayer> video_;
    std::function<void()> beforePlay_;
    QString name_;
    bool active_ = false;
};
