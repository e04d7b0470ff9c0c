#pragma once
#include "platform/LangLookup.h"
#include "tv/NowNext.h"

#include <QObject>
#include <QString>
#include <QUrl>

#include <functional>
#include <memory>

class ChannelLine;
class QKeyEvent;
class QAbstractSlider;
class StreamLookup;
class TForm1;
class TvFullscreen;
class TvScreen;
class TvVideoView;

// What a TV viewer reaches with keys and the mouse while a channel plays: full screen (double-click,
// F, F11; Escape leaves), the channel of the grid's category above or below (Page Up / Page Down,
// wrapping, with a short line of what is on), and the volume (wheel over the picture, +, −, M for
// mute). The volume is the radio strip's bar: one volume for everything that plays, stored as the
// radio's.
class TvViewer : public QObject {
    Q_OBJECT
public:
    struct Deps {
        TForm1* main = nullptr;
        TvScreen* tv = nullptr;
        TvVideoView* view = nullptr;
        const StreamLookup* streams = nullptr;
        // Plays a channel by the name the grid shows, as a click on it does.
        std::function<void(const QString& name)> startChannel;
        // The guide's programmes of a channel by name; null when the guide has none.
        std::function<const std::vector<Programme>*(const QString& name)> programmes;
        LangLookup lang;
    };
    static constexpr int kWheelStep = 5; // volume per wheel notch and per + or −

    explicit TvViewer(Deps deps);
    ~TvViewer() override;

    // The next (+1) or previous (−1) channel of the grid that has a stream, wrapping around.
    // False when the grid shows none.
    bool step(int direction);
    bool canStep() const;
    // The channel on screen as the program names it (its grid caption when started from there).
    QString channelName() const;
    // The guide's now and next for the channel on screen.
    NowNext nowNext(qint64 nowMs) const;

    // Called before a channel is started by name from anywhere (grid, favourite, keys), so that
    // the channel on screen is known by that name.
    void noteRequested(const QString& name) { requested_ = name; }

    void changeVolume(int delta);
    void toggleMute();

    // Made on first use: no window of its own until the picture first goes full screen.
    TvFullscreen& fullscreen();
    ChannelLine& channelLine() const { return *line_; }

signals:
    // The channel on screen or what it shows changed (MPRIS, tray).
    void channelChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    QStringList candidates() const;
    void channelStarted();
    void showChannelLine();
    bool handleKey(QKeyEvent* e);
    QString text(const char* key, const QString& fallback) const;

    Deps d_;
    QAbstractSlider* volume_;
    std::unique_ptr<TvFullscreen> fullscreen_;
    ChannelLine* line_; // the view's child
    QString requested_;
    QString current_;
    QUrl lastUrl_;
    int volumeBeforeMute_ = -1;
};
