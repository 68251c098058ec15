#pragma once
#include "engine/GameObject.h"
#include "game/player/PlayerState.h"

// The ship the player steers: enters from the bottom, moves in eight directions, fires upward,
// calls the falling items with X, and is lost on touching an enemy or an enemy shot. The gauge
// is its life: once the gauge is used up the ship ends the game.
class PlayerShip : public GameObject {
public:
    PlayerShip();
    void Exec() override;
    void OnStageClear() override;
    static PlayerShip* Create(int priority);

    void GetMoveDirection();
    void Shoot();
    void UpdateItemKey();
    void CheckCollision();

    float speed = 280.0f;
    int direction = -1;
    PlayerState playerState = PlayerState::Entering;
    double clearTimer = 300.0;
    double invulnerableTimer = 180.0;
    double hitTimer = 5.0;
    double shotCooldown = 0.0;
    int frame = 1;
    float frameTimer = 60.0f;
    int frameStep = 1;

private:
    using Handler = void (PlayerShip::*)();
    static const Handler kHandlers[7];

    void Entering();
    void Invulnerable();
    void Normal();
    void Hit();
    void Falling();
    void Cleared();
    void Leaving();

    // Moving, shooting and calling the items: the free part of the invulnerable, normal and
    // cleared states.
    void Steer();
    void Move();
    void CycleAnimation();
    void PingPongAnimation();
    void Draw(int column, int row) const;
    // Lost beyond the field: the gauge pays and the ship enters again from the bottom.
    void Respawn();
};
