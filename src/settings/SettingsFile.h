#pragma once
#include <QString>

#include <stdexcept>

// Raised when a write cannot be done; the message is "Unable to write to <path>".
class SettingsWriteError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Setting.ini: read and written one key at a time, each call acting on the file at once: every
// read sees the file as it is now. An unchanged file is not decoded again for every key (the
// parse is reused while the file's identity, size and modification time stay the same).
// Section and key names match without regard to letter case; values read back exactly.
class SettingsFile {
public:
    explicit SettingsFile(QString path);
    QString ReadString(const QString& section, const QString& key, const QString& def) const;
    void WriteString(const QString& section, const QString& key, const QString& value);
    bool ReadBool(const QString& section, const QString& key, bool def) const;
    void WriteBool(const QString& section, const QString& key, bool value);
    const QString& path() const { return path_; }

private:
    [[noreturn]] void fail(const QString& reason) const;

    QString path_;
};
