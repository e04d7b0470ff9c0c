// A first start as a new user has it, in the assembled program: no playlist of the user's own, the
// public playlists served on loopback from the files as published. The channels come in after the
// first paint, one line says where from, the grid marks what plays, a channel without a stream
// says so and leads to the IPTV tab, and the unreachable project site gives way to a start page.
#include "common/LoopbackServer.h"
#include "common/TestFakes.h"

#include "PublicLists.h"

#include "app/ui/Startup.h"
#include "app/ui/TForm1.h"
#include "navigation/ChannelDispatcher.h"
#include "platform/AppDir.h"
#include "platform/ui/ButtonCaption.h"
#include "platform/ui/ChromiumView.h"
#include "settings/SettingsFile.h"
#include "settings/ui/TSettingForm.h"
#include "tv/ui/IptvTab.h"

#include "common/SettingFormControls.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <memory>

namespace {
QString fileText(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}
} // namespace

class TestIptvSourcesProgram : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    FakeMessages sink_;
    LoopbackServer server_;
    std::unique_ptr<Program> program_;

    TForm1& form() const { return *program_->windows().Form1; }
    IptvTab* tab() const {
        QTabWidget* pages = SettingFormControls(*program_->windows().SettingForm).sPageControl1;
        return qobject_cast<IptvTab*>(pages->widget(7)); // after the other seven
    }
    QWidget* markOf(int slot) const { return form().slotButton(slot)->findChild<QWidget*>("StreamMark"); }
    int slotOf(const QString& caption) const {
        for (int s = 1; s <= 30; ++s)
            if (ButtonCaption(form().slotButton(s)) == caption)
                return s;
        return -1;
    }

