#include "settings/ui/TSettingForm.h"

#include "navigation/SiteUrls.h"
#include "platform/AppDir.h"
#include "platform/MessageSink.h"
#include "platform/Shell.h"
#include "platform/SlotGuard.h"
#include "platform/UiText.h"
#include "platform/ui/CentreOnWindow.h"
#include "platform/ui/ChromiumView.h"
#include "platform/ui/OwnedWindow.h"
#include "platform/ui/StayOnTop.h"
#include "settings/LanguagePack.h"
#include "settings/StartupChoices.h"
#include "settings/ui/AboutPicture.h"
#include "settings/ui/MainWindowSurface.h"
#include "settings/ui/MainWindowTexts.h"
#include "settings/ui/PluginLinks.h"
#include "settings/ui/UpdatesTab.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>

namespace {

QString placeholderOldCode() {
    return UiText("SettingsForm", "oldCode", QStringLiteral("Старый пароль"));
}

using namespace SettingKeys;

template <typename W> W* make(QWidget* parent, const char* name, const QRect& geometry) {
    auto* w = new W(parent);
    w->setObjectName(QLatin1String(name));
    w->setGeometry(geometry);
    return w;
}

QPushButton* button(QWidget* parent, const char* name, const QString& text, const QRect& geometry) {
    auto* b = make<QPushButton>(parent, name, geometry);
    b->setText(text);
    // In a dialog an auto-default button would take Enter pressed in any edit field and, for
    // example, store the tray choice while the user is typing a proxy address.
    b->setAutoDefault(false);
    return b;
}

QLabel* label(QWidget* parent, const char* name, const QString& text, const QRect& geometry) {
    auto* l = make<QLabel>(parent, name, geometry);
    l->setText(text);
    return l;
}

QGroupBox* frame(QWidget* parent, const char* name, const QString& title, const QRect& geometry) {
    auto* g = make<QGroupBox>(parent, name, geometry);
    g->setTitle(title);
    return g;
}

QLineEdit* hiddenField(QWidget* parent, const char* name) {
    auto* e = make<QLineEdit>(parent, name, QRect(0, 0, 10, 10));
    e->setVisible(false);
    return e;
}

} // namespace

TSettingForm::TSettingForm(MainWindowSurface& main, QWidget* mainWindow, Shell& shell, MessageSink& messages,
                           HttpClient& updatesHttp, QWidget* parent,
                           std::unique_ptr<TickSource> autoCloseTicks)
    : QDialog(parent ? parent : mainWindow), main_(main), mainWindow_(mainWindow), shell_(shell),
      messages_(messages), updatesHttp_(updatesHttp), settings_(SettingsFilePath()) {
    setObjectName(QStringLiteral("SettingForm"));
    setWindowFlags(OwnedWindowFlags(Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint));
    setModal(true);
    setFixedSize(494, 328);
    setWindowTitle(QStringLiteral("Настройки"));

    sPageControl1 = make<QTabWidget>(this, "sPageControl1", QRect(0, 0, 494, 292));
    // All seven tabs stay in sight: scroll arrows would hide the first ones. fitTabCaptions()
    // shrinks the captions' font until they fit; an ellipsis is only the last resort.
    sPageControl1->setUsesScrollButtons(false);
    sPageControl1->setElideMode(Qt::ElideRight);
    const auto tab = [this](const char* name, const QString& caption) {
        auto* page = new QWidget;
        page->setObjectName(QLatin1String(name));
        sPageControl1->addTab(page, caption);
        return page;
    };
    sTabSheet1 = tab("sTabSheet1", QStringLiteral("О программе"));
    sTabSheet2 = tab("sTabSheet2", QStringLiteral("Настройки"));
    sTabSheet4 = tab("sTabSheet4", QStringLiteral("Настройки прокси"));
    sTabSheet6 = tab("sTabSheet6", QStringLiteral("Таймер"));
    sTabSheet3 = tab("sTabSheet3", QStringLiteral("Нет видео"));
    sTabSheet5 = tab("sTabSheet5", QStringLiteral("Обновления"));
    sTabSheet7 = tab("sTabSheet7", QStringLiteral("Язык"));

    buildAboutTab();
    buildSettingsTab();
    buildProxyTab();
    Timer1 = new AutoCloseCountdown(std::move(autoCloseTicks), this);
    buildTimerTab();
    buildNoVideoTab();
    buildUpdatesTab();
    buildLanguageTab();

    sBitBtn15 = button(this, "sBitBtn15", UiText("SettingsForm", "exit", QStringLiteral("Выход")),
                       QRect(398, 298, 88, 26));
    connect(sBitBtn15, &QPushButton::clicked, this, &TSettingForm::sBitBtn15Click);

    // The first showing opens on the updates tab; later showings keep the tab last used.
    sPageControl1->setCurrentWidget(sTabSheet5);

    FormCreate();
}

