#include "game/bosses/BossSweepForm.h"

#include "engine/Application.h"

BossSweepForm::BossSweepForm(int param, NextForm nextForm, int nextParam) : nextForm(nextForm), nextParam(nextParam)
{
    x = 256.0f;
    y = -128.0f;
    w = h = 128;
    hitHalfSize[0] = hitHalfSize[1] = 20;
    speed = 160.0f;
    direction = 270;
    scoreValue = 2000;
    hp = 1;
    type = TaskType::Enemy;
    targetSecond = FormTargetSecond(param, 3);
}

void BossSweepForm::Exec()
{
    (this->*kHandlers[stateIndex])();
    FinishBossFrame(nextForm, nextParam);
}

void BossSweepForm::Enter()
{
    Move();
    if (speed > 60.0f) {
        speed -= acceleration * g_frameTime;
    } else {
        speed = 60.0f;
    }
    frameTimer -= TickStep();
    if (frameTimer < 0.0f) {
        CycleFrame(&frame, &frameTimer);
        entrySteps += 1;
    }
    if (entrySteps >= 6) {
        stepCounter = 0;
        frame = 3;
        frameTimer = 20.0f;
        speed = 60.0f;
        stateIndex = 1;
    }
    DrawCell(frame);
}

void BossSweepForm::Barrage()
{
    DrawCell(frame);
    if (!AttackDue()) {
        return;
    }
    if (BarrageStep()) {
        stepCounter = 0;
        frame = 2;
        frameTimer = 10.0f;
        speed = 120.0f;
        direction = 180;
        stateIndex = 2;
    }
}

void BossSweepForm::Sweep(float deceleration)
{
    Move();
    if (speed > 10.0f) {
        speed -= deceleration * g_frameTime;
    }
    if (AttackDue()) {
        SweepStep();
    }
    TurnCells(&frame, &frameTimer);
    DrawCell(frame);
}

void BossSweepForm::SweepLeft()
{
    Sweep(acceleration);
    if (x < 160.0f) {
        SweepTurned(432.0f);
        attackTimer = 20.0f;
        speed = 120.0f;
        direction = 0;
        stateIndex = 3;
    }
}

void BossSweepForm::SweepRight()
{
    Sweep(acceleration / 2);
    if (x + w > 480.0f) {
        SweepTurned(160.0f);
        attackTimer = 20.0f;
        speed = 120.0f;
        direction = 180;
        stateIndex = 4;
    }
}

void BossSweepForm::Return()
{
    Sweep(acceleration);
    if (x < 256.0f) {
        attackTimer = 20.0f;
        stepCounter = 0;
        lap += 1;
        stateIndex = 1;
    }
}
