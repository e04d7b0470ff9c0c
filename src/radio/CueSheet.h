#pragma once
#include <QString>
#include <QVector>

// The cue sheet kept beside a recording: one track per song title, each with the moment it
// started in the file, so a player can jump from song to song. Rewritten whole at each new title
// (it is small, and a recording cut short leaves a complete sheet).
class CueSheet {
public:
    static constexpr int kMaxTracks = 99; // the format's own limit
    static constexpr int kFramesPerSecond = 44100;

    // path: the sheet's own file; audioFile: the recording's file name as the sheet names it.
    CueSheet(QString path, QString audioFile, QString performer, QString title);

    // A track starting at the given audio frame (44.1 kHz). A title equal to the last one, or any
    // beyond the 99th, is ignored. False when the file could not be written.
    bool addTrack(const QString& title, qint64 frame);
    int trackCount() const { return int(tracks_.size()); }
    QString path() const { return path_; }

    QByteArray text() const;
    // MM:SS:FF with 75 frames a second, as cue sheets count.
    static QString indexTime(qint64 frame);

private:
    struct Track {
        QString title;
        qint64 frame;
    };
    QString path_;
    QString audioFile_;
    QString performer_;
    QString title_;
    QVector<Track> tracks_;
};