TSettingForm::~TSettingForm() = default;

void TSettingForm::buildAboutTab() {
    Image1 = new AboutPictureLabel(QSize(300, 200), sTabSheet1);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(0, 0, 488, 264);
    Image1->setAlignment(Qt::AlignCenter);
}

void TSettingForm::buildSettingsTab() {
    QWidget* page = sTabSheet2;

    sRadioGroup1 =
        frame(page, "sRadioGroup1", QStringLiteral("Сворачивать приложение"), QRect(6, 2, 476, 54));
    sBitBtn8 = button(sRadioGroup1, "sBitBtn8", QStringLiteral("В системный трей"), QRect(10, 20, 170, 26));
    sBitBtn9 = button(sRadioGroup1, "sBitBtn9", QStringLiteral("В панель задач"), QRect(190, 20, 170, 26));

    sRadioGroup2 = frame(page, "sRadioGroup2", QStringLiteral("Закрытый раздел"), QRect(6, 58, 476, 78));
    sEdit8 = make<QLineEdit>(sRadioGroup2, "sEdit8", QRect(10, 20, 170, 24));
    sEdit8->setText(placeholderOldCode());
    sEdit8->installEventFilter(this);
    sEdit1 = make<QLineEdit>(sRadioGroup2, "sEdit1", QRect(10, 48, 170, 24));
    sEdit1->setEchoMode(QLineEdit::Password);
    // The old code's field says what it is by its text, which the user types over.
    sEdit8->setAccessibleName(placeholderOldCode());
    sEdit1->setAccessibleName(UiText("Access", "newCode", QStringLiteral("Новый пароль")));
    sEdit1->setStyleSheet(QStringLiteral("lineedit-password-character: 42;")); // '*'
    sButton1 = button(sRadioGroup2, "sButton1", UiText("SettingsForm", "ok", QStringLiteral("ОК")),
                      QRect(186, 48, 50, 24));
    sCheckBox2 = make<QCheckBox>(sRadioGroup2, "sCheckBox2", QRect(250, 34, 220, 24));
    sCheckBox2->setText(QStringLiteral("Использовать пароль"));

    sRadioGroup3 = frame(page, "sRadioGroup3", QStringLiteral("Оформление"), QRect(6, 138, 476, 54));
    sComboBox1 = make<QComboBox>(sRadioGroup3, "sComboBox1", QRect(10, 20, 250, 26));
    sComboBox1->addItems(SkinManager::Names());
    sComboBox1->setMaxVisibleItems(20);
    sComboBox1->setAccessibleName(UiText("Access", "skin", QStringLiteral("Оформление")));
    sComboBox1->setCurrentIndex(-1);
    // The skin changes when an item is picked: a wheel turned over the closed list without focus
    // neither takes the focus nor changes the skin.
    sComboBox1->setFocusPolicy(Qt::StrongFocus);
    sComboBox1->installEventFilter(this);

    sRadioGroup4 = frame(page, "sRadioGroup4", QStringLiteral("Поверх всех окон"), QRect(6, 194, 476, 54));
    sBitBtn10 = button(sRadioGroup4, "sBitBtn10", QStringLiteral("Включить"), QRect(10, 20, 170, 26));
    sBitBtn11 = button(sRadioGroup4, "sBitBtn11", QStringLiteral("Выключить"), QRect(190, 20, 170, 26));

    sEdit5 = hiddenField(page, "sEdit5");
    sEdit6 = hiddenField(page, "sEdit6");

    connect(sBitBtn8, &QPushButton::clicked, this, SlotGuard::Guarded(this, &TSettingForm::sBitBtn8Click));
    connect(sBitBtn9, &QPushButton::clicked, this, SlotGuard::Guarded(this, &TSettingForm::sBitBtn9Click));
    connect(sBitBtn10, &QPushButton::clicked, this, SlotGuard::Guarded(this, &TSettingForm::sBitBtn10Click));
    connect(sBitBtn11, &QPushButton::clicked, this, SlotGuard::Guarded(this, &TSettingForm::sBitBtn11Click));
    connect(sButton1, &QPushButton::clicked, this, SlotGuard::Guarded(this, &TSettingForm::sButton1Click));
    connect(sComboBox1, &QComboBox::currentIndexChanged, this,
            SlotGuard::Guarded(this, &TSettingForm::sComboBox1Change));
}