private slots:
    void initTestCase() {
        const QString built = qEnvironmentVariable("ZELMO_TEST_APPDIR") + QStringLiteral("/Language/");
        QVERIFY(QDir(dir_.path()).mkdir(QStringLiteral("Language")));
        for (const QString& f : QDir(built).entryList(QDir::Files))
            QVERIFY(QFile::copy(built + f, dir_.filePath(QStringLiteral("Language/") + f)));
        PublicLists::serve(server_);
        SettingsFile(dir_.filePath(QStringLiteral("Setting.ini")))
            .WriteString(QStringLiteral("IPTV"), QStringLiteral("publicBase"), PublicLists::base(server_));
        SetAppDirForTesting(dir_.path() + QLatin1Char('/'));
        program_ = std::make_unique<Program>(Program::Options{&sink_});
        QVERIFY(server_.requests.isEmpty());
        program_->show();
    }
    void cleanupTestCase() { program_.reset(); }

    void theFirstStartSaysWhereTheChannelsComeFrom() {
        QLabel* notice = nullptr;
        QTRY_VERIFY_WITH_TIMEOUT((notice = form().findChild<QLabel*>(QStringLiteral("NoticeBar"))) &&
                                     notice->isVisible(),
                                 20000);
        QVERIFY2(
            notice->toolTip().startsWith(QStringLiteral("Телеканалы взяты из открытых плейлистов iptv-org "
                                                        "(Россия, Украина, Беларусь, Казахстан, Грузия, "
                                                        "Армения, Азербайджан)")),
            qPrintable(notice->toolTip()));
        QVERIFY(!QApplication::activeModalWidget());
        QCOMPARE(SettingsFile(dir_.filePath("Setting.ini")).ReadString("IPTVNotice", "shown", {}),
                 QStringLiteral("1"));
        QTRY_VERIFY_WITH_TIMEOUT(tab()->statusLabel()->text().startsWith(QStringLiteral("Плейлист: ")),
                                 60000);
        QVERIFY(QFile::exists(dir_.filePath(QStringLiteral("IPTV/public-ru.m3u"))));
    }

    // A slot whose channel has a stream carries the mark; its caption stays; the mark follows a
    // choice made in the IPTV tab and a change of category.
    void theGridMarksWhatPlays() {
        form().categoryButton(1)->click();
        const int ntv = slotOf(QStringLiteral("НТВ"));
        QVERIFY(ntv > 0);
        QVERIFY(markOf(ntv));
        QVERIFY(tab()->selectChannel(QStringLiteral("НТВ")));
        tab()->entryBox()->setCurrentIndex(tab()->entryBox()->findText(QStringLiteral("NTV HD (1080p)")));
        QVERIFY(tab()->entryBox()->currentIndex() > 0);
        tab()->chooseButton()->click();
        QVERIFY(!markOf(ntv)->isHidden());
        QCOMPARE(ButtonCaption(form().slotButton(ntv)), QStringLiteral("НТВ"));
        QCOMPARE(form().slotButton(ntv)->accessibleDescription(),
                 QStringLiteral("Есть поток: канал играет в программе"));
        tab()->clearButton()->click();
        QVERIFY(markOf(ntv)->isHidden());
        QVERIFY(form().slotButton(ntv)->accessibleDescription().isEmpty());
        tab()->entryBox()->setCurrentIndex(tab()->entryBox()->findText(QStringLiteral("NTV HD (1080p)")));
        tab()->chooseButton()->click();
        // Another category relabels the grid; coming back marks the slot again.
        form().categoryButton(6)->click();
        QVERIFY(ButtonCaption(form().slotButton(ntv)) != QStringLiteral("НТВ"));
        form().categoryButton(1)->click();
        QVERIFY(!markOf(ntv)->isHidden());
    }

    // A catalog channel without a stream shows a page that says so, in the program's language,
    // and its button opens the settings window on the IPTV tab.
    void aChannelWithoutAStreamSaysSo() {
        const int ort = slotOf(QStringLiteral("ОРТ"));
        QVERIFY(ort > 0);
        QVERIFY(tab()->selectChannel(QStringLiteral("ОРТ")));
        tab()->clearButton()->click();
        QVERIFY(markOf(ort)->isHidden());
        ChromiumView* view = form().mainView();
        form().slotButton(ort)->click();
        const QString page = view->lastRequested();
        QVERIFY2(page.startsWith(dir_.filePath(QStringLiteral("IPTV/pages/nostream-"))), qPrintable(page));
        QVERIFY(fileText(page).contains(QStringLiteral("Для канала «ОРТ» пока нет потока.")));
        QTRY_VERIFY_WITH_TIMEOUT(view->engine() && view->engine()->url().toLocalFile() == page, 20000);
        QTRY_VERIFY_WITH_TIMEOUT(view->engine()->title() == QStringLiteral("Нет потока"), 20000);

        TSettingForm* settings = program_->windows().SettingForm;
        QWidget* shownPage = nullptr;
        QTimer closer;
        connect(&closer, &QTimer::timeout, this, [&] {
            if (QApplication::activeModalWidget() == settings) {
                shownPage = SettingFormControls(*settings).sPageControl1->currentWidget();
                settings->hide();
            }
        });
        closer.start(50);
        view->engine()->page()->runJavaScript(
            QStringLiteral("document.querySelector('a[data-action]').click()"));
        QTRY_VERIFY_WITH_TIMEOUT(shownPage, 20000);
        QCOMPARE(shownPage, tab());
    }

    // The project site cannot be reached here: the main view shows the program's own start page.
    void anUnreachableSiteGivesALocalStartPage() {
        form().mainView()->load(QStringLiteral("https://zelmo-player.example/start11"));
        QTRY_VERIFY_WITH_TIMEOUT(form().mainView()->lastRequested() == dir_.filePath("IPTV/pages/start.html"),
                                 20000);
        QVERIFY(fileText(form().mainView()->lastRequested())
                    .contains(QStringLiteral("Сайт программы сейчас недоступен.")));
    }
};

QTEST_MAIN(TestIptvSourcesProgram)
#include "test_iptv_sources_program.moc"
