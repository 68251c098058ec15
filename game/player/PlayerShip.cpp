#include "game/player/PlayerShip.h"

#include "engine/Application.h"
#include "engine/GraphicsEngine.h"
#include "engine/Input.h"
#include "engine/SoundEffectBank.h"
#include "engine/TaskList.h"
#include "game/enemies/Enemy.h"
#include "game/shots/EnemyShot.h"
#include "game/scenes/Fade.h"
#include "game/player/PlayerShot.h"
#include "game/score/PointItem.h"
#include "game/score/ScoreTable.h"

const PlayerShip::Handler PlayerShip::kHandlers[7] = {
    &PlayerShip::Entering, &PlayerShip::Invulnerable, &PlayerShip::Normal,  &PlayerShip::Hit,
    &PlayerShip::Falling,  &PlayerShip::Cleared,      &PlayerShip::Leaving,
};

PlayerShip::PlayerShip()
{
    w = h = 48;
    x = (640 - 48) / 2;
    y = 480.0f;
    type = TaskType::Player;
}

PlayerShip* PlayerShip::Create(int priority)
{
    return InsertNew<PlayerShip>(priority);
}

void PlayerShip::OnStageClear()
{
    playerState = PlayerState::Cleared;
}

void PlayerShip::Exec()
{
    Input::ReadKeys(&keyLeft, &keyRight, &keyUp, &keyDown, &keyZ, &keyX, &keyC, &keyV, &keyR, &keyS);
    GetMoveDirection();
    (this->*kHandlers[static_cast<int>(playerState)])();
    // Both tests run in every state, also in the frame in which the ship has just left the top:
    // a gauge used up earlier in that frame still ends the game, as the game-over fade ends long
    // before the slow white one of the clear. A second kill in the frame is harmless.
    if (IsOffField(x, y, w, h)) {
        Respawn();
    }
    if (g_scoreTable->GetGauge() <= 0) {
        Fade::Create(PriorityFade, 16, SceneState::GameOver, FadeMode::OutToBlack);
        g_taskList->Kill(this);
    }
}

void PlayerShip::GetMoveDirection()
{
    auto held = [](KeyState k) { return k == KeyState::Held; };
    bool roomRight = x < kFieldRight - w;
    bool roomLeft = x > kFieldLeft;
    bool roomUp = y > kFieldTop;
    bool roomDown = y < kFieldBottom - h;
    direction = -1;
    if (held(keyUp) && held(keyRight) && roomRight && roomUp) {
        direction = 45;
    } else if (held(keyUp) && held(keyLeft) && roomLeft && roomUp) {
        direction = 135;
    } else if (held(keyDown) && held(keyLeft) && roomLeft && roomDown) {
        direction = 225;
    } else if (held(keyDown) && held(keyRight) && roomRight && roomDown) {
        direction = 315;
    } else if (held(keyUp) && roomUp) {
        direction = 90;
    } else if (held(keyDown) && roomDown) {
        direction = 270;
    } else if (held(keyLeft) && roomLeft) {
        direction = 180;
    } else if (held(keyRight) && roomRight) {
        direction = 0;
    }
}

void PlayerShip::Shoot()
{
    if (shotCooldown >= 0.0) {
        shotCooldown -= 60.0 * g_frameTime;
    }
    if (keyZ == KeyState::Held && shotCooldown < 0.0) {
        shotCooldown = 30.0;
        g_soundEffectBank->SetRequest(SoundEffectId::PlayerShot, 1);
        PlayerShot::Create(PriorityPlayerShot, x + w / 2, y, 90);
    } else if (keyZ == KeyState::Released) {
        shotCooldown = 0.0;  // a fresh press fires on its first held frame
    }
}

void PlayerShip::UpdateItemKey()
{
    if (keyX == KeyState::Pressed) {
        for (Task* t = g_taskList->First(); t; t = t->next) {
            if (t->state == TaskState::Live && t->type == TaskType::FallingItem) {
                PointItem::Attract(static_cast<PointItem*>(t));
            }
        }
    } else {
        speed = keyX == KeyState::Held ? 140.0f : 280.0f;
    }
}