void TSettingForm::buildProxyTab() {
    QWidget* page = sTabSheet4;
    sLabel1 = label(page, "sLabel1", QStringLiteral("Адрес:"), QRect(16, 20, 110, 24));
    sEdit2 = make<QLineEdit>(page, "sEdit2", QRect(130, 20, 200, 24));
    sLabel2 = label(page, "sLabel2", QStringLiteral("Порт:"), QRect(16, 52, 110, 24));
    sEdit3 = make<QLineEdit>(page, "sEdit3", QRect(130, 52, 90, 24));
    sLabel1->setBuddy(sEdit2);
    sLabel2->setBuddy(sEdit3);
    sCheckBox1 = make<QCheckBox>(page, "sCheckBox1", QRect(16, 88, 400, 24));
    sCheckBox1->setText(QStringLiteral("Использовать настройки прокси"));
    sBitBtn1 =
        button(page, "sBitBtn1", QStringLiteral("Сохранить настройки соединения"), QRect(16, 124, 260, 28));
    connect(sBitBtn1, &QPushButton::clicked, this, SlotGuard::Guarded(this, &TSettingForm::sBitBtn1Click));
}

void TSettingForm::buildTimerTab() {
    QWidget* page = sTabSheet6;
    sLabel3 = label(page, "sLabel3", QStringLiteral("Закрыть программу через "), QRect(16, 24, 220, 24));
    sEdit4 = make<QLineEdit>(page, "sEdit4", QRect(240, 24, 60, 24));
    sLabel4 = label(page, "sLabel4", QStringLiteral("минут"), QRect(308, 24, 80, 24));
    sLabel3->setBuddy(sEdit4);
    sBitBtn2 = button(page, "sBitBtn2", QStringLiteral("Подтвердить"), QRect(16, 58, 140, 28));
    sLabel11 =
        label(page, "sLabel11", QStringLiteral("Программа будет закрыта через "), QRect(16, 110, 250, 24));
    sLabel12 = label(page, "sLabel12", QStringLiteral("0000000"), QRect(270, 110, 80, 24));
    sLabel13 = label(page, "sLabel13", QStringLiteral("секунд"), QRect(354, 110, 80, 24));
    sButton2 = button(page, "sButton2", QStringLiteral("Сброс"), QRect(16, 144, 140, 28));
    connect(sBitBtn2, &QPushButton::clicked, this, &TSettingForm::sBitBtn2Click);
    connect(sButton2, &QPushButton::clicked, this, &TSettingForm::sButton2Click);
    connect(Timer1, &AutoCloseCountdown::labelChanged, sLabel12, &QLabel::setText);
    // Closing the main window ends the program, as when the user closes it.
    connect(Timer1, &AutoCloseCountdown::closeRequested, this, [this] {
        if (mainWindow_)
            mainWindow_->close();
    });
}

