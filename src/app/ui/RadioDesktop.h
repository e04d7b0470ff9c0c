#pragma once
#include "radio/RadioStatus.h"
#include "radio/SongAnnouncer.h"

#include <QObject>
#include <QTimer>

#include <memory>

class DesktopNotifier;
class QLabel;
class RadioPlayer;
class SettingsFile;
class TForm1;
class TRadioForm;

// What the radio shows outside its own controls: the status line in the main window's free bottom
// row, the mini radio's and the tray icon's tooltips, the song notification and the stored volume.
// It also names the stations for the player. The media keys are MediaControls'.
class RadioDesktop : public QObject {
    Q_OBJECT
public:
    static inline const QString kVolumeSection = QStringLiteral("Radio");
    static inline const QString kVolumeKey = QStringLiteral("volume");

    // Restores the stored volume onto the main window's bar at once.
    RadioDesktop(TForm1& main, TRadioForm& mini, QWidget& settingsWindow, SettingsFile& settings,
                 RadioPlayer& radio, LangLookup lang);
    ~RadioDesktop() override;

    QLabel* statusLine() const { return statusLine_; }

private:
    void show(const RadioStatus& status);
    void storeVolume();

    TForm1& main_;
    TRadioForm& mini_;
    SettingsFile& settings_;
    RadioPlayer& radio_;
    LangLookup lang_;
    QLabel* statusLine_; // owned by the main window
    std::unique_ptr<DesktopNotifier> notifier_;
    QTimer volumeWrite_;
    int storedVolume_ = -1;
    SongAnnouncer announcer_;
};
