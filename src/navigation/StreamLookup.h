#pragma once
#include <QString>
#include <QUrl>

#include <optional>

// A stream the user brought with an imported IPTV playlist.
struct ImportedStream {
    QUrl url;            // network stream (http/https), never a local file
    QString tvgId;       // the guide's channel id, may be empty
    QString displayName; // the playlist's own name for the channel
};

// Answers which imported stream, if any, a name shown in the program (a grid caption or a favourite)
// plays. Implemented by the IPTV import; empty when nothing is imported.
class StreamLookup {
public:
    virtual ~StreamLookup() = default;
    virtual std::optional<ImportedStream> streamFor(const QString& name) const = 0;
};
