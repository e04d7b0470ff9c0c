#pragma once
#include "platform/LangLookup.h"

#include <QWidget>

class QCheckBox;
class QLabel;
class SettingsFile;

// The settings window's "Запись" tab: where recordings go, and whether a recording is split into
// one file per song at title changes, kept as [Recording] splitBySong= (absent or anything but "1"
// is one file, as before).
class RecordingOptionsTab : public QWidget {
    Q_OBJECT
public:
    static inline const QString kSection = QStringLiteral("Recording");
    static inline const QString kSplitKey = QStringLiteral("splitBySong");

    RecordingOptionsTab(SettingsFile& settings, const QString& folder, const LangLookup& lang,
                        QWidget* parent = nullptr);

    static bool splitBySong(SettingsFile& settings);
    // The tab's caption in the chosen language.
    static QString caption(const LangLookup& lang);

signals:
    void splitBySongChanged(bool split);

private:
    SettingsFile& settings_;
    QCheckBox* split_;
    QLabel* folder_;
};
