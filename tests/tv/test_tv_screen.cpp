// What the TV does with a channel's entries and with a picture that is lost, over a stand-in
// player: which entry is opened when, the reconnect pauses, and what the view says meanwhile.
#include "FakeVideoPlayer.h"
#include "platform/ReconnectDelay.h"
#include "platform/UiText.h"
#include "settings/LanguagePack.h"
#include "tv/TvScreen.h"
#include "tv/TvStatus.h"

#include <QElapsedTimer>
#include <QtTest>

using Status = VideoPlayer::Status;

namespace {
constexpr int kWaitMs = 10000;
constexpr int kUnitMs = 40; // the reconnect pause's unit, shortened

ImportedStream channel(int entries) {
    ImportedStream s;
    s.displayName = QStringLiteral("Тест");
    s.url = QUrl(QStringLiteral("http://a.example/1.m3u8"));
    s.headers = {{"Referer", "http://site.example/"}};
    for (int i = 2; i <= entries; ++i)
        s.alternates.push_back(StreamSource{QUrl(QStringLiteral("http://a.example/%1.m3u8").arg(i)),
                                            {{"User-Agent", "Box/" + QByteArray::number(i)}}});
    return s;
}

// The shipped language pack's text, read as the program reads packs.
LangLookup pack(const QString& name) {
    auto lp = std::make_shared<LanguagePack>(qEnvironmentVariable("ZELMO_TEST_SOURCE_DIR") +
                                             "/data/Language/" + name + ".lng");
    return [lp](const QString& section, const QString& key) { return lp->LangText(section, key); };
}
} // namespace

class TestTvScreen : public QObject {
    Q_OBJECT
private slots:
    void entriesAreTriedInTurnUntilOnePlays_data();
    void entriesAreTriedInTurnUntilOnePlays();
    void theLastFailureStaysWhenNoEntryPlays();
    void aLostChannelIsReopenedWithTheRadiosPauses();
    void aChannelThatComesBackByItselfIsNotReopened();
    void stopEndsTheTries();
    void textsComeFromTheLanguagePack_data();
    void textsComeFromTheLanguagePack();
};

void TestTvScreen::entriesAreTriedInTurnUntilOnePlays_data() {
    QTest::addColumn<Status>("failure");
    QTest::newRow("HTTP error") << Status::HttpError;
    QTest::newRow("unreachable") << Status::Unreachable;
    QTest::newRow("no first picture in time") << Status::NoSignal;
    QTest::newRow("no decoder") << Status::CodecMissing;
    QTest::newRow("other failure") << Status::Failed;
}

void TestTvScreen::entriesAreTriedInTurnUntilOnePlays() {
    QFETCH(Status, failure);
    auto owned = std::make_unique<FakeVideoPlayer>();
    FakeVideoPlayer& video = *owned;
    TvScreen screen(std::move(owned));
    screen.play(channel(3));
    QCOMPARE(video.opened.size(), 1);
    QCOMPARE(video.opened[0].url.path(), QStringLiteral("/1.m3u8"));
    QCOMPARE(video.opened[0].headers, (HttpHeaders{{"Referer", "http://site.example/"}}));
    QCOMPARE(tvStatusText(screen), QStringLiteral("Подключение…\nИсточник 1/3"));

    video.report(failure, QStringLiteral("why"), 403);
    // The next entry at once, with its own headers.
    QCOMPARE(video.opened.size(), 2);
    QCOMPARE(video.opened[1].url.path(), QStringLiteral("/2.m3u8"));
    QCOMPARE(video.opened[1].headers, (HttpHeaders{{"User-Agent", "Box/2"}}));
    QCOMPARE(screen.sourceIndex(), 1);
    QCOMPARE(tvStatusText(screen), QStringLiteral("Подключение…\nИсточник 2/3"));

    video.report(Status::Playing);
    QCOMPARE(tvStatusText(screen), QString());
    QCOMPARE(screen.reconnectAttempt(), 0);
    QTest::qWait(3 * kUnitMs);
    QCOMPARE(video.opened.size(), 2);
}

