#pragma once
#include <utility>

#include "engine/TaskList.h"
#include "game/scenes/SceneManager.h"

// Makes the class of the current difficulty level (1, 2, 3; anything else, or no scene
// manager, level 0) with the arguments and inserts it; nullptr when it cannot be made.
template <class Family, class L0, class L1, class L2, class L3, class... Args>
Family* CreateForLevel(int priority, Args&&... args)
{
    switch (g_sceneManager ? g_sceneManager->GetLevel() : 0) {
    case 1:
        return InsertNew<L1>(priority, std::forward<Args>(args)...);
    case 2:
        return InsertNew<L2>(priority, std::forward<Args>(args)...);
    case 3:
        return InsertNew<L3>(priority, std::forward<Args>(args)...);
    default:
        return InsertNew<L0>(priority, std::forward<Args>(args)...);
    }
}
