#pragma once
#include <QString>

// The main window's category bar, channel grid, country headings and radio strip, as the category
// rules see them. Category buttons are numbered as their controls (1..9, 44, 45), slots 1..30
// (slot k is sBitBtn(k + 9)), headings 1..4 (sLabel1..sLabel4).
class GridSurface {
public:
    enum class StripPart { Panel, VolumeBar, Record, StopRecord, RadioOff };
    static constexpr int kSlots = 30;
    static constexpr int kHeadings = 4;

    virtual ~GridSurface() = default;
    virtual QString categoryCaption(int button) const = 0;
    virtual void setCategoryCaption(int button, const QString& caption) = 0;
    virtual void setCategoryVisible(int button, bool visible) = 0;
    virtual QString slotCaption(int slot) const = 0;
    virtual void setSlotCaption(int slot, const QString& caption) = 0;
    virtual void setSlotVisible(int slot, bool visible) = 0;
    virtual void setHeadingText(int heading, const QString& text) = 0;
    virtual void setHeadingVisible(int heading, bool visible) = 0;
    virtual void setStripPartVisible(StripPart part, bool visible) = 0;
    // Loads a URL into the main window's embedded view.
    virtual void loadMainView(const QString& url) = 0;
};
