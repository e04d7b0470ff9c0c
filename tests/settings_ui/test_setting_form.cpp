#include "SettingsUiFixture.h"
#include "common/LargeSettingIni.h"
#include "common/SettingFormControls.h"
#include "common/UiRoundTrip.h"

#include "navigation/SiteUrls.h"
#include "platform/SlotGuard.h"
#include "platform/ui/ChromiumView.h"
#include "settings/LanguagePack.h"
#include "settings/ui/SkinManager.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>

class TestSettingForm : public QObject {
    Q_OBJECT
private slots:
    void startsWithDefaultsWithoutSettingFile();
    void startupReadsStoredValues_data();
    void startupReadsStoredValues();
    void languageChoiceSelectsPack_data();
    void languageChoiceSelectsPack();
    void missingLanguageDirectoryShowsZero();
    void trayButtonsStoreOnly();
    void onTopButtonsActOnBothWindows();
    void onTopKeepsModalShowing();
    void writesToALargeFileKeepTheWindowAnswering();
    void oldCodeFieldClearsOnlyPlaceholder_data();
    void oldCodeFieldClearsOnlyPlaceholder();
    void codeChange_data();
    void codeChange();
    void proxySave_data();
    void proxySave();
    void languageApplyStoresCheckedCaption();
    void skinChangeAppliesAndStores();
    void wheelOverClosedSkinListChangesNothing();
    void linksOpenInShell_data();
    void linksOpenInShell();
    void closesAndKeepsTabAndCentres();
    void everyTabCaptionFitsInEveryPack_data();
    void everyTabCaptionFitsInEveryPack();
    void refusedWriteReachesCaller();
};

