#pragma once
// The public per-country playlists as published (tests/tv/data/iptv-org), served by a loopback
// server standing in for the public base address.
#include "common/LoopbackServer.h"

#include <QFile>
#include <QString>

namespace PublicLists {

inline const char* const Published[] = {"ru", "ua", "by", "kz"};

inline QByteArray file(const QString& code) {
    QFile f(qEnvironmentVariable("ZELMO_TEST_SOURCE_DIR") + QStringLiteral("/tests/tv/data/iptv-org/") +
            code + QStringLiteral(".m3u"));
    if (!f.open(QIODevice::ReadOnly))
        qFatal("iptv-org/%s.m3u is missing", qPrintable(code));
    return f.readAll();
}

// Routes /countries/<cc>.m3u for the four published files; the other countries answer 404.
inline void serve(LoopbackServer& server, const QByteArray& prefix = "/countries/") {
    for (const char* code : Published)
        server.routes[prefix + code + ".m3u"] = {LoopbackServer::ok(file(QString::fromLatin1(code)))};
}

inline QString base(const LoopbackServer& server) {
    return server.base() + QStringLiteral("/countries/");
}

} // namespace PublicLists
