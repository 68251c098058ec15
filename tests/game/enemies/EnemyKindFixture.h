#pragma once
// Combat tasks on the recording device, with a fresh score table, a settable clock and level,
// at the program's fixed frame time.
#include "game/stage/Clock.h"
#include "tests/game/CombatFixture.h"

class EnemyKindFixture : public CombatFixture {
protected:
    static constexpr float kFrame = 0.016f;

    void SetUp() override;
    void TearDown() override;
    // A clock that stands at the given second (it is advanced only by the test).
    static Clock* ClockAt(int seconds);
    static void SetLevel(int level);
    // One frame at the fixed frame time.
    void Step(int frames = 1) { RunTasks(frames, kFrame); }
    // Ends every live task, as a scene change would.
    void ClearTasks();
    static int SpritesIn(const std::vector<DrawnSprite>& sprites, int slot);
};
