#include "app/ui/TForm1.h"

#include "app/MinimizePolicy.h"
#include "app/ui/MainWindowPictures.h"
#include "app/ui/ModalShow.h"
#include "app/ui/ToolIcons.h"
#include "navigation/CategoryBar.h"
#include "navigation/SiteUrls.h"
#include "platform/MediaBackend.h"
#include "platform/MessageSink.h"
#include "platform/Shell.h"
#include "platform/SlotGuard.h"
#include "platform/UiText.h"
#include "platform/ui/ButtonCaption.h"
#include "platform/ui/CaptionButton.h"
#include "platform/ui/ChromiumView.h"
#include "platform/ui/PopupMenuBinding.h"
#include "platform/ui/StayOnTop.h"
#include "radio/MainWindowRadio.h"
#include "radio/ui/RadioIcons.h"
#include "radio/ui/RadioRecording.h"
#include "radio/ui/TMyRadioForm.h"
#include "radio/ui/TRadioForm.h"
#include "radio/ui/VolumeBar.h"

#include <QAction>
#include <QCloseEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QShowEvent>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QToolButton>

namespace {

// How often start-up looks whether the audio engine has loaded.
constexpr int kAudioPollMs = 50;

QToolButton* makeSpeedButton(QWidget* parent, const QString& name, QRect geometry, const QIcon& icon,
                             const QString& hint) {
    auto* b = new QToolButton(parent);
    b->setObjectName(name);
    b->setGeometry(geometry);
    b->setIcon(icon);
    b->setIconSize(QSize(32, 32));
    b->setAutoRaise(true);
    b->setFocusPolicy(Qt::NoFocus);
    if (!hint.isEmpty())
        b->setToolTip(hint);
    return b;
}

} // namespace

TForm1::TForm1(Services services, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      services_(std::move(services)), rules_(*this, services_.langText),
      trayAvailable_([] { return QSystemTrayIcon::isSystemTrayAvailable(); }) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral(ZELMO_NAME));
    setFixedSize(kClientSize);

    buildCategoryBar();
    buildPanel();
    // Nothing above measures text or draws a picture.
    if (services_.beforeFirstText)
        services_.beforeFirstText();
    MainWindowPictures pictures; // drawn on the other core while the first text is measured here
    buildRecordNameField();
    setWindowIcon(pictures.tool(ToolMotif::Program));
    giveRadioStripPictures(pictures);
    buildToolBar(pictures);

    StartTVButton = new QPushButton(this);
    StartTVButton->setObjectName(QStringLiteral("StartTVButton"));
    StartTVButton->setGeometry(405, 491, 115, 25);
    SetButtonCaption(StartTVButton, QStringLiteral("Запуск ТВ каналов"));
    StartTVButton->hide();
    connect(StartTVButton, &QPushButton::clicked, this,
            SlotGuard::Guarded(this, &TForm1::StartTVButtonClick));

    Button1 = new QPushButton(this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(526, 491, 98, 25);
    SetButtonCaption(Button1, QStringLiteral("Запуск MyRadio"));
    Button1->hide();
    connect(Button1, &QPushButton::clicked, this, SlotGuard::Guarded(this, &TForm1::Button1Click));

    TrayIcon1 = new QSystemTrayIcon(windowIcon(), this);
    TrayIcon1->setObjectName(QStringLiteral("TrayIcon1"));
    connect(TrayIcon1, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason r) {
        if (r == QSystemTrayIcon::DoubleClick)
            TrayIcon1DblClick();
    });

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    N1 = PopupMenu1->addAction(QStringLiteral("Добавить в Избранное"));
    N1->setObjectName(QStringLiteral("N1"));
    connect(N1, &QAction::triggered, this, [this] {
        if (popupButton_)
            emit addFavoriteRequested(ButtonCaption(popupButton_));
    });

    FormCreate();
}

TForm1::~TForm1() {
    FormDestroy();
}

