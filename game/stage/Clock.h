#pragma once
#include "engine/Task.h"

// Counts and shows the whole seconds since the stage began: the number every enemy's target
// second and timing grade is measured against.
class Clock : public Task {
public:
    Clock(int x, int y);
    void Exec() override;
    static Clock* Create(int priority, int x, int y);

    int GetSeconds() const { return seconds; }
    void SetPosition(int newX, int newY);

    float millis = 0.0f;
    int seconds = 0;
    int x, y;

private:
    enum class Visibility { Plain, Faint, Hidden };
    Visibility VisibilityNow() const;
};
