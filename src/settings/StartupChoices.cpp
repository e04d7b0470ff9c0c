#include "settings/StartupChoices.h"

#include "settings/IntegerText.h"
#include "settings/LanguagePack.h"
#include "settings/SettingsFile.h"

QString ReadSetting(const SettingsFile& file, SettingKey key, const QString& absent) {
    return file.ReadString(QLatin1String(key.section), QLatin1String(key.key), absent);
}
void WriteSetting(SettingsFile& file, SettingKey key, const QString& value) {
    file.WriteString(QLatin1String(key.section), QLatin1String(key.key), value);
}
bool ReadSettingFlag(const SettingsFile& file, SettingKey key, bool absent) {
    return file.ReadBool(QLatin1String(key.section), QLatin1String(key.key), absent);
}
void WriteSettingFlag(SettingsFile& file, SettingKey key, bool value) {
    file.WriteBool(QLatin1String(key.section), QLatin1String(key.key), value);
}

StartupChoices StartupChoices::Read(const SettingsFile& file, const QString& skinDefault) {
    const QString zero = QStringLiteral("0");
    StartupChoices c;
    c.skin = ReadSetting(file, SettingKeys::Skin, skinDefault);
    c.secretCode = ReadSetting(file, SettingKeys::SecretCode, DefaultSecretCode());
    c.askForCode = ReadSettingFlag(file, SettingKeys::AskForCode, true);
    c.onTop = ReadSetting(file, SettingKeys::OnTop, zero);
    c.inTray = ReadSetting(file, SettingKeys::InTray, zero);
    c.proxyHostText = ReadSetting(file, SettingKeys::ProxyHost, zero);
    c.proxyPortText = ReadSetting(file, SettingKeys::ProxyPort, zero);
    c.useProxy = ReadSettingFlag(file, SettingKeys::UseProxy, false);
    c.language = ReadSetting(file, SettingKeys::Language, LanguagePack::FixedCaptions()[0]);
    c.languageIndex = LanguagePack::IndexForChoice(c.language);
    return c;
}

QString StartupChoices::DefaultSecretCode() {
    return QStringLiteral("759");
}

QString StartupChoices::proxyHost() const {
    return useProxy ? proxyHostText : QString();
}

int StartupChoices::proxyPort() const {
    // The port converts like every other stored number ("0x" hexadecimal included). An unusable
    // port must not cost the rest of the start-up on every run: it simply means no port.
    return ParseInt32(proxyPortText.trimmed()).value_or(0);
}
