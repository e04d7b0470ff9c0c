#pragma once
#include "navigation/CategoryRules.h"
#include "navigation/GridSurface.h"
#include "settings/ui/MainWindowSurface.h"

#include <QString>
#include <QWidget>

#include <array>
#include <functional>
#include <vector>

class ChromiumView;
class MainWindowRadio;
struct MainRadioStrip;
struct RecordingControls;
struct StationHandOver;
class MessageSink;
class MainWindowPictures;
class Shell;
class QAbstractButton;
class QAction;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QScrollBar;
class QSystemTrayIcon;
class QToolButton;

// The main window: category bar, channel grid with its web view, radio strip, tool buttons, tray
// icon, popup menu and the two hidden hand-over buttons.
class TForm1 : public QWidget, public GridSurface, public MainWindowSurface {
    Q_OBJECT
public:
    // The window's fixed client size, in the desktop's logical pixels.
    static constexpr QSize kClientSize{807, 543};

    struct Services {
        MainWindowRadio* radio = nullptr;
        MessageSink* messages = nullptr;
        Shell* shell = nullptr;
        LangLookup langText; // section, key -> text ("0" when missing)
        // Called before the first control that measures text is built: the font configuration
        // may still be loading on another thread until then.
        std::function<void()> beforeFirstText;
    };
    // The windows the tool buttons open; they exist only after the main window.
    struct ToolWindows {
        QWidget* settings = nullptr;  // modal
        QWidget* programme = nullptr; // not modal
        QWidget* favorites = nullptr; // not modal
        QWidget* donation = nullptr;  // modal
    };

    // Builds the controls and runs FormCreate.
    explicit TForm1(Services services, QWidget* parent = nullptr);
    // Runs FormDestroy.
    ~TForm1() override;

    // Wiring done once the other windows exist.
    void setStartTV(std::function<void(const QString& channelName)> startTV);
    // The tray mode text as the settings window holds it at the moment of asking.
    void setTrayModeSource(std::function<QString()> trayMode);
    void setToolWindows(const ToolWindows& windows);
    // Whether a notification area exists; the platform is asked unless replaced.
    void setTrayAvailability(std::function<bool()> available);

    // Category button by number (1..9, 44, 45), slot by number (1..30); null when out of range.
    QPushButton* categoryButton(int button) const;
    QPushButton* slotButton(int slot) const;
    // The button the popup menu was last opened on.
    QAbstractButton* popupButton() const { return popupButton_; }

    // What other windows drive, handed over by purpose; the controls stay the window's own.
    ChromiumView* mainView() const { return Chromium1; }
    MainRadioStrip radioStrip();
    RecordingControls recordingControls() const;
    // Where a station's URL is put before Button1 is clicked (My Radio, media keys).
    StationHandOver stationHandOver();
    void setTrayToolTip(const QString& text);

    // GridSurface
    QString categoryCaption(int button) const override;
    void setCategoryCaption(int button, const QString& caption) override;
    void setCategoryVisible(int button, bool visible) override;
    QString slotCaption(int slot) const override;
    void setSlotCaption(int slot, const QString& caption) override;
    void setSlotVisible(int slot, bool visible) override;
    void setHeadingText(int heading, const QString& text) override;
    void setHeadingVisible(int heading, bool visible) override;
    void setStripPartVisible(StripPart part, bool visible) override;
    void loadMainView(const QString& url) override;

    // MainWindowSurface
    void setCategoryCaption(const QString& buttonName, const QString& caption) override;
    void setToolHint(const QString& buttonName, const QString& hint) override;
    void setAddFavoriteCaption(const QString& caption) override;
    // Changes the window's stacking only; the on-top button pair keeps showing what it showed.
    void setStayOnTop(bool onTop) override;

public slots:
    void FormShow();
    void AppMinimize();
    void TrayIcon1DblClick();

    // sBitBtn10Click .. sBitBtn39Click: every slot hands its caption over the same way.
    void slotClick(int slot);
    void StartTVButtonClick();
    void Button1Click();

    void sSpeedButton1Click();
    void sSpeedButton2Click();
    void sSpeedButton3Click();
    void sSpeedButton5Click();
    void sSpeedButton6Click();
    void sSpeedButton7Click();
    void sSpeedButton8Click();
    void sSpeedButton9Click();
    void sSpeedButton12Click();
    void sScrollBar1Change();

signals:
    // The closed section, mini radio and My Radio buttons: windows of their own open.
    void closedSectionRequested();
    void miniRadioRequested();
    void myRadioRequested();
    // N1 chosen: the raw caption of the button the popup menu was opened on.
    void addFavoriteRequested(const QString& caption);
    // The window was closed; closing the main window ends the program.
    void closed();
    // A channel slot got another caption (a category or layout was shown).
    void slotCaptionChanged(int slot);

protected:
    void showEvent(QShowEvent* e) override;
    void changeEvent(QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    // The URL handed over before a click of Button1.
    QString PendingStreamUrl;

    // Controls (objectName = member name).
    QPushButton *sBitBtn1, *sBitBtn2, *sBitBtn3, *sBitBtn4, *sBitBtn5, *sBitBtn6, *sBitBtn7, *sBitBtn8,
        *sBitBtn9, *sBitBtn44, *sBitBtn45;
    std::array<QPushButton*, kSlots> Slots{}; // sBitBtn10..sBitBtn39
    QFrame* sPanel1;
    ChromiumView* Chromium1;
    QLabel *sLabel1, *sLabel2, *sLabel3, *sLabel4;
    QFrame* sPanel2;
    QScrollBar* sScrollBar1;
    QToolButton *sSpeedButton10, *sSpeedButton11, *sSpeedButton12, *sSpeedButton13, *sSpeedButton14;
    QLabel* VolumeCaption;
    QLineEdit* sEdit1; // recording name
    QToolButton *sSpeedButton1, *sSpeedButton2, *sSpeedButton3, *sSpeedButton4, *sSpeedButton5,
        *sSpeedButton6, *sSpeedButton7, *sSpeedButton8, *sSpeedButton9;
    QPushButton* StartTVButton;
    QPushButton* Button1;
    QSystemTrayIcon* TrayIcon1;
    QMenu* PopupMenu1;
    QAction* N1;

    void buildCategoryBar();
    void buildPanel();
    void buildRadioStrip();
    void giveRadioStripPictures(MainWindowPictures& pictures);
    void buildRecordNameField();
    void buildToolBar(MainWindowPictures& pictures);
    void FormCreate();
    void startAudioWhenReady();
    void FormDestroy();
    QString trayMode() const;
    QLabel* heading(int h) const;

    Services services_;
    CategoryRules rules_;
    std::vector<QPushButton*> categoryBar_; // in the order of CategoryBar::Buttons()
    std::function<void(const QString&)> startTV_;
    std::function<QString()> trayMode_;
    std::function<bool()> trayAvailable_;
    ToolWindows tools_;
    QAbstractButton* popupButton_ = nullptr;
    bool minimizeInstalled_ = false;
    bool centred_ = false;
    bool suppressFormShow_ = false; // re-shows that are restores, not showings
};
