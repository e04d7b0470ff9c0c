#pragma once
#include "navigation/Layouts.h"

#include <QString>

#include <vector>

// One grid slot of a category layout that shows a TV channel (a page of its own in the main view).
struct TvSlot {
    LayoutId layout;
    int slot;        // 1..30
    QString caption; // the channel name the slot hands to the dispatcher
    // ISO 3166 code, lower case, of the channel's country: the main set's layouts are Russian, the
    // foreign set's are the country of the heading the slot stands under.
    QString country;
};

// The language key of a category layout's caption ("public", "Ukrainian", "CISa", ...); empty for
// the closed layout.
QString LayoutKey(LayoutId id);

// The country of a slot of a category layout; empty where no country is named.
QString SlotCountry(LayoutId id, int slot);

// Every TV slot of the category layouts, layout by layout in the bar's order, slots ascending.
const std::vector<TvSlot>& CatalogTvSlots();