void TSettingForm::buildNoVideoTab() {
    QWidget* page = sTabSheet3;
    sLabel5 = label(page, "sLabel5", QStringLiteral("Для просмотра телеканалов необходимы:"),
                    QRect(16, 10, 456, 24));
    sLabel6 = label(page, "sLabel6", QStringLiteral("Adobe Flash Player"), QRect(16, 44, 220, 26));
    sButton3 = button(page, "sButton3", UiText("SettingsForm", "bits32", QStringLiteral("32 Бит")),
                      QRect(250, 44, 100, 26));
    sBitBtn5 = button(page, "sBitBtn5", UiText("SettingsForm", "bits64", QStringLiteral("64 Бит")),
                      QRect(360, 44, 100, 26));
    sLabel7 = label(page, "sLabel7", QStringLiteral("Windows Media Player"), QRect(16, 80, 220, 26));
    sBitBtn4 = button(page, "sBitBtn4", QStringLiteral("Установить"), QRect(250, 80, 210, 26));
    sLabel9 = label(page, "sLabel9", QStringLiteral("Microsoft Silverlight"), QRect(16, 116, 220, 26));
    sBitBtn6 = button(page, "sBitBtn6", QStringLiteral("Установить"), QRect(250, 116, 210, 26));
    sLabel10 = label(page, "sLabel10", QStringLiteral("VLC media player"), QRect(16, 152, 220, 26));
    sBitBtn7 = button(page, "sBitBtn7", QStringLiteral("Установить"), QRect(250, 152, 210, 26));
    sBitBtn12 = button(page, "sBitBtn12", QStringLiteral("Помощь"), QRect(16, 200, 140, 28));

    connect(sButton3, &QPushButton::clicked, this, &TSettingForm::sButton3Click);
    connect(sBitBtn5, &QPushButton::clicked, this, &TSettingForm::sBitBtn5Click);
    connect(sBitBtn4, &QPushButton::clicked, this, &TSettingForm::sBitBtn4Click);
    connect(sBitBtn6, &QPushButton::clicked, this, &TSettingForm::sBitBtn6Click);
    connect(sBitBtn7, &QPushButton::clicked, this, &TSettingForm::sBitBtn7Click);
    connect(sBitBtn12, &QPushButton::clicked, this, &TSettingForm::sBitBtn12Click);
}

void TSettingForm::buildUpdatesTab() {
    QWidget* page = sTabSheet5;
    sLabel15 = label(page, "sLabel15", QStringLiteral("Ваша версия программы"), QRect(12, 8, 230, 22));
    sLabel17 = label(page, "sLabel17", QStringLiteral(ZELMO_VERSION), QRect(250, 8, 100, 22));
    sLabel14 = label(page, "sLabel14", QStringLiteral("Актуальная версия программы"), QRect(12, 32, 230, 22));
    sLabel18 = label(page, "sLabel18", QStringLiteral("0"), QRect(250, 32, 220, 22));
    sBitBtn13 = button(page, "sBitBtn13", QStringLiteral("Скачать"), QRect(12, 60, 120, 26));
    sButton4 = button(page, "sButton4", UiText("SettingsForm", "check", QStringLiteral("Проверить")),
                      QRect(140, 60, 120, 26));
    Chromium1 = make<ChromiumView>(page, "Chromium1", QRect(12, 92, 270, 110));
    // The project's news box: Tab passes it by instead of vanishing into the page for two presses.
    Chromium1->setFocusPolicy(Qt::NoFocus);
    sLabel16 = label(page, "sLabel16", QStringLiteral("Статус загрузки"), QRect(12, 206, 230, 22));
    sProgressBar1 = make<QProgressBar>(page, "sProgressBar1", QRect(12, 230, 464, 20));
    sProgressBar1->setRange(0, 100);
    sProgressBar1->setValue(0);
    sProgressBar1->setTextVisible(false);

    // Once the installer is started, the program gets out of its way.
    updates_ = new UpdatesTab(
        updatesHttp_, sLabel18, sProgressBar1, messages_, shell_,
        [this] {
            close();
            if (mainWindow_)
                mainWindow_->close();
        },
        this);
    connect(sButton4, &QPushButton::clicked, this, &TSettingForm::sButton4Click);
    connect(sBitBtn13, &QPushButton::clicked, this, &TSettingForm::sBitBtn13Click);
}

