// Hidden views must not cost a browser: no WebEngine process may start until a view that is
// visible is asked for a page. Runs in its own executable, since helper processes outlive views.
#include "WebTestSupport.h"
#include "platform/ui/BrowserView.h"
#include "platform/ui/ChromiumView.h"

#include <QSignalSpy>
#include <QWebEngineView>

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
};

ZELMO_WEB_TEST_MAIN(TestWebLazy)
#include "test_web_lazy.moc"
