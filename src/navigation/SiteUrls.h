#pragma once
#include <QString>

// The project site and the four partner sites: scheme and host live here and nowhere else.
namespace SiteUrls {
inline const QString ProjectSite = QStringLiteral("https://zelmo-player.example");
inline const QString KorbinaSite = QStringLiteral("https://korbina-tv.example");
inline const QString OvegoSite = QStringLiteral("https://ovego-player.example");
inline const QString SeeTvSite = QStringLiteral("https://seetv-online.example");
inline const QString TvPortalSite = QStringLiteral("https://tv-portal.example");

inline QString Project(const QString& path) { return ProjectSite + path; }
} // namespace SiteUrls
