#pragma once
#include "game/bosses/BossSweepForm.h"

// The first level-2 form: moves as the level-0 first form (down to the top centre, then laps of
// barrage, sweep left, sweep right and return) with denser barrages and streaming sweeps.
class BossL2Form1 : public BossSweepForm {
public:
    explicit BossL2Form1(int param);

private:
    bool BarrageStep() override;
    void SweepStep() override;
    void SweepTurned(float escortX) override;

    // One barrage step; true when the pattern is complete.
    bool WideFanStep();
    bool HomingBurstStep();
    void SpiralsStep();
    void SweepingStreamStep();
};
