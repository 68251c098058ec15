#include "game/shots/ShotEmitter.h"

#include "engine/Application.h"
#include "engine/GraphicsEngine.h"
#include "engine/SpriteBlendMode.h"
#include "game/shots/EnemyShot2.h"

ShotEmitter::ShotEmitter(float x, float y, int angleOffset, float burstPause)
    : baseAngle(angleOffset), burstPause(burstPause)
{
    this->x = x + 7.0f;
    this->y = y + 7.0f;
    w = h = 14;
    type = TaskType::Inert;
}

void ShotEmitter::FireWhenDue()
{
    if (fireTimer > 0.0f) {
        fireTimer -= 60.0f * g_frameTime;
        return;
    }
    for (int i = 0; i < 4; ++i) {
        EnemyShot2::Create(PriorityPlayer, x + 7.0f, y + 7.0f, 180.0f, baseAngle + volleys + 90 * i, 0.0f,
                           i % 2 == 0 ? 1 : 0);
    }
    fireTimer = volleys != 0 && volleys % 8 == 0 ? burstPause : 1.0f;
    volleys += 1;
}

void ShotEmitter::Draw() const
{
    g_graphicsEngine->SetBlend(static_cast<int>(SpriteBlendMode::Alpha), 0x80FFFFFFu);
    g_graphicsEngine->DrawSprite(static_cast<int>(x), static_cast<int>(y), 21, 0, 118, 14, 14);
}
