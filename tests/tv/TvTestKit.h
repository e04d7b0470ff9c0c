#pragma once
// Helpers shared by the TV tests and benchmark: test media made with ffmpeg and the loopback
// video server (video_server.py).
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTest>

namespace tvtest {

inline bool run(const QString& program, const QStringList& args, int timeoutMs = 120000) {
    QProcess p;
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p.start(program, args);
    if (!p.waitForStarted(5000))
        return false;
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished();
        return false;
    }
    return p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

// A moving 640x360 H.264/AAC pattern with a 440 Hz tone, 20 s at 25 fps: dir/live.m3u8 with its
// segments (HLS) and dir/stream.ts (MPEG-TS).
inline bool makeMedia(const QString& dir) {
    const QStringList input{"-loglevel",
                            "error",
                            "-y",
                            "-f",
                            "lavfi",
                            "-i",
                            "testsrc2=size=640x360:rate=25",
                            "-f",
                            "lavfi",
                            "-i",
                            "sine=frequency=440",
                            "-t",
                            "20",
                            "-c:v",
                            "libx264",
                            "-preset",
                            "ultrafast",
                            "-g",
                            "25",
                            "-pix_fmt",
                            "yuv420p",
                            "-c:a",
                            "aac",
                            "-ac",
                            "2"};
    return run("ffmpeg", QStringList(input)
                             << "-f"
                             << "hls"
                             << "-hls_time"
                             << "2"
                             << "-hls_list_size"
                             << "0"
                             << "-hls_segment_filename" << dir + "/seg%d.ts" << dir + "/live.m3u8") &&
           run("ffmpeg", QStringList(input) << "-f"
                                            << "mpegts" << dir + "/stream.ts");
}

// The same picture and sound as MPEG-DASH: dir/dash/manifest.mpd with its fragments.
inline bool makeDash(const QString& dir) {
    return QDir(dir).mkpath("dash") && run("ffmpeg", {"-loglevel",
                                                      "error",
                                                      "-y",
                                                      "-f",
                                                      "lavfi",
                                                      "-i",
                                                      "testsrc2=size=640x360:rate=25",
                                                      "-f",
                                                      "lavfi",
                                                      "-i",
                                                      "sine=frequency=440",
                                                      "-t",
                                                      "20",
                                                      "-c:v",
                                                      "libx264",
                                                      "-preset",
                                                      "ultrafast",
                                                      "-g",
                                                      "25",
                                                      "-pix_fmt",
                                                      "yuv420p",
                                                      "-c:a",
                                                      "aac",
                                                      "-ac",
                                                      "2",
                                                      "-f",
                                                      "dash",
                                                      "-seg_duration",
                                                      "2",
                                                      dir + "/dash/manifest.mpd"});
}

// The loopback video server serving one directory; remembers the requests it saw.
class VideoServer {
public:
    ~VideoServer() {
        if (proc_.state() != QProcess::NotRunning) {
            proc_.kill();
            proc_.waitForFinished(3000);
        }
    }
    bool start(const QString& root) {
        const QString script = qEnvironmentVariable("ZELMO_TEST_SOURCE_DIR") + "/tests/tv/video_server.py";
        const QString python = QFile::exists("/usr/bin/python3") ? "/usr/bin/python3" : "python3";
        proc_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        QObject::connect(&proc_, &QProcess::readyReadStandardOutput, [this] { readLines(); });
        proc_.start(python, {script, root});
        if (!proc_.waitForStarted(5000))
            return false;
        QElapsedTimer t;
        t.start();
        while (port_ == 0 && t.elapsed() < 10000) {
            proc_.waitForReadyRead(100);
            readLines();
        }
        return port_ > 0;
    }
    QString url(const QString& pathAndQuery) const {
        return QStringLiteral("http://127.0.0.1:%1/%2").arg(port_).arg(pathAndQuery);
    }
    // "GET <path> <user agent>" for every request so far.
    QStringList requests() {
        readLines();
        return requests_;
    }
    // "DENY <path> <headers lacking>" for every request refused so far.
    QStringList denials() {
        readLines();
        return denials_;
    }
    // "down": the server goes silent; "up": it comes back (see video_server.py).
    void command(const QByteArray& line) {
        proc_.write(line + "\n");
        proc_.waitForBytesWritten(5000);
    }

private:
    void readLines() {
        while (proc_.canReadLine()) {
            const QString line = QString::fromUtf8(proc_.readLine()).trimmed();
            if (line.startsWith("PORT "))
                port_ = line.mid(5).toInt();
            else if (line.startsWith("GET "))
                requests_ << line;
            else if (line.startsWith("DENY "))
                denials_ << line;
        }
    }
    QProcess proc_;
    QStringList requests_;
    QStringList denials_;
    int port_ = 0;
};

// How much two pictures differ: the share of sampled pixels that changed.
inline double changedShare(const QImage& a, const QImage& b) {
    if (a.size() != b.size() || a.isNull())
        return 1.0;
    int changed = 0, total = 0;
    for (int y = 0; y < a.height(); y += 4)
        for (int x = 0; x < a.width(); x += 4, ++total)
            changed += (a.pixel(x, y) & 0xffffff) != (b.pixel(x, y) & 0xffffff);
    return total ? double(changed) / total : 0.0;
}

} // namespace tvtest