void TForm1::buildCategoryBar() {
    // The bar as designed; the settings window replaces the captions with the language pack's.
    for (const CategoryButton& def : CategoryBar::Buttons()) {
        auto* b = new CaptionButton(/*wrap=*/false, this);
        b->setObjectName(CategoryBar::ControlName(def.number));
        b->setGeometry(def.left, def.top, def.width, CategoryBar::kHeight);
        b->setStyleSheet(QStringLiteral("QPushButton { padding: 0px 2px; font-size: 11px; }"));
        SetButtonCaption(b, QString::fromUtf16(def.builtInCaption));
        b->setFocusPolicy(Qt::NoFocus);
        // The bar starts with the main set.
        if (!def.mainKey)
            b->hide();
        const int number = def.number;
        connect(b, &QPushButton::clicked, this, SlotGuard::Guarded([this, number] { rules_.click(number); }));
        categoryBar_.push_back(b);
    }
    sBitBtn1 = categoryButton(1);
    sBitBtn2 = categoryButton(2);
    sBitBtn3 = categoryButton(3);
    sBitBtn4 = categoryButton(4);
    sBitBtn5 = categoryButton(5);
    sBitBtn6 = categoryButton(6);
    sBitBtn7 = categoryButton(7);
    sBitBtn8 = categoryButton(8);
    sBitBtn9 = categoryButton(9);
    sBitBtn44 = categoryButton(44);
    sBitBtn45 = categoryButton(45);
}

void TForm1::buildPanel() {
    sPanel1 = new QFrame(this);
    sPanel1->setObjectName(QStringLiteral("sPanel1"));
    sPanel1->setGeometry(5, 35, 800, 450);

    Chromium1 = new ChromiumView(sPanel1);
    // From the tray the channel may go on playing: the main view keeps its browser while hidden.
    Chromium1->setKeepBrowserWhileHidden(true);
    Chromium1->setObjectName(QStringLiteral("Chromium1"));
    Chromium1->setGeometry(7, 7, 590, 436);

    QFont slotFont(QStringLiteral("Tahoma"));
    slotFont.setPixelSize(11);
    static constexpr int kColumns[] = {600, 666, 732};
    for (int k = 1; k <= kSlots; ++k) {
        auto* b = new CaptionButton(/*wrap=*/true, sPanel1);
        const QString name = QStringLiteral("sBitBtn%1").arg(k + 9);
        b->setObjectName(name);
        const int row = (k - 1) / 3 + 1;
        b->setGeometry(kColumns[(k - 1) % 3], 4 + 44 * (row - 1), 64, 42);
        b->setFont(slotFont);
        b->setStyleSheet(QStringLiteral("QPushButton { padding: 0px 1px; font-size: 11px; }"));
        b->setFocusPolicy(Qt::NoFocus);
        SetButtonCaption(b, name); // until a layout writes its caption
        connect(b, &QPushButton::clicked, this, [this, k] { slotClick(k); });
        Slots[static_cast<size_t>(k - 1)] = b;
    }

    QFont headingFont(QStringLiteral("MS Sans Serif"));
    headingFont.setPixelSize(13);
    static constexpr int kHeadingY[] = {20, 145, 280, 375};
    const QString kHeadingText[] = {UiText("MainForm", "georgia", QStringLiteral("Грузия")),
                                    UiText("MainForm", "kazakhstan", QStringLiteral("Казахстан")),
                                    UiText("MainForm", "armenia", QStringLiteral("Армения")),
                                    UiText("MainForm", "belarus", QStringLiteral("Беларусь"))};
    QLabel** headings[] = {&sLabel1, &sLabel2, &sLabel3, &sLabel4};
    for (int h = 0; h < 4; ++h) {
        auto* l = new QLabel(kHeadingText[h], sPanel1);
        l->setObjectName(QStringLiteral("sLabel%1").arg(h + 1));
        l->setGeometry(670, kHeadingY[h], 125, 16);
        l->setFont(headingFont);
        l->setStyleSheet(QStringLiteral("color: black;"));
        l->hide();
        *headings[h] = l;
    }

    buildRadioStrip();
}

