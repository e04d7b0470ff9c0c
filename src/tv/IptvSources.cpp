#include "tv/IptvSources.h"

#include "settings/SettingsFile.h"
#include "tv/PublicPlaylists.h"

#include <QCryptographicHash>
#include <QStringList>

namespace {
const QString Section = QStringLiteral("IPTV");
const QString FurtherSection = QStringLiteral("IPTVPlaylists");
const QString PublicSection = QStringLiteral("IPTVPublic");
} // namespace

QString IptvSources::publicBase() const {
    const QString base = settings_.ReadString(Section, QStringLiteral("publicBase"), {}).trimmed();
    return base.isEmpty() ? PublicPlaylists::DefaultBase : base;
}

QString IptvSources::firstOwn() const {
    return settings_.ReadString(Section, QStringLiteral("playlist"), {}).trimmed();
}

QStringList IptvSources::furtherOwn() const {
    QStringList list;
    for (int k = 1; k < MaxOwn; ++k) {
        const QString v = settings_.ReadString(FurtherSection, QString::number(k), {}).trimmed();
        if (!v.isEmpty())
            list << v;
    }
    return list;
}

QString IptvSources::OwnCacheName(int ownNumber, const QString& location) {
    // The first one keeps the name the cache has always had.
    if (ownNumber == 1)
        return QStringLiteral("playlist.m3u");
    const QByteArray hash = QCryptographicHash::hash(location.toUtf8(), QCryptographicHash::Sha1).toHex();
    return QStringLiteral("playlist-%1.m3u").arg(QString::fromLatin1(hash.first(12)));
}

std::vector<PlaylistSource> IptvSources::all() const {
    std::vector<PlaylistSource> out;
    const QString first = firstOwn();
    const QString base = publicBase();
    const bool publicByDefault = first.isEmpty();
    for (const PublicPlaylists::Country& c : PublicPlaylists::Countries()) {
        PlaylistSource s;
        s.kind = PlaylistSource::Kind::Public;
        s.id = QLatin1String(c.code);
        s.country = s.id;
        s.location = PublicPlaylists::Url(base, s.id).toString();
        const QString stored = settings_.ReadString(PublicSection, s.id, {}).trimmed();
        s.enabled = stored.isEmpty() ? publicByDefault : stored == u"1";
        s.cacheName = QStringLiteral("public-%1.m3u").arg(s.id);
        out.push_back(std::move(s));
    }
    QStringList own = furtherOwn();
    if (!first.isEmpty())
        own.prepend(first);
    for (qsizetype i = 0; i < own.size(); ++i) {
        PlaylistSource s;
        s.kind = PlaylistSource::Kind::Own;
        // "own1" is [IPTV] playlist= whenever it is set.
        const int number = first.isEmpty() ? int(i) + 2 : int(i) + 1;
        s.id = QStringLiteral("own%1").arg(number);
        s.location = own[i];
        s.cacheName = OwnCacheName(number, s.location);
        out.push_back(std::move(s));
    }
    return out;
}

void IptvSources::setPublicEnabled(const QString& code, bool on) {
    settings_.WriteString(PublicSection, code, on ? QStringLiteral("1") : QStringLiteral("0"));
}

void IptvSources::addOwn(const QString& location) {
    const QString l = location.trimmed();
    QStringList list = furtherOwn();
    if (l.isEmpty() || list.contains(l) || l == firstOwn() || list.size() >= MaxOwn - 1)
        return;
    list << l;
    for (int k = 1; k < MaxOwn; ++k)
        settings_.WriteString(FurtherSection, QString::number(k), list.value(k - 1));
}

void IptvSources::removeFurtherOwn(int index) {
    QStringList list = furtherOwn();
    if (index < 0 || index >= list.size())
        return;
    list.removeAt(index);
    for (int k = 1; k < MaxOwn; ++k)
        settings_.WriteString(FurtherSection, QString::number(k), list.value(k - 1));
}
