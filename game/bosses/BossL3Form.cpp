#include "game/bosses/BossL3Form.h"

#include "engine/Application.h"
#include "engine/GameObject.h"
#include "engine/GraphicsEngine.h"
#include "engine/MathUtil.h"
#include "engine/SpriteBlendMode.h"
#include "engine/TaskList.h"

BossL3Form::BossL3Form(float sway, int score, float x, float y, int patternCount)
    : acceleration(sway), sway(sway), patternCount(patternCount)
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
    return SwayTowardPlayer(&acceleration, sway, 40.0f);
}

void BossL3Form::FightInPatterns()
{
    if (!Sway()) {
        return;
    }
    Draw();
    if (!AttackDue()) {
        return;
    }
    if (PatternStep()) {
        PauseAfterPattern();
        pattern = (pattern + 1) % patternCount;
    }
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
