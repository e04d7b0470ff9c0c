#include "navigation/CategoryRules.h"

#include "navigation/SiteUrls.h"
#include "platform/UiText.h"

using Part = GridSurface::StripPart;
using Set = CategoryBar::Set;

namespace {
constexpr int kLastSlot = GridSurface::kSlots;
constexpr int kHeadings = GridSurface::kHeadings;
} // namespace

CategoryRules::CategoryRules(GridSurface& surface, LangLookup langText)
    : s_(surface), lang_(std::move(langText)) {}

void CategoryRules::click(int button) {
    switch (button) {
    case 1:
        showPublicOrUkrainian();
        break;
    case 2:
        showRadioOrCISa();
        break;
    case 3:
        showMusicOrCISb();
        break;
    case 4:
        showEntertainmentOrMiscellaneous();
        break;
    case 5:
        showResearch();
        break;
    case 6:
        simpleLayout(LayoutId::Sport, 24);
        break;
    case 7:
        simpleLayout(LayoutId::Movie, 24);
        break;
    case 8:
        simpleLayout(LayoutId::Cartoons, 24);
        break;
    case 9:
        simpleLayout(LayoutId::Records, 24);
        break;
    case 44:
        switchTo(Set::Foreign);
        break;
    case 45:
        switchTo(Set::Main);
        break;
    default:
        break;
    }
}

void CategoryRules::HideRadioStrip(GridSurface& s) {
    for (Part p : {Part::Panel, Part::VolumeBar, Part::Record, Part::StopRecord, Part::RadioOff})
        s.setStripPartVisible(p, false);
}

void CategoryRules::ApplyCaptions(GridSurface& s, LayoutId id, int first, int last) {
    const SlotCaptions& captions = LayoutCaptions(id);
    for (int k = first; k <= last; ++k)
        s.setSlotCaption(k, captions[static_cast<size_t>(k - 1)]);
}

void CategoryRules::SetSlotsVisible(GridSurface& s, int first, int last, bool visible) {
    for (int k = first; k <= last; ++k)
        s.setSlotVisible(k, visible);
}

void CategoryRules::SetHeadingsVisible(GridSurface& s, bool visible) {
    for (int h = 1; h <= kHeadings; ++h)
        s.setHeadingVisible(h, visible);
}

QString CategoryRules::category(const char* key) const {
    // A missing pack, section or key reads as "0", like every language text.
    if (!lang_)
        return QStringLiteral("0");
    return lang_(QString::fromLatin1(CategoryBar::kLanguageSection), QString::fromLatin1(key));
}

bool CategoryRules::shows(int button, Set set) const {
    return s_.categoryCaption(button) == category(CategoryBar::Key(button, set));
}

void CategoryRules::simpleLayout(LayoutId id, int shown) {
    HideRadioStrip(s_);
    ApplyCaptions(s_, id, 1, shown);
    SetSlotsVisible(s_, 1, shown, true);
    SetSlotsVisible(s_, shown + 1, kLastSlot, false);
}

void CategoryRules::showPublicOrUkrainian() {
    HideRadioStrip(s_);
    SetSlotsVisible(s_, 1, kLastSlot, true);
    SetHeadingsVisible(s_, false);
    if (shows(1, Set::Foreign)) {
        ApplyCaptions(s_, LayoutId::Ukrainian, 1, 24);
        SetSlotsVisible(s_, 25, kLastSlot, false);
    }
    if (shows(1, Set::Main))
        ApplyCaptions(s_, LayoutId::Public, 1, kLastSlot);
}

