// The radio windows connected to the real main window by the part the program builds them with.
#include "RadioFakes.h"
#include "app/ui/RadioWindows.h"
#include "app/ui/TForm1.h"
#include "common/Control.h"
#include "common/MainWindowControls.h"
#include "platform/Shell.h"
#include "radio/MainWindowRadio.h"
#include "radio/ui/TMyRadioForm.h"
#include "radio/ui/TRadioForm.h"
#include "radio/ui/TRadioSaveForm.h"
#include "settings/SettingsFile.h"

#include <QApplication>
#include <QFrame>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <optional>

namespace {
struct FakeMainRadio : MainWindowRadio {
    QList<QByteArray> played;
    QList<float> volumes;
    int stops = 0;
    bool StartAudio() override { return true; }
    void ShutdownAudio() override {}
    void PlayStream(const QByteArray& url) override { played << url; }
    void StopStream() override { ++stops; }
    void SetVolume(float v) override { volumes << v; }
};

struct FakeShell : Shell {
    void open(const QString&) override {}
};

// Runs `step` on the modal window once it is up.
template <typename Window, typename Step> void whenModal(Step step) {
    QTimer::singleShot(0, [step] {
        auto* w = qobject_cast<Window*>(QApplication::activeModalWidget());
        QVERIFY(w);
        step(*w);
    });
}

struct Fixture {
    QTemporaryDir dir;
    SettingsFile settings{dir.filePath(QStringLiteral("Setting.ini"))};
    FakeMainRadio radio;
    FakeMessages messages;
    FakeShell shell;
    FakeRecorder recorder;
    std::unique_ptr<TForm1> form;
    std::optional<MainWindowControls> ui; // its controls, by object name
    std::unique_ptr<RadioWindows> radioWindows;
    TRadioForm* mini = nullptr;

    Fixture() {
        TForm1::Services s;
        s.radio = &radio;
        s.messages = &messages;
        s.shell = &shell;
        // Every language key reads as itself, so each category is told apart.
        s.langText = [](const QString&, const QString& key) { return key; };
        form = std::make_unique<TForm1>(s);
        ui.emplace(*form);
        const std::pair<int, const char*> bar[] = {
            {1, "public"}, {2, "radio"}, {3, "music"}, {4, "entertainment"}, {5, "Research"}};
        for (const auto& [n, key] : bar)
            form->setCategoryCaption(n, QString::fromLatin1(key));
        form->setStartTV([](const QString&) {});
        form->setTrayModeSource([] { return QStringLiteral("0"); });
        form->setTrayAvailability([] { return false; });
        radioWindows = std::make_unique<RadioWindows>(*form, settings, recorder, messages);
        mini = &radioWindows->miniRadio();
        form->show();
        ui->sBitBtn2->click(); // the radio layout brings up the strip
    }
    ~Fixture() {
        radioWindows.reset();
        form.reset();
    }
};
} // namespace

class TestRadioStrip : public QObject {
    Q_OBJECT
private slots:
    void recordButtonsDriveTheRecorder() {
        Fixture f;
        QVERIFY(f.ui->sPanel2->isVisible());
        whenModal<TRadioSaveForm>([](TRadioSaveForm& p) {
            QTest::mouseClick(Control<QPushButton>(p, "sBitBtn1"), Qt::LeftButton);
        });
        QTest::mouseClick(f.ui->sSpeedButton10, Qt::LeftButton);
        QCOMPARE(f.recorder.started, QStringList{QStringLiteral("MyRecord")});
        QVERIFY(f.ui->sSpeedButton11->isVisible());
        QVERIFY(!f.ui->sSpeedButton10->isVisible());

        QTest::mouseClick(f.ui->sSpeedButton11, Qt::LeftButton);
        QCOMPARE(f.recorder.stops, 1);
        QVERIFY(f.ui->sSpeedButton10->isVisible());
    }

    void miniRadioRoundTrip() {
        Fixture f;
        f.ui->sScrollBar1->setValue(60);
        QTest::mouseClick(f.ui->sSpeedButton13, Qt::LeftButton);
        QVERIFY(f.mini->isVisible());
        QVERIFY(!f.form->isVisible());
        QCOMPARE(Control<QScrollBar>(*f.mini, "sScrollBar1")->value(), 60);

        f.radio.volumes.clear();
        Control<QScrollBar>(*f.mini, "sScrollBar1")->setValue(30);
        QCOMPARE(f.radio.volumes, QList<float>{0.30f});

        QTest::mouseClick(Control<QToolButton>(*f.mini, "sSpeedButton3"), Qt::LeftButton);
        QCOMPARE(f.radio.stops, 1);
        QVERIFY(!Control<QToolButton>(*f.mini, "sSpeedButton1")->isHidden());

        QTest::mouseClick(Control<QToolButton>(*f.mini, "sSpeedButton4"), Qt::LeftButton);
        QVERIFY(!f.mini->isVisible());
        QVERIFY(f.form->isVisible());
        // Back in the first layout: every slot shown, the strip away, the bar where the mini left it.
        QVERIFY(f.ui->sPanel2->isHidden());
        QCOMPARE(f.form->slotButton(30)->isHidden(), false);
        QCOMPARE(f.ui->sScrollBar1->value(), 30);
    }

    // A click on the track, left of the thumb, turns the volume down by 1; on both bars.
    void clickOnTheTrackMovesTheBarByOne() {
        Fixture f;
        QScrollBar* strip = f.ui->sScrollBar1;
        QVERIFY(strip->isVisible());
        f.radio.volumes.clear();
        for (int expected : {99, 98}) {
            QTest::mouseClick(strip, Qt::LeftButton, {}, QPoint(strip->width() / 3, strip->height() / 2));
            QCOMPARE(strip->value(), expected);
        }
        QCOMPARE(f.radio.volumes, (QList<float>{0.99f, 0.98f}));

        QTest::mouseClick(f.ui->sSpeedButton13, Qt::LeftButton);
        QScrollBar* mini = Control<QScrollBar>(*f.mini, "sScrollBar1");
        QVERIFY(mini->isVisible());
        QCOMPARE(mini->value(), 98);
        QTest::mouseClick(mini, Qt::LeftButton, {}, QPoint(mini->width() / 3, mini->height() / 2));
        QCOMPARE(mini->value(), 97);
        QCOMPARE(f.radio.volumes.last(), 0.97f);
    }

    void myRadioStationPlaysThroughButton1() {
        Fixture f;
        const QString link = QStringLiteral("http://127.0.0.1/радио");
        f.settings.WriteString(QStringLiteral("MyRadio"), QStringLiteral("MyRNb"), QStringLiteral("Моя"));
        f.settings.WriteString(QStringLiteral("MyRadio"), QStringLiteral("MyRb"), link);
        QString caption;
        bool stayedOpen = false;
        whenModal<TMyRadioForm>([&](TMyRadioForm& w) {
            caption = w.slotButton(2)->text();
            QTest::mouseClick(w.slotButton(2), Qt::LeftButton);
            stayedOpen = w.isVisible();
            w.close();
        });
        QTest::mouseClick(f.ui->sSpeedButton14, Qt::LeftButton);
        QCOMPARE(caption, QStringLiteral("Моя"));
        QVERIFY(stayedOpen); // the window stays up while the station plays
        QCOMPARE(*f.form->stationHandOver().pendingStreamUrl, link);
        QCOMPARE(f.radio.played, QList<QByteArray>{link.toLocal8Bit()});
    }
};

QTEST_MAIN(TestRadioStrip)
#include "test_radio_strip.moc"
