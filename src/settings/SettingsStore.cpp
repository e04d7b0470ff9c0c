#include "settings/SettingsStore.h"

#include "platform/LogCategories.h"
#include "settings/IniFileWriter.h"

#include <QDir>
#include <QFileInfo>

#include <chrono>
#include <system_error>
#include <thread>

namespace {

// Another process writing the same file holds the lock only for one read-modify-write.
constexpr int LockWaitMs = 5000;
// At exit: a lock wait and a large file's write, with room to spare.
constexpr int ExitFlushMs = 15000;

QString nameOf(const QString& section, const QString& key) {
    return IniText::Fold(section) + QChar(0) + IniText::Fold(key);
}

} // namespace

SettingsStore& SettingsStore::ForPath(const QString& path) {
    static std::mutex registryMutex;
    // Never destroyed: a writer thread still finishing while the program ends may use its store.
    static auto* registry = new QHash<QString, SettingsStore*>;
    const QString key = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    std::lock_guard lock(registryMutex);
    SettingsStore*& store = (*registry)[key];
    if (!store)
        store = new SettingsStore(path);
    return *store;
}

std::optional<QString> SettingsStore::pending(const QString& section, const QString& key) const {
    std::lock_guard lock(mutex_);
    if (changes_.empty())
        return std::nullopt;
    const auto it = byName_.constFind(nameOf(section, key));
    if (it == byName_.constEnd())
        return std::nullopt;
    return changes_[*it].change.value;
}

std::vector<std::pair<QString, QString>> SettingsStore::pendingIn(const QString& section) const {
    std::vector<std::pair<QString, QString>> out;
    const QString folded = IniText::Fold(section);
    std::lock_guard lock(mutex_);
    for (const Pending& p : changes_)
        if (IniText::Fold(p.change.section) == folded)
            out.emplace_back(p.change.key, p.change.value);
    return out;
}

void SettingsStore::set(const QString& section, const QString& key, const QString& value) {
    std::lock_guard lock(mutex_);
    ++wanted_;
    const QString name = nameOf(section, key);
    const auto it = byName_.constFind(name);
    if (it != byName_.constEnd()) {
        // The spelling of the first change stays, as the file keeps the spelling it has.
        changes_[*it].change.value = value;
        changes_[*it].generation = wanted_;
    } else {
        byName_.insert(name, changes_.size());
        changes_.push_back({{section, key, value}, wanted_});
    }
    startWriter();
}

std::optional<QString> SettingsStore::takeFailure() {
    std::lock_guard lock(mutex_);
    std::optional<QString> failure = std::exchange(failure_, std::nullopt);
    if (failure) {
        ++wanted_;
        startWriter();
    }
    return failure;
}

bool SettingsStore::flush(int waitMs) {
    std::unique_lock lock(mutex_);
    if (!changes_.empty() && attempted_ >= wanted_) {
        ++wanted_; // what failed before is tried once more
        startWriter();
    }
    const quint64 target = wanted_;
    finished_.wait_for(lock, std::chrono::milliseconds(waitMs), [&] { return attempted_ >= target; });
    for (const Pending& p : changes_)
        if (p.generation <= target)
            return false;
    return true;
}

void SettingsStore::addUser() {
    std::lock_guard lock(mutex_);
    ++users_;
}

void SettingsStore::removeUser() {
    {
        std::lock_guard lock(mutex_);
        if (--users_ > 0 || changes_.empty())
            return;
    }
    if (!flush(ExitFlushMs))
        qCWarning(lcSettings) << "settings not written to" << path_ << "before the end";
}

void SettingsStore::startWriter() {
    if (running_)
        return; // it takes the new generation when it finishes the current write
    try {
        // Detached: the store outlives it, and an exit is never held up by a write beyond the bound.
        std::thread([this] { run(); }).detach();
        running_ = true;
    } catch (const std::system_error& e) {
        failure_ = QStringLiteral("cannot start a writer: ") + QString::fromLocal8Bit(e.what());
        qCWarning(lcSettings) << "cannot write" << path_ << ":" << *failure_;
    }
}

void SettingsStore::run() {
    std::unique_lock lock(mutex_);
    while (attempted_ < wanted_) {
        const quint64 generation = wanted_;
        std::vector<IniText::Change> batch;
        batch.reserve(changes_.size());
        for (const Pending& p : changes_)
            batch.push_back(p.change);
        lock.unlock();
        const IniFileWriter::Result result =
            batch.empty() ? IniFileWriter::Result{true, {}} : IniFileWriter::Apply(path_, batch, LockWaitMs);
        lock.lock();
        attempted_ = generation;
        if (result.ok) {
            // Written; a value changed meanwhile stays for the next write.
            std::erase_if(changes_, [&](const Pending& p) { return p.generation <= generation; });
            byName_.clear();
            for (size_t i = 0; i < changes_.size(); ++i)
                byName_.insert(nameOf(changes_[i].change.section, changes_[i].change.key), i);
            failure_.reset();
        } else {
            failure_ = result.reason;
            qCWarning(lcSettings) << "cannot write" << path_ << ":" << result.reason;
        }
        finished_.notify_all();
    }
    running_ = false;
}
