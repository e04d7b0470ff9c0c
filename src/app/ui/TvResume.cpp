#include "app/ui/TvResume.h"

#include "app/ui/TvViewer.h"
#include "platform/LogCategories.h"
#include "settings/SettingsFile.h"
#include "tv/TvScreen.h"

#include <QCheckBox>

TvResume::TvResume(Deps deps) : d_(std::move(deps)) {
    if (enabled(*d_.settings)) {
        channel_ = d_.settings->ReadString(kSection, kChannelKey, QString()).trimmed();
        due_ = !channel_.isEmpty();
    }
    connect(d_.viewer, &TvViewer::channelChanged, this, [this] {
        if (!d_.tv->isPlaying())
            return;
        due_ = false;
        store();
    });
}

bool TvResume::enabled(SettingsFile& settings) {
    return settings.ReadString(kSection, kEnabledKey, QStringLiteral("0")).trimmed() == QLatin1String("1");
}

QCheckBox* TvResume::createOption(QWidget* parent) {
    QString caption = d_.lang ? d_.lang(QStringLiteral("TvViewer"), QStringLiteral("resume")) : QString();
    if (caption.isEmpty() || caption == QLatin1String("0"))
        caption = QStringLiteral("Включать последний канал при запуске");
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(QStringLiteral("TvResumeOption"));
    box->setChecked(enabled(*d_.settings));
    connect(box, &QCheckBox::toggled, this, [this](bool on) {
        write(kEnabledKey, on ? QStringLiteral("1") : QStringLiteral("0"));
        if (on && d_.tv->isPlaying())
            store();
    });
    return box;
}

void TvResume::tryResume() {
    if (!due_ || !d_.playable(channel_))
        return;
    due_ = false;
    qCDebug(lcTv) << "resuming" << channel_;
    d_.start(channel_);
}

void TvResume::store() {
    if (!enabled(*d_.settings))
        return;
    const QString name = d_.viewer->channelName();
    if (!name.isEmpty() && name != d_.settings->ReadString(kSection, kChannelKey, QString()))
        write(kChannelKey, name);
}

void TvResume::write(const QString& key, const QString& value) {
    try {
        d_.settings->WriteString(kSection, key, value);
    } catch (const SettingsWriteError& e) {
        qCWarning(lcSettings) << "TV resume setting not stored:" << e.what();
    }
}
