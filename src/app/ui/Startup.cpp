#include "app/ui/Startup.h"

#include "app/DeferredTargets.h"
#include "app/LocalPages.h"
#include "app/ui/BenchProbe.h"
#include "app/ui/KeyboardAccess.h"
#include "app/ui/MediaControls.h"
#include "app/ui/NoticeBar.h"
#include "app/ui/RadioDesktop.h"
#include "app/ui/RadioWindows.h"
#include "app/ui/TDonationForm.h"
#include "app/ui/TForm1.h"
#include "app/ui/TvRecording.h"
#include "app/ui/TvResume.h"
#include "app/ui/TvViewer.h"
#include "closed/ClosedLayout.h"
#include "closed/ui/TForm2.h"
#include "desktop/AccessibilityStatus.h"
#include "desktop/FileLocations.h"
#include "favorites/ui/TFavoriteForm.h"
#include "navigation/ChannelCatalog.h"
#include "navigation/ChannelDispatcher.h"
#include "navigation/SiteUrls.h"
#include "platform/AppDir.h"
#include "platform/FontConfigPreload.h"
#include "platform/LogCategories.h"
#include "platform/MallocTuning.h"
#include "platform/MediaBackend.h"
#include "platform/QtHttpClient.h"
#include "platform/RuntimeDir.h"
#include "platform/SlotGuard.h"
#include "platform/ui/ChromiumView.h"
#include "platform/ui/DesktopShell.h"
#include "platform/ui/EngineHost.h"
#include "platform/ui/MessageBoxSink.h"
#include "platform/ui/WebRendering.h"
#include "radio/BuiltInStations.h"
#include "radio/RadioPlayer.h"
#include "radio/ui/RadioRecording.h"
#include "radio/ui/RecordingOptionsTab.h"
#include "radio/ui/TMyRadioForm.h"
#include "radio/ui/TRadioForm.h"
#include "radio/ui/TRadioSaveForm.h"
#include "settings/LanguagePack.h"
#include "settings/QtTranslations.h"
#include "settings/SettingsFile.h"
#include "settings/StartupChoices.h"
#include "settings/ui/MainWindowTexts.h"
#include "settings/ui/SkinManager.h"
#include "settings/ui/TSettingForm.h"
#include "tv/IptvImporter.h"
#include "tv/LogoCache.h"
#include "tv/PublicPlaylists.h"
#include "tv/TvScreen.h"
#include "tv/ui/IptvTab.h"
#include "tv/ui/StreamMarks.h"
#include "tv/ui/TvVideoView.h"
#include "web/ui/TBrowser2Form.h"
#include "web/ui/TKorbinaForm.h"
#include "web/ui/TOvegoPlayerForm.h"
#include "web/ui/TTVprogrammForm.h"

#include "platform/ui/BrowserView.h"

#include <QAbstractButton>
#include <QBoxLayout>
#include <QCheckBox>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QWindow>

#include <exception>

#include <sys/stat.h>
#include <unistd.h>

void PrepareEnvironment() {
    MallocTuning::LimitArenas(); // before any thread starts
    if (geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    WebRendering::ChooseForThisMachine();
    QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    if (runtime.isEmpty() || !QDir(QString::fromLocal8Bit(runtime)).exists()) {
        if (runtime.isEmpty())
            runtime = "/tmp/zelmo-xdg-" + QByteArray::number(static_cast<qulonglong>(geteuid()));
        runtime = RuntimeDir::Choose(runtime);
        if (!runtime.isEmpty())
            qputenv("XDG_RUNTIME_DIR", runtime);
    }
}

// ---- General error handling ------------------------------------------------------------------

namespace {
std::function<void(const QString&)>& presenter() {
    static std::function<void(const QString&)> p;
    return p;
}
// The running program's message boxes, which belong to its main window; none before it exists.
MessageBoxSink* g_errorBoxes = nullptr;
} // namespace

void SetGeneralErrorPresenter(std::function<void(const QString&)> p) {
    presenter() = std::move(p);
}

void ShowGeneralError(const QString& message) {
    if (presenter()) {
        presenter()(message);
        return;
    }
    if (g_errorBoxes)
        g_errorBoxes->show(message);
    else
        MessageBoxSink().show(message);
}

ZelmoApplication::ZelmoApplication(int& argc, char** argv) : QApplication(argc, argv) {
    // The name only: a display name would be appended to every window's title.
    setApplicationName(QStringLiteral(ZELMO_NAME));
    SlotGuard::SetReporter(&ShowGeneralError);
}

bool ZelmoApplication::notify(QObject* receiver, QEvent* event) {
    // Slots catch their own errors (SlotGuard); this is the last resort for event handlers.
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        SlotGuard::ReportCurrentException();
    }
    return false;
}