void TForm1::buildRadioStrip() {
    sPanel2 = new QFrame(sPanel1);
    sPanel2->setObjectName(QStringLiteral("sPanel2"));
    sPanel2->setGeometry(602, 365, 190, 77);
    sPanel2->setFrameShape(QFrame::StyledPanel);
    sPanel2->setAutoFillBackground(true);

    // Their pictures follow (giveRadioStripPictures).
    sSpeedButton10 = makeSpeedButton(sPanel2, QStringLiteral("sSpeedButton10"), QRect(15, 5, 32, 32), {},
                                     UiText("RadioStrip", "record", QStringLiteral("Записать радио")));
    sSpeedButton11 = makeSpeedButton(sPanel2, QStringLiteral("sSpeedButton11"), QRect(15, 5, 32, 32), {},
                                     UiText("RadioStrip", "stopRecord", QStringLiteral("Остановить запись")));
    sSpeedButton12 = makeSpeedButton(sPanel2, QStringLiteral("sSpeedButton12"), QRect(55, 5, 32, 32), {},
                                     UiText("RadioStrip", "radioOff", QStringLiteral("Выключить радио")));
    sSpeedButton13 = makeSpeedButton(sPanel2, QStringLiteral("sSpeedButton13"), QRect(95, 5, 32, 32), {},
                                     UiText("RadioStrip", "miniRadio", QStringLiteral("Запуск минирадио")));
    sSpeedButton14 = makeSpeedButton(sPanel2, QStringLiteral("sSpeedButton14"), QRect(135, 5, 32, 32), {},
                                     UiText("RadioStrip", "myRadio", QStringLiteral("Мое радио")));

    sScrollBar1 = new QScrollBar(Qt::Horizontal, sPanel2);
    sScrollBar1->setObjectName(QStringLiteral("sScrollBar1"));
    sScrollBar1->setGeometry(15, 41, 160, 15);
    SetUpVolumeBar(*sScrollBar1);

    VolumeCaption = new QLabel(UiText("RadioStrip", "volume", QStringLiteral("Громкость")), sPanel2);
    VolumeCaption->setObjectName(QStringLiteral("VolumeCaption"));
    VolumeCaption->setGeometry(15, 57, 160, 16);
    VolumeCaption->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

    sPanel2->hide();
    sScrollBar1->hide();
    sSpeedButton10->hide();
    sSpeedButton11->hide();
    sSpeedButton12->hide();

    connect(sSpeedButton12, &QToolButton::clicked, this, &TForm1::sSpeedButton12Click);
    connect(sSpeedButton13, &QToolButton::clicked, this, &TForm1::miniRadioRequested);
    connect(sSpeedButton14, &QToolButton::clicked, this, &TForm1::myRadioRequested);
    connect(sScrollBar1, &QScrollBar::valueChanged, this, &TForm1::sScrollBar1Change);
}

void TForm1::giveRadioStripPictures(MainWindowPictures& pictures) {
    sSpeedButton10->setIcon(pictures.radio(RadioIcons::Motif::Record));
    sSpeedButton11->setIcon(pictures.radio(RadioIcons::Motif::StopRecording));
    sSpeedButton12->setIcon(pictures.radio(RadioIcons::Motif::RadioOff));
    sSpeedButton13->setIcon(pictures.tool(ToolMotif::MiniRadio));
    sSpeedButton14->setIcon(pictures.tool(ToolMotif::MyRadio));
}

void TForm1::buildRecordNameField() {
    // The last control of the radio strip, above the volume bar it shares its place with.
    sEdit1 = new QLineEdit(QStringLiteral("MyRecord"), sPanel2);
    sEdit1->setObjectName(QStringLiteral("sEdit1"));
    sEdit1->setGeometry(15, 41, 160, 20);
    sEdit1->hide();
}

