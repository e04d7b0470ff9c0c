#pragma once
#include <QApplication>
#include <QString>

#include <functional>
#include <memory>

class TForm1;
class TSettingForm;
class TDonationForm;
class TFavoriteForm;
class TTVprogrammForm;
class TForm2;
class TBrowser2Form;
class TKorbinaForm;
class TRadioSaveForm;
class TRadioForm;
class TMyRadioForm;
class TOvegoPlayerForm;
class RadioPlayer;
class ChannelDispatcher;
class Shell;
class MessageSink;
class MainWindowRadio;
class StreamLookup;
class TvScreen;
class FontConfigPreload;

// Process set-up that must happen before the QApplication exists: the web engine's sandbox cannot
// run as root, contexts are shared between web views, and a runtime directory must exist.
void PrepareEnvironment();

// The application object. An exception that escapes any event handler is shown in a plain
// message box with its message, and the program goes on.
class ZelmoApplication : public QApplication {
    Q_OBJECT
public:
    ZelmoApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

// The general error handling: a plain modal message with the error's text. Code that catches an
// error itself but wants it shown the usual way calls this.
void ShowGeneralError(const QString& message);
// Replaces how ShowGeneralError presents a message (tests); an empty function restores the box.
void SetGeneralErrorPresenter(std::function<void(const QString&)> presenter);

// One reference per window, valid while the program that made them lives.
struct AppWindows {
    TForm1* Form1 = nullptr;
    TSettingForm* SettingForm = nullptr;
    TDonationForm* DonationForm = nullptr;
    TFavoriteForm* FavoriteForm = nullptr;
    TTVprogrammForm* TVprogrammForm = nullptr;
    TForm2* Form2 = nullptr;
    TBrowser2Form* Browser2Form = nullptr;
    TKorbinaForm* KorbinaForm = nullptr;
    TRadioSaveForm* RadioSaveForm = nullptr;
    TRadioForm* RadioForm = nullptr;
    TMyRadioForm* MyRadioForm = nullptr;
    TOvegoPlayerForm* OvegoPlayerForm = nullptr;
};

// The program-wide services, valid for the same span as the windows.
struct AppServices {
    RadioPlayer* Radio = nullptr;
    ChannelDispatcher* Dispatcher = nullptr;
    Shell* DesktopShell = nullptr;
    MessageSink* Messages = nullptr;
    TvScreen* Tv = nullptr;
};

// Owns the services and the twelve windows: creates them in their fixed order, wires them, and
// destroys the windows in reverse order (the main window last, which shuts the audio down).
class Program {
public:
    struct Options {
        // Where messages go instead of message boxes (tests); null: message boxes.
        MessageSink* messages = nullptr;
        // Which channels have an imported stream to play natively; null: the IPTV import's.
        const StreamLookup* streams = nullptr;
        // The font configuration loading since before the application object; waited for before
        // the first widget measures text, which would otherwise load it a second time.
        FontConfigPreload* fonts = nullptr;
    };
    Program() : Program(Options{}) {}
    explicit Program(const Options& options);
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // Shows the main window; closing it ends the event loop.
    void show();
    // The windows and services this program made, for the wiring of later parts and for tests.
    const AppWindows& windows() const;
    const AppServices& services() const;

    // A later start of the program asked for it: the window the user works with comes to the
    // front, the main window restored from the tray or from mini radio mode.
    void bringToFront();

private:
    struct Impl;
    std::unique_ptr<Impl> d_;
};
