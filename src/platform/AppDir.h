#pragma once
#include <QString>

// The directory of the running program, with its trailing separator: every local path is
// AppDir() + a relative path, joined by plain concatenation.
QString AppDir();
// Tests point the program at another directory.
void SetAppDirForTesting(const QString& dirWithTrailingSeparator);
