// What a TV viewer reaches in the assembled program: channel keys with the on-screen line from the
// guide (found through the playlist's url-tvg), the volume (keys, wheel, media keys) measured on
// the null sink, full screen, the media keys on a real session bus, and resuming the last channel.
#include "TvSamples.h"
#include "TvTestKit.h"
#include "common/SettingFormControls.h"
#include "common/TestFakes.h"
#include "radio/RadioTestKit.h"

#include "app/ui/Startup.h"
#include "app/ui/TForm1.h"
#include "navigation/ChannelCatalog.h"
#include "platform/AppDir.h"
#include "platform/ui/ButtonCaption.h"
#include "platform/ui/ChromiumView.h"
#include "radio/ui/TRadioForm.h"
#include "settings/SettingsFile.h"
#include "settings/ui/TSettingForm.h"
#include "tv/TvScreen.h"
#include "tv/ui/ChannelLine.h"
#include "tv/ui/IptvTab.h"
#include "tv/ui/TvFullscreen.h"
#include "tv/ui/TvVideoView.h"

#include <QAbstractSlider>
#include <QCheckBox>
#include <QDBusConnection>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QUrlQuery>
#include <QtTest>

#include <memory>

namespace {

constexpr int kWaitMs = 30000;

QString gdbus(const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral("gdbus"), args);
    if (!p.waitForStarted(5000))
        return QStringLiteral("<no gdbus>");
    QElapsedTimer t;
    t.start();
    while (p.state() != QProcess::NotRunning && t.elapsed() < 20000) {
        QCoreApplication::processEvents();
        p.waitForFinished(10);
    }
    return QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError()).trimmed();
}

QString mpris(const QString& method, const QStringList& args = {}) {
    return gdbus(QStringList{"call", "--session", "--dest", "org.mpris.MediaPlayer2.zelmoplayer",
                             "--object-path", "/org/mpris/MediaPlayer2", "--method", method} +
                 args);
}

QString mprisProperty(const QString& name) {
    return mpris(QStringLiteral("org.freedesktop.DBus.Properties.Get"),
                 {"org.mpris.MediaPlayer2.Player", name});
}

// Grid captions of the start category whose channel shows a page in the main view.
QStringList pageChannels(TForm1& form, int count) {
    QStringList found;
    for (int k = 1; k <= 30 && found.size() < count; ++k) {
        QPushButton* b = form.slotButton(k);
        const QString caption = ButtonCaption(b);
        if (b->isHidden() || caption.isEmpty())
            continue;
        for (const ChannelEntry& e : MainCatalog())
            if (e.Name == caption && e.target == Target::MainView && !e.isRadio()) {
                found << caption;
                break;
            }
    }
    return found;
}

QPushButton* slotOf(TForm1& form, const QString& caption) {
    for (int k = 1; k <= 30; ++k)
        if (ButtonCaption(form.slotButton(k)) == caption)
            return form.slotButton(k);
    return nullptr;
}

} // namespace

class TestTvViewer : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;   // the program's folder: Language, Setting.ini, IPTV/
    QTemporaryDir media_; // what the video server serves
    tvtest::VideoServer server_;
    FakeMessages messages_;
    std::unique_ptr<Program> program_;
    QStringList channels_;
    qint64 now_ = 0;
    TvVideoView* view_ = nullptr; // the main window's; moves into the full-screen window and back

    TForm1& form() const { return *program_->windows().Form1; }
    TvScreen& tv() const { return *program_->services().Tv; }
    TvVideoView& view() const { return *view_; }
    QAbstractSlider& volume() const { return *form().radioStrip().volume; }
    IptvTab* tab() const { return program_->windows().SettingForm->findChild<IptvTab*>(); }
    // Which of the channels plays, by its stream (?c=N).
    int playing() const {
        const QString c = QUrlQuery(tv().stream().url).queryItemValue(QStringLiteral("c"));
        return c.isEmpty() ? -1 : c.toInt();
    }
    void startProgram() {
        program_ = std::make_unique<Program>(Program::Options{&messages_});
        program_->show();
        QVERIFY(QTest::qWaitForWindowExposed(&form()));
        (void)program_->windows();
        view_ = form().findChild<TvVideoView*>();
        QVERIFY(view_);
    }

