#pragma once
#include "engine/KeyState.h"

// The ten keys a screen task reads itself once a frame. The directions start Up and the action
// keys Held, so that a key still held from the previous screen is no fresh press.
struct ScreenKeys {
    KeyState up = KeyState::Up;
    KeyState down = KeyState::Up;
    KeyState left = KeyState::Up;
    KeyState right = KeyState::Up;
    KeyState z = KeyState::Held;
    KeyState x = KeyState::Held;
    KeyState c = KeyState::Held;
    KeyState v = KeyState::Held;
    KeyState r = KeyState::Held;
    KeyState s = KeyState::Held;

    void Read();
};
