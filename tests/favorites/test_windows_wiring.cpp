// The favourites window and the closed-section prompt as the assembled program wires them.
#include "common/Control.h"
#include "common/MainWindowControls.h"
#include "common/SettingFormControls.h"
#include "common/TestFakes.h"

#include "app/ui/Startup.h"
#include "app/ui/TForm1.h"
#include "closed/ui/TForm2.h"
#include "favorites/ui/TFavoriteForm.h"
#include "platform/AppDir.h"
#include "platform/ui/ButtonCaption.h"
#include "platform/ui/ChromiumView.h"
#include "settings/LanguagePack.h"
#include "settings/SettingsFile.h"
#include "settings/ui/TSettingForm.h"

#include <QAction>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <memory>

class TestWindowsWiring : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    FakeMessages sink_;
    std::unique_ptr<Program> program_;

    TForm1& main() const { return *program_->windows().Form1; }
    MainWindowControls mainUi() const { return MainWindowControls(main()); }
    QString stored(const QString& key) const {
        return SettingsFile(dir_.filePath(QStringLiteral("Setting.ini")))
            .ReadString(QStringLiteral("Favorite"), key, QStringLiteral("<missing>"));
    }
    // A right click on the main window's button, then "Добавить в Избранное".
    void addFrom(QPushButton* button) {
        QContextMenuEvent ev(QContextMenuEvent::Mouse, QPoint(3, 3), button->mapToGlobal(QPoint(3, 3)));
        QApplication::sendEvent(button, &ev);
        mainUi().N1->trigger();
        mainUi().PopupMenu1->hide();
    }

private slots:
    void initTestCase() {
        // A program directory of its own, so Setting.ini is written nowhere else.
        const QString built = qEnvironmentVariable("ZELMO_TEST_APPDIR") + QStringLiteral("/Language/");
        QVERIFY(QDir(dir_.path()).mkdir(QStringLiteral("Language")));
        for (const QString& f : QDir(built).entryList(QDir::Files))
            QVERIFY(QFile::copy(built + f, dir_.filePath(QStringLiteral("Language/") + f)));
        SettingsFile(dir_.filePath(QStringLiteral("Setting.ini")))
            .WriteString(QStringLiteral("Favorite"), QStringLiteral("fb"), QStringLiteral("НТВ"));
        SetAppDirForTesting(dir_.path() + QLatin1Char('/'));

        program_ = std::make_unique<Program>(Program::Options{&sink_});
        program_->show();
        QCOMPARE(main().slotCaption(1), QStringLiteral("ОРТ"));
        sink_.shown.clear();
    }
    void cleanupTestCase() { program_.reset(); }

    void popupOfTheMainWindowAddsToTheFavouritesWindow() {
        TFavoriteForm& favorites = *program_->windows().FavoriteForm;
        QCOMPARE(favorites.slotButton(2)->text(), QStringLiteral("НТВ")); // read at start-up

        addFrom(main().slotButton(1));
        QCOMPARE(ButtonCaption(favorites.slotButton(1)), QStringLiteral("ОРТ"));
        QCOMPARE(stored(QStringLiteral("fa")), QStringLiteral("ОРТ"));

        addFrom(main().categoryButton(2));
        QCOMPARE(ButtonCaption(favorites.slotButton(3)), main().categoryCaption(2));
        QCOMPARE(stored(QStringLiteral("fc")), main().categoryCaption(2));
        QVERIFY(sink_.shown.isEmpty());

        // The favourites tool button shows the window; a slot opens its channel in the main view.
        mainUi().sSpeedButton5->click();
        QVERIFY(favorites.isVisible());
        QTest::mouseClick(favorites.slotButton(1), Qt::LeftButton);
        // ОРТ has no stream here: the page that says so.
        QVERIFY2(mainUi().Chromium1->lastRequested().contains(QStringLiteral("/IPTV/pages/nostream-")),
                 qPrintable(mainUi().Chromium1->lastRequested()));
        QFile page(mainUi().Chromium1->lastRequested());
        QVERIFY(page.open(QIODevice::ReadOnly) &&
                QString::fromUtf8(page.readAll()).contains(QStringLiteral("«ОРТ»")));
        favorites.hide();
    }

    void closedSectionFollowsTheSettingsWindowControls() {
        TSettingForm& settings = *program_->windows().SettingForm;
        const SettingFormControls settingControls(settings);
        TForm2& prompt = *program_->windows().Form2;
        QVERIFY(settingControls.sCheckBox2->isChecked());
        QCOMPARE(settingControls.sEdit1->text(), QStringLiteral("759"));

        mainUi().sSpeedButton4->click();
        QVERIFY(prompt.isVisible());
        QCOMPARE(main().slotCaption(1), QStringLiteral("ОРТ")); // nothing yet

        settingControls.sEdit1->setText(QStringLiteral("Код 1")); // typed, never saved
        Control<QLineEdit>(prompt, "sEdit1")->setText(QStringLiteral("759"));
        QTest::mouseClick(Control<QPushButton>(prompt, "sBitBtn1"), Qt::LeftButton);
        QCOMPARE(sink_.shown,
                 QStringList{LangText(QStringLiteral("Message"), QStringLiteral("incorrectpassword"))});
        QVERIFY(prompt.isVisible());

        Control<QLineEdit>(prompt, "sEdit1")->setText(QStringLiteral("Код 1"));
        QTest::mouseClick(Control<QPushButton>(prompt, "sBitBtn1"), Qt::LeftButton);
        QVERIFY(prompt.isHidden());
        QCOMPARE(main().slotCaption(1), QStringLiteral("День студента"));
        QCOMPARE(main().slotCaption(12), QStringLiteral("Bella Club"));
        QVERIFY(main().slotButton(12)->isVisibleTo(&main()));
        QVERIFY(!main().slotButton(13)->isVisibleTo(&main()));
        for (QLabel* heading : {mainUi().sLabel1, mainUi().sLabel2, mainUi().sLabel3, mainUi().sLabel4})
            QVERIFY(!heading->isVisibleTo(&main()));

        // Unticked, saved or not: the layout comes at once, without the prompt.
        mainUi().sBitBtn1->click();
        QCOMPARE(main().slotCaption(1), QStringLiteral("ОРТ"));
        settingControls.sCheckBox2->setChecked(false);
        mainUi().sSpeedButton4->click();
        QVERIFY(prompt.isHidden());
        QCOMPARE(main().slotCaption(1), QStringLiteral("День студента"));
    }
};

int main(int argc, char** argv) {
    PrepareEnvironment();
    ZelmoApplication app(argc, argv);
    TestWindowsWiring t;
    return QTest::qExec(&t, argc, argv);
}
#include "test_windows_wiring.moc"
