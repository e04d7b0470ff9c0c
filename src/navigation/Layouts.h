#pragma once
#include "navigation/GridSurface.h"

#include <QString>

#include <array>

// clang-format off
enum class LayoutId {
    Public, Radio, Music, Entertainment, Research, Sport, Movie, Cartoons, Records, // main set
    Ukrainian, CISa, CISb, Miscellaneous,                                          // foreign set
    Closed                                                                         // closed section
};
// clang-format on

// Slot captions of a layout: element k-1 is slot k (1..30). Slots the layout hides hold an empty
// string (their caption is left as it was).
using SlotCaptions = std::array<QString, GridSurface::kSlots>;
const SlotCaptions& LayoutCaptions(LayoutId id);
