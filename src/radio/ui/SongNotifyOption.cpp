#include "radio/ui/SongNotifyOption.h"

#include "platform/LogCategories.h"
#include "settings/SettingsFile.h"

SongNotifyOption::SongNotifyOption(SettingsFile& settings, const QString& caption, QWidget* settingsWindow)
    : QCheckBox(caption, settingsWindow), settings_(settings) {
    setObjectName(QStringLiteral("SongNotifyOption"));
    setGeometry(8, 298, 380, 26);
    setChecked(enabled(settings));
    connect(this, &QCheckBox::toggled, this, [this](bool on) {
        try {
            settings_.WriteString(kSection, kKey, on ? QStringLiteral("1") : QStringLiteral("0"));
        } catch (const SettingsWriteError& e) {
            qCWarning(lcSettings) << "song notification switch not stored:" << e.what();
        }
    });
}

bool SongNotifyOption::enabled(SettingsFile& settings) {
    return settings.ReadString(kSection, kKey, QStringLiteral("0")).trimmed() == QLatin1String("1");
}
