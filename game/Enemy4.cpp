#include "game/Enemy4.h"

#include "engine/Application.h"
#include "engine/GameObject.h"
#include "engine/GraphicsEngine.h"
#include "engine/SpriteBlendMode.h"
#include "engine/TaskList.h"
#include "game/Explosions.h"
#include "game/PointItem.h"
#include "game/SceneManager.h"
#include "game/ScoreTable.h"

Enemy4::Enemy4(int param, float x, float y)
{
    this->x = x;
    this->y = y;
    w = h = 48;
    hitHalfSize[0] = hitHalfSize[1] = 20;
    speed = 60.0f + RandomRange(-5, 5);
    direction = 270;
    hp = 1;
    scoreValue = 200;
    targetSecond = TargetSecondFor(param, true, 1, 4);
    if (auto* ship = static_cast<GameObject*>(TaskList::FindPlayer())) {
        Point own, target;
        GetCenter(&own);
        ship->GetCenter(&target);
        direction = AngleDeg(own.x, own.y, target.x, target.y);
    }
    type = TaskType::Enemy;
}

Enemy4* Enemy4::Create(int priority, int param, float x, float y)
{
    Enemy4* enemy;
    switch (g_sceneManager->GetLevel()) {
    case 1:
        enemy = new Enemy4L1(param, x, y);
        break;
    case 2:
        enemy = new Enemy4L2(param, x, y);
        break;
    case 3:
        enemy = new Enemy4L3(param, x, y);
        break;
    default:
        enemy = new Enemy4L0(param, x, y);
        break;
    }
    return static_cast<Enemy4*>(g_taskList->Insert(enemy, priority));
}

bool Enemy4Rammer::TurnTowardShip()
{
    auto* ship = static_cast<GameObject*>(TaskList::FindPlayer());
    if (!ship) {
        return false;
    }
    Point own, target;
    GetCenter(&own);
    ship->GetCenter(&target);
    int aim = AngleDeg(own.x, own.y, target.x, target.y);
    // The raw angles are compared, so the turn is not always the shorter way round, and a ship
    // dead ahead still moves the heading by a step: the rammer wobbles about its line.
    int step = static_cast<int>(200.0f * g_frameTime);
    direction += aim > direction ? step : -step;
    while (direction < 0) {
        direction += 360;
    }
    while (direction >= 360) {
        direction -= 360;
    }
    return true;
}

void Enemy4Rammer::Animate()
{
    frameTimer -= 100.0f * g_frameTime;
    if (frameTimer < 0.0f) {
        StepFrameBackAndForth(&frame, &frameStep);
        frameTimer = 20.0f;
    }
}

void Enemy4Rammer::Exec()
{
    // The digits go under this frame's sprite.
    DrawTargetSecond(false);
    if (homing && !TurnTowardShip()) {
        return;
    }
    if (homingTimer > 0.0f) {
        homingTimer -= 100.0f * g_frameTime;
    } else {
        homing = false;
    }

    Move();
    speed += acceleration * g_frameTime;

    Animate();
    g_graphicsEngine->SetBlend(static_cast<int>(SpriteBlendMode::Alpha), 0x80FFFFFFu);
    g_graphicsEngine->DrawSprite(static_cast<int>(x), static_cast<int>(y), 17, 48 * frame, 0, 48, 48);

    if (hp <= 0) {
        TimingGrade grade = GradeFor(targetSecond, GetClockSeconds());
        ExplodeMedium(PriorityEnemy, x + 24.0f, y + 24.0f, static_cast<int>(grade));
        PointItem::Create(PriorityEnemy, x + 24.0f, y + 24.0f);
        g_scoreTable->AddGradedScore(200, grade);
        ShowGrade(grade);
        g_taskList->Kill(this);
        return;
    }
    if (IsOffField(x, y, w, h)) {
        ShowGrade(TimingGrade::Miss);
        g_scoreTable->ReduceGauge(8);
        g_taskList->Kill(this);
    }
}
