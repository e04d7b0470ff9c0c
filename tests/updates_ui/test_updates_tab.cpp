#include "common/LoopbackServer.h"
#include "common/SettingFormControls.h"
#include "common/TestFakes.h"

#include "platform/AppDir.h"
#include "platform/QtHttpClient.h"
#include "settings/LanguagePack.h"
#include "settings/UpdateChecker.h"
#include "settings/ui/TSettingForm.h"
#include "settings/ui/UpdatesTab.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <memory>

namespace {

constexpr int Bound = 20000; // generous bound on every wait; never a speed check

struct RecordingMainWindow : QWidget {
    int closes = 0;
    void closeEvent(QCloseEvent* e) override {
        ++closes;
        QWidget::closeEvent(e);
    }
};

QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

// A program directory with the real language packs, the settings window built on it, and a record
// of what the progress bar showed at each progress event.
class Fixture {
public:
    explicit Fixture(const QByteArray& settingIni = {}) {
        SetAppDirForTesting(dir.path() + QLatin1Char('/'));
        const QDir packs(qEnvironmentVariable("ZELMO_TEST_APPDIR") + QStringLiteral("/Language"));
        QDir(dir.path()).mkdir(QStringLiteral("Language"));
        for (const QString& name : packs.entryList(QDir::Files))
            QFile::copy(packs.filePath(name), dir.path() + QStringLiteral("/Language/") + name);
        if (!settingIni.isEmpty())
            writeFile(AppDir() + QStringLiteral("Setting.ini"), settingIni);

        form = std::make_unique<TSettingForm>(surface, &mainWindow, shell, messages, http);
        UpdateChecker& checker = form->updates().checker();
        QProgressBar* bar = SettingFormControls(*form).sProgressBar1;
        QObject::connect(&checker, &UpdateChecker::progressBegin, form.get(),
                         [this, bar] { maxima << bar->maximum(); });
        QObject::connect(&checker, &UpdateChecker::progressWork, form.get(),
                         [this, bar] { values << bar->value(); });
        QObject::connect(&checker, &UpdateChecker::progressEnd, form.get(),
                         [this, bar] { endValues << bar->value(); });
    }

    void useSite(const QString& base) { form->updates().setProjectSite(base); }
    QString installer() const { return AppDir() + QStringLiteral("InstalZelmoPlayer.exe"); }
    QStringList files() const { return QDir(dir.path()).entryList(QDir::Files); }
    static QString errorUpgrade() {
        return LangText(QStringLiteral("Message"), QStringLiteral("ErrorUpgrade"));
    }

    QTemporaryDir dir;
    FakeSurface surface;
    FakeShell shell;
    FakeMessages messages;
    RecordingMainWindow mainWindow;
    QtHttpClient http;
    std::unique_ptr<TSettingForm> form;
    QList<int> maxima, values, endValues;
};

} // namespace

class TestUpdatesTab : public QObject {
    Q_OBJECT
private slots:
    void checkShowsPublishedText_data();
    void checkShowsPublishedText();
    void checkFailureKeepsLabel_data();
    void checkFailureKeepsLabel();
    void completeDownloadIsSavedStartedAndClosesProgram_data();
    void completeDownloadIsSavedStartedAndClosesProgram();
    void failedDownloadChangesNothing_data();
    void failedDownloadChangesNothing();
    void unwritableInstallerNamesPathAndReason();
    void cutShortDownloadIgnoresBusyClicks();
    void proxyOfStartupLoad_data();
    void proxyOfStartupLoad();
};

void TestUpdatesTab::checkShowsPublishedText_data() {
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QString>("shown");
    QTest::newRow("later version") << QByteArray("2.9") << QStringLiteral("2.9");
    QTest::newRow("same version") << QByteArray("2.8") << QStringLiteral("2.8");
    QTest::newRow("trailing line break") << QByteArray("2.9\r\n") << QStringLiteral("2.9\r\n");
    QTest::newRow("markup stays text") << QByteArray("<b>3.0</b>") << QStringLiteral("<b>3.0</b>");
}

