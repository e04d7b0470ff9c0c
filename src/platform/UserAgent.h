#pragma once
#include <QByteArray>

// The User-Agent streams and playlists go out with unless a playlist entry names its own: that of
// a current desktop browser, since many stream hosts refuse anything else. The update check keeps
// its own (HttpClient::UserAgentHeader), which the update server knows.
namespace UserAgent {
inline const QByteArray Browser =
    QByteArrayLiteral("Mozilla/5.0 (X11; Linux x86_64) AppleWebKit/537.36 (KHTML, like Gecko) "
                      "Chrome/131.0.0.0 Safari/537.36");
} // namespace UserAgent
