#pragma once
#include "navigation/CategoryBar.h"
#include "navigation/GridSurface.h"
#include "navigation/Layouts.h"
#include "platform/LangLookup.h"

#include <QString>

// What the category buttons do to the grid. There is no navigation state besides the surface: the
// current set is recognised by comparing a button's caption with the language pack's texts, read
// afresh at every click.
class CategoryRules {
public:
    CategoryRules(GridSurface& surface, LangLookup langText);

    // The handler of category button `button` (1..9, 44, 45); other numbers do nothing.
    void click(int button);

    // Sets panel, volume bar, record, stop-record and radio-off invisible, in that order.
    static void HideRadioStrip(GridSurface& s);
    // Writes the captions of `id` onto slots first..last; visibility is left alone.
    static void ApplyCaptions(GridSurface& s, LayoutId id, int first, int last);
    static void SetSlotsVisible(GridSurface& s, int first, int last, bool visible);
    static void SetHeadingsVisible(GridSurface& s, bool visible);

private:
    // Whether `button` shows its caption of `set`: the click's only way to know the current set.
    bool shows(int button, CategoryBar::Set set) const;
    QString category(const char* key) const;
    // The common shape: strip hidden, captions on 1..shown and shown, the rest hidden.
    void simpleLayout(LayoutId id, int shown);
    void switchTo(CategoryBar::Set set);

    void showPublicOrUkrainian();
    void showRadioOrCISa();
    void showMusicOrCISb();
    void showEntertainmentOrMiscellaneous();
    void showResearch();

    GridSurface& s_;
    LangLookup lang_;
};
