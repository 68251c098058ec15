#pragma once
#include "engine/Task.h"

// The gauge as a vertical bar on the left side panel, its top falling as the gauge falls.
class GaugeDisplay : public Task {
public:
    GaugeDisplay();
    void Exec() override;
    static GaugeDisplay* Create(int priority);
};
