#include "WebTestSupport.h"
#include "platform/ui/BrowserView.h"
#include "platform/ui/ChromiumView.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QWebEngineView>

#include <stdexcept>

namespace {
constexpr int LoadWaitMs = 30000;

// Waits for the load that lands on the wanted page; superseded loads may finish (or fail) first.
template <class View> bool WaitForPage(View& view, const QString& title) {
    QSignalSpy spy(&view, &View::loadFinished);
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < LoadWaitMs) {
        if (view.engine() && view.engine()->title() == title && !spy.isEmpty() && spy.last().at(0).toBool())
            return true;
        spy.wait(200);
    }
    return false;
}
} // namespace

class TestWebViews : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;
    QString pageA_, pageB_, form_;

private slots:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        pageA_ = WriteFixture(dir_, QStringLiteral("a.htm"), QStringLiteral("A"));
        pageB_ = WriteFixture(dir_, QStringLiteral("b.htm"), QStringLiteral("B"));
        form_ = WriteFixture(dir_, QStringLiteral("form.htm"), QStringLiteral("Form"),
                             QStringLiteral("<form><input name=\"login\" value=\"x\"></form>"));
    }

    void chromiumViewLoadsLocalPathAndFillsItself() {
        ChromiumView view;
        view.resize(400, 300);
        view.show();
        QCOMPARE(view.lastRequested(), QStringLiteral("about:blank"));
        QVERIFY(!view.engine());

        QSignalSpy finished(&view, &ChromiumView::loadFinished);
        QElapsedTimer t;
        t.start();
        view.load(pageA_);
        QVERIFY(finished.wait(LoadWaitMs));
        qInfo("first load to loadFinished: %lld ms", static_cast<long long>(t.elapsed()));
        QCOMPARE(finished.first().at(0).toBool(), true);
        QVERIFY(view.engine());
        QCOMPARE(view.engine()->url().scheme(), QStringLiteral("file"));
        QVERIFY(view.engine()->url().path().endsWith(QStringLiteral("/channel/public/a.htm")));
        QCOMPARE(view.engine()->title(), QStringLiteral("A"));
        QCOMPARE(view.engine()->geometry(), view.rect());

        view.resize(500, 350);
        QCOMPARE(view.engine()->geometry(), view.rect());

        // A blank request on a live browser does replace the page.
        finished.clear();
        view.load(QStringLiteral("about:blank"));
        QVERIFY(finished.wait(LoadWaitMs));
        QCOMPARE(view.engine()->url(), QUrl(QStringLiteral("about:blank")));
    }

    void lastRequestWinsWhenVisible() {
        ChromiumView view;
        view.resize(300, 200);
        view.show();
        view.load(pageA_);
        view.load(pageB_);
        QVERIFY(WaitForPage(view, QStringLiteral("B")));
        QCOMPARE(view.lastRequested(), pageB_);
    }

    void hiddenViewKeepsOnlyTheLastRequestUntilShown() {
        ChromiumView view;
        view.resize(300, 200);
        QSignalSpy finished(&view, &ChromiumView::loadFinished);
        view.load(pageA_);
        view.load(pageB_);
        QVERIFY(!view.engine());
        QCOMPARE(view.lastRequested(), pageB_);

        view.show();
        QVERIFY(!view.engine()); // the browser starts only after the window's first paint
        QTRY_VERIFY_WITH_TIMEOUT(view.engine(), LoadWaitMs);
        // The page may already have finished while the browser was awaited.
        QTRY_VERIFY_WITH_TIMEOUT(!finished.isEmpty(), LoadWaitMs);
        QCOMPARE(view.engine()->title(), QStringLiteral("B"));
        QCOMPARE(finished.size(), 1); // page A was never started
    }

    void existingBrowserTakesRequestsWhileHidden() {
        // The main window went away (e.g. to the tray) while its page played: a new page or a blank
        // must replace it now, not when the window comes back.
        ChromiumView view;
        view.setKeepBrowserWhileHidden(true);
        view.resize(300, 200);
        view.show();
        QSignalSpy finished(&view, &ChromiumView::loadFinished);
        view.load(pageA_);
        QVERIFY(finished.wait(LoadWaitMs));
        view.hide();
        finished.clear();
        view.load(QStringLiteral("about:blank"));
        QVERIFY(finished.wait(LoadWaitMs));
        QCOMPARE(view.engine()->url(), QUrl(QStringLiteral("about:blank")));
        view.load(pageB_);
        QVERIFY(WaitForPage(view, QStringLiteral("B")));
    }

    void blankRequestCreatesNoBrowser() {
        ChromiumView chromium;
        BrowserView browser;
        chromium.show();
        browser.show();
        chromium.load(QStringLiteral("about:blank"));
        browser.navigate(QStringLiteral("about:blank"));
        QVERIFY(!chromium.engine());
        QVERIFY(!browser.engine());
        QVERIFY(!browser.hasDocument());
    }

    void browserViewNavigatesWhenShown() {
        BrowserView view;
        view.resize(300, 200);
        QSignalSpy finished(&view, &BrowserView::loadFinished);
        view.navigate(pageA_);
        QVERIFY(!view.engine());
        view.show();
        QVERIFY(finished.wait(LoadWaitMs));
        QVERIFY(view.hasDocument());
        QCOMPARE(view.engine()->title(), QStringLiteral("A"));
    }

    void navigateRejectsAnInvalidAddress() {
        BrowserView view;
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, view.navigate(QStringLiteral("http://[broken")));
        QCOMPARE(view.lastRequested(), QString());
    }

    void runScriptNeedsADocument() {
        BrowserView never;
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, never.runScript(QStringLiteral("return 1;")));

        // Asked for a page, but hidden: nothing has loaded, so there is still no document.
        BrowserView hidden;
        hidden.navigate(form_);
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, hidden.runScript(QStringLiteral("return 1;")));
    }

    void runScriptReturnsValuesAndReportsErrors() {
        BrowserView view;
        view.show();
        QSignalSpy finished(&view, &BrowserView::loadFinished);
        view.navigate(form_);
        QVERIFY(finished.wait(LoadWaitMs));

        QCOMPARE(view.runScript(QStringLiteral("return document.forms[0].login.value;")).toString(),
                 QStringLiteral("x"));
        QCOMPARE(view.runScript(QStringLiteral("return 6 * 7;")).toInt(), 42);
        const QVariantMap map = view.runScript(QStringLiteral("return {a: [1, 'b'], c: true};")).toMap();
        QCOMPARE(map.value(QStringLiteral("a")).toList().size(), 2);
        QCOMPARE(map.value(QStringLiteral("c")).toBool(), true);
        QVERIFY(!view.runScript(QStringLiteral("let unused = 1;")).isValid());

        try {
            view.runScript(QStringLiteral("throw new Error('boom');"));
            QFAIL("a throwing script must raise");
        } catch (const std::runtime_error& e) {
            QVERIFY2(QString::fromUtf8(e.what()).contains(QStringLiteral("boom")), e.what());
        }
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, view.runScript(QStringLiteral("return missing.name;")));
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, view.runScript(QStringLiteral("return (;")));
    }

    void runScriptGivesUpAfterItsBoundAndStaysUsable() {
        BrowserView view;
        view.show();
        QSignalSpy finished(&view, &BrowserView::loadFinished);
        view.navigate(pageA_);
        QVERIFY(finished.wait(LoadWaitMs));

        // The page is busy far longer than the bound; the late answer must not leak into the next call.
        QVERIFY_THROWS_EXCEPTION(
            std::runtime_error,
            view.runScript(
                QStringLiteral("const t = Date.now(); while (Date.now() - t < 3000) {} return 'late';"),
                100));
        QCOMPARE(view.runScript(QStringLiteral("return 'next';"), 20000).toString(), QStringLiteral("next"));
    }
};

ZELMO_WEB_TEST_MAIN(TestWebViews)
#include "test_web_views.moc"
