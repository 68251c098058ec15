#pragma once
#include "engine/KeyState.h"
#include "engine/MathUtil.h"
#include "engine/Task.h"

// A task driven by the keys, with a rectangle: the base of the player's ship.
class GameObject : public Task {
public:
    void Exec() override = 0;
    virtual void OnStageClear() = 0;

    void GetRect(Rect* out) const;
    void GetCenter(Point* out) const;
    // The centre of the first live player task; false (out untouched) when there is none.
    static bool FindPlayerCenter(Point* out);

    KeyState keyUp = KeyState::Up;
    KeyState keyDown = KeyState::Up;
    KeyState keyLeft = KeyState::Up;
    KeyState keyRight = KeyState::Up;
    KeyState keyZ = KeyState::Up;
    KeyState keyX = KeyState::Up;
    KeyState keyC = KeyState::Up;
    KeyState keyV = KeyState::Up;
    KeyState keyR = KeyState::Up;
    KeyState keyS = KeyState::Up;
    float x = 0.0f;
    float y = 0.0f;
    int w = 0;
    int h = 0;
};
