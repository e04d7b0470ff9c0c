#include "platform/IcyMetadataParser.h"

#include <algorithm>

IcyMetadataParser::IcyMetadataParser(int interval, TitleHandler onTitle)
    : interval_(interval), onTitle_(std::move(onTitle)), audioLeft_(interval) {}

void IcyMetadataParser::feed(const char* data, qsizetype size) {
    if (interval_ <= 0)
        return;
    while (size > 0) {
        if (metaLeft_ < 0) {
            const qsizetype skip = std::min<qint64>(audioLeft_, size);
            data += skip;
            size -= skip;
            audioLeft_ -= skip;
            if (audioLeft_ == 0 && size > 0) {
                metaLeft_ = static_cast<unsigned char>(*data) * 16;
                ++data;
                --size;
                block_.clear();
            }
        } else {
            const qsizetype take = std::min<qsizetype>(metaLeft_, size);
            block_.append(data, take);
            data += take;
            size -= take;
            metaLeft_ -= int(take);
        }
        if (metaLeft_ == 0) {
            metaLeft_ = -1;
            audioLeft_ = interval_;
            if (block_.contains("StreamTitle=")) {
                const QByteArray title = streamTitle(block_);
                // Servers repeat the block; only a change is news.
                if (!sawTitle_ || title != lastTitle_) {
                    sawTitle_ = true;
                    lastTitle_ = title;
                    if (onTitle_)
                        onTitle_(title);
                }
            }
        }
    }
}

QByteArray IcyMetadataParser::streamTitle(const QByteArray& block) {
    static const QByteArray key = QByteArrayLiteral("StreamTitle='");
    const qsizetype start = block.indexOf(key);
    if (start < 0)
        return {};
    const qsizetype from = start + key.size();
    // Titles may hold apostrophes ("Rock 'n' Roll"): the value ends at the quote before the next
    // field, or at the block's last "';".
    qsizetype end = block.indexOf("';StreamUrl=", from);
    if (end < 0) {
        const qsizetype nul = block.indexOf('\0', from);
        const QByteArray used = nul < 0 ? block : block.left(nul);
        end = used.lastIndexOf("';");
        if (end < from)
            end = used.endsWith('\'') ? used.size() - 1 : used.size();
    }
    return block.mid(from, end - from);
}
