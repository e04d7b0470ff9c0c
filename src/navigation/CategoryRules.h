#pragma once
#include "navigation/GridSurface.h"
#include "navigation/Layouts.h"

#include <QString>

#include <functional>

// What the category buttons do to the grid. There is no navigation state besides the surface: the
// current set is recognised by comparing a button's caption with the language pack's texts, read
// afresh at every click.
class CategoryRules {
public:
    using LangLookup = std::function<QString(const QString& section, const QString& key)>;

    CategoryRules(GridSurface& surface, LangLookup langText);

    // The handler of category button `button` (1..9, 44, 45); other numbers do nothing.
    void click(int button);

    void sBitBtn1Click();
    void sBitBtn2Click();
    void sBitBtn3Click();
    void sBitBtn4Click();
    void sBitBtn5Click();
    void sBitBtn6Click();
    void sBitBtn7Click();
    void sBitBtn8Click();
    void sBitBtn9Click();
    void sBitBtn44Click();
    void sBitBtn45Click();

    // Sets panel, volume bar, record, stop-record and radio-off invisible, in that order.
    static void HideRadioStrip(GridSurface& s);
    // Writes the captions of `id` onto slots first..last; visibility is left alone.
    static void ApplyCaptions(GridSurface& s, LayoutId id, int first, int last);
    static void SetSlotsVisible(GridSurface& s, int first, int last, bool visible);
    static void SetHeadingsVisible(GridSurface& s, bool visible);

private:
    bool captionIs(int button, const char* key) const;
    QString category(const char* key) const;
    // The common shape: strip hidden, captions on 1..shown and shown, the rest hidden.
    void simpleLayout(LayoutId id, int shown);

    GridSurface& s_;
    LangLookup lang_;
};
