#include "WebTestSupport.h"
#include "common/Control.h"
#include "navigation/SiteUrls.h"
#include "platform/WebView.h"
#include "platform/ui/BrowserView.h"
#include "platform/ui/ChromiumView.h"
#include "web/ui/TBrowser2Form.h"
#include "web/ui/TKorbinaForm.h"
#include "web/ui/TOvegoPlayerForm.h"
#include "web/ui/TTVprogrammForm.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QWebEngineView>

#include <memory>

namespace {
struct RecordingView : WebView {
    QStringList loads;
    void load(const QString& urlOrPath) override { loads << urlOrPath; }
};

// The partner window under test with its own view's last request, whichever kind of view it has.
struct Partner {
    std::unique_ptr<PartnerForm> form;
    std::function<QString()> viewRequest;
};

Partner MakePartner(const QString& kind, WebView& mainView, QWidget* mainWindow) {
    if (kind == QLatin1String("Korbina")) {
        auto* f = new TKorbinaForm(mainView, mainWindow);
        return {std::unique_ptr<PartnerForm>(f),
                [f] { return Control<ChromiumView>(*f, "Chromium1")->lastRequested(); }};
    }
    if (kind == QLatin1String("Ovego")) {
        auto* f = new TOvegoPlayerForm(mainView, mainWindow);
        return {std::unique_ptr<PartnerForm>(f),
                [f] { return Control<ChromiumView>(*f, "Chromium1")->lastRequested(); }};
    }
    auto* f = new TBrowser2Form(mainView, mainWindow);
    return {std::unique_ptr<PartnerForm>(f),
            [f] { return Control<BrowserView>(*f, "SeeTVWebBrowser")->lastRequested(); }};
}
} // namespace

class TestWebWindows : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;
    QString page_;
    QWidget mainWindow_;