// ---- Window titles ---------------------------------------------------------------------------

namespace {
// The windows without a title must show none, but the window system is handed the application's
// name for an empty title. A blank is handed over instead, on the platform window only, so the
// widget's own title stays empty.
class BlankTitles : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && watched->isWidgetType()) {
            auto* w = static_cast<QWidget*>(watched);
            const Qt::WindowType type = w->windowType();
            if (w->isWindow() && (type == Qt::Window || type == Qt::Dialog) && w->windowTitle().isEmpty())
                if (QWindow* handle = w->windowHandle())
                    handle->setTitle(QStringLiteral(" "));
        }
        return false;
    }
};
} // namespace

// ---- Building the rest after the first page -------------------------------------------------

namespace {

// How long the other windows wait for the main view's first page at most.
constexpr int kRestWaitMs = 1000;

// Runs fn once the main view has finished its page, or after kRestWaitMs: the first page never
// shares the window's thread with building the other windows. Input builds them at once anyway.
void AfterFirstPage(ChromiumView* view, std::function<void()> fn) {
    auto pending = std::make_shared<std::function<void()>>(std::move(fn));
    const auto once = [pending] {
        if (*pending)
            std::exchange(*pending, {})();
    };
    QObject::connect(view, &ChromiumView::loadFinished, view, once, Qt::SingleShotConnection);
    QTimer::singleShot(kRestWaitMs, view, once);
}

// Runs a step before the first input event reaches any object, so that no click or key meets a
// window that does not exist yet.
class BeforeFirstInput : public QObject {
public:
    explicit BeforeFirstInput(std::function<void()> step) : step_(std::move(step)) {
        qApp->installEventFilter(this);
    }
    bool eventFilter(QObject*, QEvent* event) override {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::KeyPress:
        case QEvent::ShortcutOverride:
        case QEvent::Wheel:
        case QEvent::ContextMenu:
        case QEvent::TouchBegin:
        case QEvent::TabletPress:
            if (step_) {
                qApp->removeEventFilter(this);
                std::exchange(step_, {})();
            }
            break;
        default:
            break;
        }
        return false;
    }

private:
    std::function<void()> step_;
};
} // namespace

// ---- Program ---------------------------------------------------------------------------------

struct Program::Impl {
    BlankTitles blankTitles;
    // Services first, so that they outlive every window.
    DesktopShell shell;
    MessageBoxSink messages;
    MessageSink* messageSink = nullptr; // the options' or messages
    // Setting.ini, shared by every window but the settings window, which opens its own; and what
    // it held at start, which the main window needs before the settings window exists.
    SettingsFile settings{SettingsFilePath()};
    StartupChoices start;
    const StreamLookup* streams = nullptr;
    std::unique_ptr<RadioPlayer> radio;
    // The catalog's stations, found through the station directory, in front of the radio.
    std::unique_ptr<BuiltInStations> builtInStations;
    // Until the other windows exist, the dispatcher points at stand-ins that keep its requests.
    std::unique_ptr<DeferredTargets> deferred;
    std::unique_ptr<ChannelDispatcher> dispatcher;
    // The update check's client. The IPTV import has its own: its long transfers never hold up
    // the update check.
    QtHttpClient updatesHttp;
    QtHttpClient iptvHttp;
    QtHttpClient logoHttp; // logos wait for no playlist, nor a playlist for them
    std::unique_ptr<IptvImporter> iptv;
    std::unique_ptr<LogoCache> logos;
    std::unique_ptr<StreamMarks> marks; // the grid's "has a stream" dots
    IptvTab* iptvTab = nullptr;         // a page of the settings window
    NoticeBar* notice = nullptr;        // a child of the main window, made when first needed
    std::unique_ptr<TvScreen> tv;       // its view lives in the main window
    TvVideoView* tvView = nullptr;      // the main window's

