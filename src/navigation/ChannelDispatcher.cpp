#include "navigation/ChannelDispatcher.h"

#include "navigation/ChannelCatalog.h"
#include "navigation/StreamLookup.h"
#include "navigation/TvPlayer.h"
#include "platform/HtmlView.h"
#include "platform/MessageSink.h"
#include "platform/Shell.h"
#include "platform/WebView.h"

#include <optional>

#include <stdexcept>
#include <string>

namespace {

// A missing seam is a wiring fault: it must surface as an error, never as a silent no-op.
template <typename T> T& need(T* p, const char* what) {
    if (!p)
        throw std::logic_error(std::string("channel dispatcher: no ") + what);
    return *p;
}

PartnerWindow& windowFor(const DispatchTargets& t, Target target) {
    switch (target) {
    case Target::KorbinaForm:
        return need(t.korbina, "Korbina window");
    case Target::OvegoPlayerForm:
        return need(t.ovego, "Ovego window");
    case Target::Browser2Form:
        return need(t.browser2, "second browser window");
    default:
        break;
    }
    throw std::logic_error("channel dispatcher: target has no window");
}

// Local pages are relative to the program's directory; a site page is used as it is.
QString fullPage(const DispatchTargets& t, const ChannelEntry& e) {
    return e.hasLocalPage() ? t.appDir + e.Page : e.Page;
}

std::optional<ImportedStream> importedStream(const DispatchTargets& t, const QString& name) {
    if (!t.streams || !t.tv)
        return std::nullopt;
    return t.streams->streamFor(name);
}

// Shows the entry's page where its target shows pages; the main view's page gives way to the
// imported stream when there is one.
void openPage(const DispatchTargets& t, const ChannelEntry& e, const std::optional<ImportedStream>& stream) {
    switch (e.target) {
    case Target::MainView:
        if (stream) {
            t.tv->play(*stream);
            return;
        }
        if (!e.isRadio() && e.hasLocalPage() && t.noStreamPage) {
            if (const auto page = t.noStreamPage(e.Name)) {
                need(t.mainView, "main view").load(*page);
                return;
            }
        }
        need(t.mainView, "main view").load(fullPage(t, e));
        return;
    case Target::SystemBrowser:
        need(t.shell, "shell").open(e.Page);
        return;
    case Target::KorbinaForm:
    case Target::OvegoPlayerForm:
    case Target::Browser2Form: {
        PartnerWindow& w = windowFor(t, e.target);
        w.showWindow();
        w.openPage(e.Page);
        return;
    }
    }
}

} // namespace

ChannelDispatcher::ChannelDispatcher(DispatchTargets targets) : t_(std::move(targets)) {}

void ChannelDispatcher::StartTV(const QString& key) {
    try {
        const std::optional<ImportedStream> stream = importedStream(t_, key);
        for (const ChannelEntry& e : MainCatalog()) {
            if (e.Name != key)
                continue;
            openPage(t_, e, stream);
            const auto generated = t_.programmePage ? t_.programmePage(key) : std::nullopt;
            need(t_.guideView, "programme view").navigate(generated ? *generated : t_.appDir + e.Guide);
            if (e.isRadio())
                need(t_.radio, "radio player").PlayStream(e.Stream);
        }
    } catch (...) {
        // Whatever already ran stays done; the rest of the scan is skipped.
        const QString text = t_.langText
                                 ? t_.langText(QStringLiteral("Message"), QStringLiteral("somethingiswrong"))
                                 : QStringLiteral("0");
        if (t_.messages)
            t_.messages->show(text);
    }
}

void ChannelDispatcher::StartFavorite(const QString& key) {
    const std::optional<ImportedStream> stream = importedStream(t_, key);
    bool played = false;
    for (const ChannelEntry& e : FavoriteCatalog()) {
        if (e.Name != key)
            continue;
        openPage(t_, e, stream);
        played = played || (stream && e.target == Target::MainView);
    }
    // An imported channel that is not in the catalog reaches the screen through its favourite.
    if (stream && !played)
        t_.tv->play(*stream);
    // The favourites catalog holds no stream addresses: a radio station added to the favourites
    // plays from the main catalog's entry of the same name.
    for (const ChannelEntry& e : MainCatalog()) {
        if (e.Name == key && e.isRadio()) {
            need(t_.radio, "radio player").PlayStream(e.Stream);
            break;
        }
    }
}
