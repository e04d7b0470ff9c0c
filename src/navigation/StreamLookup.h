#pragma once
#include <QByteArray>
#include <QList>
#include <QString>
#include <QUrl>

#include <optional>
#include <utility>
#include <vector>

// Request headers a playlist entry asks for (User-Agent, Referer, ...): sent with every request of
// its stream, the adaptive demuxer's playlist, variant and segment requests included.
using HttpHeaders = QList<std::pair<QByteArray, QByteArray>>;

// One address a channel can be played from, with the headers it needs.
struct StreamSource {
    QUrl url;
    HttpHeaders headers;
};

// A stream the user brought with an imported IPTV playlist.
struct ImportedStream {
    QUrl url;            // network stream (http/https), never a local file
    QString tvgId;       // the guide's channel id, may be empty
    QString displayName; // the playlist's own name for the channel
    HttpHeaders headers; // what the entry asks to be sent with its requests
    QUrl logo;           // tvg-logo, may be empty
    // The channel's further entries (mirrors, other feeds) in playlist order: tried in turn when
    // the one above fails.
    std::vector<StreamSource> alternates;
};

// Answers which imported stream, if any, a name shown in the program (a grid caption or a favourite)
// plays. Implemented by the IPTV import; empty when nothing is imported.
class StreamLookup {
public:
    virtual ~StreamLookup() = default;
    virtual std::optional<ImportedStream> streamFor(const QString& name) const = 0;
};
