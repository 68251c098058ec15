#include "game/bosses/BossSwayForm.h"

#include <initializer_list>

#include "engine/Application.h"
#include "engine/GameObject.h"
#include "engine/GraphicsEngine.h"
#include "engine/MathUtil.h"
#include "engine/SoundEffectBank.h"
#include "engine/SpriteBlendMode.h"
#include "engine/TaskList.h"
#include "game/shots/EnemyShot1.h"
#include "game/shots/EnemyShot5.h"
#include "game/shots/EnemyShot6.h"

BossSwayForm::BossSwayForm(int param, float x, float y)
{
    PlaceStationBound(param, 8, x, y, 40.0f, 4000);
}

void BossSwayForm::Exec()
{
    (this->*kHandlers[stateIndex])();
    FinishBossFrame(nullptr, 0);
}

void BossSwayForm::Draw() const
{
    g_graphicsEngine->SetBlend(static_cast<int>(SpriteBlendMode::Alpha), 0xFFFF8080u);
    DrawCell(frame);
}

void BossSwayForm::Approach()
{
    ApproachStation(acceleration, &frame, &frameTimer);
    Draw();
    if (AtStation()) {
        frame = 3;
        frameTimer = 20.0f;
        speed = 0.0f;
        acceleration = 80.0f;
        stateIndex = 1;
    }
}

void BossSwayForm::Sway()
{
    if (!SwayTowardPlayer(&acceleration, 80.0f, 60.0f)) {
        return;
    }
    TurnCells(&frame, &frameTimer);
    Draw();
    if (!AttackDue()) {
        return;
    }
    if (PatternStep()) {
        PauseAfterPattern();
        pattern = (pattern + 1) % 4;
    }
}

bool BossSwayForm::SideBarrageStep()
{
    int n = stepCounter;
    float my = y + 100;
    float right = x + w;
    g_soundEffectBank->SetRequest(SoundEffectId::BossShot, 1);
    if (n == 0) {
        EnemyShot6::Create(PriorityPlayer, x, my, 200.0f, 270, 0.0f, 0.0f);
        EnemyShot6::Create(PriorityPlayer, right, my, 200.0f, 270, 0.0f, 0.0f);
    } else if (n == 1) {
        for (float sx : {x - 8, x + 30, right + 8, right - 30}) {
            EnemyShot6::Create(PriorityPlayer, sx, my, 200.0f, 270, 0.0f, 0.0f);
        }
    } else if (n == 2) {
        for (float sx : {x + w / 2, x, right}) {
            EnemyShot6::Create(PriorityPlayer, sx, my, 200.0f, 270, 0.0f, 0.0f);
        }
        // The next four volleys close in on points half a form's width either side of the player.
        Point own, target;
        if (GameObject::FindPlayerCenter(&target)) {
            GetCenter(&own);
            leftAim = AngleDeg(own.x, own.y, target.x - w / 2, target.y);
            rightAim = AngleDeg(own.x, own.y, target.x + w / 2, target.y);
        }
    } else if (n <= 6) {
        EnemyShot6::Create(PriorityPlayer, x, my, 100.0f, leftAim, 50.0f * n, 0.0f);
        EnemyShot6::Create(PriorityPlayer, right, my, 100.0f, rightAim, 50.0f * n, 0.0f);
    } else {
        return true;
    }
    if (n <= 2) {
        SideHomingShots(n);
    }
    attackTimer = n <= 2 ? 60.0f : 5.0f;
    stepCounter += 1;
    return false;
}

bool BossSwayForm::CrossfireStep(int fan, int arrowPeriod, int arrowSteps)
{
    int n = stepCounter;
    float my = y + 100;
    for (int side : {1, -1}) {
        float sx = side > 0 ? x : x + w;
        int a = RandomRange(0, 360);
        int s = RandomRange(120, 200);
        for (int i = 0; i < 4; ++i) {
            EnemyShot5::Create(PriorityPlayer, sx, my, static_cast<float>(s + 10 * i), a + fan * side * i, 0.0f,
                               0.0f);
        }
    }
    if (n > 160) {
        attackTimer = 60.0f;
        return true;
    }
    if (n % arrowPeriod < arrowSteps) {
        AimAtPlayer(&aim);
        float cx = x + w / 2;
        struct {
            float x, y;
        } const arrow[] = {{cx, y + 100}, {cx - 48, y + 52}, {cx + 48, y + 52}, {cx, y + 4}};
        for (const auto& p : arrow) {
            EnemyShot1::Create(PriorityPlayer, p.x, p.y, 140.0f, aim, 0.0f);
        }
    }
    stepCounter += 1;
    attackTimer = 5.0f;
    return false;
}