void TestTvScreen::theLastFailureStaysWhenNoEntryPlays() {
    auto owned = std::make_unique<FakeVideoPlayer>();
    FakeVideoPlayer& video = *owned;
    TvScreen screen(std::move(owned));
    screen.setReconnectUnit(kUnitMs);
    screen.play(channel(2));
    video.report(Status::Unreachable, QStringLiteral("a.example"));
    video.report(Status::HttpError, QStringLiteral("Forbidden"), 403);
    QCOMPARE(video.opened.size(), 2);
    QCOMPARE(tvStatusText(screen), QStringLiteral("Ошибка HTTP 403: Доступ запрещён\nИсточник 2/2"));
    // A channel never seen is not retried behind the user's back.
    QTest::qWait(5 * kUnitMs);
    QCOMPARE(video.opened.size(), 2);
    QVERIFY(screen.isPlaying());

    // A single entry: as before, just its failure.
    screen.play(channel(1));
    video.report(Status::HttpError, QStringLiteral("Not Found"), 404);
    QCOMPARE(tvStatusText(screen), QStringLiteral("Ошибка HTTP 404: Не найдено"));
    QCOMPARE(video.opened.size(), 3);
}

void TestTvScreen::aLostChannelIsReopenedWithTheRadiosPauses() {
    auto owned = std::make_unique<FakeVideoPlayer>();
    FakeVideoPlayer& video = *owned;
    TvScreen screen(std::move(owned));
    screen.setReconnectUnit(kUnitMs);
    screen.play(channel(2));
    video.report(Status::Playing);

    // Each loss waits the radio's pause for its try, then opens: the entry that played twice,
    // then the other one, and round again. The count goes on while nothing plays.
    const QList<int> expectedEntry{0, 1, 1, 0, 0};
    QElapsedTimer t;
    for (int attempt = 1; attempt <= expectedEntry.size(); ++attempt) {
        const int before = video.opened.size();
        video.report(attempt == 1 ? Status::NoSignal : Status::Unreachable, QStringLiteral("gone"));
        t.start();
        QCOMPARE(screen.reconnectAttempt(), attempt);
        QCOMPARE(tvStatusText(screen), QStringLiteral("Нет сигнала, переподключение (%1)\nИсточник %2/2")
                                           .arg(attempt)
                                           .arg(screen.sourceIndex() + 1));
        QCOMPARE(video.opened.size(), before); // not before the pause
        QTRY_COMPARE_WITH_TIMEOUT(video.opened.size(), before + 1, kWaitMs);
        QVERIFY2(t.elapsed() >= reconnectDelayMs(attempt, kUnitMs) - 5,
                 qPrintable(QString::number(t.elapsed())));
        QCOMPARE(screen.sourceIndex(), expectedEntry[attempt - 1]);
        QCOMPARE(video.opened.last().url.path(),
                 QStringLiteral("/%1.m3u8").arg(expectedEntry[attempt - 1] + 1));
    }
    // The server is back: the count ends and the view shows the picture again.
    video.report(Status::Playing);
    QCOMPARE(screen.reconnectAttempt(), 0);
    QCOMPARE(tvStatusText(screen), QString());
    // The next loss starts from the first pause again.
    video.report(Status::NoSignal);
    QCOMPARE(screen.reconnectAttempt(), 1);
}

void TestTvScreen::aChannelThatComesBackByItselfIsNotReopened() {
    auto owned = std::make_unique<FakeVideoPlayer>();
    FakeVideoPlayer& video = *owned;
    TvScreen screen(std::move(owned));
    screen.setReconnectUnit(10 * kUnitMs);
    screen.play(channel(1));
    video.report(Status::Playing);
    video.report(Status::NoSignal);
    QCOMPARE(screen.reconnectAttempt(), 1);
    video.report(Status::Playing); // the stalled stream moved on before the pause ended
    QCOMPARE(screen.reconnectAttempt(), 0);
    QTest::qWait(15 * kUnitMs);
    QCOMPARE(video.opened.size(), 1);
}

