#pragma once

enum class SceneState : int {
    Loading = 0,
    Title = 1,
    Blank = 2,  // never requested
    Difficulty = 3,
    Stage = 4,
    StageClear = 5,
    GameOver = 6,
    Blank2 = 7,  // never requested
    Quit = 8,
};
