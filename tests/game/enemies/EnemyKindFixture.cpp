#include "tests/game/enemies/EnemyKindFixture.h"

#include "engine/TaskList.h"
#include "game/scenes/SceneManager.h"
#include "game/score/ScoreTable.h"

void EnemyKindFixture::SetUp()
{
    CombatFixture::SetUp();
    g_scoreTable->ResetForGame();
    SetLevel(0);
}

void EnemyKindFixture::TearDown()
{
    SetLevel(0);
    CombatFixture::TearDown();
}

Clock* EnemyKindFixture::ClockAt(int seconds)
{
    Clock* clock = Clock::Create(PriorityScreen, 296, 120);
    clock->seconds = seconds;
    return clock;
}

void EnemyKindFixture::SetLevel(int level)
{
    g_sceneManager->SetLevel(level);
}

void EnemyKindFixture::ClearTasks()
{
    g_taskList->KillAllLive();
    RunTasks(kFrame);
    ClearSoundRequests();
}

int EnemyKindFixture::SpritesIn(const std::vector<DrawnSprite>& sprites, int slot)
{
    int n = 0;
    for (const DrawnSprite& s : sprites) {
        n += s.slot == slot ? 1 : 0;
    }
    return n;
}
