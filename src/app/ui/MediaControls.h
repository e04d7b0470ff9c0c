#pragma once
#include <QByteArray>
#include <QList>
#include <QObject>
#include <QTimer>
#include <QUrl>

#include <functional>
#include <memory>

class MprisService;
class QAbstractSlider;
class RadioPlayer;
class SettingsFile;
class TvScreen;
class TvViewer;
struct RadioStatus;

// The media keys and sound menus (MPRIS) over whatever plays: the TV while a channel is on,
// the radio otherwise. Play, pause, stop, next and previous act on that one; the volume is the
// one bar both play at; Quit ends the program as the main window's close does.
class MediaControls : public QObject {
    Q_OBJECT
public:
    struct Deps {
        RadioPlayer* radio = nullptr;
        TvScreen* tv = nullptr;
        TvViewer* viewer = nullptr;
        QAbstractSlider* volume = nullptr; // the radio strip's bar
        SettingsFile* settings = nullptr;  // My Radio's stations
        std::function<void()> quit;
        std::function<void()> raise;
        // A station's picture by its stream address, where the station directory gave one.
        std::function<QUrl(const QByteArray& streamUrl)> stationLogo;
    };

    explicit MediaControls(Deps deps);
    ~MediaControls() override;

    MprisService& service() const { return *mpris_; }
    // The stations Next and Previous go through while the radio is the one: My Radio's, then the
    // built-in radio category's, each address once.
    QList<QByteArray> stations() const;

private:
    enum class Source { None, Radio, Tv };
    void refresh();
    void stepRadio(int direction);
    void step(int direction);
    void play();
    void stop();

    Deps d_;
    std::unique_ptr<MprisService> mpris_;
    Source last_ = Source::None; // what played last, for Play
    QTimer programmeEnd_;        // the TV's title follows the guide
};
