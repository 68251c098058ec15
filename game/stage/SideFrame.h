#pragma once
#include "engine/Task.h"

// The panels left and right of the play field, with the score numbers on them.
class SideFrame : public Task {
public:
    SideFrame() = default;
    void Exec() override;
    static SideFrame* Create(int priority);
};