void TestTvScreen::stopEndsTheTries() {
    auto owned = std::make_unique<FakeVideoPlayer>();
    FakeVideoPlayer& video = *owned;
    TvScreen screen(std::move(owned));
    screen.setReconnectUnit(kUnitMs);
    screen.play(channel(2));
    video.report(Status::Playing);
    video.report(Status::NoSignal);
    screen.stop();
    QCOMPARE(screen.reconnectAttempt(), 0);
    QTest::qWait(5 * kUnitMs);
    QCOMPARE(video.opened.size(), 1);
    QVERIFY(!screen.isPlaying());
}

void TestTvScreen::textsComeFromTheLanguagePack_data() {
    QTest::addColumn<QString>("pack");
    QTest::addColumn<QString>("reconnecting");
    QTest::addColumn<QString>("forbidden");
    QTest::newRow("Russian") << "Russian"
                             << "Нет сигнала, переподключение (1)\nИсточник 1/2"
                             << "Ошибка HTTP 403: Доступ запрещён\nИсточник 2/2";
    QTest::newRow("Ukrainian") << "Ukraine"
                               << "Немає сигналу, перепідключення (1)\nДжерело 1/2"
                               << "Помилка HTTP 403: Доступ заборонено\nДжерело 2/2";
    QTest::newRow("English") << "England"
                             << "No signal, reconnecting (1)\nSource 1/2"
                             << "HTTP error 403: Forbidden\nSource 2/2";
    QTest::newRow("Belarusian") << "Belarusian"
                                << "Няма сігналу, перападключэнне (1)\nКрыніца 1/2"
                                << "Памылка HTTP 403: Доступ забаронены\nКрыніца 2/2";
    QTest::newRow("Chinese") << "Chinese"
                             << "无信号，正在重新连接（1）\n来源 1/2"
                             << "HTTP 错误 403：禁止访问\n来源 2/2";
}

void TestTvScreen::textsComeFromTheLanguagePack() {
    QFETCH(QString, pack);
    QFETCH(QString, reconnecting);
    QFETCH(QString, forbidden);
    const LangLookup lang = ::pack(pack);
    struct Builtin {
        ~Builtin() { SetUiTextSource({}); }
    } restore;
    auto owned = std::make_unique<FakeVideoPlayer>();
    FakeVideoPlayer& video = *owned;
    TvScreen screen(std::move(owned));
    screen.setReconnectUnit(60000);
    screen.play(channel(2));
    video.report(Status::Unreachable, QStringLiteral("a.example"));
    video.report(Status::HttpError, QStringLiteral("Forbidden"), 403);
    SetUiTextSource(lang);
    QCOMPARE(tvStatusText(screen), forbidden);
    screen.play(channel(2));
    video.report(Status::Playing);
    video.report(Status::NoSignal);
    QCOMPARE(tvStatusText(screen), reconnecting);
    // Every status has a text of the pack's own.
    for (Status s :
         {Status::Connecting, Status::NoSignal, Status::CodecMissing, Status::Unreachable, Status::Failed}) {
        screen.stop();
        screen.play(channel(1));
        video.report(s, QStringLiteral("x"));
        const QString t = tvStatusText(screen);
        QVERIFY2(!t.isEmpty(), qPrintable(QString::number(int(s))));
        if (pack != QLatin1String("Russian")) {
            SetUiTextSource({});
            QVERIFY2(t != tvStatusText(screen), qPrintable(t));
            SetUiTextSource(lang);
        }
    }
}

QTEST_MAIN(TestTvScreen)
#include "test_tv_screen.moc"
