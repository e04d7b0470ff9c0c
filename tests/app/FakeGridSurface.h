#pragma once
#include "navigation/GridSurface.h"
#include "platform/LangLookup.h"

#include <QMap>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <vector>

// The grid as plain state, starting as the main window does after the settings window has written
// the language pack's captions: main set, placeholder slot captions, no headings, no radio strip.
class FakeGridSurface : public GridSurface {
public:
    QMap<int, QString> category;
    QMap<int, bool> categoryShown;
    std::array<QString, 30> slotText;
    std::array<bool, 30> slotShown;
    std::array<QString, 4> headingText{QStringLiteral("Грузия"), QStringLiteral("Казахстан"),
                                       QStringLiteral("Армения"), QStringLiteral("Беларусь")};
    std::array<bool, 4> headingShown{};
    QMap<StripPart, bool> strip;
    std::vector<std::pair<StripPart, bool>> stripLog;
    QStringList loads;

    FakeGridSurface() {
        for (int b : {1, 2, 3, 4, 5, 6, 7, 8, 9, 44, 45})
            categoryShown[b] = b != 45;
        for (int k = 0; k < 30; ++k) {
            slotText[k] = QStringLiteral("placeholder %1").arg(k + 1);
            slotShown[k] = true;
        }
        for (StripPart p : {StripPart::Panel, StripPart::VolumeBar, StripPart::Record, StripPart::StopRecord,
                            StripPart::RadioOff})
            strip[p] = false;
    }

    QString categoryCaption(int b) const override { return category.value(b); }
    void setCategoryCaption(int b, const QString& c) override { category[b] = c; }
    void setCategoryVisible(int b, bool v) override { categoryShown[b] = v; }
    QString slotCaption(int k) const override { return slotText[k - 1]; }
    void setSlotCaption(int k, const QString& c) override { slotText[k - 1] = c; }
    void setSlotVisible(int k, bool v) override { slotShown[k - 1] = v; }
    void setHeadingText(int h, const QString& t) override { headingText[h - 1] = t; }
    void setHeadingVisible(int h, bool v) override { headingShown[h - 1] = v; }
    void setStripPartVisible(StripPart p, bool v) override {
        strip[p] = v;
        stripLog.emplace_back(p, v);
    }
    void loadMainView(const QString& url) override { loads << url; }

    QList<int> shownSlots() const {
        QList<int> r;
        for (int k = 1; k <= 30; ++k)
            if (slotShown[k - 1])
                r << k;
        return r;
    }
    // Shown headings as "n:text".
    QStringList shownHeadings() const {
        QStringList r;
        for (int h = 1; h <= 4; ++h)
            if (headingShown[h - 1])
                r << QStringLiteral("%1:%2").arg(h).arg(headingText[h - 1]);
        return r;
    }
    QList<int> shownCategories() const {
        QList<int> r;
        for (auto it = categoryShown.begin(); it != categoryShown.end(); ++it)
            if (it.value())
                r << it.key();
        return r;
    }
};

// A language pack's section Category with distinct captions for every key.
inline QString CategoryText(const QString& section, const QString& key) {
    static const QMap<QString, QString> texts{
        {"public", "Общественные"},
        {"radio", "Радио"},
        {"music", "Музыкальные"},
        {"entertainment", "Развлечения"},
        {"Research", "Научные"},
        {"Sport", "Спорт"},
        {"movie", "Кино"},
        {"Cartoons", "Мультики"},
        {"Records", "Записи"},
        {"foreign", "Зарубежные"},
        {"back", "Назад"},
        {"Ukrainian", "Украинские"},
        {"CISa", "СНГ (1)"},
        {"CISb", "СНГ (2)"},
        {"Miscellaneous", "Разное & прочее"},
    };
    if (section != QLatin1String("Category"))
        return QStringLiteral("0");
    return texts.value(key, QStringLiteral("0"));
}

// What the settings window writes onto the bar at start.
inline void ApplyStartCaptions(FakeGridSurface& s, const LangLookup& lang) {
    const std::pair<int, const char*> keys[] = {
        {1, "public"}, {2, "radio"},    {3, "music"},   {4, "entertainment"}, {5, "Research"}, {6, "Sport"},
        {7, "movie"},  {8, "Cartoons"}, {9, "Records"}, {44, "foreign"},      {45, "back"}};
    for (const auto& [b, k] : keys)
        s.category[b] = lang(QStringLiteral("Category"), QString::fromLatin1(k));
}
