#pragma once
#include "platform/LangLookup.h"

#include <QObject>
#include <QString>

#include <functional>

class QCheckBox;
class SettingsFile;
class TvViewer;
class TvScreen;

// "Start the last channel at start": a switch on the settings window's IPTV page, off unless
// chosen. While it is on, the channel on screen is kept as [TvResume] channel=; at the next start
// that channel plays as soon as the imported playlist has it, unless something else was chosen
// first.
class TvResume : public QObject {
    Q_OBJECT
public:
    static inline const QString kSection = QStringLiteral("TvResume");
    static inline const QString kEnabledKey = QStringLiteral("atStart");
    static inline const QString kChannelKey = QStringLiteral("channel");

    struct Deps {
        SettingsFile* settings = nullptr;
        TvScreen* tv = nullptr;
        TvViewer* viewer = nullptr;
        // Whether a channel of that name can play now, and playing it.
        std::function<bool(const QString& name)> playable;
        std::function<void(const QString& name)> start;
        LangLookup lang;
    };
    explicit TvResume(Deps deps);

    static bool enabled(SettingsFile& settings);
    // The switch, for the settings window's page; owned by whoever takes it.
    QCheckBox* createOption(QWidget* parent);

    // The channels may have become playable (an import finished): resumes once, if still due.
    void tryResume();
    // Something else was chosen: nothing is resumed any more.
    void cancel() { due_ = false; }

private:
    void store();
    void write(const QString& key, const QString& value);

    Deps d_;
    bool due_ = false;
    QString channel_;
};
