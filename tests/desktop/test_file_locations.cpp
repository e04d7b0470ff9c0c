#include "desktop/FileLocations.h"
#include "platform/AppDir.h"
#include "settings/SettingsFile.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

// Where the packs, the channel pages and Setting.ini are looked for, by the layout the program
// finds itself in.
class TestFileLocations : public QObject {
    Q_OBJECT
private slots:
    void layouts_data() {
        QTest::addColumn<QStringList>("folders"); // created under the temporary root
        QTest::addColumn<bool>("installed");
        QTest::newRow("built or unpacked: packs beside the program") << QStringList{"app/Language"} << false;
        QTest::newRow("installed: bin beside share/zelmo-player")
            << QStringList{"usr/bin", "usr/share/zelmo-player/Language", "usr/share/zelmo-player/channel"}
            << true;
        // A copy of the program folder that lost its packs stays portable: nothing to read elsewhere.
        QTest::newRow("no packs anywhere") << QStringList{"app"} << false;
        // Packs beside the program win over an install that happens to sit next to it.
        QTest::newRow("portable copy inside a prefix")
            << QStringList{"usr/bin/Language", "usr/share/zelmo-player/Language"} << false;
    }
    void layouts() {
        QFETCH(QStringList, folders);
        QFETCH(bool, installed);
        QTemporaryDir root;
        for (const QString& f : folders)
            QVERIFY(QDir(root.path()).mkpath(f));
        const QString program =
            root.filePath(installed || folders.first().startsWith("usr") ? "usr/bin" : "app");
        const QString config = root.filePath("home/.config");

        const FileLocations l = ResolveFileLocations(program, config);
        QCOMPARE(l.installed, installed);
        if (installed) {
            QCOMPARE(l.dataDir, root.filePath("usr/share/zelmo-player/"));
            QCOMPARE(l.settingsFile, config + "/zelmo-player/Setting.ini");
        } else {
            QCOMPARE(l.dataDir, program + '/');
            QCOMPARE(l.settingsFile, program + "/Setting.ini");
        }
    }

    // An installed program's settings folder does not exist before the first setting is written;
    // reading finds the defaults, the first write creates folder and file.
    void settingsFolderCreatedOnFirstWrite() {
        QTemporaryDir root;
        QVERIFY(QDir(root.path()).mkpath("usr/bin"));
        QVERIFY(QDir(root.path()).mkpath("usr/share/zelmo-player/Language"));
        const QString config = root.filePath("home/.config");
        UseFileLocations(ResolveFileLocations(root.filePath("usr/bin"), config));
        QCOMPARE(AppDir(), root.filePath("usr/share/zelmo-player/"));

        SettingsFile settings(SettingsFilePath());
        QCOMPARE(settings.ReadString("Skin", "useSkin", "Neutral (internal)"), QString("Neutral (internal)"));
        QVERIFY(!QDir(config).exists());
        settings.WriteString("Skin", "useSkin", "Сапфир");
        QCOMPARE(settings.ReadString("Skin", "useSkin", "x"), QString("Сапфир"));
        QVERIFY(settings.flush(60000));
        QVERIFY(QFile::exists(config + "/zelmo-player/Setting.ini"));
        QVERIFY(!QFile::exists(root.filePath("usr/bin/Setting.ini")));
        QVERIFY(!QFile::exists(root.filePath("usr/share/zelmo-player/Setting.ini")));
        SetAppDirForTesting(QString());
    }

    void recordingsFolder();
    void configHomeFromEnvironment() {
        qputenv("XDG_CONFIG_HOME", "/somewhere/conf");
        QCOMPARE(UserConfigHome(), QString("/somewhere/conf"));
        qputenv("XDG_CONFIG_HOME", "relative/conf"); // not absolute: ignored, as the XDG rules say
        QCOMPARE(UserConfigHome(), QDir::homePath() + "/.config");
        qunsetenv("XDG_CONFIG_HOME");
        QCOMPARE(UserConfigHome(), QDir::homePath() + "/.config");
    }
};

// Installed, recordings go to the music folder `xdg-user-dir MUSIC` names; portable, where they
// always went (the working directory).
void TestFileLocations::recordingsFolder() {
    if (QStandardPaths::findExecutable(QStringLiteral("xdg-user-dir")).isEmpty())
        QSKIP("xdg-user-dir is not installed");
    QTemporaryDir home;
    const QByteArray oldHome = qgetenv("HOME"), oldConfig = qgetenv("XDG_CONFIG_HOME");
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", (home.path() + "/.config").toUtf8());
    QVERIFY(QDir().mkpath(home.path() + "/.config"));
    QFile dirs(home.path() + "/.config/user-dirs.dirs");
    QVERIFY(dirs.open(QIODevice::WriteOnly));
    dirs.write("XDG_MUSIC_DIR=\"$HOME/Музыка\"\n");
    dirs.close();
    QProcess xdg;
    xdg.start(QStringLiteral("xdg-user-dir"), {QStringLiteral("MUSIC")});
    QVERIFY(xdg.waitForFinished(10000));
    const QString music = QString::fromUtf8(xdg.readAllStandardOutput()).trimmed();
    QCOMPARE(music, home.path() + "/Музыка");
    FileLocations installed;
    installed.installed = true;
    QCOMPARE(RecordingsFolder(installed), music + "/Zelmo Player");
    QCOMPARE(RecordingsFolder(FileLocations{}), QString());
    qputenv("HOME", oldHome);
    qputenv("XDG_CONFIG_HOME", oldConfig);
}

QTEST_GUILESS_MAIN(TestFileLocations)
#include "test_file_locations.moc"
