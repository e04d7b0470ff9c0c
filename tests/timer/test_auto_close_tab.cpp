#include "../settings_ui/SettingsUiFixture.h"
#include "common/ManualTicks.h"
#include "common/SettingFormControls.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include <optional>

namespace {
// Counts the close requests that reach the main window.
class CloseCounter : public QObject {
public:
    int closes = 0;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Close)
            ++closes;
        return false;
    }
};

const QString kBadMinutes = QStringLiteral("bad minutes");
} // namespace

class TestAutoCloseTab : public QObject {
    Q_OBJECT

    std::unique_ptr<SettingsUiFixture> fx_;
    ManualTicks* ticks_ = nullptr;
    CloseCounter closes_;
    TSettingForm* form_ = nullptr;
    std::optional<SettingFormControls> controls_;

    void confirm(const QString& minutes) {
        controls_->sEdit4->setText(minutes);
        QTest::mouseClick(controls_->sBitBtn2, Qt::LeftButton);
    }
    QString label() const { return controls_->sLabel12->text(); }

private slots:
    void init() {
        fx_ = std::make_unique<SettingsUiFixture>();
        QFile pack(fx_->dir.path() + QStringLiteral("/Language/Russian.lng"));
        QVERIFY(pack.open(QIODevice::WriteOnly | QIODevice::Truncate));
        pack.write("[Message]\r\nDonotenteravalueoftrue=" + kBadMinutes.toUtf8() + "\r\n");
        pack.close();

        auto ticks = std::make_unique<ManualTicks>();
        ticks_ = ticks.get();
        fx_->form = std::make_unique<TSettingForm>(fx_->surface, &fx_->mainWindow, fx_->shell, fx_->messages,
                                                   fx_->http, nullptr, std::move(ticks));
        form_ = fx_->form.get();
        controls_.emplace(*form_);
        closes_.closes = 0;
        fx_->mainWindow.installEventFilter(&closes_);
        fx_->mainWindow.show();
    }
    void cleanup() {
        controls_.reset();
        fx_.reset();
        form_ = nullptr;
        ticks_ = nullptr;
    }

    void oneMinuteCountsDownAndClosesTheMainWindow() {
        QCOMPARE(label(), QStringLiteral("0000000"));
        QVERIFY(!ticks_->on);
        form_->show();
        confirm(QStringLiteral("1"));
        QVERIFY(ticks_->on);
        QCOMPARE(label(), QStringLiteral("0000000")); // shows the count from the first tick on

        ticks_->tick();
        QCOMPARE(label(), QStringLiteral("59"));
        QTest::mouseClick(controls_->sBitBtn15, Qt::LeftButton); // closing the settings window
        QVERIFY(form_->isHidden());
        ticks_->tick(58);
        QCOMPARE(label(), QStringLiteral("1"));
        QCOMPARE(closes_.closes, 0);

        ticks_->tick();
        QCOMPARE(label(), QStringLiteral("0"));
        QCOMPARE(closes_.closes, 1);
        QVERIFY(!fx_->mainWindow.isVisible());
        QVERIFY(!ticks_->on);
        QVERIFY(fx_->messages.shown.isEmpty());
    }

    void confirmWhileRunningRestartsTheCountInTheSameRhythm() {
        confirm(QStringLiteral("1"));
        ticks_->tick(30);
        QCOMPARE(label(), QStringLiteral("30"));
        confirm(QStringLiteral("5"));
        QCOMPARE(ticks_->starts, 1);
        ticks_->tick();
        QCOMPARE(label(), QStringLiteral("299"));
    }

    void resetStopsAndShowsTheIdleLabel() {
        confirm(QStringLiteral("3"));
        ticks_->tick(60);
        QCOMPARE(label(), QStringLiteral("120"));
        QTest::mouseClick(controls_->sButton2, Qt::LeftButton);
        QCOMPARE(label(), QStringLiteral("0000000"));
        QVERIFY(!ticks_->on);
        ticks_->tick(200);
        QCOMPARE(label(), QStringLiteral("0000000"));
        QCOMPARE(closes_.closes, 0);

        confirm(QStringLiteral("1")); // only a new confirm starts again, from the new minutes
        ticks_->tick();
        QCOMPARE(label(), QStringLiteral("59"));
    }

    void minutesInput_data() {
        QTest::addColumn<QString>("minutes");
        QTest::addColumn<QString>("nextLabel"); // after one more tick
        QTest::newRow("empty") << ""
                               << "118";
        QTest::newRow("letters") << "abc"
                                 << "118";
        QTest::newRow("fraction") << "2.5"
                                  << "118";
        QTest::newRow("zero") << "0"
                              << "118";
        QTest::newRow("negative") << "-3"
                                  << "118";
        QTest::newRow("seconds beyond 32 bits") << "35791395"
                                                << "118";
        QTest::newRow("largest that fits") << "35791394"
                                           << "2147483639";
    }

    // A rejected value gives the message and leaves the running countdown alone.
    void minutesInput() {
        QFETCH(QString, minutes);
        QFETCH(QString, nextLabel);
        confirm(QStringLiteral("2"));
        ticks_->tick();
        QCOMPARE(label(), QStringLiteral("119"));

        confirm(minutes);
        const bool valid = nextLabel != QStringLiteral("118");
        QCOMPARE(fx_->messages.shown, valid ? QStringList{} : QStringList{kBadMinutes});
        QCOMPARE(label(), QStringLiteral("119"));
        QVERIFY(ticks_->on);
        ticks_->tick();
        QCOMPARE(label(), nextLabel);
    }
};

QTEST_MAIN(TestAutoCloseTab)
#include "test_auto_close_tab.moc"
