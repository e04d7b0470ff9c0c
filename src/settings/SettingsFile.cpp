#include "settings/SettingsFile.h"

#include "platform/LogCategories.h"
#include "settings/IniFileCache.h"
#include "settings/IniText.h"
#include "settings/IntegerText.h"
#include "settings/SettingsStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <optional>

#include <sys/stat.h>
#include <unistd.h>

namespace {

QString errnoText(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

} // namespace

SettingsFile::SettingsFile(QString path) : path_(std::move(path)), store_(&SettingsStore::ForPath(path_)) {
    store_->addUser();
}

SettingsFile::SettingsFile(const SettingsFile& other) : path_(other.path_), store_(other.store_) {
    store_->addUser();
}

SettingsFile::~SettingsFile() {
    store_->removeUser();
}

QString SettingsFile::ReadString(const QString& section, const QString& key, const QString& def) const {
    if (std::optional<QString> value = store_->pending(section, key))
        return *value;
    return IniFileCache::Lookup(path_, section, key).value_or(def);
}

bool SettingsFile::ReadBool(const QString& section, const QString& key, bool def) const {
    std::optional<QString> value = store_->pending(section, key);
    if (!value)
        value = IniFileCache::Lookup(path_, section, key);
    if (!value)
        return def;
    const std::optional<qint32> number = ParseInt32(*value);
    return number ? *number != 0 : def;
}

std::vector<std::pair<QString, QString>> SettingsFile::ReadSection(const QString& section) const {
    std::vector<std::pair<QString, QString>> entries = IniFileCache::Section(path_, section);
    for (auto& [key, value] : store_->pendingIn(section)) {
        const auto same = std::find_if(entries.begin(), entries.end(),
                                       [&](const auto& e) { return IniText::SameName(e.first, key); });
        if (same != entries.end())
            same->second = std::move(value);
        else
            entries.emplace_back(std::move(key), std::move(value));
    }
    return entries;
}

void SettingsFile::WriteString(const QString& section, const QString& key, const QString& value) {
    // A line break cannot be stored in a one-line value, nor half a surrogate pair in UTF-8:
    // refuse such a value rather than split the entry or store something else.
    if (!IniText::CanStore(value))
        fail(QStringLiteral("the value of %1/%2 has a line break, a NUL or a broken character")
                 .arg(section, key));
    if (!IniText::CanStoreName(section, true) || !IniText::CanStoreName(key, false))
        fail(QStringLiteral("the name %1/%2 cannot be stored").arg(section, key));

    // What makes every write fail is found here, cheaply, so the caller hears of it at once.
    // The folder may not exist yet: an installed program keeps the file in the user's
    // configuration folder, created with the first setting written.
    const QFileInfo info(path_);
    if (!info.dir().exists() && !QDir().mkpath(info.absolutePath()))
        fail(QStringLiteral("cannot create its folder"));
    // The file is replaced by a new one made beside it: the folder must take new files.
    if (::access(QFile::encodeName(info.absolutePath()).constData(), W_OK | X_OK) != 0)
        fail(QStringLiteral("its folder is not writable: ") + errnoText(errno));
    struct stat st {};
    if (::stat(QFile::encodeName(path_).constData(), &st) == 0 && !S_ISREG(st.st_mode))
        fail(QStringLiteral("it is not a regular file"));
    if (const std::optional<QString> failure = store_->takeFailure())
        fail(QStringLiteral("an earlier write failed: ") + *failure);

    store_->set(section, key, value);
}

void SettingsFile::WriteBool(const QString& section, const QString& key, bool value) {
    WriteString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

bool SettingsFile::flush(int waitMs) const {
    return store_->flush(waitMs);
}

void SettingsFile::fail(const QString& reason) const {
    qCWarning(lcSettings) << "cannot write" << path_ << ":" << reason;
    throw SettingsWriteError((QStringLiteral("Unable to write to ") + path_).toStdString());
}
