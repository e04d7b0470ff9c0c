#pragma once
#include "settings/TickSource.h"

// A tick source that ticks only when the test says so.
class ManualTicks : public TickSource {
public:
    void start() override {
        on = true;
        ++starts;
    }
    void stop() override { on = false; }
    bool active() const override { return on; }
    void tick(int n = 1) {
        for (int i = 0; i < n; ++i)
            fire();
    }
    bool on = false;
    int starts = 0;
};
