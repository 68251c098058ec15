#include "game/effects/Explosions.h"

#include "engine/MathUtil.h"
#include "engine/SoundEffectBank.h"
#include "game/effects/ExplosionFlash.h"
#include "game/effects/ExplosionRing.h"
#include "game/effects/ExplosionSpark.h"

namespace {

void Sparks(int priority, float cx, float cy, int row, int count)
{
    for (int i = 0; i < count; ++i) {
        ExplosionSpark::Create(priority, cx, cy, row);
    }
}

// Flashes scattered up to 20 pixels around the centre.
void ScatteredFlashes(int priority, float cx, float cy, int row, int count)
{
    for (int i = 0; i < count; ++i) {
        float x = cx + static_cast<float>(RandomRange(0, 40) - 20);
        float y = cy + static_cast<float>(RandomRange(0, 40) - 20);
        ExplosionFlash::Create(priority, x, y, row);
    }
}

}  // namespace

void ExplodeSmall(int priority, float cx, float cy, int row)
{
    g_soundEffectBank->SetRequest(SoundEffectId::ExplosionSmall, 1);
    ExplosionFlash::Create(priority, cx, cy, row);
    Sparks(priority, cx, cy, row, 4);
}

void ExplodeMedium(int priority, float cx, float cy, int row)
{
    g_soundEffectBank->SetRequest(SoundEffectId::ExplosionMedium, 1);
    ScatteredFlashes(priority, cx, cy, row, 2);
    Sparks(priority, cx, cy, row, 6);
    ExplosionRing::Create(priority, cx, cy, row, 0);
}

void ExplodeLarge(int priority, float cx, float cy, int row)
{
    g_soundEffectBank->SetRequest(SoundEffectId::ExplosionLarge, 1);
    ScatteredFlashes(priority, cx, cy, row, 3);
    Sparks(priority, cx, cy, row, 8);
    ExplosionRing::Create(priority, cx, cy, row, 1);
}