void PlayerShip::CheckCollision()
{
    // The ship is hit only at its centre point.
    Rect point{x + w / 2, y + h / 2, 1, 1};
    for (Task* t = g_taskList->First(); t; t = t->next) {
        if (t->state != TaskState::Live) {
            continue;
        }
        Rect box;
        if (t->type == TaskType::Enemy || t->type == TaskType::Spare) {
            static_cast<Enemy*>(t)->GetHitRect(&box);
        } else if (t->type == TaskType::EnemyShot) {
            static_cast<EnemyShot*>(t)->GetRect(&box);
        } else {
            continue;
        }
        if (RectsOverlap(point, box)) {
            g_soundEffectBank->SetRequest(SoundEffectId::PlayerHitBlast, 1);
            g_soundEffectBank->SetRequest(SoundEffectId::PlayerHitCry, 1);
            playerState = PlayerState::Hit;
            return;
        }
    }
}

void PlayerShip::Move()
{
    if (direction == -1) {
        return;
    }
    MoveAlong(&x, &y, direction, speed);
}

void PlayerShip::CycleAnimation()
{
    frameTimer -= 60.0f * g_frameTime;
    if (frameTimer < 0.0f) {
        frame = (frame + 1) % 3 + 1;
        frameTimer = 10.0f;
    }
}

void PlayerShip::PingPongAnimation()
{
    frameTimer -= 60.0f * g_frameTime;
    if (frameTimer >= 0.0f) {
        return;
    }
    frame += frameStep;
    if (frame >= 3 && frameStep == 1) {
        frameStep = -1;
    } else if (frame < 2 && frameStep == -1) {
        frameStep = 1;
    }
    frameTimer = 20.0f;
}

void PlayerShip::Draw(int column, int row) const
{
    g_graphicsEngine->DrawSprite(static_cast<int>(x), static_cast<int>(y), 0, 48 * column, 48 * row, 48, 48);
}

void PlayerShip::Steer()
{
    Move();
    Shoot();
    UpdateItemKey();
}

void PlayerShip::Entering()
{
    direction = 90;
    Move();
    CycleAnimation();
    Draw(frame, 1);
    if (y < kFieldBottom - 2 * h) {
        frame = 2;
        playerState = PlayerState::Invulnerable;
    }
}

void PlayerShip::Invulnerable()
{
    Steer();
    PingPongAnimation();
    Draw(frame, 2);
    if (invulnerableTimer <= 0.0) {
        invulnerableTimer = 180.0;
        playerState = PlayerState::Normal;
    } else {
        invulnerableTimer -= 60.0 * g_frameTime;
    }
}

void PlayerShip::Normal()
{
    Steer();
    CheckCollision();
    PingPongAnimation();
    Draw(frame, 0);
}

void PlayerShip::Hit()
{
    direction = 270;
    speed = 180.0f;
    Move();
    hitTimer -= 60.0 * g_frameTime;
    Draw(2, 1);
    if (hitTimer < 0.0) {
        hitTimer = 5.0;
        playerState = PlayerState::Falling;
    }
}

void PlayerShip::Falling()
{
    direction = 270;
    Move();
    speed += 200.0f * g_frameTime;
    hitTimer -= 60.0 * g_frameTime;
    if (hitTimer < 0.0) {
        hitTimer = 5.0;
    }
    Draw(3, 1);
}

void PlayerShip::Cleared()
{
    Steer();
    PingPongAnimation();
    Draw(frame, 2);
    if (clearTimer <= 0.0) {
        clearTimer = 300.0;
        frame = 2;
        playerState = PlayerState::Leaving;
    } else {
        clearTimer -= 60.0 * g_frameTime;
    }
}

void PlayerShip::Leaving()
{
    speed = 280.0f;
    direction = 90;
    Move();
    if (y + h < 0.0f) {
        g_taskList->Kill(this);
        Fade::Create(PriorityFade, 4, SceneState::StageClear, FadeMode::OutToWhite);
    } else {
        Draw(frame, 2);
    }
}

void PlayerShip::Respawn()
{
    g_scoreTable->ReduceGauge(30);
    x = (640 - w) / 2;
    y = 480.0f;
    speed = 280.0f;
    direction = -1;
    frame = 1;
    shotCooldown = 0.0;
    playerState = PlayerState::Entering;
}
