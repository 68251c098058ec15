#pragma once
// The states of the player's ship, indexing its table of handlers.
enum class PlayerState : int {
    Entering = 0,
    Invulnerable = 1,
    Normal = 2,
    Hit = 3,
    Falling = 4,
    Cleared = 5,
    Leaving = 6,
};
