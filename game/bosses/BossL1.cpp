#include "game/bosses/BossL1.h"

#include "engine/Application.h"
#include "engine/GameObject.h"
#include "engine/GraphicsEngine.h"
#include "engine/TaskList.h"
#include "game/shots/EnemyShot2.h"
#include "game/effects/Explosions.h"
#include "game/score/PointItem.h"
#include "game/score/ScoreTable.h"

const BossL1::Handler BossL1::kHandlers[3] = {&BossL1::Brake, &BossL1::Face, &BossL1::Dive};

// The map parameter is not used: this boss has no target second.
BossL1::BossL1(int /*param*/)
{
    w = h = 48;
    x = (640 - 48) / 2;
    y = -static_cast<float>(h);
    hitHalfSize[0] = hitHalfSize[1] = 20;
    speed = 160.0f;
    direction = 270;
    stateIndex = 0;
    hp = 1;
    scoreValue = 200;
    type = TaskType::Enemy;
}

void BossL1::Brake()
{
    Move();
    BrakeToStop(acceleration);
    Blink(&blinkCell, &blinkTimer);
    DrawKindCell(speed < 40.0f ? 3 : speed < 80.0f ? 2 : blinkCell);
}

void BossL1::Face()
{
    if (!AimAtPlayer(&direction)) {
        return;
    }
    shotAngle = direction + RandomRange(-20, 20);
    stateIndex = 2;
    DrawKindCell(4);
}

void BossL1::FireWhenDue()
{
    if (shotsFired >= 2) {
        return;
    }
    if (shotTimer > 0.0) {
        shotTimer -= 60.0 * g_frameTime;
        return;
    }
    EnemyShot2::Create(PriorityPlayer, x + 24.0f, y + 37.0f, 180.0f, shotAngle, 0.0f, 0);
    shotTimer = 30.0;
    shotsFired += 1;
}

void BossL1::Dive()
{
    Move();
    SpeedUp(acceleration);
    DrawKindCell(2);
    FireWhenDue();
}

void BossL1::Exec()
{
    (this->*kHandlers[stateIndex])();
    if (hp <= 0) {
        ExplodeSmall(PriorityEnemy, x + 24.0f, y + 24.0f, 0);
        PointItem::Create(PriorityEnemy, x + 24.0f, y + 24.0f);
        g_scoreTable->AddScore(200);
        g_taskList->Kill(this);
        return;
    }
    // Leaving the field costs nothing.
    if (IsOffField(x, y, w, h)) {
        g_taskList->Kill(this);
    }
}
