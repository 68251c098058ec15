#include "game/BossStationForm.h"

#include "engine/Application.h"
#include "engine/GraphicsEngine.h"
#include "engine/MathUtil.h"

BossStationForm::BossStationForm(int param, float x, float y, NextForm next, int nextParam)
    : next(next), nextParam(nextParam)
{
    this->x = x;
    this->y = y;
    w = h = 128;
    hitHalfSize[0] = hitHalfSize[1] = 20;
    speed = 80.0f;
    scoreValue = 2000;
    hp = 1;
    type = TaskType::Enemy;
    targetSecond = FormTargetSecond(param, 5);
    Point c;
    GetCenter(&c);
    direction = AngleDeg(c.x, c.y, 320, 120);
}

void BossStationForm::Exec()
{
    (this->*kHandlers[stateIndex])();
    FinishBossFrame(next, nextParam);
}

void BossStationForm::Approach()
{
    Move();
    if (speed > 40.0f) {
        speed -= acceleration * g_frameTime;
    } else {
        speed = 40.0f;
    }
    frameTimer -= TickStep();
    if (frameTimer < 0.0f) {
        CycleFrame(&frame, &frameTimer);
    }
    DrawCell(frame);
    float cx = x + w / 2;
    float cy = y + h / 2;
    if (cx > 317.0f && cx < 323.0f && cy > 117.0f && cy < 123.0f) {
        frame = 3;
        frameTimer = 20.0f;
        stateIndex = 1;
    }
}

void BossStationForm::Draw() const
{
    int px = static_cast<int>(x);
    int py = static_cast<int>(y);
    if (lap != 2) {
        DrawCell(frame);
    } else if (stepCounter == 0) {
        g_graphicsEngine->DrawSprite(px, py, 18, 0, 128, 128, 128);
    } else {
        // The wide pose spans two slots.
        g_graphicsEngine->DrawSprite(px - 32, py, 18, 128, 128, 128, 128);
        g_graphicsEngine->DrawSprite(px + 96, py, 19, 0, 128, 64, 128);
    }
}

void BossStationForm::Attack()
{
    if (frameTimer >= 0.0f) {
        frameTimer -= TickStep();
    } else {
        CycleFrame(&frame, &frameTimer);
    }
    Draw();
    if (attackTimer >= 0.0f) {
        attackTimer -= TickStep();
        return;
    }
    if (PatternStep()) {
        PatternEnded();
        stepCounter = 0;
        attackTimer = 120.0f;
        lap = (lap + 1) % 3;
    }
}
