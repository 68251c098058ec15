#pragma once
// Runs one enemy's frames by hand at the game's fixed frame time and takes the shots each frame
// fired, with the values they were created with (before their own first frame).
#include <vector>

#include "game/enemies/Enemy.h"
#include "tests/game/CombatFixture.h"

// One shot as its creator made it.
struct FiredShot {
    int kind;  // 1, 2 or 5: the shot class
    float cx, cy;  // centre
    float speed;
    int angle;
    float accel;
    int cell;     // colour cell of the rotated class, else 0
    float limit;  // speed limit of the braking class, else 0
};

class KindFixture : public CombatFixture {
protected:
    void SetUp() override;
    void TearDown() override;
    void SetLevel(int level);
    // One frame of the enemy alone, drawn; returns the shots it fired (and removes them).
    std::vector<FiredShot> Step(Enemy* enemy, float frameTime = 0.016f);
    // Steps until the enemy's state index is `state`; the frames it took, or -1 after maxFrames.
    int StepUntilState(Enemy* enemy, int state, int maxFrames = 400, std::vector<FiredShot>* shots = nullptr);
    // The cell (source x / 48) of the enemy's one sprite from the slot last frame, -1 for none.
    int DrawnCell(int slot) const;
    static constexpr float kFrame = 0.016f;
};
