#include "radio/PlaylistResolver.h"

#include "platform/LogCategories.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QRegularExpression>
#include <QXmlStreamReader>

#include <map>

namespace {
constexpr int kMaxDepth = 3;

QByteArray mimeType(const QByteArray& contentType) {
    const qsizetype semicolon = contentType.indexOf(';');
    return (semicolon < 0 ? contentType : contentType.left(semicolon)).trimmed().toLower();
}

QString decodeText(QByteArray text) {
    if (text.startsWith("\xEF\xBB\xBF"))
        text.remove(0, 3);
    return QString::fromUtf8(text);
}

// Lines without their CR and surrounding blanks.
QStringList lines(const QByteArray& text) {
    QStringList out;
    for (const QString& line : decodeText(text).split(QLatin1Char('\n')))
        out << line.trimmed();
    return out;
}

QUrl resolveEntry(const QString& entry, const QUrl& base) {
    const QUrl relative(entry, QUrl::TolerantMode);
    if (!relative.isValid())
        return {};
    const QUrl url = base.resolved(relative);
    return url.isValid() && !url.scheme().isEmpty() ? url : QUrl();
}

bool looksLikeUrl(const QString& line) {
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]*://"));
    return scheme.match(line).hasMatch();
}
} // namespace

PlaylistResolver::PlaylistResolver(QObject* parent)
    : QObject(parent), network_(new QNetworkAccessManager(this)) {
    deadline_.setSingleShot(true);
    connect(&deadline_, &QTimer::timeout, this, [this] {
        if (!reply_)
            return;
        if (body_.isEmpty()) {
            qCWarning(lcNetwork) << "playlist" << current_.toString() << ": no answer within" << timeoutMs_
                                 << "ms";
            finish({}); // a server that never answers
        } else {
            conclude(); // whatever arrived in time is all there is
        }
    });
}

PlaylistResolver::~PlaylistResolver() {
    cancel();
}

bool PlaylistResolver::hasPlaylistSuffix(const QUrl& url) {
    const QString path = url.path();
    for (const char* suffix : {".m3u", ".m3u8", ".pls", ".asx", ".xspf"})
        if (path.endsWith(QLatin1String(suffix), Qt::CaseInsensitive))
            return true;
    return false;
}

PlaylistResolver::Kind PlaylistResolver::sniff(const QByteArray& head, const QByteArray& contentType) {
    const QByteArray type = mimeType(contentType);
    QByteArray text = head;
    if (text.startsWith("\xEF\xBB\xBF"))
        text.remove(0, 3);
    text = text.trimmed();
    const bool hls = text.startsWith("#EXTM3U") && text.contains("#EXT-X-");
    const QByteArray lower = text.left(512).toLower();
    const bool asxBody = lower.startsWith("<asx") || lower.startsWith("[reference]");
    const bool xspfBody = (lower.startsWith("<?xml") || lower.startsWith("<playlist")) &&
                          lower.contains("<playlist") && lower.contains("xspf.org");
    if (type == "audio/x-mpegurl" || type == "audio/mpegurl" || type == "application/x-mpegurl" ||
        type == "application/vnd.apple.mpegurl")
        return hls ? Kind::Hls : Kind::M3u;
    if (type == "audio/x-scpls" || type == "application/pls+xml")
        return Kind::Pls;
    if (type == "video/x-ms-asx" || type == "audio/x-ms-wax" || type == "video/x-ms-wvx" ||
        type == "video/x-ms-wax" || type == "audio/x-ms-asx")
        return Kind::Asx;
    if (type == "application/xspf+xml")
        return Kind::Xspf;
    // Servers hand out ASX lists as "video/x-ms-asf", the type of the Windows Media stream itself:
    // only the body tells them apart.
    if (asxBody && (type == "video/x-ms-asf" || !type.startsWith("audio/")))
        return Kind::Asx;
    if (xspfBody && !type.startsWith("audio/") && !type.startsWith("video/"))
        return Kind::Xspf;
    // Any other audio or video type is the stream itself, whatever its first bytes look like.
    if (type.startsWith("audio/") || type.startsWith("video/") || type == "application/ogg")
        return Kind::NotPlaylist;
    if (text.contains('\0'))
        return Kind::NotPlaylist;
    if (text.left(10).toLower() == "[playlist]")
        return Kind::Pls;
    if (text.startsWith("#EXTM3U"))
        return hls ? Kind::Hls : Kind::M3u;
    for (const QString& line : lines(text)) {
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        return looksLikeUrl(line) ? Kind::M3u : Kind::NotPlaylist;
    }
    return Kind::NotPlaylist;
}

