#pragma once
#include "common/TestFakes.h"

#include "platform/AppDir.h"
#include "platform/QtHttpClient.h"
#include "settings/SettingsFile.h"
#include "settings/ui/TSettingForm.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QStringList>
#include <QTemporaryDir>
#include <QWidget>

#include <memory>

// Every pack key the settings window reads; a test pack gives each the text prefix + key.
inline const QMap<QString, QStringList>& PackKeys() {
    static const QMap<QString, QStringList> keys{
        {"Settings",
         {"SettingsForm",
          "About",
          "Setting",
          "noVideo",
          "proxySetting",
          "updates",
          "timer",
          "language",
          "minimizeapplication",
          "Closedsection",
          "design",
          "Ontop",
          "Inthesystemtray",
          "IntheTaskbar",
          "turnon",
          "turnoff",
          "ip",
          "port",
          "Useproxysettings",
          "Savetheconnectionsettings",
          "Closetheprogramafter",
          "minutes",
          "confirm",
          "Theprogramwillbeclosedafter",
          "seconds",
          "reset",
          "ToviewtheTVchannelsyouneed",
          "AdobeFlashPlayerforInternetExplorer",
          "Install",
          "Help",
          "Download",
          "Yourversion",
          "Crucialversion",
          "StatusDownloads",
          "Russian",
          "Ukrainian",
          "English",
          "Belarusian",
          "Chinese",
          "usethepassword"}},
        {"Category",
         {"public", "radio", "music", "entertainment", "Research", "Sport", "movie", "Cartoons", "Records",
          "foreign", "back", "Ukrainian", "CISa", "CISb", "Miscellaneous"}},
        {"Hint", {"Settings", "TVProgram", "Closedsection", "favorites", "Donations"}},
        {"Message", {"AddtoFavorites", "changes", "ErrorSecretCode"}},
    };
    return keys;
}

// A temporary program directory with small ASCII language packs ("ru:Key", "ua:Key", ...) and
// the settings window built on it.
class SettingsUiFixture {
public:
    explicit SettingsUiFixture(bool withLanguageDir = true) {
        SetAppDirForTesting(dir.path() + QLatin1Char('/'));
        if (withLanguageDir) {
            QDir(dir.path()).mkdir(QStringLiteral("Language"));
            writePack(QStringLiteral("Russian.lng"), QStringLiteral("ru:"));
            writePack(QStringLiteral("Ukraine.lng"), QStringLiteral("ua:"));
            writePack(QStringLiteral("England.lng"), QStringLiteral("en:"));
            writePack(QStringLiteral("Belarusian.lng"), QStringLiteral("by:"));
            writePack(QStringLiteral("Chinese.lng"), QStringLiteral("zh:"));
        }
    }

    QString iniPath() const { return dir.path() + QStringLiteral("/Setting.ini"); }

    void writeIni(const QByteArray& text) const {
        QFile f(iniPath());
        if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            f.write(text);
    }

    // Read back through the store itself, so the file's encoding does not matter here.
    QString stored(const QString& section, const QString& key) const {
        return SettingsFile(iniPath()).ReadString(section, key, QStringLiteral("<absent>"));
    }
    void store(const QString& section, const QString& key, const QString& value) const {
        SettingsFile(iniPath()).WriteString(section, key, value);
    }

    TSettingForm& open() {
        form = std::make_unique<TSettingForm>(surface, &mainWindow, shell, messages, http);
        return *form;
    }

    QTemporaryDir dir;
    FakeSurface surface;
    FakeShell shell;
    FakeMessages messages;
    QWidget mainWindow;
    QtHttpClient http; // the updates tab's; these tests start no transfer
    std::unique_ptr<TSettingForm> form;

private:
    void writePack(const QString& file, const QString& prefix) const {
        QByteArray text;
        for (auto it = PackKeys().begin(); it != PackKeys().end(); ++it) {
            text += "[" + it.key().toLatin1() + "]\r\n";
            for (const QString& key : it.value())
                text += (key + "=" + prefix + key).toLatin1() + "\r\n";
        }
        QFile f(dir.path() + QStringLiteral("/Language/") + file);
        if (f.open(QIODevice::WriteOnly))
            f.write(text);
    }
};
