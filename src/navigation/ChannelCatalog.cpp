// Placeholder until the catalog lands.
#include "navigation/ChannelCatalog.h"

const std::vector<ChannelEntry>& MainCatalog() {
    static const std::vector<ChannelEntry> list;
    return list;
}
const std::vector<ChannelEntry>& FavoriteCatalog() {
    static const std::vector<ChannelEntry> list;
    return list;
}
QString TargetName(Target t) {
    switch (t) {
    case Target::MainView: return QStringLiteral("MainView");
    case Target::KorbinaForm: return QStringLiteral("KorbinaForm");
    case Target::OvegoPlayerForm: return QStringLiteral("OvegoPlayerForm");
    case Target::Browser2Form: return QStringLiteral("Browser2Form");
    case Target::SystemBrowser: return QStringLiteral("SystemBrowser");
    }
    return {};
}