    // The windows in creation order; members are destroyed in reverse, the main window last.
    std::unique_ptr<TForm1> form1;
    std::unique_ptr<TSettingForm> setting;
    std::unique_ptr<TDonationForm> donation;
    std::unique_ptr<TFavoriteForm> favorite;
    std::unique_ptr<TTVprogrammForm> tvProgramm;
    std::unique_ptr<TForm2> form2;
    std::unique_ptr<TBrowser2Form> browser2;
    std::unique_ptr<TKorbinaForm> korbina;
    // The record command: the TV channel on screen, else the radio.
    std::unique_ptr<TvRecording> recording;
    std::unique_ptr<RadioWindows> radioWindows; // record-name prompt, mini radio, My Radio
    std::unique_ptr<TOvegoPlayerForm> ovego;

    AppWindows windows;
    AppServices services;
    std::unique_ptr<KeyboardAccess> keyboard;
    std::unique_ptr<RadioDesktop> radioDesktop;
    std::unique_ptr<TvViewer> tvViewer;
    std::unique_ptr<MediaControls> media;
    std::unique_ptr<TvResume> tvResume;

    // What starts building the rest, besides the first paint: the first input.
    std::unique_ptr<BeforeFirstInput> restBeforeInput;
    bool restBuilt = false;

    std::unique_ptr<BenchProbe> bench;

    void buildDispatcher();
    void buildRest();
    QString pagesDir() const {
        return QFileInfo(settings.path()).absolutePath() + QStringLiteral("/IPTV/pages");
    }
    void openIptvTab();
    void tellWhereChannelsComeFrom();
    void buildTvViewer(IptvTab& iptvTab);
    const StreamLookup& streamLookup() const { return streams ? *streams : iptv->library(); }
    // A channel by name, as the grid or a favourite starts it; the viewer learns the name first.
    void startChannel(const QString& name, bool favourite);
};

