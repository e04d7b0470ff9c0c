#pragma once
#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <memory>

// A streaming gzip decoder: compressed bytes in, plain bytes out, piece by piece, so a large
// file is never held whole. Several gzip members one after another read as one stream.
class Inflater {
public:
    Inflater();
    ~Inflater();
    Inflater(const Inflater&) = delete;
    Inflater& operator=(const Inflater&) = delete;

    static bool looksCompressed(QByteArrayView firstBytes) {
        return firstBytes.size() >= 2 && uchar(firstBytes[0]) == 0x1f && uchar(firstBytes[1]) == 0x8b;
    }

    // Takes the next packed piece (a copy); the calls of next() decode it. The piece fed before
    // must be used up (hasInput() false).
    void feed(QByteArrayView in);
    bool hasInput() const;
    // Decodes at most maxOut plain bytes of what was fed, so that a small piece that unpacks to a
    // great deal never lands in memory at once; empty once the piece is used up. False with
    // error() set when the data is not valid gzip.
    bool next(QByteArray& out, qsizetype maxOut);
    // True once the last member ended; data cut short leaves this false.
    bool finished() const { return finished_; }
    const QString& error() const { return error_; }

private:
    struct State;
    std::unique_ptr<State> s_;
    bool finished_ = false;
    QString error_;
};
