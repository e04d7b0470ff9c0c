#pragma once
#include <QHash>
#include <QString>
#include <QStringList>

#include <vector>

// The hand-kept table of other names of catalog channels (renamed channels, the names playlists
// use, the catalog's odd spellings), per country. Read from the text shipped with the program.
class ChannelAliases {
public:
    // The table as written in ChannelAliases.txt; lines that cannot be read are left out and logged.
    static const ChannelAliases& builtIn();
    static ChannelAliases parse(const QString& text);

    // Every matching key of a channel of `country` known by `name`: the name's own keys and those of
    // all names on the same line.
    QStringList keysFor(const QString& country, const QString& name) const;
    qsizetype size() const { return qsizetype(groups_.size()); }

private:
    std::vector<QStringList> groups_;  // per line: the keys of all its names
    QHash<QString, QList<int>> byKey_; // country + '\n' + key -> lines
};
