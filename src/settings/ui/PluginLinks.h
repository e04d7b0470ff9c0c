#pragma once
#include "navigation/SiteUrls.h"

#include <QString>

// Where the no-video tab's buttons lead: the project site's downloads and help page, and the two
// plug-in vendors' own pages (their hosts live here and nowhere else).
namespace PluginLinks {
inline const QString MediaPluginVendorSite = QStringLiteral("https://media-plugin-vendor.example");
inline const QString SilverlightVendorSite = QStringLiteral("https://silverlight-vendor.example");

inline QString Flash32() {
    return SiteUrls::Project(QStringLiteral("/data/install_flash_player_32bit.exe"));
}
inline QString Flash64() {
    return SiteUrls::Project(QStringLiteral("/data/install_flash_player_64bit.exe"));
}
inline QString MediaPlayerPlugin() {
    return MediaPluginVendorSite + QStringLiteral("/windows-media-player-firefox-plugin-download");
}
inline QString Silverlight() {
    return SilverlightVendorSite + QStringLiteral("/getsilverlight/Get-Started/Install/Default.aspx");
}
inline QString VlcPlayer() {
    return SiteUrls::Project(QStringLiteral("/data/vlc-1.0.5-win32.exe"));
}
inline QString Help() {
    return SiteUrls::Project(QStringLiteral("/page6.php"));
}
} // namespace PluginLinks