bool PlaylistResolver::isNetworkStream(const QUrl& url) {
    // What the audio engine opens over the network: HTTP (with the ICY names of shoutcast
    // servers), MMS and RTSP/RTMP. Never a local file or device: a remote list must not make the
    // player open a FIFO or a hung mount.
    static const QStringList schemes{
        QStringLiteral("http"), QStringLiteral("https"), QStringLiteral("icy"),   QStringLiteral("icyx"),
        QStringLiteral("mms"),  QStringLiteral("mmsh"),  QStringLiteral("mmst"),  QStringLiteral("mmsu"),
        QStringLiteral("rtsp"), QStringLiteral("rtspt"), QStringLiteral("rtspu"), QStringLiteral("rtmp")};
    return url.isValid() && !url.host().isEmpty() && schemes.contains(url.scheme().toLower());
}

namespace {
QUrl firstStream(const QStringList& entries, const QUrl& base) {
    for (const QString& entry : entries) {
        const QUrl url = resolveEntry(entry, base);
        if (PlaylistResolver::isNetworkStream(url))
            return url;
        qCWarning(lcNetwork) << "playlist" << base.toString() << ": skipped the entry" << entry
                             << "(not a network stream)";
    }
    return {};
}
} // namespace

QUrl PlaylistResolver::firstM3uEntry(const QByteArray& text, const QUrl& base) {
    QStringList entries;
    for (const QString& line : lines(text)) {
        if (!line.isEmpty() && !line.startsWith(QLatin1Char('#')))
            entries << line;
    }
    return firstStream(entries, base);
}

QUrl PlaylistResolver::firstPlsEntry(const QByteArray& text, const QUrl& base) {
    static const QRegularExpression file(QStringLiteral("^file(\\d+)\\s*=\\s*(.*)$"),
                                         QRegularExpression::CaseInsensitiveOption);
    std::map<long long, QString> entries; // File1 first, else the lowest number present
    for (const QString& line : lines(text)) {
        const auto m = file.match(line);
        if (m.hasMatch() && !m.captured(2).isEmpty())
            entries.emplace(m.captured(1).toLongLong(), m.captured(2));
    }
    QStringList ordered;
    for (const auto& [number, entry] : entries)
        ordered << entry;
    return firstStream(ordered, base);
}

namespace {
QString unescapeXml(QString text) {
    text.replace(QLatin1String("&lt;"), QLatin1String("<"));
    text.replace(QLatin1String("&gt;"), QLatin1String(">"));
    text.replace(QLatin1String("&quot;"), QLatin1String("\""));
    text.replace(QLatin1String("&apos;"), QLatin1String("'"));
    text.replace(QLatin1String("&amp;"), QLatin1String("&"));
    return text.trimmed();
}
} // namespace

QUrl PlaylistResolver::firstAsxEntry(const QByteArray& text, const QUrl& base) {
    const QString body = decodeText(text);
    QStringList entries;
    if (body.trimmed().startsWith(QLatin1String("[reference]"), Qt::CaseInsensitive)) {
        static const QRegularExpression ref(QStringLiteral("^ref\\d+\\s*=\\s*(.+)$"),
                                            QRegularExpression::CaseInsensitiveOption);
        for (const QString& line : lines(text)) {
            const auto m = ref.match(line);
            if (m.hasMatch())
                entries << m.captured(1).trimmed();
        }
        return firstStream(entries, base);
    }
    // ASX found in the wild is rarely well-formed XML (upper-case tags, bare '&' in addresses):
    // read the attributes that matter, in document order.
    static const QRegularExpression href(
        QStringLiteral("<\\s*(?:ref|entryref)\\b[^>]*?\\bhref\\s*=\\s*(?:\"([^\"]*)\"|'([^']*)'|([^\\s>]+))"),
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression comment(QStringLiteral("<!--.*?(-->|$)"),
                                            QRegularExpression::DotMatchesEverythingOption);
    auto it = href.globalMatch(QString(body).remove(comment));
    while (it.hasNext() && entries.size() < 64) {
        const auto m = it.next();
        entries << unescapeXml(m.captured(1) + m.captured(2) + m.captured(3));
    }
    return firstStream(entries, base);
}

QUrl PlaylistResolver::firstXspfEntry(const QByteArray& text, const QUrl& base) {
    QStringList entries;
    QXmlStreamReader xml(text);
    bool inTrack = false;
    while (!xml.atEnd() && entries.size() < 64) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == QLatin1String("track"))
            inTrack = true;
        else if (xml.isEndElement() && xml.name() == QLatin1String("track"))
            inTrack = false;
        else if (inTrack && xml.isStartElement() && xml.name() == QLatin1String("location"))
            entries << xml.readElementText(QXmlStreamReader::SkipChildElements).trimmed();
    }
    if (xml.hasError() && entries.isEmpty()) {
        // Not well-formed: the locations as they stand.
        static const QRegularExpression location(QStringLiteral("<location>([^<]*)</location>"),
                                                 QRegularExpression::CaseInsensitiveOption);
        auto it = location.globalMatch(decodeText(text));
        while (it.hasNext() && entries.size() < 64)
            entries << unescapeXml(it.next().captured(1));
    }
    return firstStream(entries, base);
}

