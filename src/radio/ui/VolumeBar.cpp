#include "radio/ui/VolumeBar.h"

#include <QScrollBar>

void SetUpVolumeBar(QScrollBar& bar) {
    bar.setRange(0, 100);
    bar.setSingleStep(1);
    // A page step of 0 would make a click on the track do nothing at all.
    bar.setPageStep(1);
    bar.setValue(100);
    // A scroll bar inverts its keys so that Up scrolls a page up; a volume bar louder to the right
    // goes up with Right and Up.
    bar.setInvertedControls(false);
}
