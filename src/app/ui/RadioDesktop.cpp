#include "app/ui/RadioDesktop.h"

#include "app/ui/TForm1.h"
#include "desktop/DesktopNotifier.h"
#include "navigation/ChannelCatalog.h"
#include "platform/LogCategories.h"
#include "platform/UiText.h"
#include "radio/MyRadioKeys.h"
#include "radio/RadioPlayer.h"
#include "radio/ui/SongNotifyOption.h"
#include "radio/ui/TMyRadioForm.h"
#include "radio/ui/TRadioForm.h"
#include "settings/SettingsFile.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QAccessible>
#include <QFontMetrics>
#include <QLabel>

#include <cmath>

namespace {
constexpr int kVolumeWriteDelayMs = 600;
const QString kProgram = QStringLiteral(ZELMO_NAME);

// The station behind an address: a main-catalog radio station, or one of the user's own, whose
// title encoding may be chosen in My Radio.
StationInfo lookUp(SettingsFile& settings, const QByteArray& url) {
    const QString text = QString::fromLocal8Bit(url).trimmed();
    for (int slot = 1; slot <= MyRadioKeys::kSlots; ++slot) {
        const QString link =
            settings.ReadString(MyRadioKeys::Section(), MyRadioKeys::LinkKey(slot), QString());
        if (link.isEmpty() || link.trimmed() != text)
            continue;
        return StationInfo{
            settings.ReadString(MyRadioKeys::Section(), MyRadioKeys::NameKey(slot), QString()).trimmed(),
            titleEncodingFromName(
                settings.ReadString(MyRadioKeys::EncodingSection(), MyRadioKeys::LinkKey(slot), QString()))};
    }
    for (const ChannelEntry& e : MainCatalog())
        if (e.isRadio() && QString::fromLocal8Bit(e.Stream).trimmed() == text)
            return StationInfo{e.Name.simplified(), TitleEncoding::Auto};
    return {};
}
} // namespace

RadioDesktop::RadioDesktop(TForm1& main, TRadioForm& mini, QWidget& settingsWindow, SettingsFile& settings,
                           RadioPlayer& radio, LangLookup lang)
    : main_(main), mini_(mini), settings_(settings), radio_(radio), lang_(std::move(lang)),
      notifier_(std::make_unique<DesktopNotifier>()) {
    radio_.setStationLookup([&settings](const QByteArray& url) { return lookUp(settings, url); });

    // The free part of the bottom row, between the left tool buttons and the hidden hand-over ones.
    statusLine_ = new QLabel(&main_);
    statusLine_->setObjectName(QStringLiteral("RadioStatusLine"));
    statusLine_->setGeometry(188, 495, 212, 40);
    statusLine_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    statusLine_->setTextFormat(Qt::PlainText);
    QFont font = statusLine_->font();
    font.setPixelSize(11);
    statusLine_->setFont(font);
    statusLine_->hide();

    const QString caption = [this] {
        const QString t = lang_ ? lang_(QStringLiteral("Radio"), QStringLiteral("titlenotify")) : QString();
        return t.isEmpty() || t == QLatin1String("0")
                   ? UiText("Radio", "titlenotify", QStringLiteral("Показывать уведомление о новой песне"))
                   : t;
    }();
    new SongNotifyOption(settings_, caption, &settingsWindow);

    // The stored volume: absent or unreadable keeps the bar where it starts.
    const QString stored = settings_.ReadString(kVolumeSection, kVolumeKey, QString()).trimmed();
    bool ok = false;
    const int volume = stored.toInt(&ok);
    if (ok && volume >= 0 && volume <= 100) {
        storedVolume_ = volume;
        main_.radioStrip().volume->setValue(volume);
    } else if (!stored.isEmpty()) {
        qCInfo(lcSettings) << "radio volume ignored:" << stored;
    }
    volumeWrite_.setSingleShot(true);
    volumeWrite_.setInterval(kVolumeWriteDelayMs);
    connect(&volumeWrite_, &QTimer::timeout, this, &RadioDesktop::storeVolume);
    // Dragging the bar moves it through many positions: the file gets the one it rests at.
    connect(main_.radioStrip().volume, &QAbstractSlider::valueChanged, this,
            [this] { volumeWrite_.start(); });

    connect(&radio_, &RadioPlayer::statusChanged, this, &RadioDesktop::show);
    show(radio_.status());
}

RadioDesktop::~RadioDesktop() {
    if (volumeWrite_.isActive())
        storeVolume();
}

void RadioDesktop::storeVolume() {
    volumeWrite_.stop();
    const int value = main_.radioStrip().volume->value();
    if (value == storedVolume_)
        return;
    try {
        settings_.WriteString(kVolumeSection, kVolumeKey, QString::number(value));
        storedVolume_ = value;
    } catch (const SettingsWriteError& e) {
        qCWarning(lcSettings) << "radio volume not stored:" << e.what();
    }
}

void RadioDesktop::show(const RadioStatus& status) {
    const QString summary = radioSummary(status, lang_);
    QString tip = summary;
    if (!status.reason.isEmpty() && !status.audible() && status.state != RadioStatus::State::Off)
        tip += QStringLiteral("\n(") + radioCauseText(status, lang_) + QStringLiteral(")");

    const QFontMetrics metrics(statusLine_->font());
    const QString playing = nowPlayingText(status);
    const QString state = radioStateText(status, lang_);
    const int width = statusLine_->width();
    statusLine_->setText(metrics.elidedText(playing, Qt::ElideRight, width) + QLatin1Char('\n') +
                         metrics.elidedText(state, Qt::ElideRight, width));
    statusLine_->setToolTip(tip);
    // A screen reader reads the whole text, not the cut one, and hears of every change: the name
    // changes with each song and state (Qt reports a changed accessible name as NameChanged).
    const QString spoken = playing.isEmpty() ? state
                           : state.isEmpty() ? playing
                                             : playing + QStringLiteral(". ") + state;
    if (statusLine_->accessibleName() != spoken) {
        statusLine_->setAccessibleName(spoken);
        QAccessibleEvent changed(statusLine_, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&changed);
    }
    statusLine_->setVisible(status.state != RadioStatus::State::Off);

    mini_.setToolTip(tip);
    main_.setTrayToolTip(summary.isEmpty() ? kProgram : kProgram + QLatin1Char('\n') + summary);

    if (const auto song = announcer_.next(status, kProgram); song && SongNotifyOption::enabled(settings_))
        notifier_->notify(song->summary, song->body);
}