void CategoryRules::showRadioOrCISa() {
    if (shows(2, Set::Main)) {
        SetHeadingsVisible(s_, false);
        ApplyCaptions(s_, LayoutId::Radio, 1, 24);
        SetSlotsVisible(s_, 1, 24, true);
        SetSlotsVisible(s_, 25, kLastSlot, false);
        s_.setStripPartVisible(Part::Panel, true);
        s_.setStripPartVisible(Part::VolumeBar, true);
        // Whatever the recording state, the strip comes up offering to record.
        s_.setStripPartVisible(Part::Record, true);
        s_.setStripPartVisible(Part::StopRecord, false);
        s_.setStripPartVisible(Part::RadioOff, true);
    }
    if (shows(2, Set::Foreign)) {
        s_.setHeadingText(1, UiText("MainForm", "georgia", QStringLiteral("Грузия")));
        s_.setHeadingVisible(1, true);
        s_.setHeadingText(2, UiText("MainForm", "kazakhstan", QStringLiteral("Казахстан")));
        s_.setHeadingVisible(2, true);
        s_.setHeadingVisible(3, true); // keeps its own caption
        s_.setHeadingVisible(4, false);
        // Three groups of six, each under the heading that takes the place of the row above it.
        for (int group : {1, 10, 19}) {
            SetSlotsVisible(s_, group, group + 2, false);
            ApplyCaptions(s_, LayoutId::CISa, group + 3, group + 8);
            SetSlotsVisible(s_, group + 3, group + 8, true);
        }
        SetSlotsVisible(s_, 28, kLastSlot, false);
    }
}

void CategoryRules::showMusicOrCISb() {
    HideRadioStrip(s_);
    if (shows(3, Set::Main)) {
        ApplyCaptions(s_, LayoutId::Music, 1, kLastSlot);
        SetSlotsVisible(s_, 1, kLastSlot, true);
        SetHeadingsVisible(s_, false);
    }
    if (shows(3, Set::Foreign)) {
        ApplyCaptions(s_, LayoutId::CISb, 4, 6);
        SetSlotsVisible(s_, 1, 3, false);
        SetSlotsVisible(s_, 4, 6, true);
        SetSlotsVisible(s_, 7, 12, false);
        ApplyCaptions(s_, LayoutId::CISb, 13, 15);
        SetSlotsVisible(s_, 13, 15, true);
        SetSlotsVisible(s_, 16, kLastSlot, false);
        s_.setHeadingText(1, QStringLiteral("Азербайджан"));
        s_.setHeadingVisible(1, true);
        s_.setHeadingText(2, QStringLiteral("Беларусь"));
        s_.setHeadingVisible(2, true);
        s_.setHeadingVisible(3, false);
        s_.setHeadingVisible(4, false);
    }
}

void CategoryRules::showEntertainmentOrMiscellaneous() {
    HideRadioStrip(s_);
    if (shows(4, Set::Main)) {
        ApplyCaptions(s_, LayoutId::Entertainment, 1, 27);
        SetSlotsVisible(s_, 1, 27, true);
        SetSlotsVisible(s_, 28, kLastSlot, false);
    }
    if (shows(4, Set::Foreign)) {
        s_.loadMainView(SiteUrls::Project(QStringLiteral("/title/2.4.html")));
        HideRadioStrip(s_);
        ApplyCaptions(s_, LayoutId::Miscellaneous, 1, 19);
        SetSlotsVisible(s_, 1, 19, true);
        SetSlotsVisible(s_, 20, kLastSlot, false);
        SetHeadingsVisible(s_, false);
    }
}

void CategoryRules::showResearch() {
    if (shows(5, Set::Main))
        simpleLayout(LayoutId::Research, 24);
}

void CategoryRules::switchTo(Set set) {
    HideRadioStrip(s_);
    // The buttons whose clicks read their caption take the new set's; the others only come and go.
    for (const CategoryButton& b : CategoryBar::Buttons())
        if (b.readsCaption && CategoryBar::Key(b.number, set))
            s_.setCategoryCaption(b.number, category(CategoryBar::Key(b.number, set)));
    for (const CategoryButton& b : CategoryBar::Buttons()) {
        const bool inMain = b.mainKey != nullptr, inForeign = b.foreignKey != nullptr;
        if (inMain != inForeign)
            s_.setCategoryVisible(b.number, set == Set::Main ? inMain : inForeign);
    }
    // Each set opens on its first layout.
    showPublicOrUkrainian();
}