void TSettingForm::buildLanguageTab() {
    QWidget* page = sTabSheet7;
    sRadioGroup5 =
        frame(page, "sRadioGroup5", UiText("SettingsForm", "languageGroup", QStringLiteral("Язык программы")),
              QRect(12, 6, 300, 190));
    const auto& captions = LanguagePack::FixedCaptions();
    const char* names[5] = {"sRadioButton1", "sRadioButton2", "sRadioButton3", "sRadioButton4",
                            "sRadioButton5"};
    std::array<QRadioButton*, 5> buttons{};
    for (int i = 0; i < 5; ++i) {
        buttons[i] = make<QRadioButton>(sRadioGroup5, names[i], QRect(14, 24 + i * 32, 270, 26));
        buttons[i]->setText(captions[i]);
    }
    sRadioButton1 = buttons[0];
    sRadioButton2 = buttons[1];
    sRadioButton3 = buttons[2];
    sRadioButton4 = buttons[3];
    sRadioButton5 = buttons[4];
    sRadioButton1->setChecked(true);
    sBitBtn14 = button(page, "sBitBtn14", QStringLiteral("Применить"), QRect(12, 206, 140, 28));
    sEdit7 = hiddenField(page, "sEdit7");
    connect(sBitBtn14, &QPushButton::clicked, this, SlotGuard::Guarded(this, &TSettingForm::sBitBtn14Click));
}

std::array<QRadioButton*, 5> TSettingForm::languageButtons() const {
    return {sRadioButton1, sRadioButton2, sRadioButton3, sRadioButton4, sRadioButton5};
}

void TSettingForm::FormCreate() {
    const StartupChoices start = StartupChoices::Read(settings_, SkinManager::DefaultName());
    sSkinManager1.apply(start.skin);
    sEdit1->setText(start.secretCode);
    sEdit5->setText(start.onTop);
    sEdit6->setText(start.inTray);
    sEdit2->setText(start.proxyHostText);
    sEdit3->setText(start.proxyPortText);
    sCheckBox1->setChecked(start.useProxy);
    sCheckBox2->setChecked(start.askForCode);

    sEdit7->setText(start.language);
    languageButtons()[start.languageIndex]->setChecked(true);
    SetLanguagePack(LanguagePack(LanguagePack::PackPath(start.languageIndex)));
    ApplyLanguageTexts();

    proxyHost_ = start.proxyHost();
    proxyPort_ = start.proxyPort();
    updates_->setProxy(proxyHost_, proxyPort_);

    if (start.staysOnTop())
        main_.setStayOnTop(true);

    Chromium1->load(SiteUrls::Project(QStringLiteral("/actual/reklama.php")));
}