private slots:
    void initTestCase();
    void cleanupTestCase() { program_.reset(); }
    void theGuideComesFromThePlaylistHeader();
    void channelKeysStepAndShowWhatIsOn();
    void volumeKeysWheelAndMediaKeysReachTheSound();
    void mediaKeysActOnTheTv();
    void fullScreenOnTheMainWindowsScreen();
    void theLastChannelComesBackAtStart();
    void quitFromTheMediaKeysEndsTheProgram();
};

void TestTvViewer::initTestCase() {
    if (!QDBusConnection::sessionBus().isConnected())
        QSKIP("no session bus: run under dbus-run-session");
    // A live channel long enough for the whole test: 120 s of a small picture with a 440 Hz tone.
    QVERIFY(tvtest::run("ffmpeg", {"-loglevel",
                                   "error",
                                   "-y",
                                   "-f",
                                   "lavfi",
                                   "-i",
                                   "testsrc2=size=320x180:rate=25",
                                   "-f",
                                   "lavfi",
                                   "-i",
                                   "sine=frequency=440",
                                   "-t",
                                   "120",
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
                                   "mpegts",
                                   media_.filePath("stream.ts")}));
    QVERIFY(server_.start(media_.path()));
    const QString built = qEnvironmentVariable("ZELMO_TEST_APPDIR") + QStringLiteral("/Language/");
    QVERIFY(QDir(dir_.path()).mkdir(QStringLiteral("Language")));
    for (const QString& f : QDir(built).entryList(QDir::Files))
        QVERIFY(QFile::copy(built + f, dir_.filePath(QStringLiteral("Language/") + f)));
    SetAppDirForTesting(dir_.path() + QLatin1Char('/'));
    // The public playlists come from the loopback server, which has none: only the test's own
    // playlist gives channels, and nothing waits on the outside network.
    SettingsFile(dir_.filePath("Setting.ini"))
        .WriteString("IPTV", "publicBase", server_.url("no-public-lists/"));
    startProgram();
    channels_ = pageChannels(form(), 3);
    QCOMPARE(channels_.size(), 3);

    // The playlist names its guide in its header only; no guide is set in the settings window.
    now_ = QDateTime::currentMSecsSinceEpoch();
    const int rate = int(QFileInfo(media_.filePath("stream.ts")).size() / 120 * 6 / 5);
    QByteArray m3u = "#EXTM3U url-tvg=\"" + server_.url("guide.xml").toUtf8() + "\"\n";
    for (int i = 0; i < 3; ++i)
        m3u += QStringLiteral("#EXTINF:-1 tvg-id=\"c%1\" tvg-logo=\"%2\",%3\n%4\n")
                   .arg(i + 1)
                   .arg(server_.url(QStringLiteral("logo%1.png").arg(i + 1)), channels_[i],
                        server_.url(QStringLiteral("stream.ts?c=%1&rate=%2").arg(i + 1).arg(rate)))
                   .toUtf8();
    QFile list(media_.filePath("list.m3u"));
    QVERIFY(list.open(QIODevice::WriteOnly));
    list.write(m3u);
    list.close();
    QFile guide(media_.filePath("guide.xml"));
    QVERIFY(guide.open(QIODevice::WriteOnly));
    guide.write(TvSamples::guide(now_, {"c1", "c2", "c3"}, channels_));
    guide.close();
}

void TestTvViewer::theGuideComesFromThePlaylistHeader() {
    // The start's own fetch of the public playlists holds the button until it has ended, and
    // then shows the stored sources in the fields.
    QTRY_VERIFY_WITH_TIMEOUT(tab()->loadButton()->isEnabled(), 60000);
    tab()->playlistEdit()->setText(server_.url("list.m3u"));
    tab()->guideEdit()->clear();
    tab()->loadButton()->click();
    QTRY_VERIFY2_WITH_TIMEOUT(tab()->statusLabel()->text().contains(QStringLiteral("Программа: 3 канала")),
                              qPrintable(tab()->statusLabel()->text()), 60000);
    QVERIFY2(server_.requests().filter("/guide.xml").size() >= 1, qPrintable(server_.requests().join('\n')));
    // The guide field stays as the user left it: the header's guide is used, not stored as theirs.
    QCOMPARE(SettingsFile(dir_.filePath("Setting.ini")).ReadString("IPTV", "guide", {}), QString());
}

