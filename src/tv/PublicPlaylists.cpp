#include "tv/PublicPlaylists.h"

#include <array>

namespace PublicPlaylists {

namespace {
constexpr std::array<Country, 7> kCountries{{
    {"ru", "country_ru"},
    {"ua", "country_ua"},
    {"by", "country_by"},
    {"kz", "country_kz"},
    {"ge", "country_ge"},
    {"am", "country_am"},
    {"az", "country_az"},
}};
} // namespace

std::span<const Country> Countries() {
    return kCountries;
}

QUrl Url(const QString& base, const QString& code) {
    QString b = base.trimmed();
    if (!b.endsWith(u'/'))
        b += u'/';
    return QUrl(b + code + QStringLiteral(".m3u"));
}

} // namespace PublicPlaylists