Program::Program(const Options& options) : d_(std::make_unique<Impl>()) {
    BenchProbe::step("program");
    SlotGuard::SetReporter(&ShowGeneralError);
    qApp->installEventFilter(&d_->blankTitles);
    // One rule for every window: only the main window's close ends the program. Any other window
    // may be the last one on screen (the main window hidden in the tray or behind the mini radio)
    // and closing it only hides it.
    QGuiApplication::setQuitOnLastWindowClosed(false);
    // Before the first web view: Chromium reads it once.
    EnableWebAccessibilityIfWanted();
    d_->messageSink = options.messages ? options.messages : &d_->messages;
    d_->streams = options.streams;
    d_->radio = RadioPlayer::createDefault();
    d_->radio->setRecordingFolder(RecordingsFolder());

    TForm1::Services services;
    services.radio = d_->radio.get();
    services.messages = d_->messageSink;
    services.shell = &d_->shell;
    services.langText = &LangText;
    services.beforeFirstText = [fonts = options.fonts] {
        if (fonts)
            fonts->wait();
    };

    d_->tv = std::make_unique<TvScreen>();
    d_->tv->setBeforePlay([radio = d_->radio.get()] { radio->StopStream(); });
    // And the other way round: a station chosen from anywhere (My Radio, a favourite, media keys)
    // ends the TV, so the two never sound at once.
    QObject::connect(d_->radio.get(), &RadioPlayer::statusChanged, d_->tv.get(),
                     [tv = d_->tv.get()](const RadioStatus& status) {
                         if (status.state == RadioStatus::State::LookingUp ||
                             status.state == RadioStatus::State::Connecting)
                             tv->stop();
                     });

    // The saved skin and language are in place before the first widget exists: each widget is
    // then styled once, when first shown, instead of again when the settings window applies the
    // same skin; and the main window shows its captions in the chosen language from the start.
    d_->start = StartupChoices::Read(d_->settings, SkinManager::DefaultName());
    SkinManager().apply(d_->start.skin);
    SetLanguagePack(LanguagePack(LanguagePack::PackPath(d_->start.languageIndex)));
    if (auto* app = QCoreApplication::instance())
        LoadQtTranslations(*app, LanguagePack::QtLocale(d_->start.languageIndex));
    d_->form1 = std::make_unique<TForm1>(services);
    BenchProbe::step("main-window");
    TForm1& form1 = *d_->form1;
    QWidget* main = &form1;
    ChromiumView* mainChromium = form1.mainView();
    // The native TV takes the web view's rectangle while it plays; any page for the view ends it.
    d_->tvView = new TvVideoView(*d_->tv, mainChromium);
    QObject::connect(mainChromium, &ChromiumView::loadRequested, d_->tv.get(), &TvScreen::stop);
    // The project site out of reach: a start page of the program's own instead of the engine's
    // error page.
    QObject::connect(
        mainChromium, &ChromiumView::loadFinished, mainChromium, [impl = d_.get(), mainChromium](bool ok) {
            // A channel playing over the view keeps playing: the page under it stays as it is.
            if (ok || !mainChromium->lastRequested().startsWith(SiteUrls::ProjectSite) ||
                impl->tv->isPlaying())
                return;
            qCInfo(lcWeb) << "project site not reached:" << mainChromium->lastRequested();
            if (const auto page = LocalPages::Write(impl->pagesDir(), QStringLiteral("start.html"),
                                                    LocalPages::StartHtml(&LangText)))
                mainChromium->load(*page);
        });
    QObject::connect(mainChromium, &ChromiumView::appLinkActivated, mainChromium,
                     [impl = d_.get()](const QString& action) {
                         if (action == LocalPages::IptvAction)
                             QTimer::singleShot(0, impl->form1.get(), [impl] { impl->openIptvTab(); });
                     });
    d_->messages.setFallbackOwner(main);
    // What the settings window's start-up load writes onto the main window; the window itself
    // follows the first page.
    WriteMainWindowTexts(form1);
    if (d_->start.staysOnTop())
        form1.setStayOnTop(true);
    g_errorBoxes = &d_->messages;

    // Only the main window is needed for its first paint; the other windows are built right after
    // it, before the first click or key, or when asked for.
    Impl* impl = d_.get();
    form1.setStartTV([impl](const QString& name) {
        // A channel handed over before the rest is built starts its page at once; the windows it
        // also points at follow that page.
        impl->buildDispatcher();
        impl->startChannel(name, false);
    });
    // The minimise behaviour chosen at start-up holds for the whole run; a later choice is only stored.
    form1.setTrayModeSource([inTray = d_->start.inTray] { return inTray; });
    QObject::connect(&form1, &TForm1::closed, qApp, &QCoreApplication::quit);
    // After the main view's first page, which the same paint starts; bounded, when no paint comes.
    EngineHost::AfterWindowPainted(
        &form1, [impl, view = form1.mainView()] { AfterFirstPage(view, [impl] { impl->buildRest(); }); });
    d_->restBeforeInput = std::make_unique<BeforeFirstInput>([impl] { impl->buildRest(); });

    if (BenchProbe::enabled())
        d_->bench = std::make_unique<BenchProbe>(form1);
}

void Program::Impl::buildDispatcher() {
    if (dispatcher)
        return;
    const QString cacheDir = QFileInfo(settings.path()).absolutePath() + QStringLiteral("/IPTV");
    iptvHttp.setProxy(start.proxyHost(), start.proxyPort()); // as the update check
    iptv = std::make_unique<IptvImporter>(settings, iptvHttp, cacheDir);
    Impl* impl = this;
    deferred = std::make_unique<DeferredTargets>(
        [impl, view = form1->mainView()] { AfterFirstPage(view, [impl] { impl->buildRest(); }); });
    DispatchTargets targets;
    targets.mainView = form1->mainView();
    targets.guideView = &deferred->guideView();
    targets.korbina = &deferred->korbina();
    targets.ovego = &deferred->ovego();
    targets.browser2 = &deferred->browser2();
    builtInStations = std::make_unique<BuiltInStations>(
        *radio, settings,
        settings.ReadString(QStringLiteral("Directory"), QStringLiteral("server"), QString()));
    targets.radio = builtInStations.get();
    targets.shell = &shell;
    targets.messages = messageSink;
    targets.tv = tv.get();
    targets.langText = &LangText;
    targets.appDir = AppDir();
    targets.streams = streams ? streams : &iptv->library();
    targets.programmePage = [iptv = iptv.get()](const QString& name) {
        return iptv->programmePage(name, QDateTime::currentMSecsSinceEpoch());
    };
    targets.noStreamPage = [dir = pagesDir()](const QString& name) {
        const QByteArray id =
            QCryptographicHash::hash(name.toUtf8(), QCryptographicHash::Sha1).toHex().first(12);
        return LocalPages::Write(dir, QStringLiteral("nostream-%1.html").arg(QString::fromLatin1(id)),
                                 LocalPages::NoStreamHtml(name, &LangText));
    };
    const StreamLookup& lookup = *targets.streams;
    dispatcher = std::make_unique<ChannelDispatcher>(std::move(targets));

    std::vector<QAbstractButton*> slotButtons;
    for (int s = 1; s <= GridSurface::kSlots; ++s)
        slotButtons.push_back(form1->slotButton(s));
    marks = std::make_unique<StreamMarks>(std::move(slotButtons), lookup,
                                          LangText(QStringLiteral("TvSources"), QStringLiteral("liveMark")));
    StreamMarks* m = marks.get();
    QObject::connect(form1.get(), &TForm1::slotCaptionChanged, m, [m](int slot) { m->refresh(slot - 1); });
    QObject::connect(iptv.get(), &IptvImporter::playlistChanged, m, &StreamMarks::refreshAll);
    QObject::connect(iptv.get(), &IptvImporter::matchChanged, m, &StreamMarks::refreshAll);
}