void TestTvViewer::channelKeysStepAndShowWhatIsOn() {
    QTest::mouseClick(slotOf(form(), channels_[0]), Qt::LeftButton);
    QVERIFY(tv().isPlaying());
    QCOMPARE(playing(), 1);
    auto* line = view().findChild<ChannelLine*>();
    QVERIFY(line);
    QVERIFY(line->isVisible());
    QVERIFY2(line->text().startsWith(channels_[0]), qPrintable(line->text()));
    // The guide's programme at n == 24 is on now, 25 comes next.
    QVERIFY2(line->text().contains(QStringLiteral("Сейчас")) &&
                 line->text().contains(QStringLiteral("c1 24")),
             qPrintable(line->text()));
    QVERIFY2(line->text().contains(QStringLiteral("Далее")) && line->text().contains(QStringLiteral("c1 25")),
             qPrintable(line->text()));
    QTRY_VERIFY_WITH_TIMEOUT(tv().video().frameCount() >= 3, kWaitMs);
    // Drawn over the picture: its box is dark where the picture is bright.
    const QImage shot = view().grab().toImage();
    const QPoint inBox = line->geometry().topLeft() + QPoint(2, 2);
    QVERIFY(qGray(shot.pixel(inBox)) < 80);

    QTest::keyClick(&form(), Qt::Key_PageDown);
    QCOMPARE(playing(), 2);
    QVERIFY(line->text().startsWith(channels_[1]));
    QVERIFY(line->text().contains(QStringLiteral("c2 24")));
    QTest::keyClick(&form(), Qt::Key_PageUp);
    QCOMPARE(playing(), 1);
    QTest::keyClick(&form(), Qt::Key_PageUp); // wraps to the last channel of the grid with a stream
    QCOMPARE(playing(), 3);
    QTest::keyClick(&form(), Qt::Key_PageDown); // and back round to the first
    QCOMPARE(playing(), 1);
    // Gone after its four seconds.
    QTRY_VERIFY_WITH_TIMEOUT(!line->isVisible(), ChannelLine::kShowMs + 4000);
}