void TestSettingForm::startsWithDefaultsWithoutSettingFile() {
    SettingsUiFixture fx;
    TSettingForm& f = fx.open();
    const SettingFormControls c(f);

    QCOMPARE(c.sEdit1->text(), QStringLiteral("759"));
    QVERIFY(c.sCheckBox2->isChecked());
    QCOMPARE(c.sEdit5->text(), QStringLiteral("0"));
    QVERIFY(!fx.surface.onTop());
    QCOMPARE(c.sEdit6->text(), QStringLiteral("0"));
    QCOMPARE(c.sEdit2->text(), QStringLiteral("0"));
    QCOMPARE(c.sEdit3->text(), QStringLiteral("0"));
    QVERIFY(!c.sCheckBox1->isChecked());
    QCOMPARE(f.proxyHost(), QString());
    QCOMPARE(f.proxyPort(), 0);
    QCOMPARE(c.sEdit7->text(), QStringLiteral("Русский [Ru]"));
    QVERIFY(c.sRadioButton1->isChecked());
    QCOMPARE(f.skinManager().skinName(), QStringLiteral("Neutral (internal)"));
    QCOMPARE(qApp->styleSheet(), SkinManager::LookFor(QStringLiteral("Neutral (internal)")).styleSheet);
    QCOMPARE(c.sComboBox1->count(), 69);
    QCOMPARE(c.sComboBox1->currentIndex(), -1);
    QCOMPARE(c.Chromium1->lastRequested(), SiteUrls::Project(QStringLiteral("/actual/reklama.php")));
    QCOMPARE(c.Chromium1->size(), QSize(270, 110));
    QCOMPARE(c.sPageControl1->currentWidget(), c.sTabSheet5);
    QCOMPARE(f.size(), QSize(494, 328));
    QCOMPARE(c.sLabel12->text(), QStringLiteral("0000000"));
    QVERIFY(c.sEdit4->text().isEmpty());
    QCOMPARE(c.sEdit8->text(), QStringLiteral("Старый пароль"));
    QCOMPARE(c.sEdit1->echoMode(), QLineEdit::Password);
    QCOMPARE(c.sButton1->text(), QStringLiteral("ОК"));
    QCOMPARE(c.sBitBtn15->text(), QStringLiteral("Выход"));
    for (QWidget* hidden : {c.sEdit5, c.sEdit6, c.sEdit7})
        QVERIFY(hidden->isHidden());
    for (QPushButton* b : {c.sBitBtn8, c.sBitBtn9, c.sBitBtn10, c.sBitBtn11})
        QVERIFY(b->isEnabled());

    // Tabs in display order, each captioned from the pack.
    const QStringList order{"sTabSheet1", "sTabSheet2", "sTabSheet4", "sTabSheet6",
                            "sTabSheet3", "sTabSheet5", "sTabSheet7"};
    const QStringList keys{"About", "Setting", "proxySetting", "timer", "noVideo", "updates", "language"};
    QCOMPARE(c.sPageControl1->count(), 7);
    for (int i = 0; i < 7; ++i) {
        QCOMPARE(c.sPageControl1->widget(i)->objectName(), order[i]);
        QCOMPARE(c.sPageControl1->tabText(i), "ru:" + keys[i]);
    }

    // Pack texts on this window's controls (a sample covering every kind of control).
    QCOMPARE(f.windowTitle(), QStringLiteral("ru:SettingsForm"));
    const QList<std::pair<QString, QString>> texts{{"sBitBtn8", "Inthesystemtray"},
                                                   {"sBitBtn11", "turnoff"},
                                                   {"sLabel3", "Closetheprogramafter"},
                                                   {"sBitBtn2", "confirm"},
                                                   {"sBitBtn14", "confirm"},
                                                   {"sBitBtn7", "Install"},
                                                   {"sCheckBox1", "Useproxysettings"},
                                                   {"sCheckBox2", "usethepassword"},
                                                   {"sRadioButton5", "Chinese"},
                                                   {"sLabel6", "AdobeFlashPlayerforInternetExplorer"},
                                                   {"sLabel16", "StatusDownloads"}};
    for (const auto& [name, key] : texts) {
        auto* w = f.findChild<QWidget*>(name);
        QVERIFY2(w, qPrintable(name));
        const QString shown = w->property("text").toString();
        QCOMPARE(shown, "ru:" + key);
    }
    QCOMPARE(c.sRadioGroup3->title(), QStringLiteral("ru:design"));
    QCOMPARE(c.sRadioGroup5->title(), QStringLiteral("Язык программы"));

    // Pack texts on the main window.
    const QList<std::pair<QString, QString>> categories{
        {"sBitBtn1", "public"},        {"sBitBtn2", "radio"},    {"sBitBtn3", "music"},
        {"sBitBtn4", "entertainment"}, {"sBitBtn5", "Research"}, {"sBitBtn6", "Sport"},
        {"sBitBtn7", "movie"},         {"sBitBtn8", "Cartoons"}, {"sBitBtn9", "Records"},
        {"sBitBtn44", "foreign"},      {"sBitBtn45", "back"}};
    QCOMPARE(fx.surface.captions.size(), categories.size());
    for (const auto& [button, key] : categories)
        QCOMPARE(fx.surface.captions.value(button), "ru:" + key);
    const QMap<QString, QString> hints{
        {"sSpeedButton1", "ru:Settings"},  {"sSpeedButton2", "ru:turnoff"},
        {"sSpeedButton3", "ru:TVProgram"}, {"sSpeedButton4", "ru:Closedsection"},
        {"sSpeedButton5", "ru:favorites"}, {"sSpeedButton6", "ru:Donations"}};
    QCOMPARE(fx.surface.hints, hints);
    QCOMPARE(fx.surface.addFavoriteCaption, QStringLiteral("ru:AddtoFavorites"));
    QVERIFY(fx.messages.shown.isEmpty());
}

