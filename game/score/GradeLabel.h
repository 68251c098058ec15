#pragma once
#include "engine/Task.h"
#include "game/score/TimingGrade.h"

// The blinking word of a kill's or an escape's timing grade, where it happened.
class GradeLabel : public Task {
public:
    GradeLabel(float x, float y, TimingGrade grade);
    void Exec() override;
    static GradeLabel* Create(int priority, float x, float y, TimingGrade grade);

    float x, y;  // top-left
    float timer = 1.0f;
    TimingGrade grade;
    int count = 0;  // blank frames so far: the word shows once more after each
};