void TestTvViewer::volumeKeysWheelAndMediaKeysReachTheSound() {
    radiotest::MonitorCapture capture;
    QVERIFY(capture.start());
    volume().setValue(100);
    QTest::mouseClick(slotOf(form(), channels_[0]), Qt::LeftButton);
    QTRY_VERIFY2_WITH_TIMEOUT(capture.recentLevel() > radiotest::kSound,
                              qPrintable(QStringLiteral("status %1, volume %2, frames %3")
                                             .arg(int(tv().video().status()))
                                             .arg(tv().video().volume())
                                             .arg(tv().video().frameCount())),
                              kWaitMs);
    QTest::qWait(500);
    const double full = capture.levelOver(1500);
    QVERIFY(full > radiotest::kSound);

    for (int i = 0; i < 15; ++i)
        QTest::keyClick(&form(), Qt::Key_Minus);
    QCOMPARE(volume().value(), 25);
    QTest::qWait(500);
    const double quarter = capture.levelOver(1500);
    qInfo("level at 100: %.4f, at 25: %.4f (%.2f)", full, quarter, quarter / full);
    QVERIFY2(quarter / full > 0.15 && quarter / full < 0.40, qPrintable(QString::number(quarter / full)));

    QTest::keyClick(&form(), Qt::Key_M);
    QCOMPARE(volume().value(), 0);
    QTest::qWait(500);
    QVERIFY(capture.levelOver(1000) < radiotest::kSilence);
    QTest::keyClick(&form(), Qt::Key_M);
    QCOMPARE(volume().value(), 25);

    QWheelEvent up(QPointF(10, 10), view().mapToGlobal(QPointF(10, 10)), {}, {0, 240}, Qt::NoButton,
                   Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(&view(), &up);
    QCOMPARE(volume().value(), 35);

    mpris(QStringLiteral("org.freedesktop.DBus.Properties.Set"),
          {"org.mpris.MediaPlayer2.Player", "Volume", "<0.5>"});
    QTRY_COMPARE_WITH_TIMEOUT(volume().value(), 50, 10000);
    QCOMPARE(mprisProperty("Volume"), QStringLiteral("(<0.5>,)"));
    // Stored as the radio's volume is.
    QTRY_COMPARE_WITH_TIMEOUT(SettingsFile(dir_.filePath("Setting.ini")).ReadString("Radio", "volume", {}),
                              QStringLiteral("50"), 10000);

    // A new channel starts at the volume shown, not louder for a moment.
    volume().setValue(20);
    QTest::keyClick(&form(), Qt::Key_PageDown);
    QCOMPARE(tv().video().volume(), 0.2);
    const qsizetype from = capture.mark();
    QTRY_VERIFY_WITH_TIMEOUT(capture.recentLevel() > radiotest::kSilence * 2, kWaitMs);
    QTest::qWait(1500);
    const double level = capture.level(from);
    QVERIFY2(level < full * 0.35, qPrintable(QString::number(level / full)));
}

void TestTvViewer::mediaKeysActOnTheTv() {
    QTRY_COMPARE_WITH_TIMEOUT(mprisProperty("PlaybackStatus"), QStringLiteral("(<'Playing'>,)"), 10000);
    const QString meta = mprisProperty("Metadata");
    const int n = playing();
    QVERIFY2(meta.contains(QStringLiteral("'xesam:title': <'c%1 24'>").arg(n)), qPrintable(meta));
    QVERIFY2(meta.contains(QStringLiteral("'xesam:artist': <['%1']>").arg(channels_[n - 1])),
             qPrintable(meta));
    QVERIFY2(
        meta.contains(
            QStringLiteral("'mpris:artUrl': <'%1'>").arg(server_.url(QStringLiteral("logo%1.png").arg(n)))),
        qPrintable(meta));
    QCOMPARE(mprisProperty("CanGoNext"), QStringLiteral("(<true>,)"));
    QCOMPARE(mprisProperty("CanGoPrevious"), QStringLiteral("(<true>,)"));

    mpris(QStringLiteral("org.mpris.MediaPlayer2.Player.Next"));
    QTRY_COMPARE_WITH_TIMEOUT(playing(), n % 3 + 1, 10000);
    mpris(QStringLiteral("org.mpris.MediaPlayer2.Player.Previous"));
    QTRY_COMPARE_WITH_TIMEOUT(playing(), n, 10000);

    // Pause ends the TV (no sound left); Play brings the same channel back.
    mpris(QStringLiteral("org.mpris.MediaPlayer2.Player.PlayPause"));
    QTRY_VERIFY_WITH_TIMEOUT(!tv().isPlaying(), 10000);
    QTRY_COMPARE_WITH_TIMEOUT(mprisProperty("PlaybackStatus"), QStringLiteral("(<'Stopped'>,)"), 10000);
    mpris(QStringLiteral("org.mpris.MediaPlayer2.Player.Play"));
    QTRY_VERIFY_WITH_TIMEOUT(tv().isPlaying(), 10000);
    QCOMPARE(playing(), n);
    QVERIFY(
        mprisProperty("Metadata").contains(QStringLiteral("'xesam:artist': <['%1']>").arg(channels_[n - 1])));
    mpris(QStringLiteral("org.mpris.MediaPlayer2.Player.Stop"));
    QTRY_VERIFY_WITH_TIMEOUT(!tv().isPlaying(), 10000);
    QVERIFY(!view().isVisible());
}

void TestTvViewer::fullScreenOnTheMainWindowsScreen() {
    QTest::mouseClick(slotOf(form(), channels_[0]), Qt::LeftButton);
    QVERIFY(tv().isPlaying());
    const QRect mainGeometry = form().geometry();
    const QRect area = form().mainView()->geometry();
    // The full-screen window is made when first asked for.
    const auto fullScreenWindow = [] {
        TvFullscreen* full = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* f = qobject_cast<TvFullscreen*>(w))
                full = f;
        return full;
    };
    QVERIFY(!fullScreenWindow());

    QTest::mouseDClick(&view(), Qt::LeftButton, {}, QPoint(30, 30));
    TvFullscreen* full = fullScreenWindow();
    QVERIFY(full);
    QVERIFY(full->isOn());
    QVERIFY(full->isVisible());
    QVERIFY(full->windowState() & Qt::WindowFullScreen);
    QCOMPARE(full->screen(), form().screen());
    QCOMPARE(view().parentWidget(), full);
    QTRY_COMPARE_WITH_TIMEOUT(view().size(), full->size(), 5000);
    QCOMPARE(full->geometry(), form().screen()->geometry());
    // The picture fills it, and the main window keeps its layout.
    QTRY_VERIFY_WITH_TIMEOUT(tv().video().frameCount() >= 3, kWaitMs);
    QCOMPARE(form().geometry(), mainGeometry);
    QCOMPARE(form().mainView()->geometry(), area);
    // The pointer hides when it rests, and comes back when it moves.
    QTRY_COMPARE_WITH_TIMEOUT(view().cursor().shape(), Qt::BlankCursor, TvFullscreen::kPointerHideMs + 3000);
    QTest::mouseMove(&view(), QPoint(20, 20));
    QCOMPARE(view().cursor().shape(), Qt::ArrowCursor);

    QTest::keyClick(&view(), Qt::Key_Escape);
    QVERIFY(!full->isOn());
    QVERIFY(!full->isVisible());
    QCOMPARE(view().parentWidget(), form().mainView()->parentWidget());
    QCOMPARE(view().geometry(), area);
    QVERIFY(view().isVisible());

    QTest::keyClick(&form(), Qt::Key_F11);
    QVERIFY(full->isOn());
    QTest::mouseDClick(&view(), Qt::LeftButton, {}, QPoint(30, 30));
    QVERIFY(!full->isOn());
    QTest::mouseDClick(&view(), Qt::LeftButton, {}, QPoint(30, 30));
    QVERIFY(full->isOn());
    QTest::keyClick(&view(), Qt::Key_F);
    QVERIFY(!full->isOn());
    QTest::keyClick(&form(), Qt::Key_F);
    QVERIFY(full->isOn());
    // The TV stopping ends full screen too.
    tv().stop();
    QVERIFY(!full->isOn());
    QCOMPARE(view().parentWidget(), form().mainView()->parentWidget());
}

