#include "tv/ChannelAliases.h"

#include "platform/LogCategories.h"
#include "tv/ChannelKey.h"

#include <QFile>

namespace {
QString slot(const QString& country, const QString& key) {
    return country + u'\n' + key;
}
} // namespace

const ChannelAliases& ChannelAliases::builtIn() {
    static const ChannelAliases table = [] {
        QFile f(QStringLiteral(":/tv/ChannelAliases.txt"));
        if (!f.open(QIODevice::ReadOnly)) {
            qCWarning(lcTv) << "channel aliases missing from the program";
            return ChannelAliases();
        }
        return parse(QString::fromUtf8(f.readAll()));
    }();
    return table;
}

ChannelAliases ChannelAliases::parse(const QString& text) {
    ChannelAliases out;
    int lineNo = 0;
    for (const QString& raw : text.split(u'\n')) {
        ++lineNo;
        const QString line = raw.trimmed();
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        const qsizetype colon = line.indexOf(u':');
        const QString country = line.left(colon).trimmed().toLower();
        const QStringList names = line.mid(colon + 1).split(u'=');
        if (colon != 2 || names.size() < 2) {
            qCWarning(lcTv) << "channel aliases: line" << lineNo << "not read:" << line;
            continue;
        }
        QStringList keys;
        for (const QString& n : names)
            for (const QString& k : ChannelMatchKeys(n.trimmed()))
                if (!keys.contains(k))
                    keys << k;
        const int group = int(out.groups_.size());
        out.groups_.push_back(keys);
        for (const QString& k : keys)
            out.byKey_[slot(country, k)].append(group);
    }
    return out;
}

QStringList ChannelAliases::keysFor(const QString& country, const QString& name) const {
    QStringList keys = ChannelMatchKeys(name);
    // Only a line that holds the name's own main key: the short form without "TV" of one name does
    // not pull in a line of another channel.
    if (keys.isEmpty())
        return keys;
    for (int group : byKey_.value(slot(country, keys.front())))
        for (const QString& k : groups_[size_t(group)])
            if (!keys.contains(k))
                keys << k;
    return keys;
}
