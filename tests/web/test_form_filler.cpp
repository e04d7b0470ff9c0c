#include "WebTestSupport.h"
#include "common/Control.h"
#include "platform/WebView.h"
#include "platform/ui/BrowserView.h"
#include "web/ui/FormFiller.h"
#include "web/ui/TBrowser2Form.h"

#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>

#include <stdexcept>

namespace {
struct NullView : WebView {
    void load(const QString&) override {}
};

// Pages log clicks and submissions into window.__log and never navigate away.
const QString LogScript = QStringLiteral("<script>window.__log = [];</script>");

QString Submit(const QString& form) {
    return QStringLiteral("onsubmit=\"__log.push('submit:%1'); return false\"").arg(form);
}
QString Button(const QString& id, const QString& extra = {}) {
    return QStringLiteral("<button id=\"%1\" %2 onclick=\"__log.push('click:%1')\">go</button>")
        .arg(id, extra);
}

// name=value of every input and textarea, in document order.
QStringList Fields(BrowserView& view) {
    return view
        .runScript(QStringLiteral("return Array.from(document.querySelectorAll('input, textarea'))"
                                  ".map(e => e.getAttribute('name') + '=' + e.value);"))
        .toStringList();
}
QStringList Log(BrowserView& view) {
    return view.runScript(QStringLiteral("return window.__log;")).toStringList();
}
} // namespace

class TestFormFiller : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;
    int pages_ = 0;

    // Loads a page with this body into view (which must be visible) and waits for it.
    bool Show(BrowserView& view, const QString& body) {
        const QString path = WriteFixture(dir_, QStringLiteral("p%1.htm").arg(++pages_),
                                          QStringLiteral("fixture"), LogScript + body);
        QSignalSpy finished(&view, &BrowserView::loadFinished);
        view.navigate(path);
        return finished.wait(30000) && finished.last().at(0).toBool();
    }

private slots:
    void fillsEveryExactlyNamedField_data() {
        QTest::addColumn<QString>("body");
        QTest::addColumn<bool>("filled");
        QTest::addColumn<QStringList>("fields");
        QTest::newRow("one form, case matters")
            << "<form><input name=login><input name=Login><input name=pass></form>" << true
            << QStringList{"login=T", "Login=", "pass="};
        // Field names that shadow the document's and the form's own properties must not confuse the scan.
        QTest::newRow("two forms, shadowing names")
            << "<form name=forms><input name=length><input name=login></form>"
               "<form><input name=elements><textarea name=login></textarea></form>"
            << true << QStringList{"length=", "login=T", "elements=", "login=T"};
        QTest::newRow("field outside any form") << "<input name=login>" << false << QStringList{"login="};
        QTest::newRow("no such field") << "<form><input name=user></form>" << false << QStringList{"user="};
        // A field that cannot be read ends the scan quietly; what was filled stays filled.
        QTest::newRow("failing field stops the scan")
            << "<form><input name=login><input id=bad name=x><input name=login></form>"
               "<script>Object.defineProperty(document.getElementById('bad'), 'name',"
               " {get() { throw new Error('unreadable'); }});</script>"
            << true << QStringList{"login=T", "x=", "login="};
    }
    void fillsEveryExactlyNamedField() {
        QFETCH(QString, body);
        QFETCH(bool, filled);
        QFETCH(QStringList, fields);
        BrowserView view;
        view.show();
        QVERIFY(Show(view, body));
        QCOMPARE(FillFormField(view, QStringLiteral("login"), QStringLiteral("T")), filled);
        QCOMPARE(Fields(view), fields);
    }

    void textReachesThePageUnchanged() {
        BrowserView view;
        view.show();
        QVERIFY(Show(view, QStringLiteral("<form><input name=login></form>")));
        const QString text =
            QStringLiteral("a\"b'c\\d`${x}</script>\u2028\u041f\u0430\u0440\u043e\u043b\u044c");
        QVERIFY(FillFormField(view, QStringLiteral("login"), text));
        QCOMPARE(view.runScript(QStringLiteral("return document.forms[0].login.value;")).toString(), text);
        // A name with quotes is only a name to match, never code.
        QVERIFY(!FillFormField(view, QStringLiteral("x'];throw 1;//"), text));
    }

    void clicksEverySubmitInDocumentOrder() {
        BrowserView view;
        view.show();
        QVERIFY(Show(
            view,
            QStringLiteral("<form id=A %1><input type=submit id=a1 onclick=\"__log.push('click:a1')\">"
                           "%2%3</form><form id=B %4>%5</form>")
                .arg(Submit("A"), Button("a2"), Button("plain", "type=button"), Submit("B"), Button("b1"))));
        QCOMPARE(ClickSubmitButtons(view), 3);
        // The type=button element is no submit and stays unclicked.
        QCOMPARE(Log(view),
                 (QStringList{"click:a1", "submit:A", "click:a2", "submit:A", "click:b1", "submit:B"}));
    }

    void submitStepErrorsPropagate() {
        BrowserView view;
        view.show();
        QVERIFY(
            Show(view, QStringLiteral("<form><input id=bad></form>"
                                      "<script>Object.defineProperty(document.getElementById('bad'), 'type',"
                                      " {get() { throw new Error('no type'); }});</script>")));
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, ClickSubmitButtons(view));
        QVERIFY(Show(view, QStringLiteral("<p>no forms</p>")));
        QCOMPARE(ClickSubmitButtons(view), 0);
    }

    void noDocumentThrows() {
        BrowserView view; // never asked for a page
        QVERIFY_THROWS_EXCEPTION(std::runtime_error,
                                 FillFormField(view, QStringLiteral("login"), QStringLiteral("x")));
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, ClickSubmitButtons(view));

        NullView mainView;
        TBrowser2Form form(mainView, nullptr);
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, form.sBitBtn1Click());
    }

    void logInButtonFillsAndSubmits() {
        NullView mainView;
        TBrowser2Form form(mainView, nullptr);
        form.showWindow();
        QSignalSpy finished(Control<BrowserView>(form, "SeeTVWebBrowser"), &BrowserView::loadFinished);
        const QString page = WriteFixture(
            dir_, QStringLiteral("login.htm"), QStringLiteral("login"),
            LogScript + QStringLiteral("<form id=F %1><input name=login><input name=pass type=password>"
                                       "%2</form>")
                            .arg(Submit("F"), Button("go")));
        form.openPage(page);
        QVERIFY(finished.wait(30000));

        QTest::mouseClick(Control<QLineEdit>(form, "sEdit2"), Qt::LeftButton);
        QTest::keyClicks(Control<QLineEdit>(form, "sEdit2"), QStringLiteral("s3cret"));
        QTest::mouseClick(Control<QPushButton>(form, "sBitBtn1"), Qt::LeftButton);
        QCOMPARE(Fields(*Control<BrowserView>(form, "SeeTVWebBrowser")),
                 (QStringList{"login=Zelmo", "pass=s3cret"}));
        QCOMPARE(Log(*Control<BrowserView>(form, "SeeTVWebBrowser")), (QStringList{"click:go", "submit:F"}));
    }
};

ZELMO_WEB_TEST_MAIN(TestFormFiller)
#include "test_form_filler.moc"
