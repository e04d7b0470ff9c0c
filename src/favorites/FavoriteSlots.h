#pragma once
#include <QString>

#include <array>
#include <optional>

class SettingsFile;

// The 24 favourite slots and their keys "fa".."fx" in section "Favorite". Every change is written to
// the store at once, one key per change; the store is read only by Load.
class FavoriteSlots {
public:
    static constexpr int Count = 24;

    explicit FavoriteSlots(SettingsFile& store) : store_(store) {}

    // Key of slot k (1..24): "f" and the k-th lower-case letter.
    static QString Key(int slot);

    // Reads all 24 keys; a missing key is a free slot.
    void Load();

    // Slot k (1..24); out of range gives the empty string.
    QString caption(int slot) const;
    // A slot is free only when its text is empty: a lone space takes it.
    bool isFree(int slot) const { return caption(slot).isEmpty(); }
    std::optional<int> firstFree() const;
    bool full() const { return !firstFree().has_value(); }

    // Puts the caption into the lowest free slot and writes that slot's key. Returns the slot, or
    // nothing when every slot is taken (then nothing is written). No duplicate check. The slot
    // keeps its new text even when the write is refused (the write error propagates).
    std::optional<int> Add(const QString& caption);

    // Empties slot k and writes its key with an empty value (the key stays in the file).
    void Clear(int slot);

private:
    SettingsFile& store_;
    std::array<QString, Count> slots_{};
};
