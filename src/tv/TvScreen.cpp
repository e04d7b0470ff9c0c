#include "tv/TvScreen.h"

#include "platform/LogCategories.h"

TvScreen::TvScreen(QObject* parent) : QObject(parent) {}

TvScreen::~TvScreen() = default;

void TvScreen::play(const ImportedStream& stream) {
    if (beforePlay_)
        beforePlay_();
    name_ = stream.displayName;
    qCDebug(lcTv) << "channel" << name_;
    video_.play(stream.url);
    if (!active_) {
        active_ = true;
        emit activeChanged(true);
    }
}

void TvScreen::stop() {
    if (!active_)
        return;
    video_.stop();
    active_ = false;
    emit activeChanged(false);
}
