#include "app/ui/RadioDesktop.h"
#include "app/ui/TForm1.h"
#include "common/FakeAudioEngine.h"
#include "common/TestFakes.h"
#include "radio/RadioPlayer.h"
#include "radio/ui/TRadioForm.h"
#include "settings/SettingsFile.h"

#include <QLabel>
#include <QTemporaryDir>
#include <QTest>

namespace {
} // namespace

// The radio's status line as a screen reader meets it: its name follows every song and every change
// of state with the whole text, not the cut one on the screen. (The offscreen platform has no
// accessibility bridge, so the NameChanged events themselves are not seen here.)
class TestRadioStatusAccess : public QObject {
    Q_OBJECT
private slots:
    void everySongAndStateIsAnnounced() {
        QTemporaryDir dir;
        SettingsFile settings(dir.filePath(QStringLiteral("Setting.ini")));
        auto log = std::make_shared<FakeAudioLog>();
        RadioPlayer radio(std::make_unique<FakeAudioEngine>(log));
        FakeMessages messages;
        FakeShell shell;
        TForm1::Services services;
        services.radio = &radio;
        services.messages = &messages;
        services.shell = &shell;
        TForm1 main(services);
        TRadioForm mini(main.radioStrip());
        QWidget settingsWindow;
        RadioDesktop desktop(main, mini, settingsWindow, settings, radio, {});
        QLabel* line = desktop.statusLine();

        QVERIFY(radio.StartAudio());
        radio.PlayStream("http://127.0.0.1:9/station");
        QVERIFY(log->current());
        log->current()->start();
        const QString longTitle =
            QStringLiteral("Очень длинное название песни, которое не помещается в строку, № %1");
        for (int i = 1; i <= 20; ++i) {
            emit log->current()->titleBytes(longTitle.arg(i).toUtf8());
            QTRY_VERIFY(line->accessibleName().contains(longTitle.arg(i)));
        }
        log->current()->fail(AudioStream::Failure::Unreachable);
        QTRY_VERIFY(line->accessibleName().contains(QStringLiteral("Переподключение")));
        // The screen cuts the song short; the name keeps all of it.
        QVERIFY(line->text().contains(QChar(0x2026)));
        QVERIFY(line->accessibleName().contains(longTitle.arg(20)));
    }
};

QTEST_MAIN(TestRadioStatusAccess)
#include "test_radio_status_access.moc"
