// The real program's wiring: an imported stream behind a grid channel plays in the web view's
// rectangle, stops the radio, and gives the area back when the view is asked for a page.
#include "MediaProbe.h"
#include "TvTestKit.h"
#include "common/MainWindowControls.h"
#include "common/TestFakes.h"
#include "radio/RadioTestKit.h"

#include "app/ui/Startup.h"
#include "app/ui/TForm1.h"
#include "navigation/ChannelCatalog.h"
#include "navigation/StreamLookup.h"
#include "platform/AppDir.h"
#include "platform/ui/ButtonCaption.h"
#include "platform/ui/ChromiumView.h"
#include "radio/RadioPlayer.h"
#include "tv/TvScreen.h"
#include "tv/ui/TvVideoView.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

namespace {

constexpr int kWaitMs = 30000;

struct OneStream : StreamLookup {
    QString name;
    QUrl url;
    HttpHeaders headers;
    std::optional<ImportedStream> streamFor(const QString& n) const override {
        if (n != name)
            return std::nullopt;
        return ImportedStream{url, {}, n, headers, {}, {}};
    }
};

// Answers the recording-name prompt with OK once it is up, and tells what it offered.
void confirmPrompt(QString* offered) {
    QTimer::singleShot(0, [offered] {
        QWidget* prompt = QApplication::activeModalWidget();
        QVERIFY(prompt);
        auto* name = prompt->findChild<QLineEdit*>(QStringLiteral("sEdit1"));
        QVERIFY(name);
        *offered = name->text();
        QTest::mouseClick(prompt->findChild<QPushButton*>(QStringLiteral("sBitBtn1")), Qt::LeftButton);
    });
}

// A slot of the start grid whose channel shows a page in the main view, and one other such slot.
QList<QPushButton*> pageChannelSlots(TForm1& form) {
    QList<QPushButton*> found;
    for (int k = 1; k <= 30 && found.size() < 2; ++k) {
        QPushButton* b = form.slotButton(k);
        const QString caption = ButtonCaption(b);
        if (b->isHidden() || caption.isEmpty())
            continue;
        for (const ChannelEntry& e : MainCatalog())
            if (e.Name == caption && e.target == Target::MainView && !e.isRadio()) {
                found << b;
                break;
            }
    }
    return found;
}

} // namespace

class TestTvInProgram : public QObject {
    Q_OBJECT
private slots:
    void gridChannelPlaysInTheMainViewArea();
    void recordButtonRecordsTheChannel();
};

void TestTvInProgram::gridChannelPlaysInTheMainViewArea() {
    QTemporaryDir media;
    QVERIFY(tvtest::makeMedia(media.path()));
    QVERIFY(radiotest::makeTone(media.filePath("tone.mp3"), 30));
    tvtest::VideoServer server;
    QVERIFY(server.start(media.path()));
    SetAppDirForTesting(qEnvironmentVariable("ZELMO_TEST_APPDIR") + QLatin1Char('/'));

    FakeMessages messages;
    OneStream streams;
    Program::Options options;
    options.messages = &messages;
    options.streams = &streams;
    Program program(options);
    program.show();
    TForm1& form = *program.windows().Form1;
    const MainWindowControls ui(form);
    TvScreen& tv = *program.services().Tv;
    auto* view = form.findChild<TvVideoView*>();
    QVERIFY(view);
    QVERIFY(!view->isVisible());

    const QList<QPushButton*> channels = pageChannelSlots(form);
    QCOMPARE(channels.size(), 2);
    streams.name = ButtonCaption(channels[0]);
    streams.url = QUrl(server.url("live.m3u8"));

    // A radio station plays until the TV starts (audio starts in the first turn of the loop).
    QTest::qWait(100);
    program.services().Radio->PlayStream(server.url("tone.mp3?rate=16000").toUtf8());
    QTRY_VERIFY_WITH_TIMEOUT(program.services().Radio->isPlaying(), kWaitMs);

    const QString pageBefore = ui.Chromium1->lastRequested();
    QTest::mouseClick(channels[0], Qt::LeftButton);
    QVERIFY(tv.isPlaying());
    QVERIFY(view->isVisible());
    QCOMPARE(view->parentWidget(), ui.Chromium1->parentWidget());
    QCOMPARE(view->geometry(), ui.Chromium1->geometry());
    // The placeholder page was not asked for.
    QCOMPARE(ui.Chromium1->lastRequested(), pageBefore);
    QVERIFY(!program.services().Radio->isPlaying());
    QVERIFY(!program.services().Radio->isOpening());

    QTRY_VERIFY_WITH_TIMEOUT(tv.video().frameCount() >= 3, kWaitMs);
    const QImage first = view->grab().toImage();
    const quint64 seen = tv.video().frameCount();
    QTRY_VERIFY_WITH_TIMEOUT(tv.video().frameCount() >= seen + 10, kWaitMs);
    QVERIFY(tvtest::changedShare(first, view->grab().toImage()) > 0.01);
    // What the main window shows in that rectangle is the video.
    const QRect area = ui.Chromium1->geometry();
    const QImage window = form.grab().toImage();
    const QPoint centre = ui.Chromium1->parentWidget()->mapTo(&form, area.center());
    QCOMPARE(window.pixel(centre), view->grab().toImage().pixel(area.center() - area.topLeft()));

    // Another channel loads its page: the video stops first.
    QTest::mouseClick(channels[1], Qt::LeftButton);
    QVERIFY(!tv.isPlaying());
    QVERIFY(!view->isVisible());
    QCOMPARE(tv.video().status(), VideoPlayer::Status::Idle);

    // "Выключить" after the TV: the same.
    QTest::mouseClick(channels[0], Qt::LeftButton);
    QVERIFY(view->isVisible());
    QTest::mouseClick(ui.sSpeedButton2, Qt::LeftButton);
    QVERIFY(!tv.isPlaying());
    QVERIFY(!view->isVisible());
    QCOMPARE(ui.Chromium1->lastRequested(), QStringLiteral("about:blank"));

    // A station started elsewhere (My Radio) ends the TV: never two sounds at once.
    QTest::mouseClick(channels[0], Qt::LeftButton);
    QVERIFY(tv.isPlaying());
    program.services().Radio->PlayStream(server.url("tone.mp3?rate=16000").toUtf8());
    QVERIFY(!tv.isPlaying());
    QVERIFY(!view->isVisible());
    QVERIFY(messages.shown.isEmpty());
}

