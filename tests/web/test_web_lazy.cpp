// Hidden views must not cost a browser: no WebEngine process may start until a view that is
// visible is asked for a page. Runs in its own executable, since helper processes outlive views.
#include "WebTestSupport.h"
#include "platform/ui/BrowserView.h"
#include "platform/ui/ChromiumView.h"

#include <QPointer>
#include <QSignalSpy>
#include <QWebEngineView>
#include <QWindow>

class TestWebLazy : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;

private slots:
    void hiddenOrBlankViewsStartNoProcess() {
        const QString page = WriteFixture(dir_, QStringLiteral("p.htm"), QStringLiteral("P"));
        QCOMPARE(CountEngineProcesses(), 0);

        ChromiumView hiddenChromium;
        BrowserView hiddenBrowser;
        hiddenChromium.load(page);
        hiddenBrowser.navigate(page);

        ChromiumView shownBlank;
        shownBlank.show();
        shownBlank.load(QStringLiteral("about:blank"));

        QTest::qWait(500); // give a wrongly started process time to appear
        QCOMPARE(CountEngineProcesses(), 0);
        QVERIFY(!hiddenChromium.engine() && !hiddenBrowser.engine() && !shownBlank.engine());

        QSignalSpy finished(&shownBlank, &ChromiumView::loadFinished);
        shownBlank.load(page);
        QVERIFY(finished.wait(30000));
        const int processes = CountEngineProcesses();
        qInfo("WebEngine processes after one visible load: %d", processes);
        QVERIFY(processes > 0);
    }

    void closedWindowGivesItsBrowserBackAndGetsANewOne() {
        const QString page = WriteFixture(dir_, QStringLiteral("q.htm"), QStringLiteral("Q"));
        QWidget secondary;
        secondary.resize(300, 200);
        auto* view = new BrowserView(&secondary);
        view->resize(300, 200);
        QSignalSpy loaded(view, &BrowserView::loadFinished);
        secondary.show();
        view->navigate(page);
        QVERIFY(loaded.wait(30000));
        const int processesOpen = CountEngineProcesses();

        // Closed, the window gives its browser back, and the page's renderer process ends; then its
        // native window, which holds the window's drawing resources.
        secondary.close();
        QTRY_VERIFY_WITH_TIMEOUT(!view->engine(), 10000);
        QVERIFY(!view->hasDocument());
        QTRY_VERIFY_WITH_TIMEOUT(!secondary.windowHandle(), 10000);
        QTRY_VERIFY_WITH_TIMEOUT(CountEngineProcesses() < processesOpen, 30000);

        // Shown again, a new browser shows the same page in the window as shown, not a re-created one.
        loaded.clear();
        secondary.show();
        const QPointer<QWindow> shown = secondary.windowHandle();
        QVERIFY(shown);
        QVERIFY(loaded.wait(30000));
        QVERIFY(view->engine());
        QCOMPARE(secondary.windowHandle(), shown.data());
        QCOMPARE(view->runScript(QStringLiteral("return document.title;")).toString(), QStringLiteral("Q"));
    }

    void mainViewKeepsItsBrowserWhileHidden() {
        const QString page = WriteFixture(dir_, QStringLiteral("r.htm"), QStringLiteral("R"));
        QWidget mainWindow;
        mainWindow.resize(300, 200);
        auto* view = new ChromiumView(&mainWindow);
        view->resize(300, 200);
        view->setKeepBrowserWhileHidden(true);
        QSignalSpy loaded(view, &ChromiumView::loadFinished);
        mainWindow.show();
        view->load(page);
        QVERIFY(loaded.wait(30000));
        mainWindow.hide();
        QTest::qWait(500); // a wrongly released browser would be gone by now
        QVERIFY(view->engine());
    }
};

ZELMO_WEB_TEST_MAIN(TestWebLazy)
#include "test_web_lazy.moc"
