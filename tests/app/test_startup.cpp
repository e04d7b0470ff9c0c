#include "common/TestFakes.h"

#include "app/ui/Startup.h"
#include "app/ui/TDonationForm.h"
#include "app/ui/TForm1.h"
#include "closed/ui/TForm2.h"
#include "favorites/ui/TFavoriteForm.h"
#include "platform/AppDir.h"
#include "platform/ui/ButtonCaption.h"
#include "radio/ui/TMyRadioForm.h"
#include "radio/ui/TRadioForm.h"
#include "radio/ui/TRadioSaveForm.h"
#include "settings/SettingsFile.h"
#include "settings/ui/TSettingForm.h"
#include "web/ui/TBrowser2Form.h"
#include "web/ui/TKorbinaForm.h"
#include "web/ui/TOvegoPlayerForm.h"
#include "web/ui/TTVprogrammForm.h"

#include <QFrame>
#include <QPushButton>
#include <QTest>

#include <algorithm>
#include <stdexcept>

class TestStartup : public QObject {
    Q_OBJECT
private slots:
    // An error escaping a handler is shown with its own text, and the program goes on.
    void escapedErrorsAreShownAndTheProgramGoesOn() {
        QStringList shown;
        SetGeneralErrorPresenter([&](const QString& m) { shown << m; });
        QPushButton button;
        int clicks = 0;
        connect(&button, &QPushButton::clicked, [&] {
            if (++clicks == 1)
                throw SettingsWriteError("Unable to write to /read-only/Setting.ini");
            throw 42; // not a std::exception
        });
        QTest::mouseClick(&button, Qt::LeftButton);
        QTest::mouseClick(&button, Qt::LeftButton);
        QCOMPARE(clicks, 2);
        QCOMPARE(shown, (QStringList{"Unable to write to /read-only/Setting.ini", "Unknown error"}));
        SetGeneralErrorPresenter({});
    }

    void windowsAreCreatedOnceAndDestroyedInReverseOrder() {
        SetAppDirForTesting(qEnvironmentVariable("ZELMO_TEST_APPDIR") + QLatin1Char('/'));
        FakeMessages sink;
        QStringList destroyed;
        QStringList creationOrder;
        {
            Program program(Program::Options{&sink});
            const AppWindows& w = Windows();
            QVERIFY(w.Form1);
            QVERIFY(Services().Dispatcher);
            QVERIFY(Services().Radio);
            QList<QWidget*> windows;
            QStringList names;
            for (QWidget* t : QApplication::topLevelWidgets())
                if (!t->parentWidget()) {
                    windows << t;
                    names << t->objectName();
                }
            for (QWidget* t : windows) {
                QVERIFY2(t->isHidden(), qPrintable(t->objectName()));
                const QString name = t->objectName();
                connect(t, &QObject::destroyed, [&destroyed, name] { destroyed << name; });
            }
            QStringList expected;
            for (QWidget* window :
                 {static_cast<QWidget*>(w.Form1), static_cast<QWidget*>(w.SettingForm),
                  static_cast<QWidget*>(w.DonationForm), static_cast<QWidget*>(w.FavoriteForm),
                  static_cast<QWidget*>(w.TVprogrammForm), static_cast<QWidget*>(w.Form2),
                  static_cast<QWidget*>(w.Browser2Form), static_cast<QWidget*>(w.KorbinaForm),
                  static_cast<QWidget*>(w.RadioSaveForm), static_cast<QWidget*>(w.RadioForm),
                  static_cast<QWidget*>(w.MyRadioForm), static_cast<QWidget*>(w.OvegoPlayerForm)}) {
                QVERIFY(window);
                expected << window->objectName();
            }
            creationOrder = expected;
            names.sort();
            expected.sort();
            QCOMPARE(names, expected);

            program.show();
            QVERIFY(w.Form1->isVisible());
            // The settings window has captioned the bar from the language pack, so the first
            // showing opens the public layout.
            QCOMPARE(w.Form1->slotCaption(1), QStringLiteral("ОРТ"));
            QVERIFY(!w.Form1->slotButton(30)->isHidden());
            QVERIFY(w.Form1->sPanel2->isHidden());

            // The hand-over reaches the dispatcher; the program's own start-up wiring is what runs.
            SetButtonCaption(w.Form1->StartTVButton, QStringLiteral("no such channel"));
            w.Form1->StartTVButton->click();
        }
        QVERIFY(!Windows().Form1);
        std::reverse(creationOrder.begin(), creationOrder.end());
        QCOMPARE(destroyed, creationOrder);
        QVERIFY(sink.shown.isEmpty());
    }
};

int main(int argc, char** argv) {
    PrepareEnvironment();
    ZelmoApplication app(argc, argv);
    TestStartup t;
    return QTest::qExec(&t, argc, argv);
}
#include "test_startup.moc"
