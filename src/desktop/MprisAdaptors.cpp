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

void MprisPlayerAdaptor::Pause() {
    if (service_->status() == MprisService::Status::Playing)
        emit service_->stopRequested();
}

void MprisPlayerAdaptor::PlayPause() {
    if (service_->status() == MprisService::Status::Playing)
        emit service_->stopRequested();
    else
        emit service_->playRequested();
}

void MprisPlayerAdaptor::Stop() {
    emit service_->stopRequested();
}

void MprisPlayerAdaptor::Play() {
    if (service_->status() != MprisService::Status::Playing)
        emit service_->playRequested();
}

void MprisPlayerAdaptor::OpenUri(const QString& uri) {
    const QUrl url(uri);
    const QString scheme = url.scheme().toLower();
    if (url.isValid() && (scheme == QLatin1String("http") || scheme == QLatin1String("https")))
        emit service_->openUriRequested(uri);
}