void TSettingForm::ApplyLanguageTexts() {
    const auto text = [](const char* section, const char* key) {
        return LangText(QLatin1String(section), QLatin1String(key));
    };
    const auto setTab = [this](QWidget* page, const QString& caption) {
        sPageControl1->setTabText(sPageControl1->indexOf(page), caption);
    };

    setWindowTitle(text("Settings", "SettingsForm"));
    setTab(sTabSheet1, text("Settings", "About"));
    setTab(sTabSheet2, text("Settings", "Setting"));
    setTab(sTabSheet3, text("Settings", "noVideo"));
    setTab(sTabSheet4, text("Settings", "proxySetting"));
    setTab(sTabSheet5, text("Settings", "updates"));
    setTab(sTabSheet6, text("Settings", "timer"));
    setTab(sTabSheet7, text("Settings", "language"));
    sRadioGroup1->setTitle(text("Settings", "minimizeapplication"));
    sRadioGroup2->setTitle(text("Settings", "Closedsection"));
    sRadioGroup3->setTitle(text("Settings", "design"));
    sRadioGroup4->setTitle(text("Settings", "Ontop"));
    sBitBtn8->setText(text("Settings", "Inthesystemtray"));
    sBitBtn9->setText(text("Settings", "IntheTaskbar"));
    sBitBtn10->setText(text("Settings", "turnon"));
    sBitBtn11->setText(text("Settings", "turnoff"));
    sLabel1->setText(text("Settings", "ip"));
    sLabel2->setText(text("Settings", "port"));
    sCheckBox1->setText(text("Settings", "Useproxysettings"));
    sBitBtn1->setText(text("Settings", "Savetheconnectionsettings"));
    sLabel3->setText(text("Settings", "Closetheprogramafter"));
    sLabel4->setText(text("Settings", "minutes"));
    sBitBtn2->setText(text("Settings", "confirm"));
    sBitBtn14->setText(text("Settings", "confirm"));
    sLabel11->setText(text("Settings", "Theprogramwillbeclosedafter"));
    sLabel13->setText(text("Settings", "seconds"));
    sButton2->setText(text("Settings", "reset"));
    sLabel5->setText(text("Settings", "ToviewtheTVchannelsyouneed"));
    sLabel6->setText(text("Settings", "AdobeFlashPlayerforInternetExplorer"));
    sBitBtn4->setText(text("Settings", "Install"));
    sBitBtn6->setText(text("Settings", "Install"));
    sBitBtn7->setText(text("Settings", "Install"));
    sBitBtn12->setText(text("Settings", "Help"));
    sBitBtn13->setText(text("Settings", "Download"));
    sLabel15->setText(text("Settings", "Yourversion"));
    sLabel14->setText(text("Settings", "Crucialversion"));
    sLabel16->setText(text("Settings", "StatusDownloads"));
    for (int i = 0; i < 5; ++i)
        languageButtons()[i]->setText(text("Settings", LanguagePack::CaptionKey(i)));
    sCheckBox2->setText(text("Settings", "usethepassword"));

    WriteMainWindowTexts(main_);
}

void TSettingForm::fitTabCaptions() {
    QTabBar* bar = sPageControl1->tabBar();
    QFont f = bar->font();
    const qreal full = QApplication::font(bar).pointSizeF();
    // A smaller face first; then narrower margins beside the captions as well (eight tabs in
    // Ukrainian need both).
    for (int margin : {-1, 2, 1}) {
        bar->setStyleSheet(
            margin < 0
                ? QString()
                : QStringLiteral("QTabBar::tab { padding-left: %1px; padding-right: %1px; }").arg(margin));
        for (qreal size = full; size >= 7.0; size -= 0.5) {
            f.setPointSizeF(size);
            bar->setFont(f);
            bar->ensurePolished();
            if (bar->sizeHint().width() <= sPageControl1->width())
                return;
        }
    }
}

void TSettingForm::showEvent(QShowEvent* e) {
    fitTabCaptions(); // the language and the skin decide how wide the captions are
    CentreOnWindow(this, mainWindow_);
    QDialog::showEvent(e);
}

bool TSettingForm::eventFilter(QObject* watched, QEvent* e) {
    if (watched == sEdit8 && e->type() == QEvent::MouseButtonPress)
        sEdit8Click();
    if (watched == sComboBox1 && e->type() == QEvent::Wheel && !sComboBox1->hasFocus())
        return true;
    return QDialog::eventFilter(watched, e);
}

// Minimise behaviour: only stored; the main window keeps the start-up choice (sEdit6) for this run.
void TSettingForm::sBitBtn8Click() {
    WriteSetting(settings_, InTray, QStringLiteral("1"));
    sBitBtn8->setEnabled(false);
    sBitBtn9->setEnabled(true);
}

void TSettingForm::sBitBtn9Click() {
    WriteSetting(settings_, InTray, QStringLiteral("0"));
    sBitBtn9->setEnabled(false);
    sBitBtn8->setEnabled(true);
}