void Program::Impl::openIptvTab() {
    buildRest();
    setting->showPage(iptvTab);
    form1->sSpeedButton1Click();
}

// Once, at the first start that plays from the public playlists: where the channels come from.
void Program::Impl::tellWhereChannelsComeFrom() {
    const QString Section = QStringLiteral("IPTVNotice");
    if (!iptv->usesPublicPlaylists() || settings.ReadString(Section, QStringLiteral("shown"), {}) == u"1")
        return;
    QStringList countries;
    for (const IptvImporter::SourceState& s : iptv->sourceStates())
        if (s.source.isPublic() && s.source.enabled)
            countries << LangText(QStringLiteral("TvSources"), QStringLiteral("country_") + s.source.id);
    if (!notice)
        notice = new NoticeBar(form1.get(), form1->mainView());
    notice->showText(LangText(QStringLiteral("TvSources"), QStringLiteral("notice"))
                         .arg(countries.join(QStringLiteral(", "))));
    try {
        settings.WriteString(Section, QStringLiteral("shown"), QStringLiteral("1"));
    } catch (const std::exception& e) {
        qCWarning(lcSettings) << e.what();
    }
}

void Program::Impl::startChannel(const QString& name, bool favourite) {
    if (tvViewer)
        tvViewer->noteRequested(name);
    if (favourite)
        dispatcher->StartFavorite(name);
    else
        dispatcher->StartTV(name);
}

void Program::Impl::buildTvViewer(IptvTab& iptvTab) {
    Impl* impl = this;
    TvViewer::Deps viewer;
    viewer.main = form1.get();
    viewer.tv = tv.get();
    viewer.view = tvView;
    viewer.streams = &streamLookup();
    viewer.startChannel = [impl](const QString& name) { impl->startChannel(name, false); };
    viewer.programmes = [iptv = iptv.get()](const QString& name) {
        return iptv->library().programmesFor(name);
    };
    viewer.lang = &LangText;
    tvViewer = std::make_unique<TvViewer>(std::move(viewer));

    MediaControls::Deps controls;
    controls.radio = radio.get();
    controls.tv = tv.get();
    controls.viewer = tvViewer.get();
    controls.volume = form1->radioStrip().volume;
    controls.settings = &settings;
    controls.quit = [main = form1.get()] { main->close(); };
    controls.raise = [impl] {
        TRadioForm& mini = impl->radioWindows->miniRadio();
        QWidget* target = mini.isVisible() ? static_cast<QWidget*>(&mini) : impl->form1.get();
        target->showNormal();
        target->raise();
        target->activateWindow();
    };
    // A built-in station's picture from the directory; only a network address goes to the desktop.
    controls.stationLogo = [impl](const QByteArray&) {
        const QUrl logo = impl->builtInStations ? impl->builtInStations->currentLogo() : QUrl();
        return logo.scheme() == u"http" || logo.scheme() == u"https" ? logo : QUrl();
    };
    media = std::make_unique<MediaControls>(std::move(controls));

    TvResume::Deps resume;
    resume.settings = &settings;
    resume.tv = tv.get();
    resume.viewer = tvViewer.get();
    resume.playable = [impl](const QString& name) {
        return impl->streamLookup().streamFor(name).has_value();
    };
    resume.start = [impl](const QString& name) {
        // A catalog channel as its grid button starts it; a playlist channel of its own directly.
        for (const ChannelEntry& e : MainCatalog())
            if (e.Name == name) {
                impl->startChannel(name, false);
                return;
            }
        if (const auto stream = impl->streamLookup().streamFor(name)) {
            impl->tvViewer->noteRequested(name);
            impl->tv->play(*stream);
        }
    };
    resume.lang = &LangText;
    tvResume = std::make_unique<TvResume>(std::move(resume));
    if (auto* page = qobject_cast<QBoxLayout*>(iptvTab.layout()))
        page->addWidget(tvResume->createOption(&iptvTab));
    QObject::connect(iptv.get(), &IptvImporter::playlistChanged, tvResume.get(), &TvResume::tryResume);
    QObject::connect(radio.get(), &RadioPlayer::statusChanged, tvResume.get(),
                     [r = tvResume.get()](const RadioStatus& s) {
                         if (s.state == RadioStatus::State::Connecting)
                             r->cancel();
                     });
    QObject::connect(form1->mainView(), &ChromiumView::loadRequested, tvResume.get(), &TvResume::cancel);
    // Channels given from outside (tests) are there already.
    QTimer::singleShot(0, tvResume.get(), [r = tvResume.get()] { r->tryResume(); });
}

