#pragma once
#include "game/bosses/BossSweepForm.h"

// The first level-0 form: comes down to the top centre, fires a barrage, then sweeps left,
// right and back firing aimed volleys, lap after lap.
class BossL0Form1 : public BossSweepForm {
public:
    explicit BossL0Form1(int param);

private:
    bool BarrageStep() override;
    void SweepStep() override;
    // On the first lap each turn calls in an escort from the far side; the step count restarts.
    void SweepTurned(float escortX) override;

    // One barrage step; true when the pattern is complete.
    bool FanStep();
    bool HomingPairStep();
    void AimedSpreadStep();
    void TwinStreamsStep();
};
