#include "game/player/PlayerShot.h"

#include "engine/Application.h"
#include "engine/GraphicsEngine.h"
#include "engine/MathUtil.h"
#include "engine/SpriteBlendMode.h"
#include "engine/TaskList.h"
#include "game/enemies/Enemy.h"

PlayerShot::PlayerShot(float x, float y, int direction)
    : x(x - 16.0f), y(y), direction(((direction % 360) + 360) % 360)
{
    type = TaskType::PlayerShot;
}

PlayerShot* PlayerShot::Create(int priority, float x, float y, int direction)
{
    return InsertNew<PlayerShot>(priority, x, y, direction);
}

void PlayerShot::Exec()
{
    MoveAlong(&x, &y, direction, speed);

    Rect mine{x, y, w, h};
    for (Task* t = g_taskList->First(); t; t = t->next) {
        if (t->state != TaskState::Live || (t->type != TaskType::Enemy && t->type != TaskType::Spare)) {
            continue;
        }
        auto* enemy = static_cast<Enemy*>(t);
        Rect box;
        enemy->GetHitRect(&box);
        if (RectsOverlap(mine, box)) {
            g_taskList->Kill(this);
            enemy->Damage(1);
            break;  // one enemy per shot
        }
    }

    g_graphicsEngine->SetBlend(static_cast<int>(SpriteBlendMode::Alpha), 0x60FFFFFFu);
    g_graphicsEngine->DrawSprite(static_cast<int>(x), static_cast<int>(y), 20, 16, 16, 32, 16);
    if (y + h < 0.0f && state == TaskState::Live) {
        g_taskList->Kill(this);
    }
}
