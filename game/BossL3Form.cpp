#include "game/BossL3Form.h"

#include "engine/Application.h"
#include "engine/GameObject.h"
#include "engine/GraphicsEngine.h"
#include "engine/MathUtil.h"
#include "engine/SpriteBlendMode.h"
#include "engine/TaskList.h"

BossL3Form::BossL3Form(float sway, int score, float x, float y) : acceleration(sway), sway(sway)
{
    this->x = x;
    this->y = y;
    w = h = 48;
    hitHalfSize[0] = hitHalfSize[1] = 20;
    hp = 1;
    direction = 90;
    speed = 160.0f;
    scoreValue = score;
}

bool BossL3Form::Sway()
{
    if (speed <= 0.0f && acceleration <= 0.0f) {
        acceleration = sway;
    }
    if (speed <= 0.0f && acceleration > 0.0f) {
        // Each dash heads for the player's side; without a player the form waits.
        Task* player = TaskList::FindPlayer();
        if (!player) {
            return false;
        }
        Point own, target;
        GetCenter(&own);
        static_cast<GameObject*>(player)->GetCenter(&target);
        direction = own.x > target.x ? 180 : 0;
    }
    if (speed > 40.0f) {
        acceleration = -sway;
    }
    x += g_cosTable[((direction % 360) + 360) % 360] * speed * g_frameTime;
    speed += acceleration * g_frameTime;
    return true;
}

void BossL3Form::Draw()
{
    frameTimer -= TickStep();
    if (frameTimer < 0.0f) {
        frame += frameStep;
        if (frame >= 3) {
            frameStep = -1;
        }
        if (frame <= 1) {
            frameStep = 1;
        }
        frameTimer = 20.0f;
    }
    g_graphicsEngine->SetBlend(static_cast<int>(SpriteBlendMode::Alpha), 0xFF808080u);
    int row = type == TaskType::Enemy ? 0 : 96;
    g_graphicsEngine->DrawSprite(static_cast<int>(x), static_cast<int>(y), 0, 48 * frame, row, 48, 48);
}
