#pragma once
#include "game/bosses/Boss.h"

// What the first forms of levels 0 and 2 share: the form comes down to the top centre, fires a
// barrage, then sweeps left, right and back firing volleys, lap after lap. The level supplies
// the barrage and volley steps.
class BossSweepForm : public Boss {
public:
    void Exec() override;

    float acceleration = 80.0f;
    int aim = 270;
    int lap = 0;
    int frame = 0;
    float frameTimer = 1.0f;
    int entrySteps = 0;

protected:
    // The form appears above the top centre; nextForm (with nextParam) follows it in the chain.
    BossSweepForm(int param, NextForm nextForm, int nextParam);

    // One barrage step; true when the barrage is complete.
    virtual bool BarrageStep() = 0;
    // One volley step of a sweep.
    virtual void SweepStep() = 0;
    // A sweep to the left or right has reached its end; escortX is the far side's column.
    virtual void SweepTurned(float escortX) = 0;

private:
    void Enter();
    void Barrage();
    void SweepLeft();
    void SweepRight();
    void Return();
    // Movement, volleys and animation shared by the three sweep states.
    void Sweep(float deceleration);

    NextForm nextForm;
    int nextParam;

    using Handler = void (BossSweepForm::*)();
    static constexpr Handler kHandlers[5] = {&BossSweepForm::Enter, &BossSweepForm::Barrage,
                                             &BossSweepForm::SweepLeft, &BossSweepForm::SweepRight,
                                             &BossSweepForm::Return};
};
