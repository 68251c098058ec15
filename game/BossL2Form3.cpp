#include "game/BossL2Form3.h"

#include <new>

#include "engine/Application.h"
#include "engine/GameObject.h"
#include "engine/GraphicsEngine.h"
#include "engine/SoundEffectBank.h"
#include "engine/SpriteBlendMode.h"
#include "engine/TaskList.h"
#include "game/EnemyShot1.h"
#include "game/EnemyShot5.h"
#include "game/EnemyShot6.h"
#include "game/EnemyShot7.h"

BossL2Form3::BossL2Form3(int param, float x, float y)
{
    this->x = x;
    this->y = y;
    w = h = 128;
    hitHalfSize[0] = hitHalfSize[1] = 20;
    speed = 40.0f;
    scoreValue = 4000;
    hp = 1;
    type = TaskType::Enemy;
    targetSecond = FormTargetSecond(param, 8);
    Point c;
    GetCenter(&c);
    direction = AngleDeg(c.x, c.y, 320, 120);
}

Task* BossL2Form3::Create(int priority, int param, float x, float y)
{
    auto* form = new (std::nothrow) BossL2Form3(param, x, y);
    return form ? g_taskList->Insert(form, priority) : nullptr;
}

void BossL2Form3::Exec()
{
    (this->*kHandlers[stateIndex])();
    FinishBossFrame(nullptr, 0);
}

void BossL2Form3::Draw() const
{
    g_graphicsEngine->SetBlend(static_cast<int>(SpriteBlendMode::Alpha), 0xFFFF8080u);
    DrawCell(frame);
}

void BossL2Form3::Approach()
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
    Draw();
    float cx = x + w / 2;
    float cy = y + h / 2;
    if (cx > 317.0f && cx < 323.0f && cy > 117.0f && cy < 123.0f) {
        frame = 3;
        frameTimer = 20.0f;
        speed = 0.0f;
        acceleration = 80.0f;
        stateIndex = 1;
    }
}

void BossL2Form3::Sway()
{
    if (speed <= 0.0f && acceleration <= 0.0f) {
        acceleration = 80.0f;
    }
    if (speed <= 0.0f && acceleration > 0.0f) {
        // Each dash heads for the player's side; without a player the form waits.
        Task* player = TaskList::FindPlayer();
        if (!player) {
            return;
        }
        Point own, target;
        GetCenter(&own);
        static_cast<GameObject*>(player)->GetCenter(&target);
        direction = own.x > target.x ? 180 : 0;
    }
    if (speed > 60.0f) {
        acceleration = -80.0f;
    }
    x += g_cosTable[((direction % 360) + 360) % 360] * speed * g_frameTime;
    speed += acceleration * g_frameTime;
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
    bool complete = pattern <= 1 ? SideBarrageStep() : pattern == 2 ? RingsAndLinesStep() : CrossfireStep();
    if (complete) {
        stepCounter = 0;
        attackTimer = 120.0f;
        pattern = (pattern + 1) % 4;
    }
}

bool BossL2Form3::SideBarrageStep()
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
        if (Task* player = TaskList::FindPlayer()) {
            Point own, target;
            GetCenter(&own);
            static_cast<GameObject*>(player)->GetCenter(&target);
            leftAim = AngleDeg(own.x, own.y, target.x - w / 2, target.y);
            rightAim = AngleDeg(own.x, own.y, target.x + w / 2, target.y);
        }
    }
    if (n <= 2) {
        FireHomingShots(n == 2);
    } else if (n <= 6) {
        EnemyShot6::Create(PriorityPlayer, x, my, 100.0f, leftAim, 50.0f * n, 0.0f);
        EnemyShot6::Create(PriorityPlayer, right, my, 100.0f, rightAim, 50.0f * n, 0.0f);
    } else {
        return true;
    }
    attackTimer = n <= 2 ? 60.0f : 5.0f;
    stepCounter += 1;
    return false;
}

bool BossL2Form3::RingsAndLinesStep()
{
    int n = stepCounter;
    float cx = x + w / 2;
    float my = y + 100;
    if (n % 2 == 0) {
        g_soundEffectBank->SetRequest(SoundEffectId::BossHitA, 1);
        for (int a = 0; a < 360; a += 30) {
            for (int s = 140; s <= 200; s += 20) {
                EnemyShot5::Create(PriorityPlayer, cx, my, static_cast<float>(s), a, 0.0f, 0.0f);
            }
        }
    } else {
        // Two lines that diverge on either side of the aim.
        g_soundEffectBank->SetRequest(SoundEffectId::BossHitC, 1);
        AimAtPlayer(&aim);
        for (int j = 0; j < 4; ++j) {
            float s = 140.0f + 20 * j;
            EnemyShot1::Create(PriorityPlayer, cx, my, s, aim + 5 + j, 0.0f);
            EnemyShot1::Create(PriorityPlayer, cx, my, s, aim - 5 - j, 0.0f);
        }
    }
    attackTimer = static_cast<float>((8 - n) * 5);
    stepCounter += 1;
    return stepCounter == 8;
}

bool BossL2Form3::CrossfireStep()
{
    int n = stepCounter;
    float my = y + 100;
    // Two bursts of four that fan out by a degree a shot, in opposite senses.
    for (int side : {1, -1}) {
        float sx = side > 0 ? x : x + w;
        int a = RandomRange(0, 360);
        int s = RandomRange(120, 200);
        for (int i = 0; i < 4; ++i) {
            EnemyShot5::Create(PriorityPlayer, sx, my, static_cast<float>(s + 10 * i), a + side * i, 0.0f, 0.0f);
        }
    }
    if (n > 160) {
        attackTimer = 60.0f;
        return true;
    }
    if (n % 8 < 4) {
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

void BossL2Form3::FireHomingShots(bool alsoDown)
{
    float my = y + 100;
    float right = x + w;
    EnemyShot7::Create(PriorityPlayer, x, my, 100.0f, 180, 80.0f);
    EnemyShot7::Create(PriorityPlayer, right, my, 100.0f, 360, 80.0f);
    EnemyShot7::Create(PriorityPlayer, x, my, 100.0f, 225, 80.0f);
    EnemyShot7::Create(PriorityPlayer, right, my, 100.0f, 315, 80.0f);
    if (alsoDown) {
        EnemyShot7::Create(PriorityPlayer, x, my, 100.0f, 270, 80.0f);
        EnemyShot7::Create(PriorityPlayer, right, my, 100.0f, 270, 80.0f);
    }
}