void TestUpdatesTab::checkShowsPublishedText() {
    QFETCH(QByteArray, body);
    QFETCH(QString, shown);
    LoopbackServer server;
    QVERIFY(server.listening());
    server.routes["/actual/2.3.txt"] = {LoopbackServer::ok(body)};
    Fixture fx;
    fx.useSite(server.base());
    TSettingForm& f = *fx.form;
    const SettingFormControls c(f);
    QCOMPARE(c.sLabel18->text(), QStringLiteral("0"));

    c.sButton4->click();
    QTRY_COMPARE_WITH_TIMEOUT(c.sLabel18->text(), shown, Bound);
    QCOMPARE(c.sLabel18->textFormat(), Qt::PlainText);
    QCOMPARE(c.sLabel17->text(), QStringLiteral("2.8"));
    QVERIFY(fx.messages.shown.isEmpty());

    QCOMPARE(server.requests.size(), 1);
    QVERIFY(server.requests[0].startsWith("GET /actual/2.3.txt HTTP/1.1\r\n"));
    QCOMPARE(server.header(0, "Accept"), QByteArray("text/html, */*"));
    QCOMPARE(server.header(0, "User-Agent"), QByteArray("Mozilla/3.0 (compatible; Indy Library)"));

    QTRY_COMPARE_WITH_TIMEOUT(fx.endValues.size(), 1, Bound);
    QCOMPARE(fx.maxima, QList<int>{int(body.size())});
    QCOMPARE(fx.endValues, QList<int>{0});
    QCOMPARE(c.sProgressBar1->value(), 0);
}

void TestUpdatesTab::checkFailureKeepsLabel_data() {
    QTest::addColumn<QByteArray>("response"); // empty: the site's port is closed
    QTest::newRow("404") << LoopbackServer::status("404 Not Found");
    QTest::newRow("500") << LoopbackServer::status("500 Internal Server Error");
    QTest::newRow("closed port") << QByteArray();
}

void TestUpdatesTab::checkFailureKeepsLabel() {
    QFETCH(QByteArray, response);
    LoopbackServer server;
    server.routes["/actual/2.3.txt"] = {LoopbackServer::ok("2.9")};
    Fixture fx;
    fx.useSite(server.base());
    TSettingForm& f = *fx.form;
    const SettingFormControls c(f);
    c.sButton4->click();
    QTRY_COMPARE_WITH_TIMEOUT(c.sLabel18->text(), QStringLiteral("2.9"), Bound);

    if (response.isEmpty())
        fx.useSite(QStringLiteral("http://127.0.0.1:%1").arg(ClosedPort()));
    else
        server.routes["/actual/2.3.txt"] = {response};
    c.sButton4->click();
    QTRY_COMPARE_WITH_TIMEOUT(fx.messages.shown.size(), 1, Bound);
    QCOMPARE(fx.messages.shown[0], Fixture::errorUpgrade());
    QVERIFY(fx.messages.shown[0].startsWith(QStringLiteral("Не удалось получить данные с сайта программы")));
    QCOMPARE(c.sLabel18->text(), QStringLiteral("2.9"));
    QVERIFY(!f.updates().checker().busy());
    QCOMPARE(fx.mainWindow.closes, 0);
}

void TestUpdatesTab::completeDownloadIsSavedStartedAndClosesProgram_data() {
    QTest::addColumn<bool>("announced"); // whether the response names its length
    QTest::newRow("length announced") << true;
}

