#pragma once
#include <QByteArray>
#include <QNetworkAccessManager>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QUrl>

#include <functional>

#include <QNetworkReply>

// Turns a station address that names a playlist (.m3u, .m3u8, .pls, .asx, .xspf) into the first
// stream it lists. HLS playlists are left alone: the audio engine plays those itself.
class PlaylistResolver : public QObject {
    Q_OBJECT
public:
    enum class Kind { NotPlaylist, M3u, Pls, Hls, Asx, Xspf };

    explicit PlaylistResolver(QObject* parent = nullptr);
    ~PlaylistResolver() override;

    // By the address alone: the path ends in .m3u, .m3u8, .pls, .asx or .xspf, any case, query and
    // fragment ignored.
    static bool hasPlaylistSuffix(const QUrl& url);
    // By the server's content type and the first bytes of the body.
    static Kind sniff(const QByteArray& head, const QByteArray& contentType);
    // Whether a playlist entry may be played: a network stream, never a local file or device.
    static bool isNetworkStream(const QUrl& url);
    // The first entry that is a network stream, resolved against base; empty when there is none.
    static QUrl firstM3uEntry(const QByteArray& text, const QUrl& base);
    static QUrl firstPlsEntry(const QByteArray& text, const QUrl& base);
    // Windows Media's ASX (XML, often not well-formed: the <ref href> of each <entry>, or an
    // <entryref> to another list) and its "[Reference]" form (Ref1=...).
    static QUrl firstAsxEntry(const QByteArray& text, const QUrl& base);
    // XSPF: the first <location> of a <track>.
    static QUrl firstXspfEntry(const QByteArray& text, const QUrl& base);

    // Fetches url (capped in size and time) and calls done on the UI thread with what to play: the
    // playlist's first stream (nested playlists followed a few levels), url itself when it is not
    // a playlist or is HLS, or an empty URL when it is an empty or unreachable playlist. A new
    // resolve() or cancel() drops the one in progress without calling its done.
    void resolve(const QUrl& url, std::function<void(const QUrl&)> done);
    void cancel();
    bool isBusy() const { return reply_ != nullptr; }

    void setLimits(qint64 maxBytes, int timeoutMs) {
        maxBytes_ = maxBytes;
        timeoutMs_ = timeoutMs;
    }

private:
    void fetch(const QUrl& url);
    void onHeaders();
    void onData();
    void onFinished();
    void conclude();
    void finish(const QUrl& result);

    QNetworkAccessManager* network_;
    QPointer<QNetworkReply> reply_;
    QTimer deadline_;
    std::function<void(const QUrl&)> done_;
    QUrl original_;
    QUrl current_;
    QByteArray body_;
    int depth_ = 0;
    qint64 maxBytes_ = 64 * 1024;
    int timeoutMs_ = 3000;
};
