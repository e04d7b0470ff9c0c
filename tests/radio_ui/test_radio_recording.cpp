#include "RadioFakes.h"
#include "common/Control.h"
#include "radio/ui/RadioRecording.h"
#include "radio/ui/TRadioForm.h"
#include "radio/ui/TRadioSaveForm.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QToolButton>

namespace {
// A stand-in for the main window's radio strip. Like the real window, every show brings back the
// first category, which hides the strip.
class MainStandIn : public QWidget {
public:
    QWidget* strip = new QWidget(this);
    QToolButton* sSpeedButton10 = new QToolButton(strip);
    QToolButton* sSpeedButton11 = new QToolButton(strip);
    QToolButton* sSpeedButton12 = new QToolButton(strip);
    QScrollBar* sScrollBar1 = new QScrollBar(Qt::Horizontal, strip);
    QLineEdit* sEdit1 = new QLineEdit(QStringLiteral("MyRecord"), strip);
    int shows = 0;

    MainStandIn() {
        sEdit1->hide();
        sScrollBar1->setRange(0, 100);
        sScrollBar1->setValue(100);
    }
    void openRadioLayout() {
        strip->show();
        sSpeedButton10->show();
        sSpeedButton11->hide();
        sSpeedButton12->show();
    }

protected:
    void showEvent(QShowEvent*) override {
        ++shows;
        strip->hide();
    }
};

enum class Answer { Ok, Cancel };

// Answers the name prompt once it is up, after optionally typing a name into it.
void answerPrompt(Answer answer, const QString& typed = QString()) {
    QTimer::singleShot(0, [answer, typed] {
        auto* prompt = qobject_cast<TRadioSaveForm*>(QApplication::activeModalWidget());
        QVERIFY(prompt);
        if (!typed.isNull())
            Control<QLineEdit>(*prompt, "sEdit1")->setText(typed);
        if (answer == Answer::Ok)
            QTest::mouseClick(Control<QPushButton>(*prompt, "sBitBtn1"), Qt::LeftButton);
        else
            QTest::keyClick(prompt, Qt::Key_Escape);
    });
}
} // namespace

class TestRadioRecording : public QObject {
    Q_OBJECT

    FakeRecorder recorder;
    FakeMessages messages;
    QList<float> volumes;
    int radioOffs = 0;
    std::unique_ptr<MainStandIn> main;
    std::unique_ptr<TRadioSaveForm> prompt;
    std::unique_ptr<RadioRecording> recording;
    std::unique_ptr<TRadioForm> mini;

    bool mainShowsRecord() const {
        return !main->sSpeedButton10->isHidden() && main->sSpeedButton11->isHidden();
    }
    bool mainShowsStop() const {
        return main->sSpeedButton10->isHidden() && !main->sSpeedButton11->isHidden();
    }
    bool miniShowsRecord() const {
        return !Control<QToolButton>(*mini, "sSpeedButton1")->isHidden() &&
               Control<QToolButton>(*mini, "sSpeedButton2")->isHidden();
    }
    bool miniShowsStop() const {
        return Control<QToolButton>(*mini, "sSpeedButton1")->isHidden() &&
               !Control<QToolButton>(*mini, "sSpeedButton2")->isHidden();
    }

private slots:
    void init() {
        recorder = FakeRecorder();
        messages.shown.clear();
        volumes.clear();
        radioOffs = 0;
        main = std::make_unique<MainStandIn>();
        prompt = std::make_unique<TRadioSaveForm>(main->sEdit1, main.get());
        recording = std::make_unique<RadioRecording>(
            RecordingControls{main->sSpeedButton10, main->sSpeedButton11, main->sEdit1}, *prompt, recorder,
            messages);
        connect(main->sSpeedButton10, &QToolButton::clicked, recording.get(),
                &RadioRecording::StartRecording);
        connect(main->sSpeedButton11, &QToolButton::clicked, recording.get(), &RadioRecording::StopRecording);
        connect(main->sSpeedButton12, &QToolButton::clicked, this, [this] { ++radioOffs; });
        connect(main->sScrollBar1, &QScrollBar::valueChanged, this,
                [this](int v) { volumes << float(v) / float(main->sScrollBar1->maximum()); });
        mini = std::make_unique<TRadioForm>(MainRadioStrip{
            main.get(), main->sSpeedButton10, main->sSpeedButton11, main->sSpeedButton12, main->sScrollBar1});
        main->show();
        main->openRadioLayout();
    }
    void cleanup() {
        mini.reset();
        recording.reset();
        prompt.reset();
        main.reset();
    }

