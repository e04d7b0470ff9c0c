#pragma once
#include <QString>

#include <stdexcept>
#include <utility>
#include <vector>

class SettingsStore;

// Raised when a write cannot be done; the message is "Unable to write to <path>".
class SettingsWriteError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Setting.ini: read and written one key at a time. A write is taken at once, and every read sees
// it from then on; the file itself is written in the background, so a write costs the caller no
// disk time however large the file (see SettingsStore). Reads see the file as it is now, with the
// writes not yet on disk over it; an unchanged file is not decoded again for every key.
// Section and key names match without regard to letter case; values read back exactly.
class SettingsFile {
public:
    explicit SettingsFile(QString path);
    SettingsFile(const SettingsFile& other);
    SettingsFile& operator=(const SettingsFile&) = delete;
    // The last SettingsFile of a path waits, within a bound, for its writes to reach the disk.
    ~SettingsFile();

    QString ReadString(const QString& section, const QString& key, const QString& def) const;
    // Raises SettingsWriteError, storing nothing, when the value or the names cannot be stored,
    // when the file evidently cannot be written, or when an earlier write failed in the background
    // (that write is then tried again).
    void WriteString(const QString& section, const QString& key, const QString& value);
    bool ReadBool(const QString& section, const QString& key, bool def) const;
    // Every key of a section with its value, as ReadString gives them, in file order (keys not
    // yet in the file last).
    std::vector<std::pair<QString, QString>> ReadSection(const QString& section) const;
    void WriteBool(const QString& section, const QString& key, bool value);
    const QString& path() const { return path_; }

    // Waits at most waitMs until every write so far is on disk; true when it is.
    bool flush(int waitMs) const;

private:
    [[noreturn]] void fail(const QString& reason) const;

    QString path_;
    SettingsStore* store_;
};
