#pragma once
#include <QCheckBox>

class SettingsFile;

// The settings window's switch for a desktop notification when the song changes, kept as
// [Notifications] songTitle= (absent or anything but "1" is off).
class SongNotifyOption : public QCheckBox {
    Q_OBJECT
public:
    static inline const QString kSection = QStringLiteral("Notifications");
    static inline const QString kKey = QStringLiteral("songTitle");

    // Placed in the free bottom-left corner of the settings window, beside its exit button.
    SongNotifyOption(SettingsFile& settings, const QString& caption, QWidget* settingsWindow);

    static bool enabled(SettingsFile& settings);

private:
    SettingsFile& settings_;
};
