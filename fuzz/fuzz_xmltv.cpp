// The XMLTV guide reader: any bytes, plain or gzip-packed, read as the import reads a guide file.
// Properties: no crash or sanitizer finding; memory stays within libFuzzer's limit however long a
// comment, text or attribute runs (fuzz/run.sh sets -rss_limit_mb); a guide read without error
// keeps only programmes that end after they start and overlap the window asked for.
#include "FuzzCheck.h"
#include "tv/XmltvReader.h"

#include <QBuffer>

#include <zlib.h>

namespace {
QByteArray gzip(const QByteArray& plain) {
    z_stream z{};
    deflateInit2(&z, 1, Z_DEFLATED, 16 + MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    QByteArray out(qsizetype(deflateBound(&z, uLong(plain.size()))), Qt::Uninitialized);
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(plain.data()));
    z.avail_in = uInt(plain.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = uInt(out.size());
    deflate(&z, Z_FINISH);
    out.resize(qsizetype(z.total_out));
    deflateEnd(&z);
    return out;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1)
        return 0;
    // The first byte chooses: packed by us, or taken as it is (which may be gzip already).
    const bool pack = data[0] & 1;
    const QByteArray raw(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    QBuffer in;
    in.setData(pack ? gzip(raw) : raw);
    in.open(QIODevice::ReadOnly);

    GuideFilter filter;
    filter.ids = {QStringLiteral("a"), QStringLiteral("1tv")};
    filter.nameKeys = {QStringLiteral("нтв")};
    filter.from = 1796947200000LL; // 2026-12-11 00:00 UTC
    filter.to = filter.from + 3 * 24 * 3600 * 1000LL;
    const ParsedGuide g = XmltvReader::read(in, filter);
    if (!g.ok()) {
        FUZZ_CHECK(g.guide.isEmpty());
        return 0;
    }
    FUZZ_CHECK(g.guide.programmeCount() <= XmltvReader::MaxProgrammes);
    for (const QString& id : {QStringLiteral("a"), QStringLiteral("1tv")})
        if (const auto* list = g.guide.find(id, {}))
            for (const Programme& p : *list) {
                FUZZ_CHECK(p.stop > p.start);
                FUZZ_CHECK(p.start < filter.to);
            }
    return 0;
}
