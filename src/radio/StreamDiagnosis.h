#pragma once
#include "radio/RadioStatus.h"

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QUrl>

#include <functional>

class QNetworkAccessManager;
class QNetworkReply;

// Finds out why a station's server could not be played from, in terms a listener understands:
// the audio engine reports most network failures only as an internal stream error. Asks the
// server once (bounded in time, only the answer's head is read) and names the cause.
class StreamDiagnosis : public QObject {
    Q_OBJECT
public:
    struct Finding {
        RadioStatus::Cause cause = RadioStatus::Cause::Unknown;
        int httpCode = 0;
        QString words; // for the log, in the network library's words
    };
    explicit StreamDiagnosis(QObject* parent = nullptr);
    ~StreamDiagnosis() override;

    // done runs on the UI thread, at the latest after timeoutMs; a new diagnose() or cancel()
    // drops the one under way without calling it.
    void diagnose(const QUrl& url, std::function<void(const Finding&)> done, int timeoutMs = 3000);
    void cancel();

private:
    void finish(const Finding& finding);

    QNetworkAccessManager* network_;
    QPointer<QNetworkReply> reply_;
    QTimer deadline_;
    std::function<void(const Finding&)> done_;
};
