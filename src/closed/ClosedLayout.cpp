#include "closed/ClosedLayout.h"

#include "navigation/GridSurface.h"
#include "navigation/Layouts.h"

void ShowClosedLayout(GridSurface& grid) {
    const SlotCaptions& captions = LayoutCaptions(LayoutId::Closed);
    const auto inLayout = [&](int slot) { return !captions[slot - 1].isEmpty(); };
    for (int k = 1; k <= GridSurface::kSlots; ++k)
        if (inLayout(k))
            grid.setSlotVisible(k, true);
    for (int k = 1; k <= GridSurface::kSlots; ++k)
        if (inLayout(k))
            grid.setSlotCaption(k, captions[k - 1]);
    for (int k = 1; k <= GridSurface::kSlots; ++k)
        if (!inLayout(k))
            grid.setSlotVisible(k, false);
    for (int h = 1; h <= GridSurface::kHeadings; ++h)
        grid.setHeadingVisible(h, false);
}