void TSettingForm::sBitBtn10Click() {
    SetStaysOnTop(this, true);
    main_.setStayOnTop(true);
    sBitBtn10->setEnabled(false);
    sBitBtn11->setEnabled(true);
    WriteSetting(settings_, OnTop, QStringLiteral("1"));
}

void TSettingForm::sBitBtn11Click() {
    SetStaysOnTop(this, false);
    main_.setStayOnTop(false);
    sBitBtn11->setEnabled(false);
    sBitBtn10->setEnabled(true);
    WriteSetting(settings_, OnTop, QStringLiteral("0"));
}

void TSettingForm::sEdit8Click() {
    if (sEdit8->text() == placeholderOldCode())
        sEdit8->clear();
}

void TSettingForm::sButton1Click() {
    const QString stored = ReadSetting(settings_, SecretCode, StartupChoices::DefaultSecretCode());
    if (sEdit8->text() != stored) {
        messages_.show(LangText(QStringLiteral("Message"), QStringLiteral("ErrorSecretCode")));
        return;
    }
    WriteSetting(settings_, SecretCode, sEdit1->text());
    WriteSettingFlag(settings_, AskForCode, sCheckBox2->isChecked());
    messages_.show(LangText(QStringLiteral("Message"), QStringLiteral("changes")));
}

void TSettingForm::sComboBox1Change() {
    if (sComboBox1->currentIndex() < 0)
        return;
    const QString name = sComboBox1->currentText();
    sSkinManager1.apply(name);
    fitTabCaptions();
    WriteSetting(settings_, Skin, name);
}

void TSettingForm::sBitBtn1Click() {
    if (sCheckBox1->isChecked()) {
        WriteSetting(settings_, ProxyHost, sEdit2->text());
        WriteSetting(settings_, ProxyPort, sEdit3->text());
        WriteSettingFlag(settings_, UseProxy, true);
    } else {
        WriteSettingFlag(settings_, UseProxy, false);
    }
    messages_.show(LangText(QStringLiteral("Message"), QStringLiteral("changes")));
}

void TSettingForm::sBitBtn14Click() {
    for (QRadioButton* b : languageButtons()) {
        if (b->isChecked()) {
            WriteSetting(settings_, Language, b->text());
            messages_.show(LangText(QStringLiteral("Message"), QStringLiteral("changes")));
            return;
        }
    }
}

void TSettingForm::sButton3Click() {
    shell_.open(PluginLinks::Flash32());
}
void TSettingForm::sBitBtn5Click() {
    shell_.open(PluginLinks::Flash64());
}
void TSettingForm::sBitBtn4Click() {
    shell_.open(PluginLinks::MediaPlayerPlugin());
}
void TSettingForm::sBitBtn6Click() {
    shell_.open(PluginLinks::Silverlight());
}
void TSettingForm::sBitBtn7Click() {
    shell_.open(PluginLinks::VlcPlayer());
}
void TSettingForm::sBitBtn12Click() {
    shell_.open(PluginLinks::Help());
}

void TSettingForm::sBitBtn2Click() {
    if (!Timer1->confirm(sEdit4->text()))
        messages_.show(LangText(QStringLiteral("Message"), QStringLiteral("Donotenteravalueoftrue")));
}

void TSettingForm::sButton2Click() {
    Timer1->reset();
}

void TSettingForm::sBitBtn15Click() {
    close();
}

void TSettingForm::sButton4Click() {
    updates_->check();
}

void TSettingForm::sBitBtn13Click() {
    updates_->download();
}

QString TSettingForm::trayMode() const {
    return sEdit6->text();
}

QString TSettingForm::closedSectionCode() const {
    return sEdit1->text();
}

bool TSettingForm::asksForCode() const {
    return sCheckBox2->isChecked();
}

void TSettingForm::addPage(QWidget* page, const QString& caption) {
    sPageControl1->addTab(page, caption);
}

void TSettingForm::showPage(QWidget* page) {
    sPageControl1->setCurrentWidget(page);
}
