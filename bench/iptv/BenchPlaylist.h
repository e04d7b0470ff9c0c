#pragma once
#include <QByteArray>
#include <QStringList>

// The synthetic playlist both IPTV benchmarks import.
namespace BenchPlaylist {

extern const char* const Words[24];

// An extended M3U of n entries: every third a catalog channel written the playlist way.
QByteArray text(int n, const QStringList& catalog);

} // namespace BenchPlaylist
