#pragma once
#include <QHash>
#include <QString>
#include <QStringList>

#include <vector>

// One broadcast of a guide. Times are UTC milliseconds since the epoch.
struct Programme {
    qint64 start = 0;
    qint64 stop = 0;
    QString title;
    QString description;
};

// The part of an XMLTV guide the program keeps: the programmes of the wanted channels within a
// window of time, by the guide's channel id, each list sorted by start.
class ProgrammeGuide {
public:
    // The programmes of a channel: by its tvg-id, failing that by one of its names (compared by
    // ChannelNameKey against the guide's display names). Null when the guide has none.
    const std::vector<Programme>* find(const QString& tvgId, const QStringList& names) const;

    bool isEmpty() const { return programmes_.isEmpty(); }
    int channelCount() const { return int(programmes_.size()); }
    qsizetype programmeCount() const;

    // Building (the reader).
    void addName(const QString& nameKey, const QString& id) {
        if (!idByName_.contains(nameKey))
            idByName_.insert(nameKey, id);
    }
    void add(const QString& id, Programme p) { programmes_[id].push_back(std::move(p)); }
    void finish();

private:
    QHash<QString, std::vector<Programme>> programmes_;
    QHash<QString, QString> idByName_;
};