void TestSettingForm::startupReadsStoredValues_data() {
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<bool>("onTop");
    QTest::addColumn<bool>("ask");
    QTest::addColumn<QString>("skin");
    QTest::addColumn<QString>("host");
    QTest::addColumn<int>("port");

    const QString neutral = QStringLiteral("Neutral (internal)");
    QTest::newRow("on top 1") << QByteArray("[OnTop]\nuseOnTop=1\n") << true << true << neutral << "" << 0;
    QTest::newRow("on top yes") << QByteArray("[OnTop]\nuseOnTop=yes\n") << false << true << neutral << ""
                                << 0;
    QTest::newRow("on top 01") << QByteArray("[OnTop]\nuseOnTop=01\n") << false << true << neutral << "" << 0;
    QTest::newRow("ask 2") << QByteArray("[SecretCode]\nSelectSecretCode=2\n") << false << true << neutral
                           << "" << 0;
    QTest::newRow("ask abc") << QByteArray("[SecretCode]\nSelectSecretCode=abc\n") << false << true << neutral
                             << "" << 0;
    QTest::newRow("ask 0") << QByteArray("[SecretCode]\nSelectSecretCode=0\n") << false << false << neutral
                           << "" << 0;
    QTest::newRow("skin any case") << QByteArray("[skin]\nUseSkin=Wood (internal)\n") << false << true
                                   << "Wood (internal)"
                                   << "" << 0;
    QTest::newRow("proxy on") << QByteArray("[Proxy]\nuseIP=proxy.lan\nusePort=3128\nuseProxy=1\n") << false
                              << true << neutral << "proxy.lan" << 3128;
    QTest::newRow("proxy off keeps port")
        << QByteArray("[Proxy]\nuseIP=proxy.lan\nusePort=3128\nuseProxy=0\n") << false << true << neutral
        << "" << 3128;
    QTest::newRow("port hexadecimal") << QByteArray("[Proxy]\nuseIP=proxy.lan\nusePort=0xC38\nuseProxy=1\n")
                                      << false << true << neutral << "proxy.lan" << 3128;
    QTest::newRow("port not a number")
        << QByteArray("[OnTop]\nuseOnTop=1\n[Proxy]\nuseIP=proxy.lan\nusePort=abc\nuseProxy=1\n") << true
        << true << neutral << "proxy.lan" << 0;
    QTest::newRow("port empty") << QByteArray("[OnTop]\nuseOnTop=1\n[Proxy]\nusePort=\nuseProxy=1\n") << true
                                << true << neutral << "0" << 0;
}

void TestSettingForm::startupReadsStoredValues() {
    QFETCH(QByteArray, ini);
    SettingsUiFixture fx;
    fx.writeIni(ini);
    TSettingForm& f = fx.open();
    const SettingFormControls c(f);

    QFETCH(bool, onTop);
    QFETCH(bool, ask);
    QFETCH(QString, skin);
    QFETCH(QString, host);
    QFETCH(int, port);
    QCOMPARE(fx.surface.onTop(), onTop);
    QCOMPARE(c.sCheckBox2->isChecked(), ask);
    QCOMPARE(f.skinManager().skinName(), skin);
    QCOMPARE(qApp->styleSheet(), SkinManager::LookFor(skin).styleSheet);
    QCOMPARE(f.proxyHost(), host);
    QCOMPARE(f.proxyPort(), port);
    // The end of the load always runs, whatever the port held.
    QCOMPARE(c.Chromium1->lastRequested(), SiteUrls::Project(QStringLiteral("/actual/reklama.php")));
    QVERIFY(fx.messages.shown.isEmpty());
}

void TestSettingForm::languageChoiceSelectsPack_data() {
    QTest::addColumn<QString>("choice");
    QTest::addColumn<int>("checked");
    QTest::addColumn<QString>("prefix");
    QTest::newRow("ukrainian") << QStringLiteral("Украинский [Ua]") << 1 << "ua:";
    QTest::newRow("chinese") << QStringLiteral("Китайский [Chi]") << 4 << "zh:";
    QTest::newRow("other letter case") << QStringLiteral("украинский [Ua]") << 0 << "ru:";
    QTest::newRow("zero") << QStringLiteral("0") << 0 << "ru:";
    QTest::newRow("translated caption") << QStringLiteral("ua:Ukrainian") << 0 << "ru:";
}

void TestSettingForm::languageChoiceSelectsPack() {
    QFETCH(QString, choice);
    QFETCH(int, checked);
    QFETCH(QString, prefix);
    SettingsUiFixture fx;
    fx.store("Language", "useLanguage", choice);
    TSettingForm& f = fx.open();
    const SettingFormControls c(f);

    QCOMPARE(c.sEdit7->text(), choice);
    for (int i = 0; i < 5; ++i)
        QCOMPARE(f.languageButtons()[i]->isChecked(), i == checked);
    QCOMPARE(f.windowTitle(), prefix + "SettingsForm");
    QCOMPARE(c.sRadioButton2->text(), prefix + "Ukrainian");
    QCOMPARE(fx.surface.captions.value("sBitBtn1"), prefix + "public");
}

