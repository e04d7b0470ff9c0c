#include "app/DeferredTargets.h"

#include "platform/SlotGuard.h"

#include <utility>

DeferredTargets::DeferredTargets(std::function<void()> firstKept) : firstKept_(std::move(firstKept)) {}

void DeferredTargets::Guide::navigate(const QString& urlOrPath) {
    owner_.run([this, urlOrPath] { real->navigate(urlOrPath); });
}

void DeferredTargets::Partner::showWindow() {
    owner_.run([this] { real->showWindow(); });
}

void DeferredTargets::Partner::openPage(const QString& url) {
    owner_.run([this, url] { real->openPage(url); });
}

void DeferredTargets::run(std::function<void()> request) {
    if (attached_) {
        request(); // errors reach the dispatcher, as they would from the window itself
        return;
    }
    kept_.push_back(std::move(request));
    if (kept_.size() == 1 && firstKept_)
        firstKept_();
}

void DeferredTargets::attach(HtmlView& guide, PartnerWindow& korbina, PartnerWindow& ovego,
                             PartnerWindow& browser2) {
    guide_.real = &guide;
    korbina_.real = &korbina;
    ovego_.real = &ovego;
    browser2_.real = &browser2;
    attached_ = true;
    // The dispatcher that asked has long returned: an error is shown as the general error, and
    // the next request is still carried out.
    for (auto& request : std::exchange(kept_, {}))
        SlotGuard::Run(request);
}
