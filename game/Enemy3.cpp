#include "game/Enemy3.h"

#include <new>

#include "engine/Application.h"
#include "engine/GameObject.h"
#include "engine/GraphicsEngine.h"
#include "engine/MathUtil.h"
#include "engine/TaskList.h"
#include "game/EnemyShot5.h"
#include "game/Explosions.h"
#include "game/PointItem.h"
#include "game/SceneManager.h"
#include "game/ScoreTable.h"

const Enemy3::Rhythm Enemy3L0::kRhythm = {160.0f, false, 8, 5.0, 120.0};
const Enemy3::Rhythm Enemy3L1::kRhythm = {180.0f, false, 8, 6.0, 60.0};
const Enemy3::Rhythm Enemy3L2::kRhythm = {200.0f, false, 10, 4.0, 20.0};
const Enemy3::Rhythm Enemy3L3::kRhythm = {200.0f, true, 10, 2.0, 15.0};

Enemy3* Enemy3::Create(int priority, int param, float x, float y)
{
    int level = g_sceneManager ? g_sceneManager->GetLevel() : 0;
    Enemy3* enemy;
    switch (level) {
    case 1:
        enemy = new (std::nothrow) Enemy3L1(param, x, y);
        break;
    case 2:
        enemy = new (std::nothrow) Enemy3L2(param, x, y);
        break;
    case 3:
        enemy = new (std::nothrow) Enemy3L3(param, x, y);
        break;
    default:
        enemy = new (std::nothrow) Enemy3L0(param, x, y);
        break;
    }
    if (!enemy) {
        return nullptr;
    }
    g_taskList->Insert(enemy, priority);
    return enemy;
}

void Enemy3::Setup(int param, float x, float y, float startSpeed, bool randomOn255)
{
    this->x = x;
    this->y = y;
    w = h = 48;
    hitHalfSize[0] = hitHalfSize[1] = 20;
    speed = startSpeed;
    direction = 270;
    stateIndex = 0;
    hp = 1;
    scoreValue = 400;
    targetSecond = TargetSecondFor(param, randomOn255, 2, 5);
    type = TaskType::Enemy;
}

template <class E>
void Enemy3::RunFrame(E* self, const Rhythm& rhythm)
{
    self->Move();
    self->Fire(rhythm, &self->shotCount, &self->shotAngle, &self->shotTimer);
    Animate(&self->frame, &self->frameStep, &self->frameTimer);
    g_graphicsEngine->DrawSprite(static_cast<int>(self->x), static_cast<int>(self->y), 16, 48 * self->frame, 0, 48,
                                 48);
    self->FinishWithFourItems();
}

void Enemy3::Move()
{
    x += g_cosTable[direction] * speed * g_frameTime;
    y -= g_sinTable[direction] * speed * g_frameTime;
}

void Enemy3::Fire(const Rhythm& rhythm, int* shotCount, int* shotAngle, double* shotTimer) const
{
    *shotTimer -= 60.0 * g_frameTime;
    if (*shotTimer >= 0.0) {
        return;
    }
    if (auto* player = static_cast<GameObject*>(TaskList::FindPlayer())) {
        Point own, target;
        GetCenter(&own);
        player->GetCenter(&target);
        *shotAngle = AngleDeg(own.x, own.y, target.x, target.y);
    }
    *shotAngle += RandomRange(-20, 20);
    EnemyShot5::Create(PriorityPlayer, x + 24.0f, y + 24.0f, rhythm.shotSpeed, *shotAngle, 0.0f, 0.0f);
    if (rhythm.secondShot) {
        EnemyShot5::Create(PriorityPlayer, x + 24.0f, y + 24.0f, 200.0f, *shotAngle, 20.0f, 0.0f);
    }
    *shotTimer = *shotCount < rhythm.burstLimit ? rhythm.gapInBurst : rhythm.gapAfterBurst;
    ++*shotCount;
}

void Enemy3::Animate(int* frame, int* frameStep, float* frameTimer)
{
    *frameTimer -= 60.0f * g_frameTime;
    if (*frameTimer >= 0.0f) {
        return;
    }
    *frame += *frameStep;
    if (*frame >= 2 && *frameStep == 1) {
        *frameStep = -1;
    } else if (*frame <= 0 && *frameStep == -1) {
        *frameStep = 1;
    }
    *frameTimer = 20.0f;
}

bool Enemy3::FinishWithFourItems()
{
    DrawTargetSecond(false);
    if (hp <= 0) {
        TimingGrade grade = GradeFor(targetSecond, GetClockSeconds());
        float cx = x + 24.0f;
        float cy = y + 24.0f;
        ExplodeSmall(PriorityEnemy, cx, cy, static_cast<int>(grade));
        for (int i = 0; i < 4; ++i) {
            PointItem::Create(PriorityEnemy, cx, cy);
        }
        g_scoreTable->AddGradedScore(scoreValue, grade);
        ShowGrade(grade);
        g_taskList->Kill(this);
        return true;
    }
    if (IsOffField(x, y, w, h)) {
        ShowGrade(TimingGrade::Miss);
        g_scoreTable->ReduceGauge(8);
        g_taskList->Kill(this);
        return true;
    }
    return false;
}

Enemy3L0::Enemy3L0(int param, float x, float y)
{
    Setup(param, x, y, 60.0f, false);
}

void Enemy3L0::Exec()
{
    RunFrame(this, kRhythm);
}

Enemy3L1::Enemy3L1(int param, float x, float y)
{
    Setup(param, x, y, 60.0f + RandomRange(-10, 10), false);
}

void Enemy3L1::Exec()
{
    RunFrame(this, kRhythm);
}

Enemy3L2::Enemy3L2(int param, float x, float y)
{
    Setup(param, x, y, 40.0f + RandomRange(-10, 10), true);
}

void Enemy3L2::Exec()
{
    RunFrame(this, kRhythm);
}

Enemy3L3::Enemy3L3(int param, float x, float y)
{
    Setup(param, x, y, 60.0f + RandomRange(-10, 10), false);
}

void Enemy3L3::Exec()
{
    RunFrame(this, kRhythm);
}
