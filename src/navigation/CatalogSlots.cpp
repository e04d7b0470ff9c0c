#include "navigation/CatalogSlots.h"

#include "navigation/CategoryBar.h"
#include "navigation/ChannelCatalog.h"

#include <QSet>

namespace {

struct LayoutPlace {
    LayoutId id;
    int button; // the category button that applies it
    CategoryBar::Set set;
};

// clang-format off
constexpr LayoutPlace kPlaces[] = {
    {LayoutId::Public, 1, CategoryBar::Set::Main},    {LayoutId::Radio, 2, CategoryBar::Set::Main},
    {LayoutId::Music, 3, CategoryBar::Set::Main},     {LayoutId::Entertainment, 4, CategoryBar::Set::Main},
    {LayoutId::Research, 5, CategoryBar::Set::Main},  {LayoutId::Sport, 6, CategoryBar::Set::Main},
    {LayoutId::Movie, 7, CategoryBar::Set::Main},     {LayoutId::Cartoons, 8, CategoryBar::Set::Main},
    {LayoutId::Records, 9, CategoryBar::Set::Main},   {LayoutId::Ukrainian, 1, CategoryBar::Set::Foreign},
    {LayoutId::CISa, 2, CategoryBar::Set::Foreign},   {LayoutId::CISb, 3, CategoryBar::Set::Foreign},
    {LayoutId::Miscellaneous, 4, CategoryBar::Set::Foreign},
};

// The foreign set's slot groups and the countries their headings name ("Грузия", "Казахстан",
// "Армения"; "Азербайджан", "Беларусь").
struct CountryGroup {
    LayoutId id;
    int first;
    int last;
    const char* country;
};
constexpr CountryGroup kGroups[] = {
    {LayoutId::Ukrainian, 1, 30, "ua"},
    {LayoutId::CISa, 1, 9, "ge"},  {LayoutId::CISa, 10, 18, "kz"}, {LayoutId::CISa, 19, 30, "am"},
    {LayoutId::CISb, 1, 9, "az"},  {LayoutId::CISb, 10, 30, "by"},
};
// clang-format on

bool isMainSet(LayoutId id) {
    for (const LayoutPlace& p : kPlaces)
        if (p.id == id)
            return p.set == CategoryBar::Set::Main;
    return false;
}

std::vector<TvSlot> build() {
    QSet<QString> tv;
    for (const ChannelEntry& e : MainCatalog())
        if (!e.isRadio() && e.target == Target::MainView && e.hasLocalPage())
            tv.insert(e.Name);
    std::vector<TvSlot> found;
    for (const LayoutPlace& p : kPlaces) {
        const SlotCaptions& captions = LayoutCaptions(p.id);
        for (int k = 1; k <= int(captions.size()); ++k) {
            const QString& caption = captions[size_t(k - 1)];
            if (!caption.isEmpty() && tv.contains(caption))
                found.push_back({p.id, k, caption, SlotCountry(p.id, k)});
        }
    }
    return found;
}

} // namespace

QString LayoutKey(LayoutId id) {
    for (const LayoutPlace& p : kPlaces)
        if (p.id == id)
            return QString::fromLatin1(CategoryBar::Key(p.button, p.set));
    return {};
}

QString SlotCountry(LayoutId id, int slot) {
    if (isMainSet(id))
        return QStringLiteral("ru");
    for (const CountryGroup& g : kGroups)
        if (g.id == id && slot >= g.first && slot <= g.last)
            return QString::fromLatin1(g.country);
    return {};
}

const std::vector<TvSlot>& CatalogTvSlots() {
    static const std::vector<TvSlot> all = build();
    return all;
}
