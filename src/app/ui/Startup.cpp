#include "app/ui/Startup.h"

#include "app/RadioPlayerControl.h"
#include "app/ui/BenchProbe.h"
#include "app/ui/TDonationForm.h"
#include "app/ui/TForm1.h"
#include "closed/ui/TForm2.h"
#include "favorites/ui/TFavoriteForm.h"
#include "navigation/ChannelDispatcher.h"
#include "platform/AppDir.h"
#include "platform/ui/ChromiumView.h"
#include "platform/ui/DesktopShell.h"
#include "platform/ui/MessageBoxSink.h"
#include "radio/RadioPlayer.h"
#include "radio/ui/TMyRadioForm.h"
#include "radio/ui/TRadioForm.h"
#include "radio/ui/TRadioSaveForm.h"
#include "settings/LanguagePack.h"

#include <QDir>
#include <QFile>
#include <QMessageBox>

#include <exception>

#include <sys/stat.h>
#include <unistd.h>

void PrepareEnvironment() {
    if (geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    if (runtime.isEmpty() || !QDir(QString::fromLocal8Bit(runtime)).exists()) {
        if (runtime.isEmpty())
            runtime = "/tmp/zelmo-xdg-" + QByteArray::number(static_cast<qulonglong>(geteuid()));
        ::mkdir(runtime.constData(), 0700);
        qputenv("XDG_RUNTIME_DIR", runtime);
    }
}

// ---- General error handling ------------------------------------------------------------------

namespace {
std::function<void(const QString&)>& presenter() {
    static std::function<void(const QString&)> p;
    return p;
}
} // namespace

void SetGeneralErrorPresenter(std::function<void(const QString&)> p) {
    presenter() = std::move(p);
}

void ShowGeneralError(const QString& message) {
    if (presenter()) {
        presenter()(message);
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationDisplayName(), message, QMessageBox::Ok);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

ZelmoApplication::ZelmoApplication(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("Zelmo Player"));
    setApplicationDisplayName(QStringLiteral("Zelmo Player"));
}

bool ZelmoApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        ShowGeneralError(QString::fromUtf8(e.what()));
    } catch (...) {
        ShowGeneralError(QStringLiteral("Unknown error"));
    }
    return false;
}

// ---- Globals ---------------------------------------------------------------------------------

namespace {
AppWindows g_windows;
AppServices g_services;
} // namespace

const AppWindows& Windows() {
    return g_windows;
}
const AppServices& Services() {
    return g_services;
}

// ---- Program ---------------------------------------------------------------------------------

struct Program::Impl {
    // Services first, so that they outlive every window.
    DesktopShell shell;
    MessageBoxSink messages;
    std::unique_ptr<RadioPlayer> radio;
    std::unique_ptr<RadioPlayerControl> radioControl;
    std::unique_ptr<ChannelDispatcher> dispatcher;

    // The windows in creation order; members are destroyed in reverse, the main window last.
    std::unique_ptr<TForm1> form1;
    std::unique_ptr<TDonationForm> donation;
    std::unique_ptr<TFavoriteForm> favorite;
    std::unique_ptr<TForm2> form2;
    std::unique_ptr<TRadioSaveForm> radioSave;
    std::unique_ptr<TRadioForm> radioForm;
    std::unique_ptr<TMyRadioForm> myRadio;

    std::unique_ptr<BenchProbe> bench;
};

Program::Program(const Options& options) : d_(std::make_unique<Impl>()) {
    MessageSink* messages = options.messages ? options.messages : &d_->messages;
    d_->radio = RadioPlayer::createDefault();
    d_->radioControl = std::make_unique<RadioPlayerControl>(*d_->radio);

    TForm1::Services services;
    services.radio = d_->radioControl.get();
    services.messages = messages;
    services.shell = &d_->shell;
    services.langText = [](const QString& section, const QString& key) { return LangText(section, key); };

    d_->form1 = std::make_unique<TForm1>(services);
    QWidget* main = d_->form1.get();
    d_->donation = std::make_unique<TDonationForm>(main);
    d_->favorite = std::make_unique<TFavoriteForm>(main);
    d_->form2 = std::make_unique<TForm2>(main);
    d_->radioSave = std::make_unique<TRadioSaveForm>(main);
    d_->radioForm = std::make_unique<TRadioForm>(main);
    d_->myRadio = std::make_unique<TMyRadioForm>(main);

    DispatchTargets targets;
    targets.mainView = d_->form1->Chromium1;
    targets.radio = d_->radio.get();
    targets.shell = &d_->shell;
    targets.messages = messages;
    targets.langText = [](const QString& section, const QString& key) { return LangText(section, key); };
    targets.appDir = AppDir();
    d_->dispatcher = std::make_unique<ChannelDispatcher>(std::move(targets));

    TForm1& form1 = *d_->form1;
    ChannelDispatcher* dispatcher = d_->dispatcher.get();
    form1.setStartTV([dispatcher](const QString& name) { dispatcher->StartTV(name); });
    TForm1::ToolWindows tools;
    tools.favorites = d_->favorite.get();
    tools.donation = d_->donation.get();
    form1.setToolWindows(tools);
    QObject::connect(&form1, &TForm1::closed, qApp, &QCoreApplication::quit);

    g_services = {d_->radio.get(), dispatcher, &d_->shell, messages};
    g_windows.Form1 = d_->form1.get();
    g_windows.DonationForm = d_->donation.get();
    g_windows.FavoriteForm = d_->favorite.get();
    g_windows.Form2 = d_->form2.get();
    g_windows.RadioSaveForm = d_->radioSave.get();
    g_windows.RadioForm = d_->radioForm.get();
    g_windows.MyRadioForm = d_->myRadio.get();

    if (BenchProbe::enabled())
        d_->bench = std::make_unique<BenchProbe>(form1);
}

Program::~Program() {
    g_windows = {};
    g_services = {};
    d_->bench.reset();
    // Reverse creation order; the main window's destruction shuts the audio down.
    d_->myRadio.reset();
    d_->radioForm.reset();
    d_->radioSave.reset();
    d_->form2.reset();
    d_->favorite.reset();
    d_->donation.reset();
    d_->form1.reset();
}

void Program::show() {
    d_->form1->show();
}
