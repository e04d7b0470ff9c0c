#include "tv/Inflater.h"

#include "platform/UiText.h"

#include <zlib.h>

struct Inflater::State {
    z_stream z{};
    QByteArray input; // the piece being decoded
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

void Inflater::feed(QByteArrayView in) {
    s_->input = QByteArray(in.data(), in.size());
    s_->z.next_in = reinterpret_cast<Bytef*>(s_->input.data());
    s_->z.avail_in = uInt(s_->input.size());
}

bool Inflater::hasInput() const {
    return s_->z.avail_in > 0;
}

bool Inflater::next(QByteArray& out, qsizetype maxOut) {
    out.clear();
    if (!s_->ready)
        return false;
    z_stream& z = s_->z;
    out.resize(maxOut);
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = uInt(maxOut);
    while (z.avail_in > 0 && z.avail_out > 0) {
        if (finished_) {
            // Another member follows the one that ended.
            if (inflateReset(&z) != Z_OK) {
                error_ = QStringLiteral("zlib could not restart");
                return false;
            }
            finished_ = false;
        }
        const int rc = ::inflate(&z, Z_NO_FLUSH);
        if (rc == Z_STREAM_END) {
            finished_ = true;
            continue;
        }
        if (rc != Z_OK && rc != Z_BUF_ERROR) {
            error_ = UiText("IptvImport", "notGzip", QStringLiteral("не gzip или файл повреждён (%1)"))
                         .arg(QString::fromLatin1(z.msg ? z.msg : "zlib error"));
            out.clear();
            return false;
        }
        if (rc == Z_BUF_ERROR)
            break; // no progress possible without more input
    }
    out.resize(maxOut - qsizetype(z.avail_out));
    return true;
}
