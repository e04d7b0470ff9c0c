// The station directory's JSON answer and the choice of a catalog station's stream among its
// entries. Properties: no crash; never more stations than the limit; every station kept has a name
// and an http(s) stream with a host, and a logo that is empty or http(s); the chosen entry is one
// of those kept.
#include "FuzzCheck.h"
#include "radio/StationChoice.h"
#include "radio/StationDirectory.h"

#include <fuzzer/FuzzedDataProvider.h>

namespace {
bool isWeb(const QString& text) {
    const QUrl url(text);
    const QString scheme = url.scheme().toLower();
    return (scheme == QLatin1String("http") || scheme == QLatin1String("https")) && !url.host().isEmpty();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    const int limit = in.ConsumeIntegralInRange(0, 64);
    const std::string rest = in.ConsumeRemainingBytesAsString();
    const QByteArray json(rest.data(), qsizetype(rest.size()));

    QList<DirectoryStation> stations;
    if (!StationDirectory::parseStations(json, &stations, limit)) {
        FUZZ_CHECK(stations.isEmpty());
        return 0;
    }
    FUZZ_CHECK(stations.size() <= limit);
    for (const DirectoryStation& s : stations) {
        FUZZ_CHECK(!s.name.isEmpty());
        FUZZ_CHECK(isWeb(s.url));
        FUZZ_CHECK(s.favicon.isEmpty() || isWeb(s.favicon));
    }
    const StationAlias alias{QStringLiteral("k"),
                             QStringLiteral("Радио"),
                             QStringLiteral("RU"),
                             QStringLiteral("Радио Маяк"),
                             {QStringLiteral("Радио Маяк"), QStringLiteral("Маяк")}};
    if (const auto chosen = PickStation(stations, alias)) {
        FUZZ_CHECK(isWeb(chosen->url));
        FUZZ_CHECK(chosen->lastCheckOk && PlayableCodec(chosen->codec));
    }
    return 0;
}