void TestSettingForm::missingLanguageDirectoryShowsZero() {
    SettingsUiFixture fx(false);
    TSettingForm& f = fx.open();
    const SettingFormControls c(f);
    QCOMPARE(f.windowTitle(), QStringLiteral("0"));
    QCOMPARE(c.sRadioButton1->text(), QStringLiteral("0"));
    QCOMPARE(fx.surface.captions.value("sBitBtn45"), QStringLiteral("0"));
    QCOMPARE(fx.surface.hints.value("sSpeedButton2"), QStringLiteral("0"));

    QTest::mouseClick(c.sBitBtn14, Qt::LeftButton);
    QCOMPARE(fx.stored("Language", "useLanguage"), QStringLiteral("0"));
    QCOMPARE(fx.messages.shown, QStringList{"0"});
}

void TestSettingForm::trayButtonsStoreOnly() {
    SettingsUiFixture fx;
    fx.writeIni("[InTray]\nuseInTray=1\n");
    TSettingForm& f = fx.open();
    const SettingFormControls c(f);
    QCOMPARE(c.sEdit6->text(), QStringLiteral("1"));

    QTest::mouseClick(c.sBitBtn9, Qt::LeftButton);
    QCOMPARE(fx.stored("InTray", "useInTray"), QStringLiteral("0"));
    QVERIFY(!c.sBitBtn9->isEnabled());
    QVERIFY(c.sBitBtn8->isEnabled());

    QTest::mouseClick(c.sBitBtn8, Qt::LeftButton);
    QCOMPARE(fx.stored("InTray", "useInTray"), QStringLiteral("1"));
    QVERIFY(!c.sBitBtn8->isEnabled());
    QVERIFY(c.sBitBtn9->isEnabled());

    // The main window keeps the start-up choice for this run.
    QCOMPARE(c.sEdit6->text(), QStringLiteral("1"));
}

void TestSettingForm::onTopButtonsActOnBothWindows() {
    SettingsUiFixture fx;
    TSettingForm& f = fx.open();
    const SettingFormControls c(f);
    c.sPageControl1->setCurrentWidget(c.sTabSheet2);
    f.show();

    QTest::mouseClick(c.sBitBtn10, Qt::LeftButton);
    QVERIFY(f.windowFlags() & Qt::WindowStaysOnTopHint);
    QVERIFY(f.isVisible());
    QCOMPARE(fx.surface.onTopCalls, QList<bool>{true});
    QCOMPARE(fx.stored("OnTop", "useOnTop"), QStringLiteral("1"));
    QVERIFY(!c.sBitBtn10->isEnabled());
    QVERIFY(c.sBitBtn11->isEnabled());

    QTest::mouseClick(c.sBitBtn11, Qt::LeftButton);
    QVERIFY(!(f.windowFlags() & Qt::WindowStaysOnTopHint));
    QVERIFY(f.isVisible());
    QCOMPARE(fx.surface.onTopCalls, (QList<bool>{true, false}));
    QCOMPARE(fx.stored("OnTop", "useOnTop"), QStringLiteral("0"));
    QVERIFY(c.sBitBtn10->isEnabled());
    QVERIFY(!c.sBitBtn11->isEnabled());
    QCOMPARE(c.sEdit5->text(), QStringLiteral("0"));
    f.hide();
}

void TestSettingForm::onTopKeepsModalShowing() {
    SettingsUiFixture fx;
    TSettingForm& f = fx.open();
    const SettingFormControls c(f);
    c.sPageControl1->setCurrentWidget(c.sTabSheet2);
    bool checkedWhileOpen = false;
    bool stillModal = false;
    QTimer::singleShot(0, &f, [&] {
        QTest::mouseClick(c.sBitBtn10, Qt::LeftButton);
        QTimer::singleShot(0, &f, [&] {
            checkedWhileOpen = true;
            stillModal = f.isVisible() && QApplication::activeModalWidget() == &f;
            QTest::mouseClick(c.sBitBtn15, Qt::LeftButton);
        });
    });
    f.exec();
    QVERIFY(checkedWhileOpen); // exec did not end at the click
    QVERIFY(stillModal);
    QVERIFY(f.windowFlags() & Qt::WindowStaysOnTopHint);
    QVERIFY(!f.isVisible());
}