void TestUpdatesTab::completeDownloadIsSavedStartedAndClosesProgram() {
    QFETCH(bool, announced);
    QByteArray body(300 * 1024, '\0');
    for (qsizetype i = 0; i < body.size(); ++i)
        body[i] = char(i * 7 % 251);
    LoopbackServer server;
    server.routes["/data/Zelmo_player.exe"] = {
        announced ? LoopbackServer::ok(body)
                  : "HTTP/1.1 200 OK\r\nContent-Type: application/octet-stream\r\nConnection: close\r\n\r\n" +
                        body};
    Fixture fx;
    fx.useSite(server.base());
    writeFile(fx.installer(), "an older installer");
    TSettingForm& f = *fx.form;
    const SettingFormControls c(f);

    c.sBitBtn13->click();
    QTRY_COMPARE_WITH_TIMEOUT(fx.shell.opened.size(), 1, Bound);
    QCOMPARE(fx.shell.opened[0], fx.installer());
    QCOMPARE(fileBytes(fx.installer()), body);
    QCOMPARE(fx.mainWindow.closes, 1);
    QVERIFY(fx.messages.shown.isEmpty());
    QCOMPARE(fx.files(), QStringList{QStringLiteral("InstalZelmoPlayer.exe")}); // no temp file left

    QCOMPARE(server.requests.size(), 1);
    QVERIFY(server.requests[0].startsWith("GET /data/Zelmo_player.exe HTTP/1.1\r\n"));
    QCOMPARE(server.header(0, "Accept"), QByteArray("text/html, */*"));
    QCOMPARE(server.header(0, "User-Agent"), QByteArray("Mozilla/3.0 (compatible; Indy Library)"));

    // The bar runs from 0 up to the announced size (busy look when unknown), then drops back to 0.
    QCOMPARE(fx.maxima, QList<int>{announced ? int(body.size()) : 0});
    QVERIFY(!fx.values.isEmpty());
    QVERIFY(std::is_sorted(fx.values.begin(), fx.values.end()));
    QCOMPARE(fx.values.last(), int(body.size()));
    QCOMPARE(fx.endValues, QList<int>{0});
    QCOMPARE(c.sProgressBar1->value(), 0);
    QVERIFY(c.sProgressBar1->maximum() > 0);
}

void TestUpdatesTab::failedDownloadChangesNothing_data() {
    QTest::addColumn<QByteArray>("response"); // empty: the site's port is closed
    QTest::newRow("404") << LoopbackServer::status("404 Not Found");
    QTest::newRow("500") << LoopbackServer::status("500 Internal Server Error");
    QTest::newRow("closed port") << QByteArray();
}

void TestUpdatesTab::failedDownloadChangesNothing() {
    QFETCH(QByteArray, response);
    LoopbackServer server;
    server.routes["/data/Zelmo_player.exe"] = {response};
    Fixture fx;
    fx.useSite(response.isEmpty() ? QStringLiteral("http://127.0.0.1:%1").arg(ClosedPort()) : server.base());
    writeFile(fx.installer(), "an older installer");
    const QStringList before = fx.files();

    SettingFormControls(*fx.form).sBitBtn13->click();
    QTRY_COMPARE_WITH_TIMEOUT(fx.messages.shown.size(), 1, Bound);
    QCOMPARE(fx.messages.shown[0], Fixture::errorUpgrade());
    QCOMPARE(fileBytes(fx.installer()), QByteArray("an older installer"));
    QCOMPARE(fx.files(), before);
    QVERIFY(fx.shell.opened.isEmpty());
    QCOMPARE(fx.mainWindow.closes, 0);
    QCOMPARE(SettingFormControls(*fx.form).sProgressBar1->value(), 0);
}

// The installer arrives but its file cannot be created (here a directory holds its name): the
// message names the file and the reason instead of the transfer error, and nothing is started.
void TestUpdatesTab::unwritableInstallerNamesPathAndReason() {
    LoopbackServer server;
    server.routes["/data/Zelmo_player.exe"] = {LoopbackServer::ok("MZ installer")};
    Fixture fx;
    fx.useSite(server.base());
    QVERIFY(QDir().mkpath(fx.installer()));

    SettingFormControls(*fx.form).sBitBtn13->click();
    QTRY_COMPARE_WITH_TIMEOUT(fx.messages.shown.size(), 1, Bound);
    const QString shown = fx.messages.shown[0];
    QVERIFY2(shown != Fixture::errorUpgrade(), qPrintable(shown));
    const QString prefix = QStringLiteral("Unable to write to ") + fx.installer() + QStringLiteral(": ");
    QVERIFY2(shown.startsWith(prefix) && shown.size() > prefix.size() + 3, qPrintable(shown));
    QVERIFY(QFileInfo(fx.installer()).isDir());
    QVERIFY(fx.shell.opened.isEmpty());
    QCOMPARE(fx.mainWindow.closes, 0);
}

