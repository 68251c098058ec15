#include "game/Enemy5.h"

#include "engine/Application.h"
#include "engine/GameObject.h"
#include "engine/GraphicsEngine.h"
#include "engine/TaskList.h"
#include "game/Enemy5L3.h"
#include "game/Explosions.h"
#include "game/PointItem.h"
#include "game/SceneManager.h"
#include "game/ScoreTable.h"

Enemy5::Enemy5(int param, float x, float y)
{
    this->x = x;
    this->y = y;
    w = h = 48;
    hitHalfSize[0] = hitHalfSize[1] = 20;
    speed = 160.0f;
    direction = 270;
    stateIndex = 0;
    hp = 1;
    scoreValue = 1000;
    // Parameter 255 has no random meaning for this kind.
    targetSecond = TargetSecondFor(param);
}

Enemy5* Enemy5::Create(int priority, int param, float x, float y)
{
    Enemy5* enemy;
    switch (g_sceneManager->GetLevel()) {
    case 1:
        enemy = new Enemy5L1(param, x, y);
        break;
    case 2:
        enemy = new Enemy5L2(param, x, y);
        break;
    case 3:
        enemy = new Enemy5L3(param, x, y);
        break;
    default:
        enemy = new Enemy5L0(param, x, y);
        break;
    }
    return static_cast<Enemy5*>(g_taskList->Insert(enemy, priority));
}

void Enemy5::FinishFrame5(int items)
{
    if (hp <= 0) {
        TimingGrade grade = GradeFor(targetSecond, GetClockSeconds());
        ExplodeSmall(PriorityEnemy, x + 24.0f, y + 24.0f, static_cast<int>(grade));
        for (int i = 0; i < items; ++i) {
            PointItem::Create(PriorityEnemy, x + 24.0f, y + 24.0f);
        }
        g_scoreTable->AddGradedScore(1000, grade);
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

const Enemy5Diver::Handler Enemy5Diver::kHandlers[3] = {&Enemy5Diver::Brake, &Enemy5Diver::Face, &Enemy5Diver::Dive};

Enemy5Diver::Enemy5Diver(int param, float x, float y) : Enemy5(param, x, y)
{
    type = TaskType::Enemy;
}


void Enemy5Diver::DrawCell(int cell) const
{
    g_graphicsEngine->DrawSprite(static_cast<int>(x), static_cast<int>(y), 15, 48 * cell, 0, 48, 48);
}

void Enemy5Diver::Brake()
{
    Move();
    if (speed > 0.0f) {
        speed -= acceleration * g_frameTime;
    } else {
        speed = 0.0f;
        stateIndex = 1;
    }
    blinkTimer -= 60.0f * g_frameTime;
    if (blinkTimer < 0.0f) {
        blinkCell ^= 1;
        blinkTimer = 1.0f;
    }
    DrawCell(speed < 40.0f ? 3 : speed < 80.0f ? 2 : blinkCell);
}

void Enemy5Diver::Face()
{
    auto* ship = static_cast<GameObject*>(TaskList::FindPlayer());
    if (!ship) {
        return;
    }
    Point own, target;
    GetCenter(&own);
    ship->GetCenter(&target);
    direction = AngleDeg(own.x, own.y, target.x, target.y);
    stateIndex = 2;
    DrawCell(4);
}

void Enemy5Diver::Dive()
{
    Move();
    if (speed < 160.0f) {
        speed += acceleration * g_frameTime;
    }
    DrawCell(2);
}

void Enemy5Diver::Exec()
{
    (this->*kHandlers[stateIndex])();
    DrawTargetSecond(false);
    FinishFrame5(1);
}
