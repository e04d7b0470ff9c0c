#pragma once
#include "platform/LangLookup.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <optional>

class WebView;
class HtmlView;
class Shell;
class MessageSink;
class StreamLookup;
class TvPlayer;

// A separate browser window as the dispatcher sees it: show it (its on-show step runs only when it
// goes from hidden to visible), then point its own view at a page (load or navigate, by window).
class PartnerWindow {
public:
    virtual ~PartnerWindow() = default;
    virtual void showWindow() = 0;
    virtual void openPage(const QString& url) = 0;
};

class StreamPlayer {
public:
    virtual ~StreamPlayer() = default;
    virtual void PlayStream(const QByteArray& url) = 0;
};

struct DispatchTargets {
    WebView* mainView = nullptr;
    HtmlView* guideView = nullptr;
    PartnerWindow* korbina = nullptr;
    PartnerWindow* ovego = nullptr;
    PartnerWindow* browser2 = nullptr;
    StreamPlayer* radio = nullptr;
    Shell* shell = nullptr;
    MessageSink* messages = nullptr;
    // Imported streams: a name that has one plays natively instead of loading the main view.
    const StreamLookup* streams = nullptr;
    TvPlayer* tv = nullptr;
    LangLookup langText;
    QString appDir; // with trailing separator
    // A generated programme page (a local path) for a channel the imported guide knows; null or
    // nothing: the entry's own programme page.
    std::function<std::optional<QString>(const QString& name)> programmePage;
    // A local page for a catalog TV channel that has no stream (a local path), shown instead of its
    // placeholder page; null or nothing: the placeholder.
    std::function<std::optional<QString>(const QString& name)> noStreamPage;
};

// Turns a channel name into pages, programme pages, streams and partner windows. Keeps no state.
class ChannelDispatcher {
public:
    explicit ChannelDispatcher(DispatchTargets targets);
    // Every MainCatalog entry whose name equals key runs, in order; an error stops the scan and
    // shows the "somethingiswrong" text.
    void StartTV(const QString& key);
    // Every FavoriteCatalog entry whose name equals key runs, in order; errors propagate. A name
    // with an imported stream plays it even when no entry has that name; a name of a radio
    // station of the MainCatalog plays that station.
    void StartFavorite(const QString& key);

private:
    DispatchTargets t_;
};
