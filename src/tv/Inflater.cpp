#include "tv/Inflater.h"

#include "platform/UiText.h"

#include <zlib.h>

struct Inflater::State {
    z_stream z{};
    bool ready = false;
};

Inflater::Inflater() : s_(std::make_unique<State>()) {
    // 16 + MAX_WBITS: gzip wrapping only.
    s_->ready = inflateInit2(&s_->z, 16 + MAX_WBITS) == Z_OK;
    if (!s_->ready)
        error_ = QStringLiteral("zlib could not start");
}

Inflater::~Inflater() {
    if (s_->ready)
        inflateEnd(&s_->z);
}

bool Inflater::inflate(QByteArrayView in, QByteArray& out) {
    out.clear();
    if (!s_->ready)
        return false;
    z_stream& z = s_->z;
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in.data()));
    z.avail_in = uInt(in.size());
    constexpr qsizetype Step = 256 * 1024;
    while (z.avail_in > 0) {
        if (finished_) {
            // Another member follows the one that ended.
            if (inflateReset(&z) != Z_OK) {
                error_ = QStringLiteral("zlib could not restart");
                return false;
            }
            finished_ = false;
        }
        const qsizetype used = out.size();
        out.resize(used + Step);
        z.next_out = reinterpret_cast<Bytef*>(out.data() + used);
        z.avail_out = uInt(Step);
        const int rc = ::inflate(&z, Z_NO_FLUSH);
        out.resize(used + Step - qsizetype(z.avail_out));
        if (rc == Z_STREAM_END) {
            finished_ = true;
            continue;
        }
        if (rc != Z_OK && rc != Z_BUF_ERROR) {
            error_ = UiText("IptvImport", "notGzip", QStringLiteral("не gzip или файл повреждён (%1)"))
                         .arg(QString::fromLatin1(z.msg ? z.msg : "zlib error"));
            return false;
        }
        if (rc == Z_BUF_ERROR && z.avail_out > 0)
            break; // no progress possible without more input
    }
    return true;
}
