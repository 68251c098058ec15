#pragma once

// The state of one key as a caller sees it from one read to the next.
enum class KeyState : int {
    Up = 0,
    Pressed = 1,   // went down at this read
    Released = 2,  // went up at this read
    Held = 3,
};
