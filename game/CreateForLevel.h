#pragma once
#include <new>

#include "engine/TaskList.h"
#include "game/SceneManager.h"

// Makes the class of the current difficulty level (1, 2, 3; anything else, or no scene
// manager, level 0) and inserts it; nullptr when it cannot be made.
template <class Family, class L0, class L1, class L2, class L3>
Family* CreateForLevel(int priority, int param, float x, float y)
{
    int level = g_sceneManager ? g_sceneManager->GetLevel() : 0;
    Family* enemy;
    switch (level) {
    case 1:
        enemy = new (std::nothrow) L1(param, x, y);
        break;
    case 2:
        enemy = new (std::nothrow) L2(param, x, y);
        break;
    case 3:
        enemy = new (std::nothrow) L3(param, x, y);
        break;
    default:
        enemy = new (std::nothrow) L0(param, x, y);
        break;
    }
    if (!enemy) {
        return nullptr;
    }
    g_taskList->Insert(enemy, priority);
    return enemy;
}
