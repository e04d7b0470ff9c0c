// Placeholder until the store lands.
#include "settings/SettingsFile.h"

SettingsFile::SettingsFile(QString path) : path_(std::move(path)) {}
QString SettingsFile::ReadString(const QString&, const QString&, const QString& def) const { return def; }
void SettingsFile::WriteString(const QString&, const QString&, const QString&) {}
bool SettingsFile::ReadBool(const QString&, const QString&, bool def) const { return def; }
void SettingsFile::WriteBool(const QString&, const QString&, bool) {}
