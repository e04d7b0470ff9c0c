// From a fresh start to the first channel playing: the assembled program with an empty Setting.ini
// but for [IPTV] publicBase=, pointing at a loopback server that serves the public per-country
// playlists as published with every stream address mapped to its own HLS test stream. Once the
// first grid button carries the "has a stream" mark, it is clicked (as a user would), and the clock
// stops at the first picture.
// Usage: bench_first_channel <process start, ms since the epoch>  (bench/iptv/run_first_channel.sh)
#include "TvTestKit.h"

#include "app/ui/Startup.h"
#include "app/ui/TForm1.h"
#include "platform/AppDir.h"
#include "platform/VideoPlayer.h"
#include "platform/ui/ButtonCaption.h"
#include "settings/SettingsFile.h"
#include "tv/TvScreen.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

int main(int argc, char** argv) {
    const qint64 processStart =
        argc > 1 ? QByteArray(argv[1]).toLongLong() : QDateTime::currentMSecsSinceEpoch();
    const auto since = [processStart] { return QDateTime::currentMSecsSinceEpoch() - processStart; };
    PrepareEnvironment();
    ZelmoApplication app(argc, argv);

    // The stand-ins: HLS test media and the published playlists, their addresses mapped to it.
    QTemporaryDir media, appDir;
    if (!tvtest::makeMedia(media.path()))
        qFatal("ffmpeg could not make the test media");
    tvtest::VideoServer server;
    if (!server.start(media.path()))
        qFatal("the loopback video server did not start");
    QDir(media.path()).mkdir(QStringLiteral("countries"));
    const QString data =
        qEnvironmentVariable("ZELMO_SOURCE_DIR") + QStringLiteral("/tests/tv/data/iptv-org/");
    for (const QString& name : QDir(data).entryList({QStringLiteral("*.m3u")})) {
        QFile in(data + name), out(media.filePath(QStringLiteral("countries/") + name));
        if (!in.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly))
            qFatal("cannot copy %s", qPrintable(name));
        QString text = QString::fromUtf8(in.readAll());
        text.replace(
            QRegularExpression(QStringLiteral("^https?://\\S+$"), QRegularExpression::MultilineOption),
            server.url(QStringLiteral("live.m3u8")));
        out.write(text.toUtf8());
    }
    // A fresh program folder: the language packs, and Setting.ini with the base address only.
    const QString built = qEnvironmentVariable("ZELMO_APPDIR") + QStringLiteral("/Language/");
    QDir(appDir.path()).mkdir(QStringLiteral("Language"));
    for (const QString& f : QDir(built).entryList(QDir::Files))
        QFile::copy(built + f, appDir.filePath(QStringLiteral("Language/") + f));
    SettingsFile(appDir.filePath(QStringLiteral("Setting.ini")))
        .WriteString(QStringLiteral("IPTV"), QStringLiteral("publicBase"),
                     server.url(QStringLiteral("countries/")));
    SetAppDirForTesting(appDir.path() + QLatin1Char('/'));
    const qint64 ready = since();

    Program program{Program::Options{}};
    program.show();
    const qint64 shown = since();
    TForm1& form = *program.windows().Form1;
    TvScreen& tv = *program.services().Tv;
    qint64 clicked = -1;
    QString channel;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (clicked >= 0)
            return;
        for (int s = 1; s <= 30; ++s) {
            QPushButton* b = form.slotButton(s);
            const QWidget* mark = b->findChild<QWidget*>(QStringLiteral("StreamMark"));
            if (b->isVisible() && mark && !mark->isHidden()) {
                clicked = since();
                channel = ButtonCaption(b);
                b->click();
                return;
            }
        }
    });
    watch.start(5);
    QObject::connect(&tv.video(), &VideoPlayer::statusChanged, [&](VideoPlayer::Status status) {
        if (status != VideoPlayer::Status::Playing)
            return;
        std::printf("setup %lld ms (media, server, folder; not counted below)\n",
                    static_cast<long long>(ready));
        std::printf("shown %lld\nmarked+clicked %lld (%s)\nplaying %lld\n",
                    static_cast<long long>(shown - ready), static_cast<long long>(clicked - ready),
                    qPrintable(channel), static_cast<long long>(since() - ready));
        std::fflush(stdout);
        QTimer::singleShot(0, &app, &QCoreApplication::quit);
    });
    QTimer::singleShot(120000, &app, [] {
        std::printf("nothing played within 120 s\n");
        QCoreApplication::exit(1);
    });
    return app.exec();
}
