#include "game/enemies/Enemy5L3.h"

#include "engine/Application.h"
#include "engine/GraphicsEngine.h"
#include "engine/SpriteBlendMode.h"
#include "engine/TaskList.h"
#include "game/shots/EnemyShot2.h"
#include "game/shots/ShotEmitterA.h"

const Enemy5L3::Handler Enemy5L3::kHandlers[3] = {&Enemy5L3::Descend, &Enemy5L3::Deploy, &Enemy5L3::ClimbAndFire};

Enemy5L3::Enemy5L3(int param, float x, float y) : Enemy5(param, x, y)
{
    // Shots and the ship pass through it until it has dropped its emitters.
    type = TaskType::Inert;
}

void Enemy5L3::Animate()
{
    frameTimer -= 60.0f * g_frameTime;
    if (frameTimer < 0.0f) {
        frame += frameStep;
        if (frame >= 2) {
            frameStep = -1;
        } else if (frame <= 0) {
            frameStep = 1;
        }
        frameTimer = 20.0f;
    }
}

void Enemy5L3::Draw() const
{
    g_graphicsEngine->SetBlend(static_cast<int>(SpriteBlendMode::Alpha), 0x80FF8080u);
    g_graphicsEngine->DrawSprite(static_cast<int>(x), static_cast<int>(y), 17, 48 * frame, 0, 48, 48);
}

void Enemy5L3::Descend()
{
    Move();
    if (y >= 128.0f) {
        stateIndex = 1;
    }
    Animate();
    Draw();
}

void Enemy5L3::Deploy()
{
    ShotEmitterA::Create(PrioritySideFrame, x, y, 210, 180);
    ShotEmitterA::Create(PrioritySideFrame, x + 48.0f, y, 330, 0);
    ShotEmitterA::Create(PrioritySideFrame, x, y, 225, 315);
    ShotEmitterA::Create(PrioritySideFrame, x + 48.0f, y, 315, 225);
    Animate();
    Draw();
    direction = 90;
    speed = 10.0f;
    frame = 3;
    stateIndex = 2;
    type = TaskType::Enemy;
}

void Enemy5L3::FireWhenDue()
{
    if (volleyTimer > 0.0f) {
        volleyTimer -= 60.0f * g_frameTime;
        return;
    }
    // Every fourth slot stays silent, so the rings come in threes.
    if (volleyCount % 4 != 0) {
        for (int i = 0; i < 18; ++i) {
            EnemyShot2::Create(PriorityPlayer, x, y + 24.0f, 120.0f, 20 * i + 2 * volleyCount, 0.0f, 0);
            EnemyShot2::Create(PriorityPlayer, x + 48.0f, y + 24.0f, 120.0f, 20 * i - 2 * volleyCount, 0.0f, 1);
        }
    }
    volleyTimer = 6.0f;
    volleyCount += 1;
}

void Enemy5L3::ClimbAndFire()
{
    Move();
    frameTimer -= 60.0f * g_frameTime;
    if (frameTimer < 0.0f) {
        frame = frame == 3 ? 4 : 3;
        frameTimer = 20.0f;
    }
    FireWhenDue();
    Draw();
}

void Enemy5L3::Exec()
{
    (this->*kHandlers[stateIndex])();
    DrawTargetSecond(true);
    EndWhenDestroyedOrEscaped(4, ExplodeSmall);
}