    void okStartsUnderTheConfirmedNameAndSwaps() {
        answerPrompt(Answer::Ok);
        QTest::mouseClick(main->sSpeedButton10, Qt::LeftButton);
        QCOMPARE(recorder.started, QStringList{QStringLiteral("MyRecord")});
        QVERIFY(mainShowsStop());

        QTest::mouseClick(main->sSpeedButton11, Qt::LeftButton);
        QCOMPARE(recorder.stops, 1);
        QVERIFY(mainShowsRecord());

        // A name of two words stays one name; the prompt offers it again next time.
        answerPrompt(Answer::Ok, QStringLiteral("My Record"));
        QTest::mouseClick(main->sSpeedButton10, Qt::LeftButton);
        QCOMPARE(recorder.started.last(), QStringLiteral("My Record"));
        QCOMPARE(main->sEdit1->text(), QStringLiteral("My Record"));
        QCOMPARE(Control<QLineEdit>(*prompt, "sEdit1")->text(), QStringLiteral("My Record"));
        QVERIFY(messages.shown.isEmpty());
    }

    void cancelChangesNothingButKeepsWhatWasTyped() {
        answerPrompt(Answer::Cancel, QStringLiteral("Typed"));
        QTest::mouseClick(main->sSpeedButton10, Qt::LeftButton);
        QVERIFY(recorder.started.isEmpty());
        QVERIFY(mainShowsRecord());
        QCOMPARE(main->sEdit1->text(), QStringLiteral("MyRecord"));
        QCOMPARE(Control<QLineEdit>(*prompt, "sEdit1")->text(), QStringLiteral("Typed"));
        QVERIFY(messages.shown.isEmpty());
    }

    void refusedStartIsReportedAndLeavesTheRecordButton() {
        recorder.refusal = QStringLiteral("радио не играет.");
        answerPrompt(Answer::Ok);
        QTest::mouseClick(main->sSpeedButton10, Qt::LeftButton);
        QCOMPARE(messages.shown, QStringList{QStringLiteral("Запись не началась: радио не играет.")});
        QVERIFY(mainShowsRecord());
    }

    // The prompt offers the station and the start time, and names the folder.
    void suggestionIsTheStationAndTheTime() {
        recorder.station = QStringLiteral("AC/DC Радио");
        recorder.folder = QStringLiteral("/home/u/Music/Zelmo Player");
        answerPrompt(Answer::Ok);
        QTest::mouseClick(main->sSpeedButton10, Qt::LeftButton);
        QCOMPARE(recorder.started.size(), 1);
        QVERIFY2(QRegularExpression(QStringLiteral("^AC-DC Радио \\d{4}-\\d\\d-\\d\\d \\d\\d-\\d\\d$"))
                     .match(recorder.started.first())
                     .hasMatch(),
                 qPrintable(recorder.started.first()));
        QCOMPARE(prompt->windowTitle(), QStringLiteral("/home/u/Music/Zelmo Player"));
        QVERIFY(Control<QLineEdit>(*prompt, "sEdit1")->toolTip().contains(recorder.folder));
    }

