#pragma once
#include <QString>

#include <span>

// One button of the category bar. Its control is "sBitBtn<number>"; its captions are the values of
// its keys in section "Category" of the language pack. The bar shows either the main set or the
// foreign set; a button without a key in a set is hidden while that set is shown.
struct CategoryButton {
    int number;
    int left;
    int top;
    int width;
    const char16_t* builtInCaption; // shown until the language pack's caption is written
    const char* mainKey;            // null: hidden in the main set
    const char* foreignKey;         // null: hidden in the foreign set
    // Its click tells the two sets apart by its caption, so a change of set re-captions it.
    bool readsCaption;
};

namespace CategoryBar {

enum class Set { Main, Foreign };

inline constexpr int kHeight = 28;
// The language pack's section that holds the captions.
inline constexpr char kLanguageSection[] = "Category";

// The eleven buttons, left to right (44 and 45 share a place: one of them is always hidden).
std::span<const CategoryButton> Buttons();
// The button numbered `number`; null when the bar has no such button.
const CategoryButton* Find(int number);
// The language key of the caption `number` shows in `set`; null when it is hidden there.
const char* Key(int number, Set set);
// The key of the caption written at start-up: the main set's, or the foreign set's for the button
// that only the foreign set shows.
const char* StartKey(const CategoryButton& button);
// "sBitBtn<number>", and back; 0 for a name that is no button of the bar.
QString ControlName(int number);
int NumberOf(const QString& controlName);

} // namespace CategoryBar