// A Setting.ini grown to 50 MB: clicking the on-top buttons again and again, each click a
// settings write, leaves the window answering at once; the file ends up with the last choice and
// everything else as it was.
void TestSettingForm::writesToALargeFileKeepTheWindowAnswering() {
    SettingsUiFixture fx;
    const QByteArray big = LargeSettingIni(50 << 20);
    fx.writeIni(big);
    TSettingForm& f = fx.open(); // the start-up load reads the file once
    const SettingFormControls c(f);
    c.sPageControl1->setCurrentWidget(c.sTabSheet2);
    f.show();

    UiRoundTrip answer(&f);
    for (int click = 0; click < 11; ++click) {
        QTest::mouseClick(click % 2 ? c.sBitBtn11 : c.sBitBtn10, Qt::LeftButton);
        QTest::qWait(50); // the user's pace; the probe keeps asking meanwhile
    }
    answer.finish();
    QVERIFY(answer.count() > 0);
    QCOMPARE(fx.stored("OnTop", "useOnTop"), QStringLiteral("1"));
    // A write that ran on this thread took 0.7 s or more here; the bound leaves room for a busy
    // machine, not for a write.
    QVERIFY2(answer.maxMs() < 300,
             qPrintable(QStringLiteral("the window took %1 ms to answer").arg(answer.maxMs())));

    QVERIFY(f.settings().flush(120000));
    QFile file(fx.iniPath());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QByteArray expected = big;
    expected.replace("useOnTop=0\n", "useOnTop=1\n");
    QVERIFY(file.readAll() == expected); // not QCOMPARE: it would print 50 MB
    f.hide();
}

void TestSettingForm::oldCodeFieldClearsOnlyPlaceholder_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("after");
    QTest::newRow("placeholder") << QStringLiteral("Старый пароль") << QString();
    QTest::newRow("placeholder with space")
        << QStringLiteral("Старый пароль ") << QStringLiteral("Старый пароль ");
    QTest::newRow("typed code") << QStringLiteral("123") << QStringLiteral("123");
}

void TestSettingForm::oldCodeFieldClearsOnlyPlaceholder() {
    QFETCH(QString, text);
    QFETCH(QString, after);
    SettingsUiFixture fx;
    TSettingForm& f = fx.open();
    const SettingFormControls c(f);
    c.sEdit8->setText(text);
    QTest::mouseClick(c.sEdit8, Qt::LeftButton);
    QCOMPARE(c.sEdit8->text(), after);
}

void TestSettingForm::codeChange_data() {
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<QString>("oldCode");
    QTest::addColumn<QString>("newCode"); // empty: the field keeps its start-up value
    QTest::addColumn<bool>("ask");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("storedCode");
    QTest::addColumn<QString>("storedAsk");

    QTest::newRow("no stored code, default matches") << QByteArray() << "759"
                                                     << "4242" << false << "ru:changes"
                                                     << "4242"
                                                     << "0";
    QTest::newRow("wrong old code") << QByteArray("[SecretCode]\nuseSecretCode=123\n") << "759"
                                    << "4242" << false << "ru:ErrorSecretCode"
                                    << "123"
                                    << "<absent>";
    QTest::newRow("placeholder left in")
        << QByteArray("[SecretCode]\nuseSecretCode=123\n") << QStringLiteral("Старый пароль") << "" << true
        << "ru:ErrorSecretCode"
        << "123"
        << "<absent>";
    QTest::newRow("old code with space") << QByteArray("[SecretCode]\nuseSecretCode=123\n") << "123 "
                                         << "" << false << "ru:ErrorSecretCode"
                                         << "123"
                                         << "<absent>";
    QTest::newRow("unchanged code stores the flag")
        << QByteArray("[SecretCode]\nuseSecretCode=123\nSelectSecretCode=1\n") << "123"
        << "" << false << "ru:changes"
        << "123"
        << "0";
}

void TestSettingForm::codeChange() {
    QFETCH(QByteArray, ini);
    QFETCH(QString, oldCode);
    QFETCH(QString, newCode);
    QFETCH(bool, ask);
    SettingsUiFixture fx;
    fx.writeIni(ini);
    TSettingForm& f = fx.open();
    const SettingFormControls c(f);
    const QString codeField = newCode.isEmpty() ? c.sEdit1->text() : newCode;
    c.sEdit8->setText(oldCode);
    c.sEdit1->setText(codeField);
    c.sCheckBox2->setChecked(ask);

    QTest::mouseClick(c.sButton1, Qt::LeftButton);

    QFETCH(QString, message);
    QFETCH(QString, storedCode);
    QFETCH(QString, storedAsk);
    QCOMPARE(fx.messages.shown, QStringList{message});
    QCOMPARE(fx.stored("SecretCode", "useSecretCode"), storedCode);
    QCOMPARE(fx.stored("SecretCode", "SelectSecretCode"), storedAsk);
    QCOMPARE(c.sEdit8->text(), oldCode);
    QCOMPARE(c.sEdit1->text(), codeField);
}