void TForm1::buildToolBar(MainWindowPictures& pictures) {
    struct ToolSpec {
        QToolButton** member;
        int number;
        int x;
        ToolMotif motif;
        const char16_t* hint;
    };
    const ToolSpec tools[] = {
        {&sSpeedButton8, 8, 5, ToolMotif::BoxArrow, nullptr},
        {&sSpeedButton9, 9, 5, ToolMotif::BoxArrowBlue, nullptr},
        {&sSpeedButton1, 1, 50, ToolMotif::Gear, u"Настройки"},
        {&sSpeedButton4, 4, 95, ToolMotif::Heart, u"Закрытый раздел"},
        {&sSpeedButton2, 2, 140, ToolMotif::Power, u"Выключить"},
        {&sSpeedButton5, 5, 630, ToolMotif::Star, u"Избранное"},
        {&sSpeedButton3, 3, 675, ToolMotif::Grid, u"ТВ программа"},
        {&sSpeedButton7, 7, 720, ToolMotif::Question, nullptr},
        {&sSpeedButton6, 6, 765, ToolMotif::Dollar, u"Помощь проекту"},
    };
    for (const ToolSpec& t : tools)
        *t.member =
            makeSpeedButton(this, QStringLiteral("sSpeedButton%1").arg(t.number), QRect(t.x, 495, 40, 40),
                            pictures.tool(t.motif), t.hint ? QString::fromUtf16(t.hint) : QString());
    sSpeedButton9->hide();
    sSpeedButton7->setToolTip(UiText("MainForm", "help", QStringLiteral("Помощь")));

    connect(sSpeedButton1, &QToolButton::clicked, this, &TForm1::sSpeedButton1Click);
    connect(sSpeedButton2, &QToolButton::clicked, this, &TForm1::sSpeedButton2Click);
    connect(sSpeedButton3, &QToolButton::clicked, this, &TForm1::sSpeedButton3Click);
    connect(sSpeedButton5, &QToolButton::clicked, this, &TForm1::sSpeedButton5Click);
    connect(sSpeedButton6, &QToolButton::clicked, this, &TForm1::sSpeedButton6Click);
    connect(sSpeedButton7, &QToolButton::clicked, this, &TForm1::sSpeedButton7Click);
    connect(sSpeedButton8, &QToolButton::clicked, this, &TForm1::sSpeedButton8Click);
    connect(sSpeedButton9, &QToolButton::clicked, this, &TForm1::sSpeedButton9Click);
    connect(sSpeedButton4, &QToolButton::clicked, this, &TForm1::closedSectionRequested);
}

MainRadioStrip TForm1::radioStrip() {
    return MainRadioStrip{this, sSpeedButton10, sSpeedButton11, sSpeedButton12, sScrollBar1};
}

RecordingControls TForm1::recordingControls() const {
    return RecordingControls{sSpeedButton10, sSpeedButton11, sEdit1};
}

StationHandOver TForm1::stationHandOver() {
    return StationHandOver{&PendingStreamUrl, Button1};
}

void TForm1::setTrayToolTip(const QString& text) {
    TrayIcon1->setToolTip(text);
}

// ---- Lifecycle -------------------------------------------------------------------------------

void TForm1::FormCreate() {
    const auto remember = [this](QPushButton* b) { popupButton_ = b; };
    for (QPushButton* category : categoryBar_)
        BindPopupMenu(category, PopupMenu1, remember);
    for (QPushButton* slot : Slots)
        BindPopupMenu(slot, PopupMenu1, remember);
    Chromium1->load(SiteUrls::Project(QStringLiteral("/start11")));
    startAudioWhenReady();
}

namespace {
QString soundModuleMessage(MainWindowRadio::AudioProblem problem) {
    if (problem == MainWindowRadio::AudioProblem::WmaPlugins)
        return UiText(
            "MainForm", "noWmaPlugins",
            QStringLiteral("Нет модулей GStreamer для потоков WMA (asfdemux и декодер WMA из пакетов "
                           "gstreamer1.0-plugins-ugly и gstreamer1.0-libav): станции в формате WMA "
                           "играть не будут."));
    return UiText("MainForm", "noSoundModule",
                  QStringLiteral("Не удалось загрузить модуль GStreamer (%1) или запустить GStreamer: "
                                 "программа работает без звука."))
        .arg(QLatin1String(MediaBackend::kModuleFile));
}
} // namespace

