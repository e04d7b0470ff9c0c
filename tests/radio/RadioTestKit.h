#pragma once
// Helpers shared by the radio tests: fixtures made with ffmpeg, the loopback stream server, the
// null sink's monitor, and decoding of recorded files.
#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <QTest>

#include <cmath>

namespace radiotest {

inline const QString kSink = QStringLiteral("testsink");

inline bool run(const QString& program, const QStringList& args, QByteArray* out = nullptr,
                int timeoutMs = 30000) {
    QProcess p;
    p.setProcessChannelMode(QProcess::SeparateChannels);
    p.start(program, args);
    if (!p.waitForStarted(5000))
        return false;
    p.closeWriteChannel();
    // Keep the event loop turning meanwhile: the sink's monitor must go on being read.
    QElapsedTimer t;
    t.start();
    while (!p.waitForFinished(20) && t.elapsed() < timeoutMs)
        QCoreApplication::processEvents();
    if (p.state() != QProcess::NotRunning) {
        p.kill();
        p.waitForFinished();
        return false;
    }
    if (out)
        *out = p.readAllStandardOutput();
    return p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

// A 440 Hz sine of the given length; the format follows the file's extension.
inline bool makeTone(const QString& path, int seconds) {
    QStringList args{"-loglevel",
                     "error",
                     "-y",
                     "-f",
                     "lavfi",
                     "-i",
                     QStringLiteral("sine=frequency=440:duration=%1").arg(seconds),
                     "-ac",
                     "2",
                     "-ar",
                     "44100"};
    if (path.endsWith(".mp3"))
        args << "-c:a"
             << "libmp3lame"
             << "-b:a"
             << "128k"
             << "-id3v2_version"
             << "0"
             << "-write_xing"
             << "0";
    else if (path.endsWith(".ogg"))
        args << "-c:a"
             << "libvorbis"
             << "-q:a"
             << "4";
    else if (path.endsWith(".wma"))
        args << "-c:a"
             << "wmav2"
             << "-b:a"
             << "128k"
             << "-f"
             << "asf";
    return run("ffmpeg", args << path);
}

// Root mean square of S16 samples, as a fraction of full scale.
inline double rms(const char* data, qsizetype bytes) {
    const qsizetype n = bytes / 2;
    if (n == 0)
        return 0.0;
    double sum = 0;
    for (qsizetype i = 0; i < n; ++i) {
        qint16 s;
        memcpy(&s, data + 2 * i, 2);
        sum += double(s) * s;
    }
    return std::sqrt(sum / n) / 32768.0;
}

struct Decoded {
    bool ok = false;
    double seconds = 0;
    double rms = 0;
};

inline Decoded decode(const QString& file) {
    QByteArray pcm;
    Decoded d;
    d.ok = run("ffmpeg", {"-v", "error", "-i", file, "-f", "s16le", "-ac", "2", "-ar", "44100", "-"}, &pcm);
    d.seconds = pcm.size() / (44100.0 * 4);
    d.rms = rms(pcm.constData(), pcm.size());
    return d;
}

// The loopback radio server (stream_server.py) serving one directory.
class StreamServer {
public:
    ~StreamServer() {
        if (proc_.state() != QProcess::NotRunning) {
            proc_.kill();
            proc_.waitForFinished(3000);
        }
    }
    // port 0: any free port; a fixed one lets a test restart the server where clients expect it.
    bool start(const QString& root, int port = 0) {
        const QString script =
            qEnvironmentVariable("ZELMO_TEST_SOURCE_DIR") + "/tests/radio/stream_server.py";
        const QString python = QFile::exists("/usr/bin/python3") ? "/usr/bin/python3" : "python3";
        proc_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        proc_.start(python, {script, root, QString::number(port)});
        if (!proc_.waitForStarted(5000))
            return false;
        QElapsedTimer t;
        t.start();
        while (!proc_.canReadLine() && t.elapsed() < 5000)
            proc_.waitForReadyRead(100);
        const QByteArray line = proc_.readLine().trimmed();
        if (!line.startsWith("PORT "))
            return false;
        port_ = line.mid(5).toInt();
        return port_ > 0;
    }
    // Gone at once, as a crashed or restarted server is: its connections close.
    void stop() {
        proc_.kill();
        proc_.waitForFinished(5000);
    }
    int port() const { return port_; }
    QByteArray url(const QString& pathAndQuery) const {
        return QStringLiteral("http://127.0.0.1:%1/%2").arg(port_).arg(pathAndQuery).toUtf8();
    }

private:
    QProcess proc_;
    int port_ = 0;
};

// Everything the null sink plays, read from its monitor as S16LE 44100 Hz stereo.
class MonitorCapture {
public:
    ~MonitorCapture() {
        proc_.kill();
        proc_.waitForFinished(3000);
    }
    bool start(const QString& sink = kSink) {
        QObject::connect(&proc_, &QProcess::readyReadStandardOutput,
                         [this] { pcm_.append(proc_.readAllStandardOutput()); });
        proc_.start("parec", {"--raw", "--device=" + sink + ".monitor", "--format=s16le", "--rate=44100",
                              "--channels=2", "--latency-msec=20"});
        return proc_.waitForStarted(5000);
    }
    // A position in the captured audio; level() measures from there to now.
    qsizetype mark() const { return pcm_.size(); }
    double level(qsizetype from) const { return rms(pcm_.constData() + from, pcm_.size() - from); }
    // The level of the most recent audio, about a tenth of a second.
    double recentLevel() const {
        const qsizetype window = 4410 * 4;
        const qsizetype from = std::max<qsizetype>(0, pcm_.size() - window);
        return level(from & ~qsizetype(3));
    }
    // Level over the next msecs of audio.
    double levelOver(int msecs) {
        const qsizetype from = mark();
        QTest::qWait(msecs);
        return level(from);
    }

private:
    QProcess proc_;
    QByteArray pcm_;
};

// Clear sound is a 440 Hz sine at about a tenth of full scale; silence is digital zero.
constexpr double kSound = 0.02;
constexpr double kSilence = 0.001;

} // namespace radiotest
