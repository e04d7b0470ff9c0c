// Playlist parsing by table, and resolution over HTTP against the loopback server.
#include "RadioTestKit.h"

#include "radio/PlaylistResolver.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace radiotest;
using Kind = PlaylistResolver::Kind;
Q_DECLARE_METATYPE(PlaylistResolver::Kind)

class TestPlaylistResolver : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;
    StreamServer server_;

    QUrl resolve(const QByteArray& url, int timeoutMs = 3000) {
        PlaylistResolver resolver;
        resolver.setLimits(64 * 1024, timeoutMs);
        bool done = false;
        QUrl result{"unset:"};
        resolver.resolve(QUrl(QString::fromUtf8(url)), [&](const QUrl& r) {
            done = true;
            result = r;
        });
        // The bound is the resolver's own; this wait only keeps a broken one from hanging the test.
        (void)QTest::qWaitFor([&] { return done; }, timeoutMs + 5000);
        return done ? result : QUrl("not-done:");
    }

private slots:
    void suffix_data() {
        QTest::addColumn<QString>("url");
        QTest::addColumn<bool>("playlist");
        QTest::newRow("m3u") << "http://h/radio.m3u" << true;
        QTest::newRow("upper case pls") << "http://h/LISTEN.PLS" << true;
        QTest::newRow("query ignored") << "http://h/a.m3u?sid=1&x=.mp3" << true;
        QTest::newRow("fragment ignored") << "http://h/a.pls#top" << true;
        QTest::newRow("suffix only in query") << "http://h/stream?f=a.m3u" << false;
        QTest::newRow("m3u8, looked at: HLS or a list") << "http://h/live.m3u8" << true;
        QTest::newRow("asx") << "http://h/Radio.ASX" << true;
        QTest::newRow("xspf") << "http://h/radio.xspf?x=1" << true;
        QTest::newRow("stream") << "http://h/stream.mp3" << false;
    }
    void suffix() {
        QFETCH(QString, url);
        QFETCH(bool, playlist);
        QCOMPARE(PlaylistResolver::hasPlaylistSuffix(QUrl(url)), playlist);
    }

    void sniff_data() {
        QTest::addColumn<QByteArray>("head");
        QTest::addColumn<QByteArray>("type");
        QTest::addColumn<Kind>("kind");
        QTest::newRow("m3u by type") << QByteArray("http://a/b\n") << QByteArray("audio/x-mpegurl")
                                     << Kind::M3u;
        QTest::newRow("type with charset")
            << QByteArray("x\n") << QByteArray("Audio/MPEGURL; charset=utf-8") << Kind::M3u;
        QTest::newRow("hls by type") << QByteArray("#EXTM3U\n#EXT-X-VERSION:3\n")
                                     << QByteArray("application/vnd.apple.mpegurl") << Kind::Hls;
        QTest::newRow("hls untyped") << QByteArray("#EXTM3U\n#EXT-X-TARGETDURATION:6\n") << QByteArray()
                                     << Kind::Hls;
        QTest::newRow("pls by type") << QByteArray("") << QByteArray("audio/x-scpls") << Kind::Pls;
        QTest::newRow("pls by content")
            << QByteArray("\xEF\xBB\xBF [Playlist]\r\nFile1=x") << QByteArray("text/plain") << Kind::Pls;
        QTest::newRow("extm3u by content")
            << QByteArray("#EXTM3U\r\nhttp://a/b\r\n") << QByteArray("application/octet-stream") << Kind::M3u;
        QTest::newRow("bare url list")
            << QByteArray("# c\n\nhttps://a/b.mp3\n") << QByteArray("text/plain") << Kind::M3u;
        QTest::newRow("html page") << QByteArray("<html><body>") << QByteArray("text/html")
                                   << Kind::NotPlaylist;
        QTest::newRow("mp3 stream") << QByteArray("ID3\x03") << QByteArray("audio/mpeg") << Kind::NotPlaylist;
        QTest::newRow("audio type wins over text")
            << QByteArray("#EXTM3U\nhttp://a\n") << QByteArray("audio/aac") << Kind::NotPlaylist;
        QTest::newRow("binary untyped") << QByteArray("OggS\0\x02", 6) << QByteArray() << Kind::NotPlaylist;
        QTest::newRow("asx served as asf")
            << QByteArray("\r\n<ASX version=\"3.0\">") << QByteArray("video/x-ms-asf") << Kind::Asx;
        QTest::newRow("asf stream itself") << QByteArray("\x30\x26\xB2\x75\x8E\x66\xCF\x11")
                                           << QByteArray("video/x-ms-asf") << Kind::NotPlaylist;
        QTest::newRow("asx reference form")
            << QByteArray("[Reference]\r\nRef1=http://a/b\r\n") << QByteArray("video/x-ms-asf") << Kind::Asx;
        QTest::newRow("wax by type") << QByteArray() << QByteArray("audio/x-ms-wax") << Kind::Asx;
        QTest::newRow("xspf by type")
            << QByteArray("<?xml") << QByteArray("application/xspf+xml") << Kind::Xspf;
        QTest::newRow("xspf untyped")
            << QByteArray("<?xml version=\"1.0\"?>\n<playlist version=\"1\" xmlns=\"http://xspf.org/ns/0/\">")
            << QByteArray("text/xml") << Kind::Xspf;
    }
    void sniff() {
        QFETCH(QByteArray, head);
        QFETCH(QByteArray, type);
        QFETCH(Kind, kind);
        QCOMPARE(PlaylistResolver::sniff(head, type), kind);
    }

    void firstEntry_data() {
        QTest::addColumn<bool>("pls");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("m3u bom crlf comments")
            << false << QByteArray("\xEF\xBB\xBF#EXTM3U\r\n#EXTINF:-1,X\r\n\r\nhttp://s/1\r\nhttp://s/2\r\n")
            << "http://s/1";
        QTest::newRow("m3u relative")
            << false << QByteArray("live/stream.mp3\n") << "http://host/dir/live/stream.mp3";
        QTest::newRow("m3u absolute path") << false << QByteArray("/root.ogg\n") << "http://host/root.ogg";
        QTest::newRow("m3u blanks around") << false << QByteArray("   \n\t http://s/x \t\n") << "http://s/x";
        QTest::newRow("m3u only comments") << false << QByteArray("#EXTM3U\n#EXTINF:1,a\n") << "";
        QTest::newRow("m3u empty") << false << QByteArray() << "";
        QTest::newRow("pls")
            << true
            << QByteArray("[playlist]\r\nNumberOfEntries=2\r\nFile1=http://s/1\r\nFile2=http://s/2\r\n")
            << "http://s/1";
        QTest::newRow("pls any case, File1 not first")
            << true << QByteArray("[playlist]\nfile2=http://s/2\nFILE1 = http://s/1\n") << "http://s/1";
        QTest::newRow("pls lowest number")
            << true << QByteArray("[playlist]\nFile3=http://s/3\nFile2=http://s/2\n") << "http://s/2";
        QTest::newRow("pls relative")
            << true << QByteArray("[playlist]\nFile1=a.mp3\n") << "http://host/dir/a.mp3";
        QTest::newRow("pls no files")
            << true << QByteArray("[playlist]\nNumberOfEntries=0\nTitle1=x\n") << "";
        // Only network streams: a remote list must not open local files, devices or FIFOs.
        QTest::newRow("m3u local file skipped")
            << false << QByteArray("file:///tmp/fifo\nhttp://s/ok\n") << "http://s/ok";
        QTest::newRow("m3u only local entries")
            << false << QByteArray("file:///tmp/fifo\nFILE:/etc/passwd\ndata:,x\n") << "";
        QTest::newRow("m3u other radio schemes") << false << QByteArray("mms://s/a\n") << "mms://s/a";
        QTest::newRow("m3u rtsp") << false << QByteArray("rtsp://s/a\n") << "rtsp://s/a";
        QTest::newRow("m3u icy") << false << QByteArray("icy://s:8000/\n") << "icy://s:8000/";
        QTest::newRow("pls local file skipped")
            << true << QByteArray("[playlist]\nFile1=file:///dev/zero\nFile2=https://s/2\n") << "https://s/2";
    }
    void firstEntry() {
        QFETCH(bool, pls);
        QFETCH(QByteArray, text);
        QFETCH(QString, expected);
        const QUrl base("http://host/dir/list");
        const QUrl got =
            pls ? PlaylistResolver::firstPlsEntry(text, base) : PlaylistResolver::firstM3uEntry(text, base);
        QCOMPARE(got, expected.isEmpty() ? QUrl() : QUrl(expected));
    }

    // The XML lists as radio sites publish them: ASX with upper-case tags, bare '&' and a
    // comment; XSPF with a namespace and entities.
    void xmlListEntries_data() {
        QTest::addColumn<bool>("xspf");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("asx, first entry")
            << false
            << QByteArray(
                   "<ASX VERSION=\"3.0\">\r\n<!-- <ref href=\"http://old/\"/> -->\r\n<TITLE>Radio</TITLE>\r\n"
                   "<ENTRY><REF HREF=\"http://s.example:8000/live?a=1&b=2\" /><REF "
                   "HREF=\"mms://s/b\"/></ENTRY>\r\n"
                   "</ASX>")
            << "http://s.example:8000/live?a=1&b=2";
        QTest::newRow("asx, escaped and single quotes")
            << false
            << QByteArray("<asx version='3.0'><entry><ref href='http://s/a?x=1&amp;y=2'/></entry></asx>")
            << "http://s/a?x=1&y=2";
        QTest::newRow("asx, local entry skipped")
            << false
            << QByteArray(
                   "<asx><entry><ref href=\"file:///dev/zero\"/><ref href=\"relative/b.mp3\"/></entry></asx>")
            << "http://host/dir/relative/b.mp3";
        QTest::newRow("asx, entryref to another list")
            << false << QByteArray("<asx><entryref href=\"http://s/more.asx\"/></asx>")
            << "http://s/more.asx";
        QTest::newRow("asx reference form")
            << false << QByteArray("[Reference]\r\nRef1=http://s/wm?MSWMExt=.asf\r\nRef2=http://s/2\r\n")
            << "http://s/wm?MSWMExt=.asf";
        QTest::newRow("asx without entries") << false << QByteArray("<asx><title>x</title></asx>") << "";
        QTest::newRow("xspf")
            << true
            << QByteArray(
                   "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<playlist version=\"1\" "
                   "xmlns=\"http://xspf.org/ns/0/\">\n <title>Radio &amp; more</title>\n <trackList>\n"
                   "  <track><title>Live</title><location>http://s/live.mp3?a=1&amp;b=2</location></track>\n"
                   "  <track><location>http://s/second</location></track>\n </trackList>\n</playlist>")
            << "http://s/live.mp3?a=1&b=2";
        QTest::newRow("xspf, local first")
            << true
            << QByteArray(
                   "<playlist xmlns=\"http://xspf.org/ns/0/\"><trackList><track><location>file:///etc/shadow"
                   "</location></track><track><location>https://s/ok</location></track></trackList></"
                   "playlist>")
            << "https://s/ok";
        QTest::newRow("xspf, not well-formed")
            << true
            << QByteArray("<playlist><trackList><track><location>http://s/x</location><track></playlist>")
            << "http://s/x";
        QTest::newRow("xspf, location outside a track")
            << true << QByteArray("<playlist><location>http://s/no</location></playlist>") << "";
    }
    void xmlListEntries() {
        QFETCH(bool, xspf);
        QFETCH(QByteArray, text);
        QFETCH(QString, expected);
        const QUrl base("http://host/dir/list");
        const QUrl got =
            xspf ? PlaylistResolver::firstXspfEntry(text, base) : PlaylistResolver::firstAsxEntry(text, base);
        QCOMPARE(got, expected.isEmpty() ? QUrl() : QUrl(expected));
    }

    void overHttp_data() {
        if (!dir_.isValid() || (server_.port() == 0 && !server_.start(dir_.path())))
            QSKIP("no loopback server");
        auto write = [this](const QString& name, const QByteArray& text) {
            QFile f(dir_.filePath(name));
            if (f.open(QIODevice::WriteOnly))
                f.write(text);
        };
        write("tone.mp3", QByteArray(4096, char(0xFF)));
        write("outer.m3u", "#EXTM3U\ninner.pls\n");
        write("inner.pls", "[playlist]\nFile1=" + server_.url("tone.mp3") + "\n");
        write("loop.m3u", "loop.m3u\n");
        write("empty.m3u", "#EXTM3U\n");
        write("big.m3u", "http://first/entry\n" + QByteArray(200 * 1024, '#'));
        write("hls.m3u", "#EXTM3U\n#EXT-X-TARGETDURATION:6\nseg1.ts\n");
        write("local.m3u", "#EXTM3U\nfile://" + QFile::encodeName(dir_.filePath("tone.mp3")) + "\n");
        write("radio.asx",
              "<ASX version=\"3.0\"><Entry><Ref href=\"" + server_.url("tone.mp3") + "\"/></Entry></ASX>");
        write("radio.xspf",
              "<?xml version=\"1.0\"?><playlist version=\"1\" xmlns=\"http://xspf.org/ns/0/\"><trackList>"
              "<track><location>" +
                  server_.url("tone.mp3") + "</location></track></trackList></playlist>");
        write("audio.m3u8", "#EXTM3U\n#EXTINF:-1,Radio\n" + server_.url("tone.mp3") + "\n");
        write("hls.m3u8", "#EXTM3U\n#EXT-X-TARGETDURATION:6\nseg1.ts\n");
        write("big.xspf", "<playlist xmlns=\"http://xspf.org/ns/0/\"><trackList>" +
                              QByteArray(200 * 1024, ' ') +
                              "<track><location>http://late/entry</location></track></trackList></playlist>");

        QTest::addColumn<QByteArray>("url");
        QTest::addColumn<QString>("expected"); // "=" for the URL itself, "" for nothing
        QTest::newRow("nested m3u then pls") << server_.url("outer.m3u") << QString(server_.url("tone.mp3"));
        QTest::newRow("self-referencing stops")
            << server_.url("loop.m3u") << QString(server_.url("loop.m3u"));
        QTest::newRow("empty playlist") << server_.url("empty.m3u") << "";
        QTest::newRow("larger than the cap") << server_.url("big.m3u") << "http://first/entry";
        QTest::newRow("hls left alone") << server_.url("hls.m3u") << "=";
        QTest::newRow("asx") << server_.url("radio.asx") << QString(server_.url("tone.mp3"));
        QTest::newRow("xspf") << server_.url("radio.xspf") << QString(server_.url("tone.mp3"));
        QTest::newRow("m3u8 with audio only")
            << server_.url("audio.m3u8") << QString(server_.url("tone.mp3"));
        QTest::newRow("m3u8 hls left alone") << server_.url("hls.m3u8") << "=";
        QTest::newRow("xspf larger than the cap") << server_.url("big.xspf") << "";
        QTest::newRow("local file entry refused") << server_.url("local.m3u") << "";
        QTest::newRow("audio is not a playlist") << server_.url("tone.mp3?rate=1000&loop=1") << "=";
        QTest::newRow("not found") << server_.url("missing.m3u") << "";
        QTest::newRow("server never answers") << server_.url("hang") << "";
        QTest::newRow("closed port") << QByteArray("http://127.0.0.1:9/a.m3u") << "";
    }
    void overHttp() {
        QFETCH(QByteArray, url);
        QFETCH(QString, expected);
        const QUrl want = expected == "=" ? QUrl(QString::fromUtf8(url)) : QUrl(expected);
        QCOMPARE(resolve(url), want);
    }

    void newResolveDropsTheOldOne() {
        if (server_.port() == 0)
            QSKIP("no loopback server");
        PlaylistResolver resolver;
        int oldCalls = 0;
        QUrl result;
        resolver.resolve(QUrl(QString::fromUtf8(server_.url("hang"))), [&](const QUrl&) { ++oldCalls; });
        resolver.resolve(QUrl(QString::fromUtf8(server_.url("empty.m3u"))),
                         [&](const QUrl& r) { result = r; });
        QTRY_VERIFY(!resolver.isBusy());
        QTest::qWait(100);
        QCOMPARE(oldCalls, 0);
        QVERIFY(result.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestPlaylistResolver)
#include "test_playlist_resolver.moc"
