#include "game/enemies/Enemy3.h"

#include "engine/Application.h"
#include "engine/GameObject.h"
#include "engine/GraphicsEngine.h"
#include "engine/MathUtil.h"
#include "engine/TaskList.h"
#include "game/enemies/CreateForLevel.h"
#include "game/shots/EnemyShot5.h"
#include "game/effects/Explosions.h"
#include "game/score/PointItem.h"
#include "game/score/ScoreTable.h"

const Enemy3::Rhythm Enemy3L0::kRhythm = {160.0f, false, 8, 5.0, 120.0};
const Enemy3::Rhythm Enemy3L1::kRhythm = {180.0f, false, 8, 6.0, 60.0};
const Enemy3::Rhythm Enemy3L2::kRhythm = {200.0f, false, 10, 4.0, 20.0};
const Enemy3::Rhythm Enemy3L3::kRhythm = {200.0f, true, 10, 2.0, 15.0};

Enemy3* Enemy3::Create(int priority, int param, float x, float y)
{
    return CreateForLevel<Enemy3, Enemy3L0, Enemy3L1, Enemy3L2, Enemy3L3>(priority, param, x, y);
}

Enemy3::Enemy3(const Rhythm& rhythm, int param, float x, float y, float startSpeed, bool randomOn255)
    : rhythm_(rhythm)
{
    SetupStandard(param, x, y, startSpeed, 400, randomOn255);
}

void Enemy3::Exec()
{
    Move();
    Fire();
    Animate();
    g_graphicsEngine->DrawSprite(static_cast<int>(x), static_cast<int>(y), 16, 48 * frame, 0, 48, 48);
    FinishFrame(4);
}

void Enemy3::Fire()
{
    shotTimer -= 60.0 * g_frameTime;
    if (shotTimer >= 0.0) {
        return;
    }
    AimAtPlayer(&shotAngle);
    shotAngle += RandomRange(-20, 20);
    EnemyShot5::Create(PriorityPlayer, x + 24.0f, y + 24.0f, rhythm_.shotSpeed, shotAngle, 0.0f, 0.0f);
    if (rhythm_.secondShot) {
        EnemyShot5::Create(PriorityPlayer, x + 24.0f, y + 24.0f, 200.0f, shotAngle, 20.0f, 0.0f);
    }
    shotTimer = shotCount < rhythm_.burstLimit ? rhythm_.gapInBurst : rhythm_.gapAfterBurst;
    ++shotCount;
}

void Enemy3::Animate()
{
    frameTimer -= 60.0f * g_frameTime;
    if (frameTimer >= 0.0f) {
        return;
    }
    StepFrameBackAndForth(&frame, &frameStep);
    frameTimer = 20.0f;
}