void TForm1::startAudioWhenReady() {
    // GStreamer loads on a thread of its own meanwhile; the window never waits for it, also when
    // the first start after installing builds its registry for seconds.
    QTimer::singleShot(services_.radio && !services_.radio->AudioReady() ? kAudioPollMs : 0, this, [this] {
        if (services_.radio && !services_.radio->AudioReady()) {
            startAudioWhenReady();
            return;
        }
        if (services_.radio && !services_.radio->StartAudio() && services_.messages)
            services_.messages->show(soundModuleMessage(services_.radio->AudioFailure()));
    });
}

void TForm1::FormDestroy() {
    if (services_.radio)
        services_.radio->ShutdownAudio();
}

void TForm1::FormShow() {
    sBitBtn1->click();
    if (WantsTrayIcon(trayMode()))
        TrayIcon1->setVisible(true);
    minimizeInstalled_ = true;
}

void TForm1::AppMinimize() {
    switch (DecideMinimize(trayMode(), trayAvailable_ && trayAvailable_())) {
    case MinimizeAction::HideToTray:
        hide();
        break;
    case MinimizeAction::Taskbar:
        if (!isMinimized())
            showMinimized();
        break;
    case MinimizeAction::PlatformDefault:
        break;
    }
}

void TForm1::TrayIcon1DblClick() {
    // Coming back from the tray is a restore, not a new showing: the layout stays as it was.
    suppressFormShow_ = true;
    showNormal();
    suppressFormShow_ = false;
    raise();
    activateWindow();
}

void TForm1::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    // Spontaneous shows are the window system un-minimising the window: not a new showing.
    if (e->spontaneous() || suppressFormShow_)
        return;
    if (!centred_) {
        centred_ = true;
        if (QScreen* s = screen()) {
            const QRect area = s->availableGeometry();
            move(area.center() - QPoint(width() / 2, height() / 2));
        }
    }
    FormShow();
}

void TForm1::changeEvent(QEvent* e) {
    QWidget::changeEvent(e);
    if (e->type() == QEvent::WindowStateChange && minimizeInstalled_ && isMinimized())
        AppMinimize();
}

void TForm1::closeEvent(QCloseEvent* e) {
    QWidget::closeEvent(e);
    if (e->isAccepted())
        emit closed();
}

// ---- Wiring ----------------------------------------------------------------------------------

void TForm1::setStartTV(std::function<void(const QString&)> startTV) {
    startTV_ = std::move(startTV);
}
void TForm1::setTrayModeSource(std::function<QString()> trayMode) {
    trayMode_ = std::move(trayMode);
}
void TForm1::setToolWindows(const ToolWindows& windows) {
    tools_ = windows;
}
void TForm1::setTrayAvailability(std::function<bool()> available) {
    trayAvailable_ = std::move(available);
}

QString TForm1::trayMode() const {
    // Until the settings window is there the stored default applies: the taskbar.
    return trayMode_ ? trayMode_() : QStringLiteral("0");
}

QPushButton* TForm1::categoryButton(int button) const {
    const CategoryButton* def = CategoryBar::Find(button);
    return def ? categoryBar_[static_cast<size_t>(def - CategoryBar::Buttons().data())] : nullptr;
}

QPushButton* TForm1::slotButton(int slot) const {
    return (slot >= 1 && slot <= kSlots) ? Slots[static_cast<size_t>(slot - 1)] : nullptr;
}

QLabel* TForm1::heading(int h) const {
    switch (h) {
    case 1:
        return sLabel1;
    case 2:
        return sLabel2;
    case 3:
        return sLabel3;
    case 4:
        return sLabel4;
    default:
        return nullptr;
    }
}

// ---- Handlers --------------------------------------------------------------------------------

void TForm1::slotClick(int slot) {
    QPushButton* b = slotButton(slot);
    if (!b)
        return;
    SetButtonCaption(StartTVButton, ButtonCaption(b));
    StartTVButton->click();
}

void TForm1::StartTVButtonClick() {
    if (startTV_)
        startTV_(ButtonCaption(StartTVButton));
}

void TForm1::Button1Click() {
    if (services_.radio)
        services_.radio->PlayStream(PendingStreamUrl.toLocal8Bit());
}

