#include "game/ShotEmitterB.h"

#include "engine/Application.h"
#include "engine/GraphicsEngine.h"
#include "engine/SpriteBlendMode.h"
#include "engine/TaskList.h"
#include "game/EnemyShot2.h"

ShotEmitterB::ShotEmitterB(float x, float y, int angleOffset) : baseAngle(angleOffset)
{
    this->x = x + 7.0f;
    this->y = y + 7.0f;
    w = h = 14;
    type = TaskType::Inert;
}

ShotEmitterB* ShotEmitterB::Create(int priority, float x, float y, int angleOffset)
{
    return InsertNew<ShotEmitterB>(priority, x, y, angleOffset);
}

void ShotEmitterB::FireWhenDue()
{
    if (fireTimer > 0.0f) {
        fireTimer -= 60.0f * g_frameTime;
        return;
    }
    for (int i = 0; i < 4; ++i) {
        EnemyShot2::Create(PriorityPlayer, x + 7.0f, y + 7.0f, 180.0f, baseAngle + volleys + 90 * i, 0.0f,
                           i % 2 == 0 ? 1 : 0);
    }
    fireTimer = volleys != 0 && volleys % 8 == 0 ? 50.0f : 1.0f;
    volleys += 1;
}

void ShotEmitterB::Exec()
{
    FireWhenDue();
    g_graphicsEngine->SetBlend(static_cast<int>(SpriteBlendMode::Alpha), 0x80FFFFFFu);
    g_graphicsEngine->DrawSprite(static_cast<int>(x), static_cast<int>(y), 21, 0, 118, 14, 14);
    if (volleys > 64) {
        g_taskList->Kill(this);
    }
}
