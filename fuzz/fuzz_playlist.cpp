// The playlist parsers (M3U, PLS, ASX, XSPF): any body and content type. Properties: no crash, and what it
// picks to play is a network stream or nothing.
#include "FuzzCheck.h"
#include "radio/PlaylistResolver.h"

#include <fuzzer/FuzzedDataProvider.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    const std::string type = in.ConsumeRandomLengthString(40);
    const std::string rest = in.ConsumeRemainingBytesAsString();
    const QByteArray body(rest.data(), qsizetype(rest.size()));
    const QUrl base(QStringLiteral("http://radio.example/dir/list.m3u"));

    (void)PlaylistResolver::sniff(body.left(4096), QByteArray(type.data(), qsizetype(type.size())));
    for (const QUrl& picked :
         {PlaylistResolver::firstM3uEntry(body, base), PlaylistResolver::firstPlsEntry(body, base),
          PlaylistResolver::firstAsxEntry(body, base), PlaylistResolver::firstXspfEntry(body, base)})
        FUZZ_CHECK(picked.isEmpty() || PlaylistResolver::isNetworkStream(picked));
    return 0;
}
