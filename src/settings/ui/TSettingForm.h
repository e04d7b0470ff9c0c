#pragma once
#include "settings/AutoCloseCountdown.h"
#include "settings/SettingsFile.h"
#include "settings/ui/SkinManager.h"

#include <QDialog>
#include <QString>

#include <array>
#include <memory>

class ChromiumView;
class HttpClient;
class MainWindowSurface;
class MessageSink;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QTabWidget;
class Shell;
class UpdatesTab;

// The settings window. Its creation performs the start-up load: it opens Setting.ini and the
// language pack, puts every stored option into its controls and writes the localised texts, the
// skin and the stay-on-top choice onto the main window (the same as StartupChoices and
// WriteMainWindowTexts, which the program applies before its first paint). The loaded values then
// live in its controls, which other windows read. Every option handler writes its value to the
// file at once; a refused write (SettingsWriteError) is shown as the general error message.
class TSettingForm : public QDialog {
    Q_OBJECT
public:
    // updatesHttp carries the updates tab's transfers and outlives the window.
    TSettingForm(MainWindowSurface& main, QWidget* mainWindow, Shell& shell, MessageSink& messages,
                 HttpClient& updatesHttp, QWidget* parent = nullptr,
                 std::unique_ptr<TickSource> autoCloseTicks = nullptr);
    ~TSettingForm() override;

    // The open Setting.ini, shared with the other windows for the whole run.
    SettingsFile& settings() { return settings_; }
    SkinManager& skinManager() { return sSkinManager1; }

    // The update client's proxy, fixed by the start-up load for the whole run: the host only when
    // the use-proxy box was ticked at start (empty: no proxy), the port always. A port text that is
    // not an integer counts as 0.
    const QString& proxyHost() const { return proxyHost_; }
    int proxyPort() const { return proxyPort_; }

    // The updates tab's behaviour.
    UpdatesTab& updates() { return *updates_; }

    // The options other windows act on, read from the controls at the moment of asking.
    // The minimise behaviour chosen at start-up ("1": into the tray); a later choice is only stored.
    QString trayMode() const;
    // The closed section's code, and whether the section asks for it at all.
    QString closedSectionCode() const;
    bool asksForCode() const;

    // Adds a page after the seven of its own (a feature of another part of the program).
    void addPage(QWidget* page, const QString& caption);
    // Brings one of the pages to the front, for the next showing.
    void showPage(QWidget* page);

    // The five language buttons in order.
    std::array<QRadioButton*, 5> languageButtons() const;

public slots:
    void sBitBtn8Click();
    void sBitBtn9Click();
    void sBitBtn10Click();
    void sBitBtn11Click();
    void sEdit8Click();
    void sButton1Click();
    void sComboBox1Change();
    void sBitBtn1Click();
    void sBitBtn14Click();
    void sButton3Click();
    void sBitBtn5Click();
    void sBitBtn4Click();
    void sBitBtn6Click();
    void sBitBtn7Click();
    void sBitBtn12Click();
    void sBitBtn15Click();
    void sBitBtn2Click();
    void sButton2Click();
    void sButton4Click();
    void sBitBtn13Click();

protected:
    void showEvent(QShowEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    // Controls (objectName = member name); tests and tools find them by that name.
    // Page control and its tabs, in display order: about, settings, proxy, timer, no video,
    // updates, language.
    QTabWidget* sPageControl1;
    QWidget* sTabSheet1;
    QWidget* sTabSheet2;
    QWidget* sTabSheet4;
    QWidget* sTabSheet6;
    QWidget* sTabSheet3;
    QWidget* sTabSheet5;
    QWidget* sTabSheet7;

    // About.
    QLabel* Image1;

    // Settings: minimise behaviour, closed-section code, skin, stay on top, hidden start-up values.
    QGroupBox* sRadioGroup1;
    QPushButton* sBitBtn8;
    QPushButton* sBitBtn9;
    QGroupBox* sRadioGroup2;
    QLineEdit* sEdit8;
    QLineEdit* sEdit1;
    QPushButton* sButton1;
    QCheckBox* sCheckBox2;
    QGroupBox* sRadioGroup3;
    QComboBox* sComboBox1;
    QGroupBox* sRadioGroup4;
    QPushButton* sBitBtn10;
    QPushButton* sBitBtn11;
    QLineEdit* sEdit5; // start-up useOnTop
    QLineEdit* sEdit6; // start-up useInTray

    // Proxy.
    QLabel* sLabel1;
    QLineEdit* sEdit2;
    QLabel* sLabel2;
    QLineEdit* sEdit3;
    QCheckBox* sCheckBox1;
    QPushButton* sBitBtn1;

    // Auto-close timer.
    QLabel* sLabel3;
    QLineEdit* sEdit4;
    QLabel* sLabel4;
    QPushButton* sBitBtn2;
    QLabel* sLabel11;
    QLabel* sLabel12;
    QLabel* sLabel13;
    QPushButton* sButton2;
    // The countdown outlives every showing of the window; a null tick source is a one-second timer.
    AutoCloseCountdown* Timer1;

    // No video: plug-in and player links.
    QLabel* sLabel5;
    QLabel* sLabel6;
    QPushButton* sButton3;
    QPushButton* sBitBtn5;
    QLabel* sLabel7;
    QPushButton* sBitBtn4;
    QLabel* sLabel9;
    QPushButton* sBitBtn6;
    QLabel* sLabel10;
    QPushButton* sBitBtn7;
    QPushButton* sBitBtn12;

    // Updates.
    QLabel* sLabel15;
    QLabel* sLabel17; // own version
    QLabel* sLabel14;
    QLabel* sLabel18; // published version
    QPushButton* sBitBtn13;
    QPushButton* sButton4;
    ChromiumView* Chromium1;
    QLabel* sLabel16;
    QProgressBar* sProgressBar1;

    // Language.
    QGroupBox* sRadioGroup5;
    QRadioButton* sRadioButton1;
    QRadioButton* sRadioButton2;
    QRadioButton* sRadioButton3;
    QRadioButton* sRadioButton4;
    QRadioButton* sRadioButton5;
    QPushButton* sBitBtn14;
    QLineEdit* sEdit7; // start-up language choice

    // Close.
    QPushButton* sBitBtn15;

    void buildAboutTab();
    void buildSettingsTab();
    void buildProxyTab();
    void buildTimerTab();
    void buildNoVideoTab();
    void buildUpdatesTab();
    void buildLanguageTab();
    void FormCreate();
    void ApplyLanguageTexts();
    void fitTabCaptions();

    MainWindowSurface& main_;
    QWidget* mainWindow_;
    Shell& shell_;
    MessageSink& messages_;
    HttpClient& updatesHttp_;
    SettingsFile settings_;
    SkinManager sSkinManager1;
    QString proxyHost_;
    int proxyPort_ = 0;
    UpdatesTab* updates_ = nullptr; // child object
};
