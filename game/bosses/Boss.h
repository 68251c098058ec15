#pragma once
#include "game/enemies/Enemy.h"

// Base of every boss form. A form is graded by the boss rule: killed too early it turns inert
// and lingers, killed within five seconds of its target it bursts and hands over to the next
// form, and left alive past five seconds it bursts by itself with a Miss.
class Boss : public Enemy {
public:
    // The boss of the current difficulty level, inserted at the priority; null when none.
    static Task* Create(int priority, int param);

    // The step of the current attack pattern, and the tick timer until the next step.
    int stepCounter = 0;
    float attackTimer = 0.0f;

protected:
    // Creates the following form of a chain at the ending form's top-left corner.
    using NextForm = Task* (*)(int priority, int param, float x, float y);

    // 0 for param 0, otherwise the clock plus param plus RandomRange(-spread, spread).
    static int FormTargetSecond(int param, int spread);
    // The rule, after the form's state handler. nextForm is null for the last form, whose end
    // starts the player's stage clear.
    void FinishBossFrame(NextForm nextForm, int nextParam, int itemCount = 10);

    // Places a 128x128 chained form at (x, y), heading for the station near the top centre.
    void PlaceStationBound(int param, int spread, float x, float y, float speed, int score);
    // One frame of the flight to the station: moves, slows to 40 px/s and turns the cells.
    void ApproachStation(float acceleration, int* frame, float* frameTimer);
    // True once the centre is within three pixels of the station.
    bool AtStation() const;

    // One w x h cell of the boss strip: cells 0 and 1 in slot 18, cells 2 and 3 in slot 19.
    void DrawCell(int cell) const;
    // One frame of the sideways sway: from a standstill each dash heads for the player's side
    // at acceleration `sway` until above topSpeed, then brakes to a stop. False when a dash has
    // ended and there is no player: the form then waits.
    bool SwayTowardPlayer(float* acceleration, float sway, float topSpeed);
    // Cells 0, 1, 2 in turn (from the standing cell 3 back to 0), 20 ticks each.
    static void CycleFrame(int* frame, float* frameTimer);
    // Runs the frame timer down, turning to the next cell once it has run out.
    static void TurnCells(int* frame, float* frameTimer);
    // Runs the attack timer down while it runs; true once it has run out and a step is due.
    bool AttackDue();
    // After a completed pattern: the step count starts again after a 120-tick pause.
    void PauseAfterPattern();
    // A tick timer's fall in this frame.
    static float TickStep();

private:
    // A form that has flown past the station without reaching its window is set on the
    // station, so that it always arrives.
    void SettleIfStationMissed();
    void EndForm(NextForm nextForm, int nextParam, TimingGrade grade, bool gaugeCost);
};
