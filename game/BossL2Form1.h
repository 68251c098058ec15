#pragma once
#include "game/Boss.h"

// The first level-2 form: moves as the level-0 first form (down to the top centre, then laps of
// barrage, sweep left, sweep right and return) with denser barrages and streaming sweeps.
class BossL2Form1 : public Boss {
public:
    explicit BossL2Form1(int param);
    void Exec() override;

    float acceleration = 80.0f;
    int aim = 270;
    int stepCounter = 0;
    int lap = 0;
    int frame = 0;
    float frameTimer = 1.0f;
    int entrySteps = 0;
    float attackTimer = 0.0f;

private:
    void Enter();
    void Barrage();
    void SweepLeft();
    void SweepRight();
    void Return();

    // One barrage step; true when the pattern is complete.
    bool WideFanStep();
    bool HomingBurstStep();
    void SpiralsStep();
    void SweepingStreamStep();
    // Movement, volleys and animation shared by the three sweep states.
    void Sweep(float deceleration);

    using Handler = void (BossL2Form1::*)();
    static constexpr Handler kHandlers[5] = {&BossL2Form1::Enter, &BossL2Form1::Barrage, &BossL2Form1::SweepLeft,
                                             &BossL2Form1::SweepRight, &BossL2Form1::Return};
};