    // Only a bare file name is taken; the user is told why and gets the name back to correct it.
    void namesThatAreNoFileNamesAreRefused_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("why");
        QTest::newRow("parent folder") << "../escape"
                                       << "В названии файла не может быть знаков «/» и «\\».";
        QTest::newRow("absolute") << "/etc/passwd"
                                  << "В названии файла не может быть знаков «/» и «\\».";
        QTest::newRow("only spaces") << "   "
                                     << "Название файла не может быть пустым.";
        QTest::newRow("dots") << ".."
                              << "Название файла не может содержать «..».";
    }
    void namesThatAreNoFileNamesAreRefused() {
        QFETCH(QString, name);
        QFETCH(QString, why);
        recorder.station = QStringLiteral("Радио");
        answerPrompt(Answer::Ok, name);
        QTest::mouseClick(main->sSpeedButton10, Qt::LeftButton);
        QVERIFY(recorder.started.isEmpty());
        QCOMPARE(messages.shown, QStringList{why});
        QVERIFY(mainShowsRecord());
        // The next prompt shows what was typed, not a new suggestion.
        answerPrompt(Answer::Cancel);
        QTest::mouseClick(main->sSpeedButton10, Qt::LeftButton);
        QCOMPARE(Control<QLineEdit>(*prompt, "sEdit1")->text(), name);
    }

    void aFailedEncoderBringsBackTheRecordButton() {
        answerPrompt(Answer::Ok);
        QTest::mouseClick(main->sSpeedButton10, Qt::LeftButton);
        QVERIFY(mainShowsStop());
        recording->recordingFailed(QStringLiteral("Could not create \"MyRecord.mp3\"."));
        QVERIFY(mainShowsRecord());
        QCOMPARE(messages.shown.size(), 1);
        QVERIFY(messages.shown.first().contains(QStringLiteral("Could not create \"MyRecord.mp3\".")));
        QVERIFY(messages.shown.first().startsWith(QStringLiteral("Запись остановлена")));
    }

    void miniMirrorsTheMainStripWhenOpened() {
        answerPrompt(Answer::Ok);
        QTest::mouseClick(main->sSpeedButton10, Qt::LeftButton);
        main->sScrollBar1->setValue(40);
        volumes.clear();

        mini->OpenMiniRadio();
        QVERIFY(mini->isVisible());
        QVERIFY(!main->isVisible());
        QVERIFY(miniShowsStop());
        QCOMPARE(Control<QScrollBar>(*mini, "sScrollBar1")->value(), 40);
        QVERIFY(volumes.isEmpty()); // mirroring the bar does not touch the volume
    }

    void miniBarDrivesTheVolumeAtOnce() {
        mini->OpenMiniRadio();
        Control<QScrollBar>(*mini, "sScrollBar1")->setValue(37);
        QCOMPARE(main->sScrollBar1->value(), 37);
        QCOMPARE(volumes, QList<float>{0.37f});
    }

    void miniRecordFollowsTheMainPair_data() {
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("refusal");
        QTest::addColumn<bool>("recording");
        QTest::newRow("confirmed") << int(Answer::Ok) << QString() << true;
        QTest::newRow("cancelled") << int(Answer::Cancel) << QString() << false;
        QTest::newRow("refused") << int(Answer::Ok) << QStringLiteral("lame not found") << false;
    }
    void miniRecordFollowsTheMainPair() {
        QFETCH(int, answer);
        QFETCH(QString, refusal);
        QFETCH(bool, recording);
        recorder.refusal = refusal;
        mini->OpenMiniRadio();
        answerPrompt(Answer(answer));
        QTest::mouseClick(Control<QToolButton>(*mini, "sSpeedButton1"), Qt::LeftButton);
        QVERIFY(!main->isVisible()); // the prompt came up with the main window still away
        QCOMPARE(miniShowsStop(), recording);
        QCOMPARE(miniShowsRecord(), !recording);
        QCOMPARE(mainShowsStop(), recording);

        if (recording) {
            QTest::mouseClick(Control<QToolButton>(*mini, "sSpeedButton2"), Qt::LeftButton);
            QCOMPARE(recorder.stops, 1);
            QVERIFY(miniShowsRecord());
            QVERIFY(mainShowsRecord());
        }
    }

    // In mini mode the main window is hidden, so the prompt is the only quit-on-close window on
    // screen: answering it must not end the program.
    void answeringThePromptInMiniModeKeepsTheProgramRunning() {
        constexpr int kStillRunning = 42;
        QTimer::singleShot(0, this, [this] {
            mini->OpenMiniRadio();
            answerPrompt(Answer::Ok);
            QTest::mouseClick(Control<QToolButton>(*mini, "sSpeedButton1"), Qt::LeftButton);
            QTimer::singleShot(100, [] { QCoreApplication::exit(kStillRunning); });
        });
        QCOMPARE(QApplication::exec(), kStillRunning);
        QVERIFY(miniShowsStop());
    }

    void miniRadioOffLeavesTheButtons() {
        answerPrompt(Answer::Ok);
        QTest::mouseClick(main->sSpeedButton10, Qt::LeftButton);
        mini->OpenMiniRadio();
        QTest::mouseClick(Control<QToolButton>(*mini, "sSpeedButton3"), Qt::LeftButton);
        QCOMPARE(radioOffs, 1);
        QVERIFY(miniShowsStop());
        QVERIFY(mainShowsStop());
        QCOMPARE(recorder.stops, 0);
    }

    void returnHandsBackToTheMainWindow() {
        answerPrompt(Answer::Ok);
        QTest::mouseClick(main->sSpeedButton10, Qt::LeftButton);
        mini->OpenMiniRadio();
        Control<QScrollBar>(*mini, "sScrollBar1")->setValue(25);
        const int showsBefore = main->shows;

        QTest::mouseClick(Control<QToolButton>(*mini, "sSpeedButton4"), Qt::LeftButton);
        QVERIFY(!mini->isVisible());
        QVERIFY(main->isVisible());
        QCOMPARE(main->shows, showsBefore + 1); // the main window's show handler ran again
        QVERIFY(main->strip->isHidden());
        QCOMPARE(main->sScrollBar1->value(), 25);
        QVERIFY(mainShowsStop());    // the pair was copied back before the strip went away
        QCOMPARE(recorder.stops, 0); // the recording goes on
    }

    void promptLayout() {
        QCOMPARE(prompt->size(), QSize(230, 109));
        QCOMPARE(Control<QLineEdit>(*prompt, "sEdit1")->text(), QStringLiteral("MyRecord"));
        QVERIFY(Control<QPushButton>(*prompt, "sBitBtn1")->isDefault());
        QCOMPARE(prompt->windowFlags() & Qt::WindowCloseButtonHint, Qt::WindowFlags());
    }
};

QTEST_MAIN(TestRadioRecording)
#include "test_radio_recording.moc"
