#include "game/bosses/Boss.h"

#include <cstdlib>

#include "engine/Application.h"
#include "engine/GameObject.h"
#include "engine/GraphicsEngine.h"
#include "engine/TaskList.h"
#include "game/effects/Explosions.h"
#include "game/score/PointItem.h"
#include "game/score/ScoreTable.h"

namespace {
// The station near the top centre that the chained forms fly to; they stop strictly inside a
// 6x6 window around it.
constexpr int kStationX = 320;
constexpr int kStationY = 120;
// The window's corners lie 3 * sqrt(2) = 4.24 px from the station. A form that has passed its
// nearest point is only moving away, so once it is farther than this it can never arrive.
constexpr float kStationMissed = 4.5f;
}

int Boss::FormTargetSecond(int param, int spread)
{
    if (param == 0) {
        return 0;
    }
    return GetClockSeconds() + param + RandomRange(-spread, spread);
}

void Boss::FinishBossFrame(NextForm nextForm, int nextParam, int itemCount)
{
    if (type == TaskType::Enemy) {
        DrawTargetSecond(true);
    }
    int d = targetSecond - GetClockSeconds();
    float cx = x + w / 2;
    float cy = y + h / 2;
    if (hp <= 0 && type == TaskType::Enemy) {
        if (d > 5) {
            // Too early: the kill costs a Miss, and the form lingers unhittable until it is due.
            ExplodeSmall(PriorityEnemy, cx, cy, static_cast<int>(TimingGrade::Miss));
            g_scoreTable->AddGradedScore(scoreValue, TimingGrade::Miss);
            ShowGrade(TimingGrade::Miss);
            type = TaskType::Inert;
        } else {
            int off = std::abs(d);
            TimingGrade grade = off == 0 ? TimingGrade::Exact : off == 1 ? TimingGrade::Near : TimingGrade::Miss;
            ExplodeLarge(PriorityEnemy, cx, cy, static_cast<int>(grade));
            for (int i = 0; i < itemCount; ++i) {
                PointItem::Create(PriorityEnemy, cx, cy);
            }
            g_scoreTable->AddGradedScore(scoreValue, grade);
            EndForm(nextForm, nextParam, grade, false);
            return;
        }
    } else if (d < -5) {
        ExplodeLarge(PriorityEnemy, cx, cy, static_cast<int>(TimingGrade::Miss));
        EndForm(nextForm, nextParam, TimingGrade::Miss, type == TaskType::Enemy);
        return;
    }
    if (IsOffField(x, y, w, h)) {
        ShowGrade(TimingGrade::Miss);
        g_scoreTable->ReduceGauge(8);
        g_taskList->Kill(this);
    }
}

void Boss::EndForm(NextForm nextForm, int nextParam, TimingGrade grade, bool gaugeCost)
{
    if (nextForm) {
        nextForm(PriorityEnemy, nextParam, x, y);
    }
    ShowGrade(grade);
    if (gaugeCost) {
        g_scoreTable->ReduceGauge(8);
    }
    g_taskList->Kill(this);
    if (!nextForm) {
        if (Task* player = TaskList::FindPlayer()) {
            static_cast<GameObject*>(player)->OnStageClear();
        }
    }
}

void Boss::DrawCell(int cell) const
{
    int src = w * cell;
    int slot = src < 256 ? 18 : 19;
    g_graphicsEngine->DrawSprite(static_cast<int>(x), static_cast<int>(y), slot, src < 256 ? src : src - 256, 0, w, h);
}

bool Boss::SwayTowardPlayer(float* acceleration, float sway, float topSpeed)
{
    if (speed <= 0.0f && *acceleration <= 0.0f) {
        *acceleration = sway;
    }
    if (speed <= 0.0f && *acceleration > 0.0f) {
        Point own, target;
        if (!GameObject::FindPlayerCenter(&target)) {
            return false;
        }
        GetCenter(&own);
        direction = own.x > target.x ? 180 : 0;
    }
    if (speed > topSpeed) {
        *acceleration = -sway;
    }
    x += g_cosTable[((direction % 360) + 360) % 360] * speed * g_frameTime;
    speed += *acceleration * g_frameTime;
    return true;
}

void Boss::CycleFrame(int* frame, float* frameTimer)
{
    *frame = *frame < 2 ? *frame + 1 : 0;
    *frameTimer = 20.0f;
}

void Boss::TurnCells(int* frame, float* frameTimer)
{
    if (*frameTimer >= 0.0f) {
        *frameTimer -= TickStep();
    } else {
        CycleFrame(frame, frameTimer);
    }
}

float Boss::TickStep()
{
    return 60.0f * g_frameTime;
}

void Boss::PlaceStationBound(int param, int spread, float x, float y, float speed, int score)
{
    this->x = x;
    this->y = y;
    w = h = 128;
    hitHalfSize[0] = hitHalfSize[1] = 20;
    this->speed = speed;
    scoreValue = score;
    hp = 1;
    type = TaskType::Enemy;
    targetSecond = FormTargetSecond(param, spread);
    Point c;
    GetCenter(&c);
    direction = AngleDeg(c.x, c.y, kStationX, kStationY);
}

void Boss::ApproachStation(float acceleration, int* frame, float* frameTimer)
{
    Move();
    SettleIfStationMissed();
    if (speed > 40.0f) {
        speed -= acceleration * g_frameTime;
    } else {
        speed = 40.0f;
    }
    *frameTimer -= TickStep();
    if (*frameTimer < 0.0f) {
        CycleFrame(frame, frameTimer);
    }
}

bool Boss::AtStation() const
{
    float cx = x + w / 2;
    float cy = y + h / 2;
    return cx > 317.0f && cx < 323.0f && cy > 117.0f && cy < 123.0f;
}

void Boss::SettleIfStationMissed()
{
    // The heading is a whole degree, so the flight can pass beside the window and would carry
    // the form out of the field.
    float dx = kStationX - (x + w / 2);
    float dy = kStationY - (y + h / 2);
    int d = ((direction % 360) + 360) % 360;
    bool past = dx * g_cosTable[d] - dy * g_sinTable[d] < 0.0f;
    if (past && dx * dx + dy * dy > kStationMissed * kStationMissed) {
        x = static_cast<float>(kStationX - w / 2);
        y = static_cast<float>(kStationY - h / 2);
    }
}

bool Boss::AttackDue()
{
    if (attackTimer >= 0.0f) {
        attackTimer -= TickStep();
        return false;
    }
    return true;
}

void Boss::PauseAfterPattern()
{
    stepCounter = 0;
    attackTimer = 120.0f;
}