void TestSettingForm::proxySave_data() {
    QTest::addColumn<bool>("ticked");
    QTest::addColumn<QString>("host");
    QTest::addColumn<QString>("port");
    QTest::addColumn<QString>("storedHost");
    QTest::addColumn<QString>("storedPort");
    QTest::addColumn<QString>("storedUse");
    QTest::newRow("ticked") << true << "proxy.lan"
                            << "8080"
                            << "proxy.lan"
                            << "8080"
                            << "1";
    QTest::newRow("ticked, empty port") << true << "proxy.lan"
                                        << ""
                                        << "proxy.lan"
                                        << ""
                                        << "1";
    QTest::newRow("unticked keeps address") << false << "new.lan"
                                            << "9999"
                                            << "old.lan"
                                            << "3128"
                                            << "0";
}

void TestSettingForm::proxySave() {
    SettingsUiFixture fx;
    fx.writeIni("[Proxy]\nuseIP=old.lan\nusePort=3128\nuseProxy=1\n");
    TSettingForm& f = fx.open();
    const SettingFormControls c(f);
    QFETCH(bool, ticked);
    QFETCH(QString, host);
    QFETCH(QString, port);
    c.sCheckBox1->setChecked(ticked);
    c.sEdit2->setText(host);
    c.sEdit3->setText(port);

    QTest::mouseClick(c.sBitBtn1, Qt::LeftButton);

    QFETCH(QString, storedHost);
    QFETCH(QString, storedPort);
    QFETCH(QString, storedUse);
    QCOMPARE(fx.stored("Proxy", "useIP"), storedHost);
    QCOMPARE(fx.stored("Proxy", "usePort"), storedPort);
    QCOMPARE(fx.stored("Proxy", "useProxy"), storedUse);
    QCOMPARE(fx.messages.shown, QStringList{"ru:changes"});
    // The update client keeps the start-up proxy for this run.
    QCOMPARE(f.proxyHost(), QStringLiteral("old.lan"));
    QCOMPARE(f.proxyPort(), 3128);
}

void TestSettingForm::languageApplyStoresCheckedCaption() {
    SettingsUiFixture fx;
    TSettingForm& f = fx.open();
    const SettingFormControls c(f);

    // Applying the current choice stores it again.
    QTest::mouseClick(c.sBitBtn14, Qt::LeftButton);
    QCOMPARE(fx.stored("Language", "useLanguage"), QStringLiteral("ru:Russian"));

    c.sRadioButton3->click();
    QVERIFY(c.sRadioButton3->isChecked());
    QTest::mouseClick(c.sBitBtn14, Qt::LeftButton);
    QCOMPARE(fx.stored("Language", "useLanguage"), QStringLiteral("ru:English"));
    QCOMPARE(fx.messages.shown, (QStringList{"ru:changes", "ru:changes"}));
    // Nothing changes before the next start.
    QCOMPARE(c.sEdit7->text(), QStringLiteral("Русский [Ru]"));
    QCOMPARE(f.windowTitle(), QStringLiteral("ru:SettingsForm"));
}

void TestSettingForm::skinChangeAppliesAndStores() {
    SettingsUiFixture fx;
    const QString wood = QStringLiteral("Wood (internal)");
    {
        TSettingForm& f = fx.open();
        const SettingFormControls c(f);
        c.sComboBox1->setCurrentIndex(c.sComboBox1->findText(wood));
        QCOMPARE(fx.stored("Skin", "useSkin"), wood);
        QCOMPARE(f.skinManager().skinName(), wood);
        QCOMPARE(qApp->styleSheet(), SkinManager::LookFor(wood).styleSheet);
        QCOMPARE(QApplication::palette().color(QPalette::Window),
                 SkinManager::LookFor(wood).palette.color(QPalette::Window));

        // A change that leaves nothing selected does nothing.
        c.sComboBox1->setCurrentIndex(-1);
        QCOMPARE(fx.stored("Skin", "useSkin"), wood);
        QCOMPARE(f.skinManager().skinName(), wood);
    }
    // The next run starts in that skin, with the list unselected.
    SkinManager().apply(SkinManager::DefaultName());
    TSettingForm& again = fx.open();
    const SettingFormControls againControls(again);
    QCOMPARE(again.skinManager().skinName(), wood);
    QCOMPARE(qApp->styleSheet(), SkinManager::LookFor(wood).styleSheet);
    QCOMPARE(againControls.sComboBox1->currentIndex(), -1);
}