// The radio strip's record button records the channel on screen: its stream as it comes, with the
// entry's headers, under the channel's name and the time, until stop, another channel or a failure.
void TestTvInProgram::recordButtonRecordsTheChannel() {
    QTemporaryDir media;
    QVERIFY(tvtest::makeMedia(media.path()));
    tvtest::VideoServer server;
    QVERIFY(server.start(media.path()));
    SetAppDirForTesting(qEnvironmentVariable("ZELMO_TEST_APPDIR") + QLatin1Char('/'));
    QTemporaryDir folder;

    FakeMessages messages;
    OneStream streams;
    Program::Options options;
    options.messages = &messages;
    options.streams = &streams;
    Program program(options);
    program.show();
    TForm1& form = *program.windows().Form1;
    const MainWindowControls ui(form);
    TvScreen& tv = *program.services().Tv;
    program.services().Radio->setRecordingFolder(folder.path());

    const QList<QPushButton*> channels = pageChannelSlots(form);
    QCOMPARE(channels.size(), 2);
    streams.name = ButtonCaption(channels[0]);
    // The server answers only requests that carry the entry's headers.
    streams.url = QUrl(server.url("need/ua=ZelmoTv/sliding/live.m3u8"));
    streams.headers = {{"User-Agent", "ZelmoTv"}};
    QTest::mouseClick(channels[0], Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(tv.video().frameCount() >= 3, kWaitMs);

    // The radio category shows the strip; the channel plays on.
    QTest::mouseClick(ui.sBitBtn2, Qt::LeftButton);
    QVERIFY(tv.isPlaying());
    QVERIFY(ui.sSpeedButton10->isVisible());
    QString offered;
    confirmPrompt(&offered);
    QTest::mouseClick(ui.sSpeedButton10, Qt::LeftButton);
    QVERIFY2(offered.startsWith(streams.name + ' ' + QDate::currentDate().toString("yyyy-MM-dd")),
             qPrintable(offered));
    QVERIFY(ui.sSpeedButton11->isVisible());
    QVERIFY(!ui.sSpeedButton10->isVisible());
    const QString file = folder.filePath(offered + ".ts");
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(file).size() > 600 * 1000, kWaitMs);
    QTest::mouseClick(ui.sSpeedButton11, Qt::LeftButton);
    QVERIFY(ui.sSpeedButton10->isVisible());
    QVERIFY(tv.isPlaying());

    // Again under the same name, ended by another channel: a file of its own beside the first.
    confirmPrompt(&offered);
    QTest::mouseClick(ui.sSpeedButton10, Qt::LeftButton);
    const QString second = folder.filePath(QFileInfo(file).completeBaseName() + " (2).ts");
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(second).size() > 300 * 1000, kWaitMs);
    program.services().Radio->PlayStream(server.url("nothing.mp3").toUtf8()); // ends the TV
    QVERIFY(!tv.isPlaying());
    QVERIFY(ui.sSpeedButton10->isVisible());
    QVERIFY(!ui.sSpeedButton11->isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(second).size() > 300 * 1000, kWaitMs);
    QVERIFY(messages.shown.isEmpty());

    for (const QString& f : {file, second}) {
        tvtest::Probed p;
        // The second file is completed in the background.
        QTRY_VERIFY_WITH_TIMEOUT((p = tvtest::probe(f)).seconds > 1.0, kWaitMs);
        QCOMPARE(p.video, QStringList{"video/x-h264"});
        QCOMPARE(p.audio, QStringList{"audio/mpeg,mpegversion=4"});
    }
    QVERIFY(server.denials().isEmpty());

    // A channel whose playlist is gone by the time the recording asks for it: the user is told
    // why, and the record button is back.
    program.services().Radio->StopStream();
    QVERIFY(QFile::copy(media.filePath("live.m3u8"), media.filePath("gone.m3u8")));
    streams.url = QUrl(server.url("sliding/gone.m3u8"));
    streams.headers.clear();
    QTest::mouseClick(ui.sBitBtn1, Qt::LeftButton); // the grid of channels again
    QTest::mouseClick(channels[0], Qt::LeftButton);
    QVERIFY(tv.isPlaying());
    QTRY_VERIFY_WITH_TIMEOUT(tv.video().frameCount() >= 3, kWaitMs);
    QVERIFY(QFile::remove(media.filePath("gone.m3u8")));
    QTest::mouseClick(ui.sBitBtn2, Qt::LeftButton);
    const auto before = QDir(folder.path()).entryList(QDir::Files);
    confirmPrompt(&offered);
    QTest::mouseClick(ui.sSpeedButton10, Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(!messages.shown.isEmpty(), kWaitMs);
    QVERIFY2(messages.shown.last().contains("404"), qPrintable(messages.shown.last()));
    QVERIFY(ui.sSpeedButton10->isVisible());
    QVERIFY(!ui.sSpeedButton11->isVisible());
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files), before);
}

QTEST_MAIN(TestTvInProgram)
#include "test_tv_in_program.moc"
