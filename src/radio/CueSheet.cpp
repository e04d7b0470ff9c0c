#include "radio/CueSheet.h"

#include "platform/LogCategories.h"

#include <QSaveFile>

namespace {
// Quoted fields end at a double quote and at the line's end: neither may appear inside.
QString field(const QString& text) {
    QString out = text.simplified();
    out.replace(QLatin1Char('"'), QLatin1Char('\''));
    return QLatin1Char('"') + out + QLatin1Char('"');
}
} // namespace

CueSheet::CueSheet(QString path, QString audioFile, QString performer, QString title)
    : path_(std::move(path)), audioFile_(std::move(audioFile)), performer_(std::move(performer)),
      title_(std::move(title)) {}

QString CueSheet::indexTime(qint64 frame) {
    const qint64 cueFrames = std::max<qint64>(0, frame) * 75 / kFramesPerSecond;
    return QStringLiteral("%1:%2:%3")
        .arg(cueFrames / (75 * 60), 2, 10, QLatin1Char('0'))
        .arg(cueFrames / 75 % 60, 2, 10, QLatin1Char('0'))
        .arg(cueFrames % 75, 2, 10, QLatin1Char('0'));
}

bool CueSheet::addTrack(const QString& title, qint64 frame) {
    const QString clean = title.simplified();
    if (tracks_.size() >= kMaxTracks || (!tracks_.isEmpty() && tracks_.last().title == clean))
        return true;
    if (!tracks_.isEmpty() && frame <= tracks_.last().frame) {
        tracks_.last().title = clean; // a title replaced before any of its audio was written
    } else {
        tracks_.append({clean, frame});
    }
    QSaveFile file(path_);
    if (!file.open(QIODevice::WriteOnly) || file.write(text()) < 0 || !file.commit()) {
        qCWarning(lcAudio) << "cue sheet" << path_ << "not written:" << file.errorString();
        return false;
    }
    return true;
}

QByteArray CueSheet::text() const {
    QString t;
    if (!performer_.isEmpty())
        t += QStringLiteral("PERFORMER ") + field(performer_) + QLatin1Char('\n');
    if (!title_.isEmpty())
        t += QStringLiteral("TITLE ") + field(title_) + QLatin1Char('\n');
    t += QStringLiteral("FILE ") + field(audioFile_) + QStringLiteral(" MP3\n");
    for (int i = 0; i < tracks_.size(); ++i) {
        t += QStringLiteral("  TRACK %1 AUDIO\n").arg(i + 1, 2, 10, QLatin1Char('0'));
        if (!tracks_[i].title.isEmpty())
            t += QStringLiteral("    TITLE ") + field(tracks_[i].title) + QLatin1Char('\n');
        if (!performer_.isEmpty())
            t += QStringLiteral("    PERFORMER ") + field(performer_) + QLatin1Char('\n');
        t += QStringLiteral("    INDEX 01 ") + indexTime(tracks_[i].frame) + QLatin1Char('\n');
    }
    return t.toUtf8();
}
