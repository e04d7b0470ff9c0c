#pragma once
#include "settings/IniText.h"

#include <QHash>
#include <QString>

#include <condition_variable>
#include <mutex>
#include <optional>
#include <vector>

// The changes to one settings file that are not on disk yet, and the one thread at a time that
// puts them there. A change is taken at once (reads see it from then on) and written in the
// background, so the caller never waits for the disk, however large the file: the latest value of
// a key wins, and changes made while a write runs go together into the next one. Every
// SettingsFile of one path in this process shares one store, so there are never two writers of
// one file here; other processes are kept in step by the writers' lock.
class SettingsStore {
public:
    // The store of a file; it lives as long as the process (it is small when nothing is pending).
    static SettingsStore& ForPath(const QString& path);

    // The value of a change not yet on disk.
    std::optional<QString> pending(const QString& section, const QString& key) const;
    // The changes not yet on disk in one section, in the order their keys were first changed.
    std::vector<std::pair<QString, QString>> pendingIn(const QString& section) const;
    // Takes a change and has it written in the background. The caller checks names and value.
    void set(const QString& section, const QString& key, const QString& value);
    // The reason a background write failed, once, if that was not yet told; the changes stay in
    // memory, and telling it sets off a new try.
    std::optional<QString> takeFailure();
    // Waits at most waitMs until every change made so far is on disk (one that failed is tried
    // again); true when they are.
    bool flush(int waitMs);

    // SettingsFile objects using the store; when the last one goes (at program exit), what is
    // pending is written before it returns, within a bound.
    void addUser();
    void removeUser();

private:
    explicit SettingsStore(QString path) : path_(std::move(path)) {}
    struct Pending {
        IniText::Change change;
        quint64 generation; // of its latest value
    };
    void startWriter(); // with mutex_ held
    void run();

    const QString path_;
    mutable std::mutex mutex_;
    std::condition_variable finished_;
    std::vector<Pending> changes_;   // in the order keys were first changed
    QHash<QString, size_t> byName_;  // folded section and key -> index into changes_
    quint64 wanted_ = 0;             // newest generation asked for
    quint64 attempted_ = 0;          // generation the last finished write covered
    bool running_ = false;           // a writer thread is at work
    std::optional<QString> failure_; // of the last write, not yet told
    int users_ = 0;
};
