#include "common/MainWindowControls.h"
#include "common/TestFakes.h"

#include "app/ui/Startup.h"
#include "app/ui/TDonationForm.h"
#include "app/ui/TForm1.h"
#include "closed/ui/TForm2.h"
#include "favorites/ui/TFavoriteForm.h"
#include "navigation/CategoryBar.h"
#include "platform/AppDir.h"
#include "platform/ui/BrowserView.h"
#include "platform/ui/ButtonCaption.h"
#include "platform/ui/ChromiumView.h"
#include "platform/ui/FindControl.h"
#include "radio/ui/TMyRadioForm.h"
#include "radio/ui/TRadioForm.h"
#include "radio/ui/TRadioSaveForm.h"
#include "settings/LanguagePack.h"
#include "settings/SettingsFile.h"
#include "settings/ui/TSettingForm.h"
#include "web/ui/TBrowser2Form.h"
#include "web/ui/TKorbinaForm.h"
#include "web/ui/TOvegoPlayerForm.h"
#include "web/ui/TTVprogrammForm.h"

#include <QDialog>
#include <QFile>
#include <QFrame>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <stdexcept>

namespace {
// The window of that name, once it has been built.
QWidget* topLevel(const char* name) {
    for (QWidget* t : QApplication::topLevelWidgets())
        if (t->objectName() == QLatin1String(name))
            return t;
    return nullptr;
}
} // namespace

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
            const AppWindows& w = program.windows();
            QVERIFY(w.Form1);
            QVERIFY(program.services().Dispatcher);
            QVERIFY(program.services().Radio);
            QList<QWidget*> windows;
            QStringList names;
            for (QWidget* t : QApplication::topLevelWidgets())
                if (t->windowType() == Qt::Window || t->windowType() == Qt::Dialog) {
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
            QVERIFY(MainWindowControls(*w.Form1).sPanel2->isHidden());

            // The hand-over reaches the dispatcher; the program's own start-up wiring is what runs.
            SetButtonCaption(MainWindowControls(*w.Form1).StartTVButton, QStringLiteral("no such channel"));
            MainWindowControls(*w.Form1).StartTVButton->click();
        }
        std::reverse(creationOrder.begin(), creationOrder.end());
        QCOMPARE(destroyed, creationOrder);
        QVERIFY(sink.shown.isEmpty());
    }

    // Only the main window is built before its first paint. The rest follows on its own; a click
    // that comes before that still finds the window it opens.
    void theOtherWindowsFollowTheFirstPaintOrTheFirstClick() {
        SetAppDirForTesting(qEnvironmentVariable("ZELMO_TEST_APPDIR") + QLatin1Char('/'));
        FakeMessages sink;
        {
            Program program(Program::Options{&sink});
            program.show();
            QVERIFY(!topLevel("FavoriteForm"));
            QTRY_VERIFY_WITH_TIMEOUT(topLevel("FavoriteForm"), 30000);
        }
        {
            Program program(Program::Options{&sink});
            program.show();
            QWidget* main = topLevel("Form1");
            QVERIFY(main && !topLevel("FavoriteForm"));
            QTest::mouseClick(FindControl<QToolButton>(*main, QStringLiteral("sSpeedButton5")),
                              Qt::LeftButton);
            QWidget* favorites = topLevel("FavoriteForm");
            QVERIFY(favorites && favorites->isVisible());
        }
        QVERIFY(sink.shown.isEmpty());
    }

    // A channel handed over before the other windows exist starts its page at once; what it asks
    // of those windows is carried out, in order, once they are built.
    void aChannelBeforeTheOtherWindowsStartsItsPageAtOnce() {
        SetAppDirForTesting(qEnvironmentVariable("ZELMO_TEST_APPDIR") + QLatin1Char('/'));
        FakeMessages sink;
        {
            Program program(Program::Options{&sink});
            program.show();
            auto* main = static_cast<TForm1*>(topLevel("Form1"));
            QPushButton* handOver = MainWindowControls(*main).StartTVButton;
            for (const char* channel : {"ОРТ", "НТВ"}) {
                SetButtonCaption(handOver, QString::fromUtf8(channel));
                handOver->click(); // not an input event: nothing else builds the windows first
            }
            QVERIFY(!topLevel("TVprogrammForm"));
            // НТВ has no stream here: its page says so.
            QVERIFY2(main->mainView()->lastRequested().contains(QLatin1String("/IPTV/pages/nostream-")),
                     qPrintable(main->mainView()->lastRequested()));
            QFile page(main->mainView()->lastRequested());
            QVERIFY(page.open(QIODevice::ReadOnly) &&
                    QString::fromUtf8(page.readAll()).contains(QStringLiteral("«НТВ»")));
            QTRY_VERIFY_WITH_TIMEOUT(topLevel("TVprogrammForm"), 30000);
            const auto* guide =
                FindControl<BrowserView>(*topLevel("TVprogrammForm"), QStringLiteral("WebBrowser1"));
            QVERIFY2(guide->lastRequested().endsWith(QLatin1String("tv-program\\public\\ntv.htm")) ||
                         guide->lastRequested().endsWith(QLatin1String("tv-program/public/ntv.htm")),
                     qPrintable(guide->lastRequested()));
        }
        {
            // A partner window opens as soon as it exists.
            Program program(Program::Options{&sink});
            program.show();
            auto* main = static_cast<TForm1*>(topLevel("Form1"));
            SetButtonCaption(MainWindowControls(*main).StartTVButton, QStringLiteral("Первый Интернет"));
            MainWindowControls(*main).StartTVButton->click();
            QVERIFY(!topLevel("KorbinaForm"));
            QTRY_VERIFY_WITH_TIMEOUT(topLevel("KorbinaForm") && topLevel("KorbinaForm")->isVisible(), 30000);
        }
        QVERIFY(sink.shown.isEmpty());
    }

    // The main window comes up in the stored language and on top, though the settings window,
    // whose start-up load decides both, is built only after the first page.
    void theMainWindowShowsTheStoredChoicesFromTheStart() {
        const QString appDir = qEnvironmentVariable("ZELMO_TEST_APPDIR") + QLatin1Char('/');
        QTemporaryDir dir;
        const QString ini = dir.filePath(QStringLiteral("Setting.ini"));
        SettingsFile(ini).WriteString(QStringLiteral("Language"), QStringLiteral("useLanguage"),
                                      LanguagePack::FixedCaptions()[2]);
        SettingsFile(ini).WriteString(QStringLiteral("OnTop"), QStringLiteral("useOnTop"),
                                      QStringLiteral("1"));
        SetFileLocations(appDir, ini);
        const LanguagePack english(LanguagePack::PackPath(2));
        const CategoryButton& first = CategoryBar::Buttons().front();
        const QString caption = english.LangText(QLatin1String(CategoryBar::kLanguageSection),
                                                 QLatin1String(CategoryBar::StartKey(first)));
        QVERIFY(!caption.isEmpty() && caption != QLatin1String("0"));
        FakeMessages sink;
        {
            Program program(Program::Options{&sink});
            auto* main = static_cast<TForm1*>(topLevel("Form1"));
            const auto check = [&] {
                QVERIFY(main->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
                QCOMPARE(
                    ButtonCaption(FindControl<QPushButton>(*main, CategoryBar::ControlName(first.number))),
                    caption);
                QCOMPARE(FindControl<QToolButton>(*main, QStringLiteral("sSpeedButton1"))->toolTip(),
                         english.LangText(QStringLiteral("Hint"), QStringLiteral("Settings")));
            };
            QVERIFY(!topLevel("SettingForm"));
            check();
            program.show();
            QTRY_VERIFY_WITH_TIMEOUT(topLevel("SettingForm"), 30000);
            check();
            QVERIFY(main->windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
        }
        SetAppDirForTesting(appDir);
        QVERIFY(sink.shown.isEmpty());
    }

    // Only the main window's close ends the program. With the main window hidden (behind the mini
    // radio, or in the tray) every other window is opened and closed, by its close box and, for
    // dialogs, by Escape: the program goes on. The steps run inside the application's own event
    // loop, where an automatic quit would take effect; each step is queued behind whatever the
    // previous one queued, so a quit it caused ends the loop before the next step.
    void onlyTheMainWindowsCloseEndsTheProgram() {
        SetAppDirForTesting(qEnvironmentVariable("ZELMO_TEST_APPDIR") + QLatin1Char('/'));
        FakeMessages sink;
        Program program(Program::Options{&sink});
        const AppWindows& w = program.windows();
        program.show();

        const QList<QWidget*> others{w.SettingForm, w.DonationForm,   w.FavoriteForm, w.TVprogrammForm,
                                     w.Form2,       w.Browser2Form,   w.KorbinaForm,  w.RadioSaveForm,
                                     w.MyRadioForm, w.OvegoPlayerForm};
        QList<std::function<void()>> steps;
        const auto openAndCloseEach = [&](const QList<QWidget*>& windows) {
            for (QWidget* window : windows) {
                steps << [window] { window->show(); } << [window] { window->close(); };
                if (qobject_cast<QDialog*>(window))
                    steps << [window] { window->show(); } << [window] {
                        QTest::keyClick(window, Qt::Key_Escape);
                        window->close(); // a window that ignores Escape
                    };
            }
        };
        steps << [&] { w.RadioForm->OpenMiniRadio(); } << [&] { QVERIFY(w.Form1->isHidden()); };
        openAndCloseEach(others);
        steps << [&] { w.RadioForm->close(); } << [&] { QVERIFY(w.Form1->isVisible()); };
        steps << [&] { w.Form1->hide(); }; // minimised to the tray
        openAndCloseEach(others);
        bool allStepsRan = false;
        steps << [&] {
            allStepsRan = true;
            w.Form1->show();
        } << [&] { w.Form1->close(); };

        int next = 0;
        std::function<void()> runNext = [&] {
            if (next < steps.size()) {
                steps[next++]();
                QMetaObject::invokeMethod(qApp, runNext, Qt::QueuedConnection);
            }
        };
        QMetaObject::invokeMethod(qApp, runNext, Qt::QueuedConnection);
        QTimer guard;
        guard.setSingleShot(true);
        connect(&guard, &QTimer::timeout, qApp, [] { QCoreApplication::exit(2); });
        guard.start(120000);
        const int rc = QCoreApplication::exec();
        QVERIFY2(
            allStepsRan,
            qPrintable(QStringLiteral("the program ended after step %1 of %2").arg(next).arg(steps.size())));
        QCOMPARE(rc, 0);
        QCOMPARE(next, steps.size());
    }
};

int main(int argc, char** argv) {
    PrepareEnvironment();
    ZelmoApplication app(argc, argv);
    TestStartup t;
    return QTest::qExec(&t, argc, argv);
}
#include "test_startup.moc"