void Program::Impl::buildRest() {
    if (std::exchange(restBuilt, true))
        return;
    MediaBackend::StartLoading();
    TForm1& form1 = *this->form1;
    QWidget* main = &form1;
    WebView& mainView = *form1.mainView();
    MessageSink* messages = messageSink;
    setting = std::make_unique<TSettingForm>(form1, main, shell, *messages, updatesHttp);
    buildDispatcher();
    logos = std::make_unique<LogoCache>(logoHttp,
                                        QFileInfo(settings.path()).absolutePath() + QStringLiteral("/IPTV"));
    logoHttp.setProxy(start.proxyHost(), start.proxyPort());
    iptvTab = new IptvTab(*iptv, nullptr, &LangText, logos.get());
    setting->addPage(iptvTab, QStringLiteral("IPTV"));
    auto* recordingTab = new RecordingOptionsTab(settings, radio->recordingFolder(), &LangText);
    setting->addPage(recordingTab, RecordingOptionsTab::caption(&LangText));
    radio->setSplitBySong(RecordingOptionsTab::splitBySong(settings));
    QObject::connect(recordingTab, &RecordingOptionsTab::splitBySongChanged, radio.get(),
                     &RadioPlayer::setSplitBySong);
    donation = std::make_unique<TDonationForm>(main);
    Impl* impl = this;
    favorite = std::make_unique<TFavoriteForm>(
        settings, [impl](const QString& name) { impl->startChannel(name, true); }, *messages, main);
    tvProgramm = std::make_unique<TTVprogrammForm>(main);
    TForm2::Deps gate;
    TSettingForm* settingForm = setting.get();
    gate.code = [settingForm] { return settingForm->closedSectionCode(); };
    gate.askForCode = [settingForm] { return settingForm->asksForCode(); };
    gate.showClosedLayout = [grid = &form1] { ShowClosedLayout(*grid); };
    gate.messages = messages;
    form2 = std::make_unique<TForm2>(std::move(gate), main);
    browser2 = std::make_unique<TBrowser2Form>(mainView, main);
    korbina = std::make_unique<TKorbinaForm>(mainView, main);
    recording = std::make_unique<TvRecording>(*radio, *tv, MediaBackend::CreateStreamRecorder(), [impl] {
        return impl->tvViewer ? impl->tvViewer->channelName() : impl->tv->channelName();
    });
    radioWindows = std::make_unique<RadioWindows>(form1, settings, *recording, *messages, &LangText);
    QObject::connect(radio.get(), &RadioPlayer::recordingFailed, &radioWindows->recording(),
                     &RadioRecording::recordingFailed);
    QObject::connect(recording.get(), &TvRecording::ended, &radioWindows->recording(),
                     &RadioRecording::recordingEnded);
    TRadioSaveForm& radioSave = radioWindows->namePrompt();
    TRadioForm& radioForm = radioWindows->miniRadio();
    TMyRadioForm& myRadio = radioWindows->myRadio();
    ovego = std::make_unique<TOvegoPlayerForm>(mainView, main);

    deferred->attach(*tvProgramm->guideView(), *korbina, *ovego, *browser2);

    TForm1::ToolWindows tools;
    tools.settings = setting.get();
    tools.programme = tvProgramm.get();
    tools.favorites = favorite.get();
    tools.donation = donation.get();
    form1.setToolWindows(tools);
    radioDesktop = std::make_unique<RadioDesktop>(form1, radioForm, *setting, settings, *radio, &LangText);
    buildTvViewer(*iptvTab);
    QObject::connect(&form1, &TForm1::addFavoriteRequested, favorite.get(),
                     SlotGuard::Guarded(favorite.get(), &TFavoriteForm::AddFavorite));
    QObject::connect(iptvTab, &IptvTab::favoriteRequested, favorite.get(),
                     SlotGuard::Guarded(favorite.get(), &TFavoriteForm::AddFavorite));
    // A channel played from the tab shows in the main window, which the settings window covers.
    QObject::connect(iptvTab, &IptvTab::playRequested, iptvTab, [impl](const QString& name) {
        impl->setting->hide();
        impl->dispatcher->StartFavorite(name);
    });
    // The import's start-up work never delays the window's first paint.
    EngineHost::AfterWindowPainted(&form1, [impl, iptv = iptv.get()] {
        QTimer::singleShot(0, iptv, [impl, iptv] {
            impl->tellWhereChannelsComeFrom();
            iptv->startUp();
        });
    });
    QObject::connect(&form1, &TForm1::closedSectionRequested, form2.get(), &TForm2::OpenClosedSection);

    services = {radio.get(), dispatcher.get(), &shell, messages, tv.get()};
    windows = {this->form1.get(), setting.get(), donation.get(), favorite.get(),
               tvProgramm.get(),  form2.get(),   browser2.get(), korbina.get(),
               &radioSave,        &radioForm,    &myRadio,       ovego.get()};

    // Every window but My Radio, which closes with its close box only, and the main window.
    keyboard = std::make_unique<KeyboardAccess>(
        form1,
        std::vector<QWidget*>{main, setting.get(), donation.get(), favorite.get(), tvProgramm.get(),
                              form2.get(), browser2.get(), korbina.get(), &radioSave, &radioForm, &myRadio,
                              ovego.get()},
        std::vector<QWidget*>{setting.get(), donation.get(), favorite.get(), tvProgramm.get(), form2.get(),
                              browser2.get(), korbina.get(), &radioSave, &radioForm, ovego.get()});
    BenchProbe::step("windows");
}

