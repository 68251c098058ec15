#pragma once
#include <cstdint>

#include "engine/Task.h"

// The scripted start of every stage: the explanation panel, the clock, the intro target that it
// destroys itself at second 3, and at second 4 the hand-over to the rest of the stage.
class StageOpening : public Task {
public:
    StageOpening();
    void Exec() override;
    static StageOpening* Create(int priority);

    int x = 188;
    int y = 120;
    std::uint8_t targetDamaged = 0;

private:
    static Task* FirstLive(TaskType type);
    static int ClockSeconds();
};
