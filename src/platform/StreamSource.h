#pragma once
#include <QByteArray>
#include <QList>
#include <QUrl>

#include <utility>

// Request headers a playlist entry asks for (User-Agent, Referer, ...): sent with every request of
// its stream, the adaptive demuxer's playlist, variant and segment requests included.
using HttpHeaders = QList<std::pair<QByteArray, QByteArray>>;

// One address a channel can be played from, with the headers it needs.
struct StreamSource {
    QUrl url;
    HttpHeaders headers;
};
