#pragma once
#include "platform/LangLookup.h"

#include <QString>

#include <optional>

// Pages the program writes for its main view, in the program's language: the start page shown when
// the project site cannot be reached, and the page of a catalog channel that has no stream. Their
// link to the IPTV tab changes the page's fragment to "#zelmo-iptv-<n>" (see ChromiumView).
namespace LocalPages {

inline const QString IptvAction = QStringLiteral("iptv");

QString StartHtml(const LangLookup& lang);
QString NoStreamHtml(const QString& channel, const LangLookup& lang);
// Writes the page into dir under name; its path, or nothing when it cannot be written.
std::optional<QString> Write(const QString& dir, const QString& name, const QString& html);

} // namespace LocalPages
