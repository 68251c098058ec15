#include "tests/game/bosses/BossFixture.h"

#include "engine/TaskList.h"
#include "game/score/ScoreTable.h"

ClearCountingShip::ClearCountingShip(float x, float y)
{
    this->x = x;
    this->y = y;
    w = h = 48;
    type = TaskType::Player;
}

ClearCountingShip* ClearCountingShip::Create(float x, float y)
{
    return static_cast<ClearCountingShip*>(g_taskList->Insert(new ClearCountingShip(x, y), PriorityPlayer));
}

void BossFixture::SetUp()
{
    CombatFixture::SetUp();
    g_scoreTable->ResetForGame();
    clock = Clock::Create(PriorityScreen, 296, 120);
}

std::vector<EnemyShot*> BossFixture::Step()
{
    RunTasks(kFrameTime);
    // Killed shots are deleted by the end of the run, so a reused address is always a new shot.
    std::vector<EnemyShot*> fresh;
    std::set<Task*> now;
    for (Task* t : LiveOfType(TaskType::EnemyShot)) {
        now.insert(t);
        if (!knownShots.count(t)) {
            fresh.push_back(static_cast<EnemyShot*>(t));
        }
    }
    knownShots = now;
    return fresh;
}

std::vector<EnemyShot*> BossFixture::StepAt(int seconds)
{
    clock->seconds = seconds;
    clock->millis = 0.0f;
    return Step();
}
