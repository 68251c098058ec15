#pragma once

// What one controller key is read from: buttons 0 to 3 by their index, the directions by the
// stick leaving the dead zone (-100..100 inclusive) on the -1000..1000 axes.
enum class JoystickCode : int {
    Button0 = 0,
    Button1 = 1,
    Button2 = 2,
    Button3 = 3,
    Up = 10,     // y < -100
    Down = 20,   // y > 100
    Left = 30,   // x < -100
    Right = 40,  // x > 100
};
