#include "navigation/Layouts.h"

#include <map>

namespace {

struct LayoutRow {
    LayoutId id;
    std::array<const char16_t*, 30> caps; // slot k at k-1, one grid row a line; nullptr: hidden
};

// The captions are channel names: each must equal a name of the main channel list byte for byte,
// spaces, full stops and Latin/Cyrillic look-alikes included.
// clang-format off
constexpr LayoutRow kLayouts[] = {
    {LayoutId::Public, {
        u"ОРТ", u"Россия 1", u"Москва 24",
        u"НТВ", u"Россия 2", u"Ю",
        u"ТНТ", u"Россия К", u"Пятница",
        u"СТС", u"Россия 24", u"ТВ-2",
        u"Перец", u"РБК", u"ТНВ",
        u"ТВЦ", u"РИА   Новости", u"ТРО Союз",
        u"Звезда", u"РТР   Планета", u"Euronews",
        u"Мир ТВ", u"Домашний", u"BBC CNN",
        u"Рен ТВ", u"5 Канал", u"Russia   Today",
        u"ТВ-3", u"Союз", u"ОТР ",
    }},
    {LayoutId::Radio, {
        u"DFM", u"Европа+", u"Maximum",
        u"Music Sity", u"Record", u"Русское Радио",
        u"Радио Маяк", u"NRJ", u"Радио   ULTRA",
        u"Романтика", u"Милицейская волна", u"Дорожное Радио",
        u"Шансон", u"Радио Ваня", u"Русский Хит",
        u"Серебр. Дождь", u"Di FM Vocal trance", u"Retro ",
        u"Зайцев ФМ", u"Радио Шторм", u"Хит ФМ",
        u"Эхо Москвы", u"Детское Радио", u"Москва 400",
    }},
    {LayoutId::Music, {
        u"A-one", u"RU TV", u"Bridge",
        u"Music  Box", u"Первый балтийский", u"Майдан",
        u"O2 ТВ", u"Rusong", u"Fresh TV",
        u"4 music", u"Шансон ТВ", u"Night Club",
        u"Monte Carlo TV", u"Rock TV", u"Kiss TV",
        u"RoMusic", u"RTL 102.5 TV", u"Ru Music",
        u"9 Волна", u"Nebiset", u"Муз ТВ",
        u"Брио", u"Bim TV", u"Европа плюс ТВ",
        u"Tuba TV", u"Radio 105 TV", u"Virgin TV",
        u"Deluxe Music", u"Retro", u"iMusic1  Rocks",
    }},
    {LayoutId::Entertainment, {
        u"Деревня дураков", u"Назад в СССР", u"Еда ТВ",
        u"Маски шоу", u"Юмор ТВ ", u"Усадьба ТВ",
        u"Осторожно модерн", u"Тимофей Крендель", u"Теледом",
        u"Style TV", u"3D TV", u"Интернет канал",
        u"Мистер Бин", u"И это хорошо", u"Прожектор Перисхолтон",
        u"Luxury World", u"TV Тур", u"Дамский клуб",
        u"Ералаш", u"Аквариум", u"Fashion ONE",
        u"Cyber Game TV", u"Games", u"World Fashion",
        u"Алла Вертушкина", u"Дом 2", u"Канобу",
    }},
    {LayoutId::Research, {
        u"Как это работает", u"Animal  Planet", u"Discovery Channel",
        u"Галилео", u"Viasat Explorer", u"Discovery Science",
        u"Мир танков", u"Viasat  History", u"Nat  Geo  Wild",
        u"Просвещение", u"Наука 2.0.", u"National Gegraphic",
        u"Запретная история", u"Знание", u"24 техно",
        u"Океан", u"Моя планета", u"Популярная наука",
        u"Сов Сек", u"Нано ТВ", u"Dog channel",
        u"AmLife", u"Мега   машины", u"Разрушит. мифов",
    }},
    {LayoutId::Sport, {
        u"Россия 2", u"Рыбалка ТВ", u"Живи ТВ",
        u"Спорт 1", u"Автоплюс", u"Eurosport",
        u"Русский extreme", u"Драйв", u"Eurosport 2",
        u"Pro Wrestling TV", u"Охота и рыбалка", u"Оружие",
        u"Боец", u"Наш футбол", u"Футбол",
        u"Покер", u"НТВ Спорт Онлайн", u"WWE",
        u"Extreme Sport", u"  НТВ   футбол", u"HD Extrime",
        u"КХЛ", u"   НТВ    Спорт", u"Подводная охота",
    }},
    {LayoutId::Movie, {
        u"ТВ1000", u"НСТ", u"Феникс кино",
        u"Премьера   ТВ", u"AXN Sci-Fi", u"ТВ-21",
        u"ТВ1000 рус. кино", u"Sony", u"Дом кино",
        u"РусФильм", u"Эхо фильм", u"HD Media",
        u"ВКТ", u"ДетФильм", u"Фильмы",
        u"Тивиком", u"Кинодрайв", u"Фитиль",
        u"Киношторм", u"Кино РФ", u"Мистик ТВ",
        u"Еврокино", u"Альф", u"ТВ трейлер",
    }},
    {LayoutId::Cartoons, {
        u"Барашек Шон", u"Том и Джери", u"Disney",
        u"2x2", u"Моряк Попай", u"Cartoon",
        u"Лунтик", u"Барбарики ТВ", u"Nickelodeon",
        u"Любимое ТВ", u"Советские мультики", u"Карусель",
        u"Про крота", u"Simon\"s Cat", u"Улыбка ребенка",
        u"Царь горы", u"Bugs Bunny", u"Мультики",
        u"Мультик ТВ", u"Детский   телеканал", u"Смешарики",
        u"Шоу Кливленда", u"Американский папаша", u"Робоцып",
    }},
    {LayoutId::Records, {
        u"Черный плащ", u"Губка Боб", u"Скуби Ду",
        u"Черепашки ниндзя", u"Аладдин", u"Симпсоны",
        u"Утиные истории", u"Чип и Деил", u"Гриффины",
        u"Червяк джим", u"Чудеса на виражах", u"Винни Пух",
        u"Мишки Гамми", u"Маша и медведь", u"Бивис и Батхед",
        u"Охотники за привид.", u"Тимон и Пумба", u"Время приключений",
        u"Гуффи", u"Бернард", u"Южный парк",
        u"Пингвины Мадагаск.", u"Русалочка", u"Футурама",
    }},
    {LayoutId::Ukrainian, {
        u"4 TV", u"ТВі", u"1+1",
        u"Н Канал", u"2+2", u"K1",
        u"ТЕТ", u"Нова Волинь", u"RENOME",
        u"ОТБ", u"Интер", u"Погода",
        u"5 канал", u"Business", u"ICTV",
        u"Zik", u"UA-Net", u"СТБ",
        u"ТРК Украина", u"Channel 12", u"Планета",
        u"tonis", u"100 News", u"27 канал",
    }},
    {LayoutId::CISa, {
        nullptr, nullptr, nullptr,
        u"Rustavi 2", u"Имеди", u"Первый канал",
        u"Аджара", u"Comedy Channel", u"TV3",
        nullptr, nullptr, nullptr,
        u"CaspioNet", u"KTK", u"Асыл-Арна",
        u"Балапан", u"НТК Казахстан", u"Хабар",
        nullptr, nullptr, nullptr,
        u"Еркир Медиа", u"ArmeniaTV", u"Artn",
        u"ARM", u"Shant", u"AMC",
    }},
    {LayoutId::CISb, {
        nullptr, nullptr, nullptr,
        u"AzTV", u"Ictimai TV", u"Муз ТВ (Азербайджан)",
        nullptr, nullptr, nullptr,
        nullptr, nullptr, nullptr,
        u"1 Беларусь", u"TPO", u"Беларусь ТВ",
    }},
    {LayoutId::Miscellaneous, {
        u"Первый Интернет", u"Спас ТВ", u"Москва 24.",
        u"О2 ТВ", u" Россия 24 ", u"Живое ТВ",
        u" Союз ", u" РБК ", u" A-one ",
        u"100 ТВ", u"РИА ТВ", u"Music Box",
        u" Мир ТВ ", u"Дамский", u" Дождь ТВ ",
        u" Style TV ", u" Шансон ТВ ", u"RU TV 2",
        u"Юмор ТВ",
    }},
    {LayoutId::Closed, {
        u"День студента", u"Web TV", u"Miami TV",
        u"Latex", u"Asia XXX", u"Playboy",
        u"Playboy-Classic", u"Erotic TV", u"Porno TV",
        u"Extra TV", u"Fashion XXX", u"Bella Club",
    }},
};
// clang-format on

std::map<LayoutId, SlotCaptions> buildAll() {
    std::map<LayoutId, SlotCaptions> all;
    for (const LayoutRow& row : kLayouts) {
        SlotCaptions& captions = all[row.id];
        for (std::size_t k = 0; k < row.caps.size(); ++k)
            if (row.caps[k])
                captions[k] = QString::fromUtf16(row.caps[k]);
    }
    return all;
}

} // namespace

const SlotCaptions& LayoutCaptions(LayoutId id) {
    static const std::map<LayoutId, SlotCaptions> all = buildAll();
    static const SlotCaptions none{};
    const auto it = all.find(id);
    return it == all.end() ? none : it->second;
}
