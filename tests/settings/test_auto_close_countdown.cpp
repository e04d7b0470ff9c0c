#include "common/ManualTicks.h"
#include "settings/AutoCloseCountdown.h"

#include <QSignalSpy>
#include <QTest>

namespace {
struct Fixture {
    ManualTicks* ticks = new ManualTicks;
    AutoCloseCountdown countdown{std::unique_ptr<TickSource>(ticks)};
    QSignalSpy close{&countdown, &AutoCloseCountdown::closeRequested};
    void tick(int n = 1) { ticks->tick(n); }
};
} // namespace

class TestAutoCloseCountdown : public QObject {
    Q_OBJECT
private slots:
    void oneMinuteClosesOnTheSixtiethTick() {
        Fixture f;
        QCOMPARE(f.countdown.labelText(), QStringLiteral("0000000"));
        QVERIFY(!f.countdown.running());
        QVERIFY(f.countdown.confirm(QStringLiteral("1")));
        QVERIFY(f.countdown.running());
        QCOMPARE(f.countdown.labelText(), QStringLiteral("0000000")); // unchanged until the first tick
        f.tick();
        QCOMPARE(f.countdown.labelText(), QStringLiteral("59"));
        f.tick(58);
        QCOMPARE(f.countdown.labelText(), QStringLiteral("1"));
        QCOMPARE(f.close.count(), 0);
        f.tick();
        QCOMPARE(f.countdown.labelText(), QStringLiteral("0"));
        QCOMPARE(f.close.count(), 1);
        QVERIFY(!f.countdown.running());
        f.tick(); // a stray tick after the end does nothing
        QCOMPARE(f.countdown.secondsLeft(), 0);
        QCOMPARE(f.close.count(), 1);
    }

    void confirmWhileRunningRestartsTheCount() {
        Fixture f;
        QVERIFY(f.countdown.confirm(QStringLiteral("1")));
        f.tick(30);
        QCOMPARE(f.countdown.labelText(), QStringLiteral("30"));
        QVERIFY(f.countdown.confirm(QStringLiteral("5")));
        QCOMPARE(f.ticks->starts, 1); // the rhythm goes on
        f.tick();
        QCOMPARE(f.countdown.labelText(), QStringLiteral("299"));
    }

    void resetStopsAndKeepsTheCount() {
        Fixture f;
        QVERIFY(f.countdown.confirm(QStringLiteral("3")));
        f.tick(60);
        QCOMPARE(f.countdown.secondsLeft(), 120);
        f.countdown.reset();
        QVERIFY(!f.countdown.running());
        QCOMPARE(f.countdown.labelText(), QStringLiteral("0000000"));
        QCOMPARE(f.countdown.secondsLeft(), 120);
        f.tick(200);
        QCOMPARE(f.close.count(), 0);
        QVERIFY(f.countdown.confirm(QStringLiteral("2")));
        f.tick();
        QCOMPARE(f.countdown.labelText(), QStringLiteral("119"));
    }

    void minutesText_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("seconds"); // 0: refused
        QTest::newRow("decimal") << QStringLiteral("10") << 600;
        QTest::newRow("plus sign") << QStringLiteral("+2") << 120;
        QTest::newRow("hexadecimal") << QStringLiteral("0x10") << 960;
        QTest::newRow("largest") << QStringLiteral("35791394") << 2147483640;
        QTest::newRow("seconds beyond 32 bits") << QStringLiteral("35791395") << 0;
        QTest::newRow("beyond 32 bits") << QStringLiteral("99999999999") << 0;
        QTest::newRow("zero") << QStringLiteral("0") << 0;
        QTest::newRow("negative") << QStringLiteral("-5") << 0;
        QTest::newRow("empty") << QString() << 0;
        QTest::newRow("letters") << QStringLiteral("abc") << 0;
        QTest::newRow("fraction") << QStringLiteral("2.5") << 0;
        QTest::newRow("blanks") << QStringLiteral(" 5") << 0;
        QTest::newRow("sign only") << QStringLiteral("-") << 0;
    }
    void minutesText() {
        QFETCH(QString, text);
        QFETCH(int, seconds);
        Fixture f;
        QVERIFY(f.countdown.confirm(QStringLiteral("1")));
        f.tick(10); // a running countdown at 50
        QCOMPARE(f.countdown.confirm(text), seconds != 0);
        QVERIFY(f.countdown.running());
        QCOMPARE(f.countdown.secondsLeft(), seconds != 0 ? seconds : 50);
        QCOMPARE(f.countdown.labelText(), QStringLiteral("50"));
    }

    void refusedConfirmDoesNotStartAStoppedCountdown() {
        Fixture f;
        QVERIFY(!f.countdown.confirm(QStringLiteral("0")));
        QVERIFY(!f.countdown.running());
        QCOMPARE(f.ticks->starts, 0);
    }

    void realTimerTicks() {
        // The real timer source drives the countdown; a short interval keeps the test quick.
        AutoCloseCountdown countdown(std::make_unique<TimerTickSource>(1));
        QSignalSpy label(&countdown, &AutoCloseCountdown::labelChanged);
        QVERIFY(countdown.confirm(QStringLiteral("1")));
        QVERIFY(label.wait(10000));
        QCOMPARE(label.at(0).at(0).toString(), QStringLiteral("59"));
    }
};

QTEST_GUILESS_MAIN(TestAutoCloseCountdown)
#include "test_auto_close_countdown.moc"
