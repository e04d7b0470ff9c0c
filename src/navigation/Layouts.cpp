// Placeholder until the layouts land.
#include "navigation/Layouts.h"

const SlotCaptions& LayoutCaptions(LayoutId) {
    static const SlotCaptions empty{};
    return empty;
}