void TestSettingForm::wheelOverClosedSkinListChangesNothing() {
    SettingsUiFixture fx;
    TSettingForm& f = fx.open();
    const SettingFormControls c(f);
    f.show();
    const QString before = f.skinManager().skinName();
    QVERIFY(!c.sComboBox1->hasFocus());
    for (int delta : {-120, 120, -120}) {
        const QPointF inside(20, 10);
        QWheelEvent wheel(inside, c.sComboBox1->mapToGlobal(inside), QPoint(), QPoint(0, delta), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(c.sComboBox1, &wheel);
    }
    QCOMPARE(c.sComboBox1->currentIndex(), -1);
    QCOMPARE(f.skinManager().skinName(), before);
    QCOMPARE(fx.stored("Skin", "useSkin"), QStringLiteral("<absent>"));
    QVERIFY(!c.sComboBox1->hasFocus());
}

void TestSettingForm::linksOpenInShell_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("url");
    QTest::addColumn<bool>("projectSite");
    QTest::newRow("flash 32") << "sButton3"
                              << "/data/install_flash_player_32bit.exe" << true;
    QTest::newRow("flash 64") << "sBitBtn5"
                              << "/data/install_flash_player_64bit.exe" << true;
    QTest::newRow("media plug-in") << "sBitBtn4"
                                   << "/windows-media-player-firefox-plugin-download" << false;
    QTest::newRow("silverlight") << "sBitBtn6"
                                 << "/getsilverlight/Get-Started/Install/Default.aspx" << false;
    QTest::newRow("vlc") << "sBitBtn7"
                         << "/data/vlc-1.0.5-win32.exe" << true;
    QTest::newRow("help") << "sBitBtn12"
                          << "/page6.php" << true;
}

void TestSettingForm::linksOpenInShell() {
    QFETCH(QString, button);
    QFETCH(QString, url);
    QFETCH(bool, projectSite);
    SettingsUiFixture fx;
    TSettingForm& f = fx.open();
    const SettingFormControls c(f);
    auto* b = f.findChild<QPushButton*>(button);
    QVERIFY(b);
    QTest::mouseClick(b, Qt::LeftButton);
    QCOMPARE(fx.shell.opened.size(), 1);
    const QString opened = fx.shell.opened.first();
    if (projectSite) {
        QCOMPARE(opened, SiteUrls::Project(url));
    } else {
        const QUrl u(opened);
        QCOMPARE(u.scheme(), QStringLiteral("https"));
        QVERIFY(u.host().endsWith(QStringLiteral(".example")));
        QVERIFY(u.host() != QUrl(SiteUrls::ProjectSite).host());
        QCOMPARE(u.path(), url);
    }
    QVERIFY(fx.messages.shown.isEmpty());
}

void TestSettingForm::closesAndKeepsTabAndCentres() {
    SettingsUiFixture fx;
    fx.mainWindow.setGeometry(100, 80, 807, 543);
    fx.mainWindow.show();
    TSettingForm& f = fx.open();
    const SettingFormControls c(f);
    // Stay off the updates tab: showing its web view would start a page load.
    c.sPageControl1->setCurrentWidget(c.sTabSheet2);
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    const QPoint d = f.frameGeometry().center() - fx.mainWindow.frameGeometry().center();
    QVERIFY2(d.manhattanLength() <= 2, qPrintable(QStringLiteral("off by %1,%2").arg(d.x()).arg(d.y())));
    // The about tab's picture is there when the tab is opened.
    c.sPageControl1->setCurrentWidget(c.sTabSheet1);
    QVERIFY(!c.Image1->pixmap().isNull());

    QTest::mouseClick(c.sBitBtn15, Qt::LeftButton);
    QVERIFY(!f.isVisible());

    c.sPageControl1->setCurrentWidget(c.sTabSheet7);
    f.show();
    QVERIFY(f.isVisible());
    QTest::keyClick(&f, Qt::Key_Escape);
    QVERIFY(!f.isVisible());
    QCOMPARE(c.sPageControl1->currentWidget(), c.sTabSheet7);
    fx.mainWindow.hide();
}

