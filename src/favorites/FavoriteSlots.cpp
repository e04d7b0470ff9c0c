#include "favorites/FavoriteSlots.h"

#include "settings/SettingsFile.h"

namespace {
const QString kSection = QStringLiteral("Favorite");

bool inRange(int slot) {
    return slot >= 1 && slot <= FavoriteSlots::Count;
}
} // namespace

QString FavoriteSlots::Key(int slot) {
    Q_ASSERT(inRange(slot));
    return QStringLiteral("f") + QChar(u'a' + (slot - 1));
}

void FavoriteSlots::Load() {
    for (int k = 1; k <= Count; ++k)
        slots_[k - 1] = store_.ReadString(kSection, Key(k), QString());
}

QString FavoriteSlots::caption(int slot) const {
    return inRange(slot) ? slots_[slot - 1] : QString();
}

std::optional<int> FavoriteSlots::firstFree() const {
    for (int k = 1; k <= Count; ++k)
        if (slots_[k - 1].isEmpty())
            return k;
    return std::nullopt;
}

std::optional<int> FavoriteSlots::Add(const QString& caption) {
    const auto slot = firstFree();
    if (!slot)
        return std::nullopt;
    slots_[*slot - 1] = caption;
    store_.WriteString(kSection, Key(*slot), caption);
    return slot;
}

void FavoriteSlots::Clear(int slot) {
    if (!inRange(slot))
        return;
    slots_[slot - 1].clear();
    store_.WriteString(kSection, Key(slot), QString());
}