private slots:
    void initTestCase() {
        page_ = WriteFixture(dir_, QStringLiteral("partner.htm"), QStringLiteral("Partner"));
        mainWindow_.setGeometry(60, 40, 807, 543);
        mainWindow_.show();
    }

    void layout_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("windowName");
        QTest::addColumn<QString>("viewName");
        QTest::addColumn<QSize>("client");
        QTest::addColumn<QRect>("view");
        QTest::addColumn<bool>("minimise");
        QTest::newRow("Korbina") << "Korbina"
                                 << "KorbinaForm"
                                 << "Chromium1" << QSize(714, 423) << QRect(-25, -215, 740, 660) << true;
        QTest::newRow("Ovego") << "Ovego"
                               << "OvegoPlayerForm"
                               << "Chromium1" << QSize(589, 398) << QRect(-275, -320, 900, 740) << false;
        QTest::newRow("Browser2") << "Browser2"
                                  << "Browser2Form"
                                  << "SeeTVWebBrowser" << QSize(664, 608) << QRect(-185, -247, 850, 820)
                                  << false;
        QTest::newRow("TVprogramm") << "TVprogramm"
                                    << "TVprogrammForm"
                                    << "WebBrowser1" << QSize(564, 477) << QRect(0, 0, 564, 477) << false;
    }
    void layout() {
        QFETCH(QString, kind);
        QFETCH(QString, windowName);
        QFETCH(QString, viewName);
        QFETCH(QSize, client);
        QFETCH(QRect, view);
        QFETCH(bool, minimise);
        RecordingView mainView;
        std::unique_ptr<QWidget> window;
        if (kind == QLatin1String("TVprogramm"))
            window = std::make_unique<TTVprogrammForm>(&mainWindow_);
        else
            window = std::move(MakePartner(kind, mainView, &mainWindow_).form);

        QVERIFY(window->isWindow());
        // Owned by the main window, as a transient window: it stays in front of it.
        QCOMPARE(window->parentWidget(), &mainWindow_);
        QVERIFY(!window->isVisible());
        QCOMPARE(window->objectName(), windowName);
        QCOMPARE(window->windowTitle(), QString());
        QCOMPARE(window->minimumSize(), client);
        QCOMPARE(window->maximumSize(), client);
        const Qt::WindowFlags flags = window->windowFlags();
        QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
        QVERIFY(flags & Qt::WindowCloseButtonHint);
        QCOMPARE(bool(flags & Qt::WindowMinimizeButtonHint), minimise);

        auto* v = window->findChild<QWidget*>(viewName);
        QVERIFY(v);
        QCOMPARE(v->geometry(), view);

        // Shown centred over the main window, and again after the main window has moved.
        window->show();
        QCOMPARE(window->geometry().center(), mainWindow_.geometry().center());
        QCOMPARE(window->size(), client);
        QVERIFY(window->windowHandle()->transientParent());
        QCOMPARE(window->windowHandle()->transientParent(), mainWindow_.windowHandle());
        window->close();
        mainWindow_.move(200, 150);
        window->show();
        QCOMPARE(window->geometry().center(), mainWindow_.geometry().center());
        window->close();
        mainWindow_.move(60, 40);
    }

    void onShowLoadsTitlePageOnlyFromHidden_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("titlePath");
        QTest::newRow("Korbina") << "Korbina"
                                 << "/title/2.3.html";
        QTest::newRow("Ovego") << "Ovego"
                               << "/title/2.4.html";
        QTest::newRow("Browser2") << "Browser2"
                                  << "/title/2.3.html";
    }
    void onShowLoadsTitlePageOnlyFromHidden() {
        QFETCH(QString, kind);
        QFETCH(QString, titlePath);
        RecordingView mainView;
        Partner p = MakePartner(kind, mainView, &mainWindow_);
        PartnerWindow& w = *p.form;
        const QString title = SiteUrls::Project(titlePath);

        w.showWindow();
        QVERIFY(p.form->isVisible());
        QCOMPARE(mainView.loads, QStringList{title});
        w.openPage(page_);
        QCOMPARE(p.viewRequest(), page_);

        // Already visible: brought to the front only; the main view keeps its page.
        w.showWindow();
        w.openPage(page_);
        QCOMPARE(mainView.loads, QStringList{title});

        // Closing blanks the window's own view, hides it, and leaves the main view alone.
        QVERIFY(p.form->close());
        QVERIFY(!p.form->isVisible());
        QCOMPARE(p.viewRequest(), QStringLiteral("about:blank"));
        QCOMPARE(mainView.loads.size(), 1);

        // Opened again: the on-show step runs again and the view stays blank until a page is set.
        w.showWindow();
        QCOMPARE(mainView.loads, (QStringList{title, title}));
        QCOMPARE(p.viewRequest(), QStringLiteral("about:blank"));
    }

    void partnerViewReallyLoadsAndBlanks() {
        RecordingView mainView;
        TKorbinaForm form(mainView, &mainWindow_);
        form.showWindow();
        QSignalSpy finished(Control<ChromiumView>(form, "Chromium1"), &ChromiumView::loadFinished);
        form.openPage(page_);
        QVERIFY(finished.wait(30000));
        QCOMPARE(Control<ChromiumView>(form, "Chromium1")->engine()->title(), QStringLiteral("Partner"));

        // Closing blanks the view and gives its browser back; reopened, it shows the empty page.
        form.close();
        QCOMPARE(Control<ChromiumView>(form, "Chromium1")->lastRequested(), QStringLiteral("about:blank"));
        QTRY_VERIFY_WITH_TIMEOUT(!Control<ChromiumView>(form, "Chromium1")->engine(), 10000);
        form.showWindow();
        QTest::qWait(300);
        QVERIFY(!Control<ChromiumView>(form, "Chromium1")->engine());
    }

    void programmeWindowKeepsItsPageAcrossClose() {
        TTVprogrammForm guide(&mainWindow_);
        guide.guideView()->navigate(page_); // set while hidden, as the dispatcher does
        QVERIFY(!guide.guideView()->engine());
        QSignalSpy finished(guide.guideView(), &BrowserView::loadFinished);
        guide.showWindow();
        QVERIFY(finished.wait(30000));
        guide.close();
        QVERIFY(!guide.isVisible());
        QCOMPARE(guide.guideView()->lastRequested(), page_);
        // Closed, the window gives its browser back; shown again, a new one loads the same page.
        QTRY_VERIFY_WITH_TIMEOUT(!guide.guideView()->engine(), 10000);
        QVERIFY(!guide.guideView()->hasDocument());
        finished.clear();
        guide.showWindow();
        QVERIFY(finished.wait(30000));
        QCOMPARE(guide.guideView()->engine()->title(), QStringLiteral("Partner"));
    }

    void loginStrip() {
        RecordingView mainView;
        TBrowser2Form form(mainView, &mainWindow_);
        QCOMPARE(Control<QFrame>(form, "sPanel1")->geometry(), QRect(0, 573, 664, 35));
        QCOMPARE(Control<BrowserView>(form, "SeeTVWebBrowser")->geometry().bottom() + 1,
                 Control<QFrame>(form, "sPanel1")->y());
        QCOMPARE(Control<QLabel>(form, "sLabel1")->pos(), QPoint(10, 9));
        QCOMPARE(Control<QLabel>(form, "sLabel1")->text(), QStringLiteral("Логин"));
        QCOMPARE(Control<QLabel>(form, "sLabel2")->pos(), QPoint(175, 9));
        QCOMPARE(Control<QLabel>(form, "sLabel2")->text(), QStringLiteral("Пароль"));
        QCOMPARE(Control<QLineEdit>(form, "sEdit1")->geometry(), QRect(45, 6, 121, 21));
        QCOMPARE(Control<QLineEdit>(form, "sEdit1")->text(), QStringLiteral("Zelmo"));
        QCOMPARE(Control<QLineEdit>(form, "sEdit2")->geometry(), QRect(220, 6, 121, 21));
        QCOMPARE(Control<QLineEdit>(form, "sEdit2")->text(), QStringLiteral("Pomex"));
        QCOMPARE(Control<QLineEdit>(form, "sEdit2")->echoMode(), QLineEdit::Password);
        QCOMPARE(Control<QPushButton>(form, "sBitBtn1")->geometry(), QRect(360, 5, 110, 25));
        QCOMPARE(Control<QPushButton>(form, "sBitBtn1")->text(), QStringLiteral("Авторизироваться"));
        for (const char* name : {"sPanel1", "sLabel1", "sEdit1", "sLabel2", "sEdit2", "sBitBtn1"})
            QVERIFY2(form.findChild<QWidget*>(QString::fromLatin1(name)), name);
    }

    // What the user sees of the strip: stars for the password and whole captions, also under an
    // application-wide style sheet such as a skin sets.
    void loginStripShowsStarsAndWholeCaptions_data() {
        QTest::addColumn<QString>("appSheet");
        QTest::newRow("no skin") << QString();
        QTest::newRow("skin") << QStringLiteral(
            "QWidget { background-color: #eeeeee; color: black; font-weight: 400; }");
    }

    void loginStripShowsStarsAndWholeCaptions() {
        QFETCH(QString, appSheet);
        qApp->setStyleSheet(appSheet);
        const auto restore = qScopeGuard([] { qApp->setStyleSheet(QString()); });
        RecordingView mainView;
        TBrowser2Form form(mainView, &mainWindow_);
        form.showWindow();
        QCOMPARE(Control<QLineEdit>(form, "sEdit2")->displayText(), QString(5, u'*'));
        for (auto [label, edit] :
             {std::pair{Control<QLabel>(form, "sLabel1"), Control<QLineEdit>(form, "sEdit1")},
              {Control<QLabel>(form, "sLabel2"), Control<QLineEdit>(form, "sEdit2")}})
            QVERIFY2(label->x() + label->fontMetrics().horizontalAdvance(label->text()) <= edit->x(),
                     qPrintable(label->text()));
        QVERIFY(Control<QPushButton>(form, "sBitBtn1")
                    ->fontMetrics()
                    .horizontalAdvance(Control<QPushButton>(form, "sBitBtn1")->text()) <=
                Control<QPushButton>(form, "sBitBtn1")->width() - 2);
    }

    void clickIntoAFieldEmptiesItEveryTime() {
        RecordingView mainView;
        TBrowser2Form form(mainView, &mainWindow_);
        form.showWindow();
        for (QLineEdit* edit : {Control<QLineEdit>(form, "sEdit1"), Control<QLineEdit>(form, "sEdit2")}) {
            QTest::mouseClick(edit, Qt::LeftButton);
            QCOMPARE(edit->text(), QString());
            QTest::keyClicks(edit, QStringLiteral("typed"));
            QCOMPARE(edit->text(), QStringLiteral("typed")); // the click left the field usable
            QTest::mouseClick(edit, Qt::LeftButton);
            QCOMPARE(edit->text(), QString());
        }
    }
};

ZELMO_WEB_TEST_MAIN(TestWebWindows)
#include "test_web_windows.moc"
