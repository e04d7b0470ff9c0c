#include "common/MainWindowControls.h"
#include "common/TestFakes.h"

#include "app/ui/Startup.h"
#include "app/ui/TForm1.h"
#include "platform/AppDir.h"
#include "radio/ui/TRadioForm.h"

#include <QTest>
#include <QToolButton>

// A later start of the program asks the running one for its window: the main window comes back
// from wherever it went (mini radio mode, the tray, minimised).
class TestBringToFront : public QObject {
    Q_OBJECT
private slots:
    void mainWindowComesBack() {
        SetAppDirForTesting(qEnvironmentVariable("ZELMO_TEST_APPDIR") + QLatin1Char('/'));
        FakeMessages sink;
        Program program(Program::Options{&sink});
        program.show();
        TForm1& main = *program.windows().Form1;
        TRadioForm& mini = *program.windows().RadioForm;
        QVERIFY(QTest::qWaitForWindowExposed(&main));

        MainWindowControls(main).sSpeedButton13->click(); // into mini radio mode
        QTRY_VERIFY(mini.isVisible());
        QTRY_VERIFY(!main.isVisible());
        program.bringToFront();
        QTRY_VERIFY(main.isVisible());
        QVERIFY(!mini.isVisible());

        main.hide(); // as minimising into the tray does
        program.bringToFront();
        QTRY_VERIFY(main.isVisible());

        main.showMinimized();
        QTRY_VERIFY(main.isMinimized());
        program.bringToFront();
        QTRY_VERIFY(!main.isMinimized());
        QVERIFY(main.isVisible());
    }
};

QTEST_MAIN(TestBringToFront)
#include "test_bring_to_front.moc"
