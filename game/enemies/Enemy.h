#pragma once
#include "engine/MathUtil.h"
#include "engine/Task.h"
#include "game/effects/Explosions.h"
#include "game/score/TimingGrade.h"

// Base of everything the player shoots and everything that is graded. Each enemy carries a
// target second of the stage clock; its destruction is graded by how far the clock is from it.
class Enemy : public Task {
public:
    void Exec() override = 0;

    void GetHitRect(Rect* out) const;
    void GetCenter(Point* out) const;
    // Seconds of the first live clock in the list, 0 when there is none.
    static int GetClockSeconds();
    void Damage(int n) { hp -= n; }
    void DrawTargetSecond(bool alsoInHud) const;
    // The grade label at the enemy, pulled back to the field's edge for an escaped one.
    void ShowGrade(TimingGrade grade) const;
    // Top-left of the 40x16 label: centred on the enemy, or at the field's edge past which an
    // escaped enemy went.
    void GetLabelPosition(float* outX, float* outY) const;

    // 0 on the second, 1 one second off, 2 otherwise.
    static TimingGrade GradeFor(int targetSecond, int clockSeconds);
    // The target second for a creation parameter: 0 none, otherwise the clock plus param; 255
    // on the classes that ask for it draws RandomRange(randomLow, randomHigh) instead.
    static int TargetSecondFor(int param, bool randomOn255 = false, int randomLow = 0, int randomHigh = 0);

    float x = 0.0f;
    float y = 0.0f;
    int w = 0;
    int h = 0;
    int hitHalfSize[2] = {0, 0};
    float speed = 0.0f;
    int direction = 0;
    int stateIndex = 0;
    int scoreValue = 0;
    int hp = 0;
    int hp2 = 1;
    int spare = 0;
    int targetSecond = 0;

protected:
    // How a destroyed enemy bursts (ExplodeSmall, ExplodeMedium, ...).
    using Explosion = void (*)(int priority, float cx, float cy, int row);

    // One frame's step along the direction at the speed.
    void Move();
    // The 48x48 placement with a 40x40 hit box heading down at startSpeed, one hit point; the
    // target second last (255 on request a random randomLow..randomHigh), then the task type.
    void SetupStandard(int param, float x, float y, float startSpeed, int score, bool randomOn255,
                       int randomLow = 2, int randomHigh = 5);
    // The angle from the centre to the player's centre raised by `above` pixels; false (and
    // the angle untouched) when there is no player.
    bool AimAtPlayer(int* angle, int above = 0) const;
    // Brakes by accel; once the speed is found at or below 0 it stops and takes the next state.
    void BrakeToStop(float accel);
    // Gathers speed by accel while below 160 px/s (passing it by at most one frame's step).
    void SpeedUp(float accel);
    // Turns the blinking flight pair (cells 0 and 1) every tick.
    static void Blink(int* cell, float* timer);
    // One 48x48 cell of the enemy kinds' strip in slot 15, at the enemy's place.
    void DrawKindCell(int cell) const;
    // Advances a three-cell animation 0, 1, 2, 1, 0, ... by its step, turning at either end.
    static void StepFrameBackAndForth(int* frame, int* frameStep);
    // Steps 2 to 4 of every enemy kind's frame, after its state handler: the target second, then
    // EndWhenDestroyedOrEscaped. True when the enemy ended.
    bool FinishFrame(int items = 2, Explosion burst = ExplodeSmall);
    // Destruction (the burst, the items, graded score, label) or the escape past the field's
    // edge (a Miss label, the gauge pays 8). True when the enemy ended.
    bool EndWhenDestroyedOrEscaped(int items, Explosion burst);
};