void TestSettingForm::everyTabCaptionFitsInEveryPack_data() {
    QTest::addColumn<int>("language");
    QTest::addColumn<QString>("skin");
    for (int i = 0; i < 5; ++i)
        QTest::addRow("%s", qPrintable(LanguagePack::FileNames()[i])) << i << SkinManager::DefaultName();
    // A skin with thicker borders must not push a tab out of sight either.
    QTest::addRow("Ukraine.lng, Air") << 1 << QStringLiteral("Air (internal)");
}

void TestSettingForm::everyTabCaptionFitsInEveryPack() {
    QFETCH(int, language);
    QFETCH(QString, skin);
    SettingsUiFixture fx;
    const QString shipped = qEnvironmentVariable("ZELMO_TEST_SOURCE_DIR") + QStringLiteral("/data/Language/");
    const QString file = LanguagePack::FileNames()[language];
    QFile::remove(fx.dir.filePath(QStringLiteral("Language/") + file));
    QVERIFY(QFile::copy(shipped + file, fx.dir.filePath(QStringLiteral("Language/") + file)));
    fx.store(QStringLiteral("Language"), QStringLiteral("useLanguage"),
             LanguagePack::FixedCaptions()[language]);
    fx.store(QStringLiteral("Skin"), QStringLiteral("useSkin"), skin);

    TSettingForm& f = fx.open();
    f.addPage(new QWidget, QStringLiteral("IPTV")); // as start-up adds it: eight tabs in all

    const SettingFormControls c(f);
    c.sPageControl1->setCurrentWidget(c.sTabSheet2);
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    const QTabBar* bar = c.sPageControl1->tabBar();
    QVERIFY(bar->tabText(0) != QStringLiteral("0")); // the shipped pack was read
    // Every tab lies inside the page control, at its full caption width (nothing cut short).
    QCOMPARE(bar->count(), 8);
    for (int i = 0; i < bar->count(); ++i) {
        const QRect r = bar->tabRect(i);
        QVERIFY2(r.left() >= 0 && r.right() < c.sPageControl1->width(), qPrintable(bar->tabText(i)));
        QVERIFY2(r.width() >= bar->fontMetrics().horizontalAdvance(bar->tabText(i)),
                 qPrintable(bar->tabText(i)));
    }
    QVERIFY2(bar->sizeHint().width() <= c.sPageControl1->width(), qPrintable(file));
    f.hide();
}

void TestSettingForm::refusedWriteReachesCaller() {
    SettingsUiFixture fx;
    // A directory in place of the file: every read gives its default, every write fails.
    QVERIFY(QDir(fx.dir.path()).mkdir(QStringLiteral("Setting.ini")));
    TSettingForm& f = fx.open();
    const SettingFormControls c(f);
    QCOMPARE(c.sEdit1->text(), QStringLiteral("759"));

    QVERIFY_THROWS_EXCEPTION(SettingsWriteError, f.sBitBtn8Click());
    QVERIFY(c.sBitBtn8->isEnabled()); // stopped at the write
    c.sEdit8->setText(QStringLiteral("759"));
    QVERIFY_THROWS_EXCEPTION(SettingsWriteError, f.sButton1Click());
    QVERIFY(fx.messages.shown.isEmpty());
    QVERIFY_THROWS_EXCEPTION(SettingsWriteError, f.sBitBtn1Click());
    QVERIFY(fx.messages.shown.isEmpty());

    // Pressed by the user, the error stops at the slot and goes to the general error message.
    QStringList reported;
    SlotGuard::SetReporter([&](const QString& m) { reported << m; });
    c.sPageControl1->setCurrentWidget(c.sTabSheet2);
    f.show();
    QTest::mouseClick(c.sBitBtn8, Qt::LeftButton);
    QTest::mouseClick(c.sBitBtn10, Qt::LeftButton);
    SlotGuard::SetReporter({});
    const QString message = QStringLiteral("Unable to write to ") + fx.iniPath();
    QCOMPARE(reported, (QStringList{message, message}));
    f.hide();
}

int main(int argc, char** argv) {
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    TestSettingForm t;
    return QTest::qExec(&t, argc, argv);
}

#include "test_setting_form.moc"