Program::~Program() {
    if (g_errorBoxes == &d_->messages)
        g_errorBoxes = nullptr;
    d_->restBeforeInput.reset();
    d_->windows = {};
    d_->services = {};
    d_->bench.reset();
    d_->keyboard.reset();
    d_->tvResume.reset();
    d_->media.reset();
    d_->tvViewer.reset();
    d_->radioDesktop.reset();
    d_->marks.reset();
    d_->iptv.reset(); // its last writes to Setting.ini come before the windows go
    // Reverse creation order; the main window's destruction shuts the audio down.
    d_->ovego.reset();
    d_->radioWindows.reset();
    d_->recording.reset();
    d_->korbina.reset();
    d_->browser2.reset();
    d_->form2.reset();
    d_->tvProgramm.reset();
    d_->favorite.reset();
    d_->donation.reset();
    d_->setting.reset();
    d_->form1.reset();
    d_->logos.reset(); // after the IPTV tab, whose table asks it for logos
}

void Program::show() {
    d_->form1->show();
}

const AppWindows& Program::windows() const {
    d_->buildRest();
    return d_->windows;
}

const AppServices& Program::services() const {
    d_->buildRest();
    return d_->services;
}

void Program::bringToFront() {
    d_->buildRest();
    TForm1& main = *d_->form1;
    TRadioForm& mini = d_->radioWindows->miniRadio();
    // An open modal window (the settings, a prompt) keeps its place on top of its owner.
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal && mini.isVisible())
        mini.close(); // as its return button does: the main window comes back
    if (main.isVisible() || !mini.isVisible()) {
        main.TrayIcon1DblClick();
    } else {
        mini.raise();
        mini.activateWindow();
    }
    if (modal) {
        modal->raise();
        modal->activateWindow();
    }
}
