#pragma once
#include "platform/StreamSource.h"

#include <QString>
#include <QUrl>

#include <optional>
#include <vector>

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