void TForm1::sSpeedButton1Click() {
    ShowModal(tools_.settings);
}

void TForm1::sSpeedButton2Click() {
    Chromium1->load(QStringLiteral("about:blank"));
}

void TForm1::sSpeedButton3Click() {
    if (QWidget* w = tools_.programme) {
        w->show();
        w->raise();
        w->activateWindow();
    }
}

void TForm1::sSpeedButton5Click() {
    if (QWidget* w = tools_.favorites) {
        w->show();
        w->raise();
        w->activateWindow();
    }
}

void TForm1::sSpeedButton6Click() {
    ShowModal(tools_.donation);
}

void TForm1::sSpeedButton7Click() {
    if (services_.shell)
        services_.shell->open(SiteUrls::Project(QStringLiteral("/support.php")));
}

void TForm1::sSpeedButton8Click() {
    setStayOnTop(true);
    sSpeedButton8->hide();
    sSpeedButton9->show();
}

void TForm1::sSpeedButton9Click() {
    setStayOnTop(false);
    sSpeedButton9->hide();
    sSpeedButton8->show();
}

void TForm1::sSpeedButton12Click() {
    if (services_.radio)
        services_.radio->StopStream();
}

void TForm1::sScrollBar1Change() {
    if (services_.radio && sScrollBar1->maximum() > 0)
        services_.radio->SetVolume(static_cast<float>(sScrollBar1->value()) /
                                   static_cast<float>(sScrollBar1->maximum()));
}

// ---- Surfaces --------------------------------------------------------------------------------

QString TForm1::categoryCaption(int button) const {
    QPushButton* b = categoryButton(button);
    return b ? ButtonCaption(b) : QString();
}

void TForm1::setCategoryCaption(int button, const QString& caption) {
    if (QPushButton* b = categoryButton(button))
        SetButtonCaption(b, caption);
}

void TForm1::setCategoryVisible(int button, bool visible) {
    if (QPushButton* b = categoryButton(button))
        b->setVisible(visible);
}

QString TForm1::slotCaption(int slot) const {
    QPushButton* b = slotButton(slot);
    return b ? ButtonCaption(b) : QString();
}

void TForm1::setSlotCaption(int slot, const QString& caption) {
    if (QPushButton* b = slotButton(slot)) {
        SetButtonCaption(b, caption);
        emit slotCaptionChanged(slot);
    }
}

void TForm1::setSlotVisible(int slot, bool visible) {
    if (QPushButton* b = slotButton(slot))
        b->setVisible(visible);
}

void TForm1::setHeadingText(int h, const QString& text) {
    if (QLabel* l = heading(h))
        l->setText(text);
}

void TForm1::setHeadingVisible(int h, bool visible) {
    if (QLabel* l = heading(h))
        l->setVisible(visible);
}

void TForm1::setStripPartVisible(StripPart part, bool visible) {
    switch (part) {
    case StripPart::Panel:
        sPanel2->setVisible(visible);
        break;
    case StripPart::VolumeBar:
        sScrollBar1->setVisible(visible);
        break;
    case StripPart::Record:
        sSpeedButton10->setVisible(visible);
        break;
    case StripPart::StopRecord:
        sSpeedButton11->setVisible(visible);
        break;
    case StripPart::RadioOff:
        sSpeedButton12->setVisible(visible);
        break;
    }
}

void TForm1::loadMainView(const QString& url) {
    Chromium1->load(url);
}

void TForm1::setCategoryCaption(const QString& buttonName, const QString& caption) {
    if (const int number = CategoryBar::NumberOf(buttonName))
        setCategoryCaption(number, caption);
}

void TForm1::setToolHint(const QString& buttonName, const QString& hint) {
    if (auto* b = findChild<QToolButton*>(buttonName))
        b->setToolTip(hint);
}

void TForm1::setAddFavoriteCaption(const QString& caption) {
    N1->setText(EscapeMnemonic(caption));
}

void TForm1::setStayOnTop(bool onTop) {
    SetStaysOnTop(this, onTop);
}
