#pragma once
#include <QString>

class SettingsFile;

// Where each option is kept in Setting.ini.
struct SettingKey {
    const char* section;
    const char* key;
};
namespace SettingKeys {
inline constexpr SettingKey Skin{"Skin", "useSkin"};
inline constexpr SettingKey SecretCode{"SecretCode", "useSecretCode"};
inline constexpr SettingKey AskForCode{"SecretCode", "SelectSecretCode"};
inline constexpr SettingKey OnTop{"OnTop", "useOnTop"};
inline constexpr SettingKey InTray{"InTray", "useInTray"};
inline constexpr SettingKey ProxyHost{"Proxy", "useIP"};
inline constexpr SettingKey ProxyPort{"Proxy", "usePort"};
inline constexpr SettingKey UseProxy{"Proxy", "useProxy"};
inline constexpr SettingKey Language{"Language", "useLanguage"};
} // namespace SettingKeys

// The options as Setting.ini holds them when the program starts. Several of them stay fixed for
// the whole run (the minimise behaviour, the proxy, the language); later choices are only stored.
struct StartupChoices {
    QString skin;
    QString secretCode;
    bool askForCode = true;
    QString onTop;  // "1": the main window stays on top
    QString inTray; // "1": minimising hides into the tray
    QString proxyHostText;
    QString proxyPortText;
    bool useProxy = false;
    QString language; // the stored caption of the chosen language
    int languageIndex = 0;

    // The proxy the program's transfers use: the host only when the use-proxy box was ticked, the
    // port always; a port that is not an integer counts as 0.
    QString proxyHost() const;
    int proxyPort() const;
    bool staysOnTop() const { return onTop == QLatin1String("1"); }

    // The closed section's code until the user sets one.
    static QString DefaultSecretCode();
    // Absent keys read as their defaults; skinDefault is the skin shown when none was chosen.
    static StartupChoices Read(const SettingsFile& file, const QString& skinDefault);
};

QString ReadSetting(const SettingsFile& file, SettingKey key, const QString& absent);
void WriteSetting(SettingsFile& file, SettingKey key, const QString& value);
bool ReadSettingFlag(const SettingsFile& file, SettingKey key, bool absent);
void WriteSettingFlag(SettingsFile& file, SettingKey key, bool value);
