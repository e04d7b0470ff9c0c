#pragma once
#include <QString>

// The folder the program reads its own files from (the language packs, the channel tree), with
// its trailing separator: every local path is AppDir() + a relative path, joined by plain
// concatenation. The running program's folder unless start-up chose another one.
QString AppDir();
// Setting.ini: AppDir() + "Setting.ini" unless start-up chose another file.
QString SettingsFilePath();
// Chosen once at start-up, before any window exists (see desktop/FileLocations.h).
void SetFileLocations(const QString& dataDirWithTrailingSeparator, const QString& settingsFile);
// Tests point the program at another directory.
void SetAppDirForTesting(const QString& dirWithTrailingSeparator);
