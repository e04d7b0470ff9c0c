#include "navigation/ChannelDispatcher.h"

#include "navigation/ChannelCatalog.h"
#include "platform/HtmlView.h"
#include "platform/MessageSink.h"
#include "platform/Shell.h"
#include "platform/WebView.h"

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

// Shows the entry's page where its target shows pages.
void openPage(const DispatchTargets& t, const ChannelEntry& e) {
    switch (e.target) {
    case Target::MainView:
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
        for (const ChannelEntry& e : MainCatalog()) {
            if (e.Name != key)
                continue;
            openPage(t_, e);
            need(t_.guideView, "programme view").navigate(t_.appDir + e.Guide);
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
    for (const ChannelEntry& e : FavoriteCatalog())
        if (e.Name == key)
            openPage(t_, e);
}