void TestTvViewer::theLastChannelComesBackAtStart() {
    QCheckBox* option = tab()->findChild<QCheckBox*>(QStringLiteral("TvResumeOption"));
    QVERIFY(option);
    QVERIFY(!option->isChecked()); // off unless chosen
    option->setChecked(true);
    QTest::mouseClick(slotOf(form(), channels_[1]), Qt::LeftButton);
    QVERIFY(tv().isPlaying());
    SettingsFile ini(dir_.filePath("Setting.ini"));
    QCOMPARE(ini.ReadString("TvResume", "atStart", {}), QStringLiteral("1"));
    QCOMPARE(ini.ReadString("TvResume", "channel", {}), channels_[1]);

    program_.reset();
    startProgram();
    // The imported playlist comes from the cache after the first paint; then the channel plays.
    QTRY_VERIFY_WITH_TIMEOUT(tv().isPlaying(), 60000);
    QCOMPARE(playing(), 2);
    QTRY_VERIFY_WITH_TIMEOUT(tv().video().frameCount() >= 3, kWaitMs);
}

void TestTvViewer::quitFromTheMediaKeysEndsTheProgram() {
    QTRY_COMPARE_WITH_TIMEOUT(
        gdbus({"call", "--session", "--dest", "org.mpris.MediaPlayer2.zelmoplayer", "--object-path",
               "/org/mpris/MediaPlayer2", "--method", "org.freedesktop.DBus.Properties.Get",
               "org.mpris.MediaPlayer2", "CanQuit"}),
        QStringLiteral("(<true>,)"), 10000);
    QSignalSpy closed(&form(), &TForm1::closed);
    mpris(QStringLiteral("org.mpris.MediaPlayer2.Quit"));
    QTRY_COMPARE_WITH_TIMEOUT(closed.count(), 1, 10000);
    QVERIFY(!form().isVisible());
    QVERIFY(messages_.shown.isEmpty());
}

QTEST_MAIN(TestTvViewer)
#include "test_tv_viewer.moc"
