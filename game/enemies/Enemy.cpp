#include "game/enemies/Enemy.h"

#include <cstdlib>

#include "engine/Application.h"
#include "engine/GameObject.h"
#include "engine/GraphicsEngine.h"
#include "engine/SpriteBlendMode.h"
#include "engine/TaskList.h"
#include "game/stage/Clock.h"
#include "game/effects/Explosions.h"
#include "game/score/GradeLabel.h"
#include "game/score/PointItem.h"
#include "game/scenes/SceneManager.h"
#include "game/score/ScoreTable.h"

void Enemy::GetHitRect(Rect* out) const
{
    *out = {x + w / 2 - hitHalfSize[0], y + h / 2 - hitHalfSize[1], 2 * hitHalfSize[0], 2 * hitHalfSize[1]};
}

void Enemy::GetCenter(Point* out) const
{
    *out = {static_cast<int>(x + w / 2), static_cast<int>(y + h / 2)};
}

int Enemy::GetClockSeconds()
{
    if (!g_taskList) {
        return 0;
    }
    for (Task* t = g_taskList->First(); t; t = t->next) {
        if (t->state == TaskState::Live && t->type == TaskType::Clock) {
            return static_cast<Clock*>(t)->GetSeconds();
        }
    }
    return 0;
}

TimingGrade Enemy::GradeFor(int target, int clockSeconds)
{
    int d = std::abs(target - clockSeconds);
    return d == 0 ? TimingGrade::Exact : d == 1 ? TimingGrade::Near : TimingGrade::Miss;
}

int Enemy::TargetSecondFor(int param, bool randomOn255, int randomLow, int randomHigh)
{
    if (param == 0) {
        return 0;
    }
    if (param == 255 && randomOn255) {
        return GetClockSeconds() + RandomRange(randomLow, randomHigh);
    }
    return GetClockSeconds() + param;
}

void Enemy::DrawTargetSecond(bool alsoInHud) const
{
    int t = targetSecond;
    if (t == 0) {
        return;
    }
    // Every place of the number gets its own cell, so seconds past 999 still show digits; a
    // negative second shows none.
    int digits = t > 0 ? 1 : 0;
    int power = 1;
    while (digits > 0 && t / power >= 10) {
        power *= 10;
        digits += 1;
    }
    int remaining = t;
    int dx = static_cast<int>(x + w - 12.0f);
    int dy = static_cast<int>(y + h - 18.0f);
    for (int k = digits - 1; k >= 0; --k) {
        int digit = remaining / power;
        remaining %= power;
        power /= 10;
        g_graphicsEngine->DrawSprite(dx - 12 * k, dy, 7, 12 * digit, 0, 12, 18);
        if (alsoInHud) {
            g_graphicsEngine->DrawSprite(312 - 12 * k, 462, 7, 12 * digit, 0, 12, 18);
        }
    }

    // On the easiest level a bracket marks the very second at which to shoot.
    int c = GetClockSeconds();
    if (!g_sceneManager || g_sceneManager->GetLevel() != 0 || c == 0 || c != t) {
        return;
    }
    int bx = static_cast<int>(x);
    int by = static_cast<int>(y);
    struct Piece {
        int x, y, srcX, srcY, size;
    } pieces[] = {
        {bx, by, 0, 0, 12},
        {bx + w - 12, by, 12, 0, 12},
        {bx, by + h - 12, 0, 12, 12},
        {bx + w - 12, by + h - 12, 12, 12, 12},
        {bx + w / 2, by + h / 2, 24, 0, 7},
    };
    for (const Piece& p : pieces) {
        g_graphicsEngine->SetBlend(static_cast<int>(SpriteBlendMode::Alpha), 0xFFFFFFFFu);
        g_graphicsEngine->DrawSprite(p.x, p.y, 6, p.srcX, p.srcY, p.size, p.size);
    }
}

void Enemy::GetLabelPosition(float* outX, float* outY) const
{
    float lx = x + w / 2 - 16.0f;
    float ly = y + h / 2 - 8.0f;
    if (x < kFieldLeft - 2 * w) {
        lx = static_cast<float>(kFieldLeft);
    } else if (x > kFieldRight + 2 * w) {
        lx = static_cast<float>(kFieldRight - 32);
    }
    if (y < kFieldTop - 2 * h) {
        ly = 0.0f;
    } else if (y > kFieldBottom + 2 * h) {
        ly = static_cast<float>(kFieldBottom - 16);
    }
    *outX = lx;
    *outY = ly;
}

void Enemy::ShowGrade(TimingGrade grade) const
{
    float lx, ly;
    GetLabelPosition(&lx, &ly);
    GradeLabel::Create(PriorityGradeLabel, lx, ly, grade);
}

void Enemy::SetupStandard(int param, float x, float y, float startSpeed, int score, bool randomOn255,
                          int randomLow, int randomHigh)
{
    this->x = x;
    this->y = y;
    w = h = 48;
    hitHalfSize[0] = hitHalfSize[1] = 20;
    speed = startSpeed;
    direction = 270;
    stateIndex = 0;
    hp = 1;
    scoreValue = score;
    targetSecond = TargetSecondFor(param, randomOn255, randomLow, randomHigh);
    type = TaskType::Enemy;
}

void Enemy::StepFrameBackAndForth(int* frame, int* frameStep)
{
    *frame += *frameStep;
    if (*frame >= 2 && *frameStep == 1) {
        *frameStep = -1;
    } else if (*frame <= 0 && *frameStep == -1) {
        *frameStep = 1;
    }
}

bool Enemy::AimAtPlayer(int* angle, int above) const
{
    Point own, target;
    if (!GameObject::FindPlayerCenter(&target)) {
        return false;
    }
    GetCenter(&own);
    *angle = AngleDeg(own.x, own.y, target.x, target.y - above);
    return true;
}

bool Enemy::FinishFrame(int items, Explosion burst)
{
    DrawTargetSecond(false);
    return EndWhenDestroyedOrEscaped(items, burst);
}

bool Enemy::EndWhenDestroyedOrEscaped(int items, Explosion burst)
{
    if (hp <= 0) {
        TimingGrade grade = GradeFor(targetSecond, GetClockSeconds());
        float cx = x + w / 2;
        float cy = y + h / 2;
        burst(PriorityEnemy, cx, cy, static_cast<int>(grade));
        for (int i = 0; i < items; ++i) {
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

void Enemy::Move()
{
    MoveAlong(&x, &y, direction, speed);
}

void Enemy::BrakeToStop(float accel)
{
    if (speed > 0.0f) {
        speed -= accel * g_frameTime;
    } else {
        speed = 0.0f;
        ++stateIndex;
    }
}

void Enemy::SpeedUp(float accel)
{
    if (speed < 160.0f) {
        speed += accel * g_frameTime;
    }
}

void Enemy::Blink(int* cell, float* timer)
{
    *timer -= 60.0f * g_frameTime;
    if (*timer < 0.0f) {
        *cell ^= 1;
        *timer = 1.0f;
    }
}

void Enemy::DrawKindCell(int cell) const
{
    g_graphicsEngine->DrawSprite(static_cast<int>(x), static_cast<int>(y), 15, 48 * cell, 0, 48, 48);
}
