#pragma once

// Position in the task list: lower runs first and is drawn underneath.
enum TaskPriority : int {
    PriorityHead = 0x0,
    PriorityEnemyMap = 0x200,
    PrioritySoundEffectPlayer = 0x300,
    PriorityBackdrop = 0x800,
    PriorityEnemy = 0xC00,  // also boss forms, warning banner, items, explosions, stage-clear tally
    PriorityPlayerShot = 0xD00,
    PriorityGradeLabel = 0xE00,  // also explosion debris
    PriorityPlayer = 0xF00,      // also the enemy shots
    PrioritySideFrame = 0x1200,  // also stage opening, shot emitters
    PriorityGauge = 0x1300,
    PriorityScreen = 0x1400,  // menus, game-over screen, clock, intro target
    PriorityFade = 0x1500,
    PriorityTail = 0x1600,
};
