#pragma once
#include "tv/ProgrammeGuide.h"

#include <QSet>
#include <QString>

#include <atomic>

class QIODevice;

// What to keep of a guide: the channels the playlist has (by guide id or by name key) and the
// programmes that overlap [from, to) (UTC milliseconds).
struct GuideFilter {
    QSet<QString> ids;
    QSet<QString> nameKeys;
    qint64 from = 0;
    qint64 to = 0;
};

struct ParsedGuide {
    ProgrammeGuide guide;
    QString error; // why nothing was read, in a few words; empty on success
    bool ok() const { return error.isEmpty(); }
};

// Reads an XMLTV guide, plain or gzip-compressed, piece by piece: memory grows with what is kept,
// not with the size of the file.
class XmltvReader {
public:
    static constexpr qint64 MaxPlainBytes = 1024LL * 1024 * 1024; // after decompression
    static constexpr qsizetype MaxProgrammes = 500000;            // kept, after filtering

    static ParsedGuide read(QIODevice& in, const GuideFilter& filter,
                            const std::atomic_bool* cancel = nullptr);
    static ParsedGuide readFile(const QString& path, const GuideFilter& filter,
                                const std::atomic_bool* cancel = nullptr);
};
