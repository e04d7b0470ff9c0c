#include "navigation/CategoryBar.h"

namespace {

constexpr CategoryButton kButtons[] = {
    {1, 5, 4, 82, u"Общественные", "public", "Ukrainian", true},
    {2, 89, 4, 78, u"Радио", "radio", "CISa", true},
    {3, 169, 4, 78, u"Музыкальные", "music", "CISb", true},
    {4, 249, 4, 78, u"Развлечения", "entertainment", "Miscellaneous", true},
    {5, 329, 4, 78, u"Научные", "Research", nullptr, true},
    {6, 409, 4, 78, u"Спорт", "Sport", nullptr, false},
    {7, 489, 4, 78, u"Кино", "movie", nullptr, false},
    {8, 569, 4, 78, u"Мультики", "Cartoons", nullptr, false},
    {9, 649, 4, 78, u"Записи", "Records", nullptr, false},
    {44, 729, 4, 78, u"Зарубежные", "foreign", nullptr, false},
    {45, 729, 5, 78, u"Назад", nullptr, "back", false},
};

const QLatin1StringView kNamePrefix("sBitBtn");

} // namespace

namespace CategoryBar {

std::span<const CategoryButton> Buttons() {
    return kButtons;
}

const CategoryButton* Find(int number) {
    for (const CategoryButton& b : kButtons)
        if (b.number == number)
            return &b;
    return nullptr;
}

const char* Key(int number, Set set) {
    const CategoryButton* b = Find(number);
    if (!b)
        return nullptr;
    return set == Set::Main ? b->mainKey : b->foreignKey;
}

const char* StartKey(const CategoryButton& button) {
    return button.mainKey ? button.mainKey : button.foreignKey;
}

QString ControlName(int number) {
    return kNamePrefix + QString::number(number);
}

int NumberOf(const QString& controlName) {
    if (!controlName.startsWith(kNamePrefix))
        return 0;
    bool ok = false;
    const int number = controlName.mid(kNamePrefix.size()).toInt(&ok);
    return ok && Find(number) ? number : 0;
}

} // namespace CategoryBar
