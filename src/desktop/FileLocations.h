#pragma once
#include <QString>

// Where the program reads its packs and channel pages and keeps Setting.ini.
//
// A copy built or unpacked into one folder (the packs beside the program) is portable: all of
// it stays in that folder, Setting.ini included. A program installed under a prefix
// (<prefix>/bin beside <prefix>/share/zelmo-player) reads its data from the share folder and
// keeps Setting.ini in the user's configuration folder, since a program folder of a system
// install is no place for one user's settings.
struct FileLocations {
    QString dataDir;      // with a trailing separator; Language/ and channel/ live here
    QString settingsFile; // Setting.ini
    bool installed = false;
};

// programDir: the running program's folder; configHome: the user's configuration folder.
FileLocations ResolveFileLocations(const QString& programDir, const QString& configHome);
// $XDG_CONFIG_HOME, or ~/.config when it is unset or not absolute.
QString UserConfigHome();
// Makes the whole program use these locations (see platform/AppDir.h).
void UseFileLocations(const FileLocations& locations);
// Where recordings go. Installed: "Zelmo Player" in the user's music folder (`xdg-user-dir MUSIC`,
// from user-dirs.dirs, ~/Music without one). Portable: empty, the working directory, as always.
QString RecordingsFolder(const FileLocations& locations);
// The same for the locations in use.
QString RecordingsFolder();
