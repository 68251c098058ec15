#pragma once
#include "game/Boss.h"

// The first level-0 form: comes down to the top centre, fires a barrage, then sweeps left,
// right and back firing aimed volleys, lap after lap.
class BossL0Form1 : public Boss {
public:
    explicit BossL0Form1(int param);
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
    bool FanStep();
    bool HomingPairStep();
    void AimedSpreadStep();
    void TwinStreamsStep();
    // Movement, volleys and animation shared by the three sweep states.
    void Sweep(float deceleration);

    using Handler = void (BossL0Form1::*)();
    static constexpr Handler kHandlers[5] = {&BossL0Form1::Enter, &BossL0Form1::Barrage, &BossL0Form1::SweepLeft,
                                             &BossL0Form1::SweepRight, &BossL0Form1::Return};
};