void PlaylistResolver::resolve(const QUrl& url, std::function<void(const QUrl&)> done) {
    cancel();
    done_ = std::move(done);
    original_ = url;
    depth_ = 0;
    fetch(url);
}

void PlaylistResolver::cancel() {
    deadline_.stop();
    done_ = nullptr;
    if (QNetworkReply* reply = reply_) {
        reply_ = nullptr;
        reply->disconnect(this);
        reply->abort();
        reply->deleteLater();
    }
}

void PlaylistResolver::fetch(const QUrl& url) {
    current_ = url;
    body_.clear();
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setTransferTimeout(timeoutMs_);
    reply_ = network_->get(request);
    connect(reply_, &QNetworkReply::metaDataChanged, this, &PlaylistResolver::onHeaders);
    connect(reply_, &QNetworkReply::readyRead, this, &PlaylistResolver::onData);
    connect(reply_, &QNetworkReply::finished, this, &PlaylistResolver::onFinished);
    deadline_.start(timeoutMs_);
}

void PlaylistResolver::onHeaders() {
    // A station that answers with audio is no playlist: stop before downloading the stream.
    const QByteArray type = mimeType(reply_->header(QNetworkRequest::ContentTypeHeader).toByteArray());
    if ((type.startsWith("audio/") || type == "application/ogg") && sniff({}, type) == Kind::NotPlaylist)
        conclude();
}

void PlaylistResolver::onData() {
    body_.append(reply_->read(maxBytes_ - body_.size()));
    if (body_.size() >= maxBytes_)
        conclude(); // the first entries are all that matter
}

void PlaylistResolver::onFinished() {
    if (!reply_)
        return;
    body_.append(reply_->read(maxBytes_ - body_.size()));
    if (reply_->error() != QNetworkReply::NoError) {
        qCWarning(lcNetwork) << "playlist" << current_.toString() << "failed:" << reply_->errorString();
        finish({});
        return;
    }
    conclude();
}

void PlaylistResolver::conclude() {
    QNetworkReply* reply = reply_;
    if (!reply)
        return;
    deadline_.stop();
    const QByteArray type = reply->header(QNetworkRequest::ContentTypeHeader).toByteArray();
    const QUrl base = reply->url().isValid() ? reply->url() : current_;
    reply_ = nullptr;
    reply->disconnect(this);
    reply->abort();
    reply->deleteLater();

    QUrl next;
    switch (sniff(body_.left(4096), type)) {
    case Kind::NotPlaylist:
    case Kind::Hls:
        finish(current_);
        return;
    case Kind::M3u:
        next = firstM3uEntry(body_, base);
        break;
    case Kind::Pls:
        next = firstPlsEntry(body_, base);
        break;
    case Kind::Asx:
        next = firstAsxEntry(body_, base);
        break;
    case Kind::Xspf:
        next = firstXspfEntry(body_, base);
        break;
    }
    if (next.isValid() && hasPlaylistSuffix(next) && ++depth_ < kMaxDepth && next != current_) {
        fetch(next);
        return;
    }
    if (!next.isValid())
        qCWarning(lcNetwork) << "playlist" << current_.toString() << "lists no network stream";
    finish(next);
}

void PlaylistResolver::finish(const QUrl& result) {
    deadline_.stop();
    if (QNetworkReply* reply = reply_) {
        reply_ = nullptr;
        reply->disconnect(this);
        reply->deleteLater();
    }
    if (auto done = std::exchange(done_, nullptr))
        done(result);
}
