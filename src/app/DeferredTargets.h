#pragma once
#include "navigation/ChannelDispatcher.h"
#include "platform/HtmlView.h"

#include <QString>

#include <functional>
#include <vector>

// Stand-ins for the windows a channel may point at besides the main view, for the moment after
// the first paint when those windows are not built yet: a channel handed over then starts its
// page at once, and what it asks of the other windows is kept, in order, until they exist.
class DeferredTargets {
public:
    // firstKept runs when the first request is kept, to have the windows built soon.
    explicit DeferredTargets(std::function<void()> firstKept);

    HtmlView& guideView() { return guide_; }
    PartnerWindow& korbina() { return korbina_; }
    PartnerWindow& ovego() { return ovego_; }
    PartnerWindow& browser2() { return browser2_; }

    // The real windows: what was kept is carried out now, in the order it was asked, and from then
    // on every request goes straight through.
    void attach(HtmlView& guide, PartnerWindow& korbina, PartnerWindow& ovego, PartnerWindow& browser2);
    bool attached() const { return attached_; }

private:
    class Guide : public HtmlView {
    public:
        explicit Guide(DeferredTargets& owner) : owner_(owner) {}
        void navigate(const QString& urlOrPath) override;
        HtmlView* real = nullptr;

    private:
        DeferredTargets& owner_;
    };
    class Partner : public PartnerWindow {
    public:
        explicit Partner(DeferredTargets& owner) : owner_(owner) {}
        void showWindow() override;
        void openPage(const QString& url) override;
        PartnerWindow* real = nullptr;

    private:
        DeferredTargets& owner_;
    };

    void run(std::function<void()> request);

    std::function<void()> firstKept_;
    std::vector<std::function<void()>> kept_;
    bool attached_ = false;
    Guide guide_{*this};
    Partner korbina_{*this};
    Partner ovego_{*this};
    Partner browser2_{*this};
};
