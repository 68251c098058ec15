#pragma once

// The kind word that search and collision loops test.
enum class TaskType : int {
    None = 0,
    Player = 1,
    FallingItem = 2,
    HomingItem = 3,
    Inert = 4,
    Enemy = 5,
    IntroTarget = 6,
    Spare = 7,  // set by no class; the hit tests treat it like Enemy
    PlayerShot = 8,
    EnemyShot = 9,
    Effect = 10,
    Screen = 11,
    Clock = 13,
};
