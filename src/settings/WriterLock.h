#pragma once
#include <QString>

#include <optional>

// An exclusive lock on a file among cooperating writers, held on the file itself with flock(),
// so it ends with its owner: a writer that is killed leaves nothing behind that blocks the next
// one, and there is no separate lock file that could be left empty or turn out to be a directory.
// A writer replaces the file by renaming a new one over it, so a lock taken on a file that was
// replaced meanwhile is dropped and taken again on the current one.
class WriterLock {
public:
    // Locks `path`, creating it empty when missing; waits at most waitMs for a live holder.
    // On failure, returns nothing and sets `reason`.
    static std::optional<WriterLock> acquire(const QString& path, int waitMs, QString& reason);

    WriterLock(WriterLock&& other) noexcept;
    WriterLock& operator=(WriterLock&&) = delete;
    WriterLock(const WriterLock&) = delete;
    ~WriterLock();

    // The locked file, open for reading.
    int fd() const { return fd_; }

private:
    explicit WriterLock(int fd) : fd_(fd) {}
    int fd_ = -1;
};
