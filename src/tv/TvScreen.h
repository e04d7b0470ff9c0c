#pragma once
#include "navigation/TvPlayer.h"
#include "platform/VideoPlayer.h"

#include <QObject>
#include <QTimer>

#include <functional>
#include <memory>
#include <vector>

// The main window's native TV: plays an imported stream and says when the view area belongs to
// the video (active) and when it goes back to the web page. A channel's entries are tried in turn
// until one shows a picture; a channel that played and then stalled or ended is opened again by
// itself, with the radio's pauses, going through its entries, until the server is back.
class TvScreen : public QObject, public TvPlayer {
    Q_OBJECT
public:
    // Without a player, the program's own (see MediaBackend.h).
    explicit TvScreen(std::unique_ptr<VideoPlayer> player = nullptr, QObject* parent = nullptr);
    ~TvScreen() override;

    // Runs before every play: the radio falls silent, as when another station starts.
    void setBeforePlay(std::function<void()> beforePlay) { beforePlay_ = std::move(beforePlay); }
    // The unit of the reconnect pauses (1 s; see ReconnectDelay.h).
    void setReconnectUnit(int msecs) { reconnectUnitMs_ = std::max(1, msecs); }

    void play(const ImportedStream& stream) override;
    void stop() override;
    // From play() until stop(), whatever the stream does meanwhile (a failed stream keeps its
    // message in the view).
    bool isPlaying() const override { return active_; }

    VideoPlayer& video() { return *video_; }
    const VideoPlayer& video() const { return *video_; }
    // The name of the channel on screen.
    QString channelName() const { return name_; }
    // The stream last asked for (kept after stop(), for playing it again).
    const ImportedStream& stream() const { return stream_; }
    // The stream last asked for, again; false when none was.
    bool replay();

    // Which of the channel's entries plays or is being opened (0-based), and how many it has.
    int sourceIndex() const { return index_; }
    // The entry that plays or is being opened; null while nothing does.
    const StreamSource* currentSource() const {
        return active_ && size_t(index_) < sources_.size() ? &sources_[size_t(index_)] : nullptr;
    }
    int sourceCount() const { return int(sources_.size()); }
    // The reconnect try under way or waited for after the picture was lost (1, 2, ...); 0 while
    // the channel plays or was never seen.
    int reconnectAttempt() const { return attempt_; }

signals:
    void activeChanged(bool active);
    // sourceIndex() or reconnectAttempt() changed.
    void progressChanged();
    // Each play(), after activeChanged: a new channel is on screen.
    void channelStarted();

private:
    void open(int index);
    void onStatus(VideoPlayer::Status status);
    void reconnect();

    std::unique_ptr<VideoPlayer> video_;
    std::function<void()> beforePlay_;
    QString name_;
    ImportedStream stream_;
    bool active_ = false;
    std::vector<StreamSource> sources_;
    int index_ = 0;
    int attempt_ = 0;
    bool everPlayed_ = false; // this channel showed a picture since it was chosen
    int reconnectUnitMs_ = 1000;
    QTimer retry_;
};
