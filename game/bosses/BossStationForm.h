#pragma once
#include "game/bosses/Boss.h"

// What the second forms of levels 0 and 2 share: the form flies to a point near the top centre
// and cycles through three patterns there, the third drawn in a wide pose. The level supplies
// the pattern steps.
class BossStationForm : public Boss {
public:
    void Exec() override;

    float acceleration = 80.0f;
    int aim = 270;
    int lap = 0;  // the current pattern, 0 to 2
    int frame = 0;
    float frameTimer = 1.0f;
    int entrySteps = 0;

protected:
    // The form appears at (x, y); nextForm (with nextParam) follows it in the chain.
    BossStationForm(int param, float x, float y, NextForm nextForm, int nextParam);

    // One step of the current pattern; true when the pattern is complete.
    virtual bool PatternStep() = 0;
    // A pattern has completed, before the step count restarts.
    virtual void PatternEnded() {}

private:
    void Approach();
    void Attack();
    void Draw() const;

    NextForm nextForm;
    int nextParam;

    using Handler = void (BossStationForm::*)();
    static constexpr Handler kHandlers[2] = {&BossStationForm::Approach, &BossStationForm::Attack};
};
