#pragma once
#include "engine/Task.h"
#include "game/screens/MenuCursor.h"
#include "game/screens/ScreenKeys.h"

// The difficulty choice: entries for levels 0, 2 and 3, each with its preview picture.
class DifficultyMenu : public Task {
public:
    DifficultyMenu();
    void Exec() override;
    static DifficultyMenu* Create(int priority);

private:
    void Draw();
    void HandleKeys();

    ScreenKeys keys;
    MenuCursor menu;
};
