#include "game/enemies/IntroTarget.h"

#include "engine/Application.h"
#include "engine/GraphicsEngine.h"
#include "engine/TaskList.h"
#include "game/effects/Explosions.h"

IntroTarget::IntroTarget(int param, float x, float y)
{
    this->x = x;
    this->y = y;
    w = h = 48;
    hitHalfSize[0] = hitHalfSize[1] = 20;
    hp = 1;
    targetSecond = TargetSecondFor(param);
    type = TaskType::IntroTarget;
}

IntroTarget* IntroTarget::Create(int priority, int param, float x, float y)
{
    return InsertNew<IntroTarget>(priority, param, x, y);
}

void IntroTarget::Exec()
{
    DrawTargetSecond(false);
    blinkTimer -= 60.0f * g_frameTime;
    if (blinkTimer < 0.0f) {
        blinkCell ^= 1;
        blinkTimer = 1.0f;
    }
    g_graphicsEngine->DrawSprite(static_cast<int>(x), static_cast<int>(y), 15, 48 * blinkCell, 0, 48, 48);
    if (hp <= 0) {
        TimingGrade grade = GradeFor(targetSecond, GetClockSeconds());
        ExplodeSmall(PriorityEnemy, x + 24.0f, y + 24.0f, static_cast<int>(grade));
        ShowGrade(grade);
        g_taskList->Kill(this);
    }
}