void TestUpdatesTab::cutShortDownloadIgnoresBusyClicks() {
    LoopbackServer server;
    server.routes["/data/Zelmo_player.exe"] = {
        QByteArray("HTTP/1.1 200 OK\r\nContent-Length: 100000\r\n\r\n") + QByteArray(1000, 'x'), true};
    server.routes["/actual/2.3.txt"] = {LoopbackServer::ok("2.9")};
    Fixture fx;
    fx.useSite(server.base());
    TSettingForm& f = *fx.form;
    const SettingFormControls c(f);

    c.sBitBtn13->click();
    QTRY_COMPARE_WITH_TIMEOUT(fx.maxima, QList<int>{100000}, Bound);
    QCOMPARE(c.sProgressBar1->maximum(), 100000);

    // While the installer is on its way, both buttons do nothing.
    c.sButton4->click();
    c.sBitBtn13->click();
    QVERIFY(f.updates().checker().busy());

    server.dropAll();
    QTRY_COMPARE_WITH_TIMEOUT(fx.messages.shown.size(), 1, Bound);
    QCOMPARE(fx.messages.shown[0], Fixture::errorUpgrade());
    QVERIFY(!QFile::exists(fx.installer()));
    QVERIFY(fx.shell.opened.isEmpty());
    QCOMPARE(fx.mainWindow.closes, 0);
    QCOMPARE(fx.endValues, QList<int>{0});
    QCOMPARE(c.sLabel18->text(), QStringLiteral("0"));

    // Idle again: a check now runs, and it is only the second request the site ever saw.
    c.sButton4->click();
    QTRY_COMPARE_WITH_TIMEOUT(c.sLabel18->text(), QStringLiteral("2.9"), Bound);
    QCOMPARE(server.requests.size(), 2);
}

void TestUpdatesTab::proxyOfStartupLoad_data() {
    QTest::addColumn<bool>("useProxy");
    QTest::newRow("ticked at start") << true;
    QTest::newRow("unticked at start") << false;
}

void TestUpdatesTab::proxyOfStartupLoad() {
    QFETCH(bool, useProxy);
    LoopbackServer origin;
    origin.routes["/actual/2.3.txt"] = {LoopbackServer::ok("direct")};
    LoopbackServer proxy; // answers every request itself, recording it
    proxy.fallback = {LoopbackServer::ok("via proxy")};
    Fixture fx("[Proxy]\r\nuseIP=127.0.0.1\r\nusePort=" + QByteArray::number(proxy.port()) +
               "\r\nuseProxy=" + (useProxy ? "1" : "0") + "\r\n");
    fx.useSite(origin.base());
    TSettingForm& f = *fx.form;
    const SettingFormControls c(f);
    QCOMPARE(c.sCheckBox1->isChecked(), useProxy);

    // A proxy choice saved now acts only from the next start.
    c.sCheckBox1->setChecked(!useProxy);
    c.sBitBtn1->click();

    c.sButton4->click();
    QTRY_VERIFY_WITH_TIMEOUT(c.sLabel18->text() != QStringLiteral("0"), Bound);
    if (useProxy) {
        QCOMPARE(c.sLabel18->text(), QStringLiteral("via proxy"));
        QCOMPARE(proxy.requests.size(), 1);
        QVERIFY(
            proxy.requests[0].startsWith("GET " + origin.base().toUtf8() + "/actual/2.3.txt HTTP/1.1\r\n"));
        QCOMPARE(proxy.header(0, "User-Agent"), QByteArray("Mozilla/3.0 (compatible; Indy Library)"));
        QCOMPARE(origin.requests.size(), 0);
    } else {
        QCOMPARE(c.sLabel18->text(), QStringLiteral("direct"));
        QCOMPARE(proxy.requests.size(), 0);
        QCOMPARE(origin.requests.size(), 1);
    }
}

QTEST_MAIN(TestUpdatesTab)
#include "test_updates_tab.moc"
