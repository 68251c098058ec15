#include "game/stage/StageOpening.h"

#include "engine/GraphicsEngine.h"
#include "engine/TaskList.h"
#include "game/stage/Clock.h"
#include "game/stage/EnemyMap.h"
#include "game/effects/Explosions.h"
#include "game/stage/GaugeDisplay.h"
#include "game/enemies/IntroTarget.h"

StageOpening::StageOpening()
{
    // The clock first: the intro target reads it for its target second.
    Clock::Create(PriorityScreen, x + 108, y);
    IntroTarget::Create(PriorityScreen, 3, static_cast<float>(x + 36), static_cast<float>(y + 72));
    type = TaskType::Inert;
}

StageOpening* StageOpening::Create(int priority)
{
    return InsertNew<StageOpening>(priority);
}

Task* StageOpening::FirstLive(TaskType wanted)
{
    for (Task* t = g_taskList->First(); t; t = t->next) {
        if (t->state == TaskState::Live && t->type == wanted) {
            return t;
        }
    }
    return nullptr;
}

int StageOpening::ClockSeconds()
{
    Task* clock = FirstLive(TaskType::Clock);
    return clock ? static_cast<Clock*>(clock)->GetSeconds() : 0;
}

void StageOpening::Exec()
{
    struct Piece {
        int dx, dy, srcX, srcY, w, h;
    } static constexpr kPanel[] = {
        {0, 0, 0, 0, 128, 36},      {176, 0, 128, 0, 96, 36},    {0, 36, 0, 36, 128, 36},
        {0, 72, 0, 72, 36, 36},     {96, 72, 128, 72, 128, 36},
    };
    for (const Piece& p : kPanel) {
        g_graphicsEngine->DrawSprite(x + p.dx, y + p.dy, 11, p.srcX, p.srcY, p.w, p.h);
    }

    if (ClockSeconds() >= 3 && targetDamaged == 0) {
        if (Task* target = FirstLive(TaskType::IntroTarget)) {
            static_cast<IntroTarget*>(target)->Damage(1);
        }
        targetDamaged = 1;
    }
    if (ClockSeconds() >= 4) {
        if (Task* clock = FirstLive(TaskType::Clock)) {
            static_cast<Clock*>(clock)->SetPosition(444, 448);
        }
        EnemyMap::Create(PriorityEnemyMap);
        ExplodeLarge(PriorityEnemy, static_cast<float>(x + 162), static_cast<float>(y + 36), 0);
        GaugeDisplay::Create(PriorityGauge);
        g_taskList->Kill(this);
    }
}
