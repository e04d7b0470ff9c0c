#include "navigation/CategoryRules.h"

#include "navigation/SiteUrls.h"

using Part = GridSurface::StripPart;

CategoryRules::CategoryRules(GridSurface& surface, LangLookup langText)
    : s_(surface), lang_(std::move(langText)) {}

void CategoryRules::click(int button) {
    switch (button) {
    case 1:
        sBitBtn1Click();
        break;
    case 2:
        sBitBtn2Click();
        break;
    case 3:
        sBitBtn3Click();
        break;
    case 4:
        sBitBtn4Click();
        break;
    case 5:
        sBitBtn5Click();
        break;
    case 6:
        sBitBtn6Click();
        break;
    case 7:
        sBitBtn7Click();
        break;
    case 8:
        sBitBtn8Click();
        break;
    case 9:
        sBitBtn9Click();
        break;
    case 44:
        sBitBtn44Click();
        break;
    case 45:
        sBitBtn45Click();
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
    for (int h = 1; h <= 4; ++h)
        s.setHeadingVisible(h, visible);
}

QString CategoryRules::category(const char* key) const {
    // A missing pack, section or key reads as "0", like every language text.
    if (!lang_)
        return QStringLiteral("0");
    return lang_(QStringLiteral("Category"), QString::fromLatin1(key));
}

bool CategoryRules::captionIs(int button, const char* key) const {
    return s_.categoryCaption(button) == category(key);
}

void CategoryRules::simpleLayout(LayoutId id, int shown) {
    HideRadioStrip(s_);
    ApplyCaptions(s_, id, 1, shown);
    SetSlotsVisible(s_, 1, shown, true);
    SetSlotsVisible(s_, shown + 1, 30, false);
}

void CategoryRules::sBitBtn1Click() {
    HideRadioStrip(s_);
    SetSlotsVisible(s_, 1, 30, true);
    SetHeadingsVisible(s_, false);
    if (captionIs(1, "Ukrainian")) {
        ApplyCaptions(s_, LayoutId::Ukrainian, 1, 24);
        SetSlotsVisible(s_, 25, 30, false);
    }
    if (captionIs(1, "public"))
        ApplyCaptions(s_, LayoutId::Public, 1, 30);
}

void CategoryRules::sBitBtn2Click() {
    if (captionIs(2, "radio")) {
        SetHeadingsVisible(s_, false);
        ApplyCaptions(s_, LayoutId::Radio, 1, 24);
        SetSlotsVisible(s_, 1, 24, true);
        SetSlotsVisible(s_, 25, 30, false);
        s_.setStripPartVisible(Part::Panel, true);
        s_.setStripPartVisible(Part::VolumeBar, true);
        // Whatever the recording state, the strip comes up offering to record.
        s_.setStripPartVisible(Part::Record, true);
        s_.setStripPartVisible(Part::StopRecord, false);
        s_.setStripPartVisible(Part::RadioOff, true);
    }
    if (captionIs(2, "CISa")) {
        s_.setHeadingText(1, QStringLiteral("Грузия"));
        s_.setHeadingVisible(1, true);
        s_.setHeadingText(2, QStringLiteral("Казахстан"));
        s_.setHeadingVisible(2, true);
        s_.setHeadingVisible(3, true); // keeps its own caption
        s_.setHeadingVisible(4, false);
        // Three groups of six, each under the heading that takes the place of the row above it.
        for (int group : {1, 10, 19}) {
            SetSlotsVisible(s_, group, group + 2, false);
            ApplyCaptions(s_, LayoutId::CISa, group + 3, group + 8);
            SetSlotsVisible(s_, group + 3, group + 8, true);
        }
        SetSlotsVisible(s_, 28, 30, false);
    }
}

void CategoryRules::sBitBtn3Click() {
    HideRadioStrip(s_);
    if (captionIs(3, "music")) {
        ApplyCaptions(s_, LayoutId::Music, 1, 30);
        SetSlotsVisible(s_, 1, 30, true);
        SetHeadingsVisible(s_, false);
    }
    if (captionIs(3, "CISb")) {
        ApplyCaptions(s_, LayoutId::CISb, 4, 6);
        SetSlotsVisible(s_, 1, 3, false);
        SetSlotsVisible(s_, 4, 6, true);
        SetSlotsVisible(s_, 7, 12, false);
        ApplyCaptions(s_, LayoutId::CISb, 13, 15);
        SetSlotsVisible(s_, 13, 15, true);
        SetSlotsVisible(s_, 16, 30, false);
        s_.setHeadingText(1, QStringLiteral("Азербайджан"));
        s_.setHeadingVisible(1, true);
        s_.setHeadingText(2, QStringLiteral("Беларусь"));
        s_.setHeadingVisible(2, true);
        s_.setHeadingVisible(3, false);
        s_.setHeadingVisible(4, false);
    }
}

void CategoryRules::sBitBtn4Click() {
    HideRadioStrip(s_);
    if (captionIs(4, "entertainment")) {
        ApplyCaptions(s_, LayoutId::Entertainment, 1, 27);
        SetSlotsVisible(s_, 1, 27, true);
        SetSlotsVisible(s_, 28, 30, false);
    }
    if (captionIs(4, "Miscellaneous")) {
        s_.loadMainView(SiteUrls::Project(QStringLiteral("/title/2.4.html")));
        HideRadioStrip(s_);
        ApplyCaptions(s_, LayoutId::Miscellaneous, 1, 19);
        SetSlotsVisible(s_, 1, 19, true);
        SetSlotsVisible(s_, 20, 30, false);
        SetHeadingsVisible(s_, false);
    }
}

void CategoryRules::sBitBtn5Click() {
    if (captionIs(5, "Research"))
        simpleLayout(LayoutId::Research, 24);
}

void CategoryRules::sBitBtn6Click() {
    simpleLayout(LayoutId::Sport, 24);
}
void CategoryRules::sBitBtn7Click() {
    simpleLayout(LayoutId::Movie, 24);
}
void CategoryRules::sBitBtn8Click() {
    simpleLayout(LayoutId::Cartoons, 24);
}
void CategoryRules::sBitBtn9Click() {
    simpleLayout(LayoutId::Records, 24);
}

void CategoryRules::sBitBtn44Click() {
    HideRadioStrip(s_);
    s_.setCategoryCaption(1, category("Ukrainian"));
    s_.setCategoryCaption(2, category("CISa"));
    s_.setCategoryCaption(3, category("CISb"));
    s_.setCategoryCaption(4, category("Miscellaneous"));
    for (int b : {5, 6, 7, 8, 9, 44})
        s_.setCategoryVisible(b, false);
    s_.setCategoryVisible(45, true);
    sBitBtn1Click();
}

void CategoryRules::sBitBtn45Click() {
    HideRadioStrip(s_);
    s_.setCategoryCaption(1, category("public"));
    s_.setCategoryCaption(2, category("radio"));
    s_.setCategoryCaption(3, category("music"));
    s_.setCategoryCaption(4, category("entertainment"));
    s_.setCategoryCaption(5, category("Research"));
    for (int b : {5, 6, 7, 8, 9, 44})
        s_.setCategoryVisible(b, true);
    s_.setCategoryVisible(45, false);
    sBitBtn1Click();
}
