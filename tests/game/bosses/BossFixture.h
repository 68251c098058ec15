#pragma once
// Boss forms on an empty scene with a clock the test sets, frames of 0.016 s as the game runs
// them, and the shots each frame created.
#include <set>
#include <vector>

#include "engine/GameObject.h"
#include "game/stage/Clock.h"
#include "game/shots/EnemyShot.h"
#include "tests/game/CombatFixture.h"

// A ship that stands where a test puts it and counts the stage clears it was given.
class ClearCountingShip : public GameObject {
public:
    ClearCountingShip(float x, float y);
    void Exec() override {}
    void OnStageClear() override { clears += 1; }
    static ClearCountingShip* Create(float x, float y);
    int clears = 0;
};

class BossFixture : public CombatFixture {
protected:
    void SetUp() override;
    // Sets the clock's second, then runs one frame; returns the shots that frame created.
    std::vector<EnemyShot*> Step();
    std::vector<EnemyShot*> StepAt(int seconds);
    // Shots created by a frame, of one class.
    template <class T>
    static std::vector<T*> OfClass(const std::vector<EnemyShot*>& shots)
    {
        std::vector<T*> found;
        for (EnemyShot* s : shots) {
            if (auto* t = dynamic_cast<T*>(s)) {
                found.push_back(t);
            }
        }
        return found;
    }

    static constexpr float kFrameTime = 0.016f;
    Clock* clock = nullptr;

private:
    std::set<Task*> knownShots;
};
