#include "desktop/MprisAdaptors.h"

#include "desktop/MprisService.h"

#include <QUrl>

#include <algorithm>
#include <cmath>

MprisRootAdaptor::MprisRootAdaptor(MprisService* service)
    : QDBusAbstractAdaptor(service), service_(service) {}

void MprisRootAdaptor::Raise() {
    emit service_->raiseRequested();
}

void MprisRootAdaptor::Quit() {
    emit service_->quitRequested();
}

MprisPlayerAdaptor::MprisPlayerAdaptor(MprisService* service)
    : QDBusAbstractAdaptor(service), service_(service) {}

QString MprisPlayerAdaptor::playbackStatus() const {
    return service_->playbackStatusText();
}

QVariantMap MprisPlayerAdaptor::metadata() const {
    return service_->metadata();
}

double MprisPlayerAdaptor::volume() const {
    return service_->volume();
}

void MprisPlayerAdaptor::setVolume(double volume) {
    if (std::isnan(volume))
        return;
    emit service_->volumeRequested(std::clamp(volume, 0.0, 1.0));
}

bool MprisPlayerAdaptor::canGoNext() const {
    return service_->canGoNext();
}

bool MprisPlayerAdaptor::canGoPrevious() const {
    return service_->canGoPrevious();
}

bool MprisPlayerAdaptor::canPlay() const {
    return service_->canPlay();
}

void MprisPlayerAdaptor::Next() {
    if (service_->canGoNext())
        emit service_->nextRequested();
}

void MprisPlayerAdaptor::Previous() {
    if (service_->canGoPrevious())
        emit service_->previousRequested();
}

void MprisPlayerAdaptor::Pause() {
    if (service_->status() == MprisService::Status::Playing)
        emit service_->stopRequested();
}

void MprisPlayerAdaptor::PlayPause() {
    if (service_->status() == MprisService::Status::Playing)
        emit service_->stopRequested();
    else if (service_->canPlay())
        emit service_->playRequested();
}

void MprisPlayerAdaptor::Stop() {
    emit service_->stopRequested();
}

void MprisPlayerAdaptor::Play() {
    if (service_->status() != MprisService::Status::Playing && service_->canPlay())
        emit service_->playRequested();
}

void MprisPlayerAdaptor::OpenUri(const QString& uri) {
    const QUrl url(uri);
    const QString scheme = url.scheme().toLower();
    if (url.isValid() && (scheme == QLatin1String("http") || scheme == QLatin1String("https")))
        emit service_->openUriRequested(uri);
}
