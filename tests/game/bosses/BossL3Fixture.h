#pragma once
// Level-3 boss forms on an empty scene: frames at a held clock second, the form's body sprite,
// its target digits and the sounds each frame asked for.
#include <vector>

#include "game/bosses/BossL3Form.h"
#include "tests/game/bosses/BossFixture.h"

class BossL3Fixture : public BossFixture {
protected:
    void SetUp() override;
    // One frame at the held second; returns the shots it created.
    std::vector<EnemyShot*> Frame();
    // The darkened 48x48 body sprites drawn from the ship's slot in the last frame.
    std::vector<DrawnSprite> Body() const;
    // Target-second digits drawn in the last frame, leaving out the clock's own.
    std::vector<DrawnSprite> FormDigits() const;
    // Of those, the digits at the form's corner and in the HUD, leaving out enemies it called in.
    std::vector<DrawnSprite> DigitsOf(const BossL3Form* form) const;
    // Frames until the form's next volley; returns it (empty after maxFrames).
    std::vector<EnemyShot*> NextVolley(int maxFrames = 400, int* frames = nullptr);
    // Kills every enemy but the form and every shot emitter, so that only the form's own
    // volleys are read; returns the enemies it took.
    static std::vector<Task*> TakeSummons(const Task* form);
    static int AimFrom(const BossL3Form* form, const GameObject* ship);

    static constexpr int kHeldSecond = 10;
    // Sound effects requested by the form over all frames run so far.
    int soundFrames = 0;
};

int Norm(int angle);
std::vector<int> Directions(const std::vector<EnemyShot*>& shots);
